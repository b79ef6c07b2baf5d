// Any file opened as a project: no crash, no table past its capacity, and the saved
// text holds exactly one line per record in the tables.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project_file.h"

namespace {
Project g_project; // five megabytes: static, as in the program
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ProjectLoadReport report;
    LoadProjectText(g_project, std::string_view(reinterpret_cast<const char *>(data), size), report);
    if (g_project.bcCount > kBcCapacity || g_project.alCount > kAlCapacity || report.devicesLeftOut < 0 ||
        report.zonesLeftOut < 0)
        std::abort();
    long expected = 1 + g_project.bcCount + g_project.alCount;
    for (int i = 1; i < kNotifyCount; ++i)
        expected += g_project.notifies[i].wav[0] != '\0';
    std::string saved = BuildProjectText(g_project);
    if (std::count(saved.begin(), saved.end(), '\n') != expected)
        std::abort(); // a name or a scenario carrying a line end would split a record
    return 0;
}
