// Wall time of "Сохранить проект В TALVIK" for the demo network against the simulator at
// the real pace, beside the expected 1 + B + L + C seconds of commands, and the time the
// upload of "pd.cfg" needs at the line rate. One run; prints one table.
//   bench_network_write [--baud N]   (19200 by default, the devices' own rate)
#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "TfrMain.h"
#include "app_paths.h"
#include "app_windows.h"
#include "device_protocol.h"
#include "network_write/network_write_plan.h"
#include "port_names.h"
#include "project_file.h"
#include "sim_demo.h"
#include "sim_line.h"
#include "sim_network.h"
#include "sim_port.h"
#include "temp_dir.h"

namespace {
// Says yes to every question and opens the demo file.
class Yes : public Dialogs {
public:
    QString path;
    bool askYesNo(const QString &, const QString &) override { return true; }
    void information(const QString &, const QString &text) override { std::printf("message: %s\n", qPrintable(text)); }
    void error(const QString &, const QString &text) override { std::printf("error: %s\n", qPrintable(text)); }
    QString inputValue(const QString &, const QString &) override { return QStringLiteral("INPUTVAL_CANCEL"); }
    QString openFileName(const QString &) override { return path; }
    QString saveFileName(const QString &) override { return path; }
};

// Seconds the upload of `bytes` takes on the line: the start command and each part go
// out as a frame and come back answered; 10 bits a byte (8N1).
double UploadSeconds(size_t bytes, int baud) {
    const size_t parts = (bytes + 488) / 489 + 1; // the last reply finds the end
    const double request = 6 + 11 + 489.0, reply = 6 + 14;
    const double start = 6 + 40 + reply;
    return (start + parts * (request + reply)) * 10.0 / baud;
}
} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int baud = 19200;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--baud") == 0)
            baud = std::atoi(argv[i + 1]);
    QApplication app(argc, argv);
    TempDir dir;
    SetSettingsDirOverride(dir.path());
    std::string error;
    auto port = SimPort::OpenPty(error);
    if (!port) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", error.c_str());
        return 1;
    }
    const int com = RegisterComLink(PortsDir(), port->path());
    {
        QSettings ini(QString::fromStdString((dir / "talvikcfg.ini").string()), QSettings::IniFormat);
        ini.setValue("COM/Number", com);
        ini.setValue("COM/Speed", baud);
    }
    SimConfig config;
    config.filesDir = dir / "devices";
    SimNetwork net(MakeDemoProject(), config);
    LineSettings line;
    line.baud = baud;
    SimLine sim(net, *port, line, FaultSettings{});
    sim.start();

    auto demo = MakeDemoProject();
    const std::string file = (dir / "demo.cfg").string();
    if (!SaveProjectFile(*demo, file, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const NetworkWritePlan plan = PlanNetworkWrite(*demo);
    AppWindows w = CreateAppWindows(kRealTimings);
    Yes yes;
    yes.path = QString::fromStdString(file);
    w.main->SetDialogs(&yes);
    w.main->miLoadClick();

    QElapsedTimer t;
    qint64 commandsEnd = -1;
    QObject::connect(w.main.get(), &TfrMain::infoLogged, [&](const QString &text) {
        if (text.startsWith(QStringLiteral("Копирую")) && commandsEnd < 0)
            commandsEnd = t.elapsed();
    });
    t.start();
    w.main->miSaveTALVIKClick();
    while (w.main->NetworkWriteRunning() || commandsEnd < 0) {
        w.main->protocol().Exchange().WaitWithEvents(5);
        if (t.elapsed() > 600000)
            break;
    }
    // With the file manager attached, the upload ends with "pd.cfg" on the PD's disk.
    const size_t cfgBytes = std::filesystem::file_size(file);
    qint64 uploadEnd = -1;
    if (w.main->fileManager()) {
        const auto onDisk = config.filesDir / "PD250" / "pd.cfg";
        while (t.elapsed() < commandsEnd + 120000) {
            std::error_code ec;
            if (std::filesystem::file_size(onDisk, ec) == cfgBytes && !ec) {
                uploadEnd = t.elapsed();
                break;
            }
            w.main->protocol().Exchange().WaitWithEvents(5);
        }
    }
    sim.stop();

    const int b = plan.bcCommands, l = plan.alCommands, c = plan.clearCommands;
    const double expected = 1 + b + l + c;
    const double upload = UploadSeconds(cfgBytes, baud);
    std::printf("demo network: B=%d L=%d C=%d, %zu commands, pd.cfg %zu bytes, %d bit/s\n", b, l, c,
                plan.commands.size(), cfgBytes, baud);
    std::printf("%-44s %10s %10s\n", "", "expected", "measured");
    std::printf("%-44s %9.2fs %9.2fs\n", "commands until the upload starts (1+B+L+C)", expected, commandsEnd / 1000.0);
    if (uploadEnd >= 0)
        std::printf("%-44s %9.2fs %9.2fs\n", "upload of pd.cfg at the line rate", upload,
                    (uploadEnd - commandsEnd) / 1000.0);
    else
        std::printf("%-44s %9.2fs %10s\n", "upload of pd.cfg at the line rate", upload, "n/a");
    std::printf("%-44s %9.2fs %9.2fs\n", "whole save", expected + upload,
                (uploadEnd >= 0 ? uploadEnd : commandsEnd) / 1000.0);
    return 0;
}
