// talvik-sim: a simulated TALVIK network on a pseudo-terminal or a serial device.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <pthread.h>

#include "app_paths.h"
#include "port_names.h"
#include "project_file.h"
#include "sim_demo.h"
#include "sim_line.h"
#include "sim_network.h"
#include "sim_options.h"
#include "sim_port.h"

namespace fs = std::filesystem;

namespace {
int Fail(const std::string &message) {
    std::cerr << "talvik-sim: " << message << "\n";
    return 1;
}

bool Dump(SimLine &line, const std::string &path) {
    std::string text = line.withNetwork([](SimNetwork &n) { return n.projectText(); });
    std::string error;
    if (!WriteFileAtomically(path, text, error)) {
        std::cerr << "talvik-sim: cannot write " << path << ": " << error << "\n";
        return false;
    }
    return true;
}
}  // namespace

int main(int argc, char **argv) {
    SimOptions opt;
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), opt, error))
        return Fail(error + " (see --help)");
    if (opt.help) {
        std::cout << SimUsage();
        return 0;
    }

    // A script that read the COM line and closed its end of the pipe must not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    // Signals are taken by sigwait below; every thread started later inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    for (int s : {SIGINT, SIGTERM, SIGUSR1, SIGHUP})
        sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::unique_ptr<Project> project;
    if (opt.project.empty()) {
        project = MakeDemoProject();
    } else {
        project = std::make_unique<Project>();
        ProjectLoadReport report;
        if (!LoadProjectFile(*project, opt.project, report, error))
            return Fail("cannot read " + opt.project + ": " + error);
    }

    fs::path tempFiles;
    SimConfig config;
    config.seed = opt.seed;
    config.rebootSilence = std::chrono::seconds(opt.rebootSilenceS);
    if (opt.filesDir.empty()) {
        std::string pattern = (fs::temp_directory_path() / "talvik-sim-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return Fail("cannot make a temporary folder");
        tempFiles = pattern;
        config.filesDir = tempFiles;
    } else {
        config.filesDir = opt.filesDir;
    }
    auto cleanupFiles = [&] {
        std::error_code ec;
        if (!tempFiles.empty())
            fs::remove_all(tempFiles, ec);
    };

    SimNetwork net(std::move(project), config);
    for (int adr : opt.mute)
        net.setMuted(uint8_t(adr), true);

    std::unique_ptr<SimPort> port = opt.device.empty() ? SimPort::OpenPty(error)
                                                       : SimPort::Attach(opt.device, opt.baud, error);
    if (!port) {
        cleanupFiles();
        return Fail(error);
    }
    const fs::path portsDir = opt.portsDir.empty() ? PortsDir() : opt.portsDir;
    int com = -1;
    if (opt.device.empty()) {
        std::error_code ec;
        fs::create_directories(portsDir, ec);
        // A link left by a simulator that was killed points at a pseudo-terminal that is
        // gone; it must not push this run off the number it was asked for.
        if (opt.com > 0) {
            const fs::path old = portsDir / ("COM" + std::to_string(opt.com));
            if (fs::is_symlink(fs::symlink_status(old, ec)) && !fs::exists(old, ec))
                fs::remove(old, ec);
        }
        com = RegisterComLink(portsDir, port->path(), opt.com);
        if (com < 0) {
            cleanupFiles();
            return Fail("cannot register " + port->path() + " in " + portsDir.string());
        }
    }

    LineSettings lineSettings;
    lineSettings.baud = opt.baud;
    lineSettings.replyDelay = std::chrono::milliseconds(opt.replyDelayMs);
    TraceFn trace;
    if (opt.trace)
        trace = [](const std::string &line) { std::cerr << line << std::endl; };
    SimLine line(net, *port, lineSettings, opt.faults, trace);
    // The dump is there before the port is announced: a script that read the line can open it.
    if (!opt.dump.empty() && !Dump(line, opt.dump)) {
        if (com > 0)
            RemoveComLink(portsDir, com);
        cleanupFiles();
        return 1;
    }
    if (com > 0)
        std::cout << "COM" << com << " -> " << port->path() << std::endl;
    else
        std::cout << "DEVICE -> " << port->path() << std::endl;
    line.start();

    int status = 0;
    const timespec tick{0, 200'000'000};
    for (;;) {
        const int sig = sigtimedwait(&signals, nullptr, &tick);
        if (sig == SIGUSR1) {
            if (!opt.dump.empty())
                Dump(line, opt.dump);
            continue;
        }
        if (sig == SIGINT || sig == SIGTERM || sig == SIGHUP)
            break;
        if (line.failed()) {
            std::cerr << "talvik-sim: " << line.error() << "\n";
            status = 1;
            break;
        }
    }
    line.stop();
    if (!opt.dump.empty() && !Dump(line, opt.dump))
        status = 1;
    if (com > 0)
        RemoveComLink(portsDir, com);
    port.reset();
    cleanupFiles();
    return status;
}
