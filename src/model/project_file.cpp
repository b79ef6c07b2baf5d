#include "project_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "records.h"

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// One line of the file: tried as setting, notify, zone and device, in that order.
void LoadLine(Project &p, std::string_view bytes, std::string &text, ProjectLoadReport &report) {
    // A NUL ends the line's text: the parsers read NUL-terminated texts, and what stands
    // behind a NUL in a project file is damage, not data.
    if (size_t nul = bytes.find('\0'); nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    bytes = Trimmed(bytes);
    if (bytes.empty())
        return;
    ++report.linesWithText;
    text.assign(bytes);

    PdSettings settings;
    NotifyScenario notify;
    AlLine line;
    BcUnit unit;
    ++report.records; // taken back below when no parser knows the line
    if (ParseSettingRecord(text.c_str(), settings)) {
        p.settings = settings; // a later setting line replaces an earlier one
    } else if (ParseNotifyRecord(text.c_str(), notify)) {
        if (notify.num >= 1 && notify.num <= 10) // the table holds scenarios 1..10 only
            p.notifies[notify.num] = notify;
    } else if (ParseZoneRecord(text.c_str(), line)) {
        if (!AppendAlLine(p, line))
            ++report.zonesLeftOut;
    } else if (ParseDeviceRecord(text.c_str(), unit)) {
        if (!AppendBcUnit(p, unit))
            ++report.devicesLeftOut;
    } else {
        --report.records;
    }
}

void AppendLine(std::string &out, const char *buf, int length) {
    out.append(buf, static_cast<size_t>(length));
    out += "\r\n";
}

int Clamped(int count, int capacity) {
    return count < 0 ? 0 : (count > capacity ? capacity : count);
}
} // namespace

void LoadProjectText(Project &p, std::string_view bytes, ProjectLoadReport &report) {
    ResetProject(p);
    // Opening a file leaves scenarios 1..10 at their defaults, number 0, until the file names them.
    for (int i = 1; i < kNotifyCount; ++i)
        InitNotifyRecord(p.notifies[i]);
    report = ProjectLoadReport{};

    std::string text;
    text.reserve(kRecordBufferSize);
    size_t pos = 0;
    while (pos < bytes.size()) {
        // A line ends at CR LF, LF or CR.
        size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        LoadLine(p, bytes.substr(pos, end - pos), text, report);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n' && (pos == end || bytes[pos - 1] == '\r'))
            ++pos;
    }
}

bool LoadProjectFile(Project &p, const std::string &path, ProjectLoadReport &report, std::string &error) {
    std::string bytes;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    int failure = 0;
    if (fd < 0) {
        failure = errno;
    } else if (::fstat(fd, &st) != 0) {
        failure = errno;
    } else if (S_ISDIR(st.st_mode)) {
        failure = EISDIR;
    } else {
        char block[65536];
        for (;;) {
            ssize_t got = ::read(fd, block, sizeof block);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                failure = errno;
            if (got <= 0)
                break;
            bytes.append(block, static_cast<size_t>(got));
        }
    }
    if (fd >= 0)
        ::close(fd);
    if (failure != 0) {
        LoadProjectText(p, {}, report); // a failed read leaves the project closed and empty
        error = "Не удалось прочитать файл \"" + path + "\": " + std::strerror(failure);
        return false;
    }
    LoadProjectText(p, bytes, report);
    return true;
}

std::string BuildProjectText(const Project &p) {
    int bcCount = Clamped(p.bcCount, kBcCapacity);
    int alCount = Clamped(p.alCount, kAlCapacity);
    std::string out;
    out.reserve(static_cast<size_t>(1 + bcCount + alCount + 10) * 200);
    char buf[kRecordBufferSize];
    AppendLine(out, buf, BuildSettingRecord(p.settings, buf, sizeof buf));
    for (int i = 0; i < bcCount; ++i)
        AppendLine(out, buf, BuildDeviceRecord(p.bcUnits[i], buf, sizeof buf));
    for (int i = 0; i < alCount; ++i)
        AppendLine(out, buf, BuildZoneRecord(p.alLines[i], buf, sizeof buf));
    // Only named scenarios are stored, each under its table index.
    for (int i = 1; i < kNotifyCount; ++i) {
        if (p.notifies[i].wav[0] == '\0')
            continue;
        NotifyScenario scenario = p.notifies[i];
        scenario.num = static_cast<uint8_t>(i);
        AppendLine(out, buf, BuildNotifyRecord(scenario, buf, sizeof buf));
    }
    return out;
}

bool SaveProjectFile(const Project &p, const std::string &path, std::string &error) {
    return WriteFileAtomically(path, BuildProjectText(p), error);
}

std::string ProjectFileNameForSave(const std::string &name) {
    if (name.empty() || name.find(".cfg") != std::string::npos)
        return name;
    return name + ".cfg";
}
