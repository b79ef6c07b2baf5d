// Opening a full-capacity project and showing its tree; rebuilding the tree of a
// realistic network; the process's peak memory with the full project open.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "TfrMain.h"
#include "app_paths.h"
#include "app_windows.h"
#include "project_file.h"
#include "temp_dir.h"

namespace {
class OpenOnly : public Dialogs {
public:
    QString path;
    bool askYesNo(const QString &, const QString &) override { return false; }
    void information(const QString &, const QString &) override {}
    void error(const QString &, const QString &) override {}
    QString inputValue(const QString &, const QString &) override { return QStringLiteral("INPUTVAL_CANCEL"); }
    QString openFileName(const QString &) override { return path; }
    QString saveFileName(const QString &) override { return QString(); }
};

// Peak resident set size of this process, in MiB.
double PeakRssMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// 256 BC units and 65536 AL lines, 256 under each unit.
std::string FullProjectFile(const TempDir &dir) {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    for (int b = 0; b < kBcCapacity; ++b) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = uint8_t(b);
        AppendBcUnit(*p, bc);
    }
    for (int i = 0; i < kAlCapacity; ++i) {
        AlLine al;
        InitZoneRecord(al);
        al.adr = uint8_t(i / 256);
        al.prt = uint8_t(i % 256);
        al.num = uint16_t(i);
        AppendAlLine(*p, al);
    }
    const std::string path = (dir.path() / "full.cfg").string();
    std::string error;
    if (!SaveProjectFile(*p, path, error))
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), error.c_str());
    return path;
}

struct Env {
    TempDir dir;
    AppWindows windows;
    OpenOnly dialogs;
    std::string fullFile;
    Env() {
        SetSettingsDirOverride(dir.path());
        windows = CreateAppWindows();
        windows.main->SetDialogs(&dialogs);
        windows.main->show();
        fullFile = FullProjectFile(dir);
    }
};

Env &env() {
    static Env e;
    return e;
}

void BM_OpenFullProjectAndShowTree(benchmark::State &state) {
    Env &e = env();
    e.dialogs.path = QString::fromStdString(e.fullFile);
    TfrMain &main = *e.windows.main;
    for (auto _ : state) {
        main.miLoadClick();
        QApplication::processEvents(); // lay out and paint the tree
        benchmark::DoNotOptimize(main.project().alCount);
    }
    auto *tree = main.findChild<QTreeWidget *>("tvNetwork");
    state.counters["top_nodes"] = tree->topLevelItemCount();
    state.counters["al_lines"] = main.project().alCount;
    state.counters["peak_rss_MiB"] = PeakRssMiB();
}
BENCHMARK(BM_OpenFullProjectAndShowTree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RebuildTree12Bc16Al(benchmark::State &state) {
    Env &e = env();
    TfrMain &main = *e.windows.main;
    Project &p = main.project();
    ResetProject(p);
    for (int b = 0; b < 12; ++b) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = uint8_t(238 + b);
        AppendBcUnit(p, bc);
        for (int prt = 1; prt <= 16; ++prt) {
            AlLine al;
            InitZoneRecord(al);
            al.adr = bc.adr;
            al.prt = uint8_t(prt);
            al.num = uint16_t(b * 16 + prt);
            AppendAlLine(p, al);
        }
    }
    for (auto _ : state) {
        main.RebuildNetworkTree();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RebuildTree12Bc16Al)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
