// A project at full capacity: 256 BC units, 65536 AL lines, 10 named scenarios.
// Opening it should take well under 0.2 s.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "project_file.h"
#include "text_utils.h"

namespace {
Project &FullProject() {
    static std::unique_ptr<Project> project = [] {
        auto p = std::make_unique<Project>();
        ResetProject(*p);
        CopyText(p->settings.nam, sizeof p->settings.nam, "Полный проект");
        for (int i = 0; i < kBcCapacity; ++i) {
            BcUnit unit;
            InitDeviceRecord(unit);
            unit.adr = static_cast<uint8_t>(i);
            unit.ube = 13.7f;
            CopyText(unit.nam, sizeof unit.nam, "Блок");
            AppendBcUnit(*p, unit);
        }
        for (int i = 0; i < kAlCapacity; ++i) {
            AlLine line;
            InitZoneRecord(line);
            line.num = static_cast<uint16_t>(i);
            line.adr = static_cast<uint8_t>(i / 16);
            line.prt = static_cast<uint8_t>(i % 16 + 1);
            line.uvp = 11.3f;
            line.usp = 3.3f;
            CopyText(line.nam, sizeof line.nam, "Зона");
            AppendAlLine(*p, line);
        }
        for (int i = 1; i < kNotifyCount; ++i)
            CopyText(p->notifies[i].wav, sizeof p->notifies[i].wav, "alarm.wav");
        return p;
    }();
    return *project;
}

void BM_BuildFullProjectText(benchmark::State &state) {
    const Project &p = FullProject();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = BuildProjectText(p);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}

void BM_LoadFullProject(benchmark::State &state) {
    const std::string text = BuildProjectText(FullProject());
    auto loaded = std::make_unique<Project>();
    ProjectLoadReport report;
    for (auto _ : state) {
        LoadProjectText(*loaded, text, report);
        benchmark::DoNotOptimize(loaded->alCount);
    }
    if (loaded->alCount != kAlCapacity || loaded->bcCount != kBcCapacity)
        state.SkipWithError("the full project did not load whole");
}

// Build, write through a temporary file, fsync and rename, then read the file back in.
void BM_SaveAndOpenFullProjectFile(benchmark::State &state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("talvik-bench-" + std::to_string(::getpid()) + ".cfg")).string();
    auto loaded = std::make_unique<Project>();
    std::string error;
    ProjectLoadReport report;
    for (auto _ : state) {
        if (!SaveProjectFile(FullProject(), path, error) || !LoadProjectFile(*loaded, path, report, error))
            state.SkipWithError(error.c_str());
    }
    std::remove(path.c_str());
}
} // namespace

BENCHMARK(BM_BuildFullProjectText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFullProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAndOpenFullProjectFile)->Unit(benchmark::kMillisecond);
