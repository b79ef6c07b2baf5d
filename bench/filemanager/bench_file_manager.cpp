// Upload and download throughput of the file manager at 19200 and 115200 bit/s: its logic
// on the real TCommPort, over a pseudo-terminal paced like a UART, to the simulated PD.
// Reported as file bytes per second over the line's 8N1 byte rate (1920 B/s at 19200),
// with where the rest of the time goes. Sizes: TALVIK_BENCH_KB_19200 / _115200 (kB).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "file_manager_program.h"
#include "frame.h"
#include "sim_harness.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    double ratio = 0;   // file bytes/s over line bytes/s
    double ceiling = 0; // the same with no gaps on the line: framing and keywords only
    double cycleMs = 0; // measured time between two part requests at the device
    double lineMs = 0;  // line time of one part and its reply back to back
    double seconds = 0;
};
std::map<std::string, Result> g_results;

size_t SizeFor(int baud) {
    const char *env = std::getenv(baud == 19200 ? "TALVIK_BENCH_KB_19200" : "TALVIK_BENCH_KB_115200");
    const long kb = env ? std::atol(env) : (baud == 19200 ? 20 : 100);
    return size_t(std::max(1L, kb)) * 1024;
}

std::string RandomBytes(size_t n) {
    std::mt19937 rng(1);
    std::string out(n, '\0');
    for (char &c : out)
        c = char(rng() & 0xFF);
    return out;
}

double LineMs(size_t bytes, int baud) {
    return double(bytes) * 10.0 * 1000.0 / baud;
}

// Mean gap between consecutive requests beginning with `word` as the device heard them.
double MeanCycleMs(const std::vector<SimHarness::Heard> &heard, const std::string &word) {
    std::vector<qint64> at;
    for (const auto &h : heard)
        if (h.text.find(" " + word) != std::string::npos)
            at.push_back(h.atMs);
    if (at.size() < 2)
        return 0;
    return double(at.back() - at.front()) / double(at.size() - 1);
}

void Transfer(benchmark::State &state, int baud, bool upload) {
    const size_t size = SizeFor(baud);
    const std::string bytes = RandomBytes(size);
    const double lineRate = baud / 10.0;
    for (auto _ : state) {
        SimHarness sim(baud);
        ProtocolTimings timings;
        timings.fileWaitTickMs = 10;
        FileManagerProgram program(sim.comNumber(), baud, timings);
        TempDir local;
        const fs::path device = sim.withNetwork([](SimNetwork &n) { return n.folder(250)->path(); });
        std::ofstream((upload ? local.path() : device) / "f.bin", std::ios::binary) << bytes;

        QElapsedTimer t;
        t.start();
        bool done = false;
        if (upload) {
            program.logic.StartUpload(QString::fromStdString((local / "f.bin").string()), "f.bin");
            done = program.WaitFor([&] { return program.Logged("Загрузка файла успешно"); }, 600000);
        } else {
            program.logic.StartDownload("f.bin", QString::fromStdString((local / "back.bin").string()));
            done = program.WaitFor([&] { return program.Logged("Загрузка файла закончена"); }, 600000);
        }
        const double seconds = t.nsecsElapsed() / 1e9;
        if (!done) {
            state.SkipWithError("the transfer did not end");
            return;
        }
        state.SetIterationTime(seconds);

        Result r;
        r.seconds = seconds;
        r.ratio = double(size) / seconds / lineRate;
        if (upload) {
            const size_t out = kFrameOverhead + 11 + 489, back = kFrameOverhead + std::strlen("OK_UPLOAD_PART");
            r.ceiling = 489.0 / double(out + back);
            r.lineMs = LineMs(out + back, baud);
            r.cycleMs = MeanCycleMs(sim.heard(), "UPLOAD_PART");
        } else {
            // Two requests are in flight, so a request's line time hides behind a reply.
            const size_t back = kFrameOverhead + 16 + 512;
            r.ceiling = 512.0 / double(back);
            r.lineMs = LineMs(back, baud);
            r.cycleMs = MeanCycleMs(sim.heard(), "DOWNLOAD_PART");
        }
        g_results[std::string(upload ? "upload" : "download") + " " + std::to_string(baud)] = r;
        state.counters["ratio"] = r.ratio;
        state.counters["bytes"] = double(size);
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    for (int baud : {19200, 115200}) {
        for (bool upload : {true, false}) {
            const std::string name = std::string(upload ? "Upload/" : "Download/") + std::to_string(baud);
            benchmark::RegisterBenchmark(name.c_str(),
                                         [baud, upload](benchmark::State &s) { Transfer(s, baud, upload); })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kSecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%-16s %8s %8s %9s %11s %10s %12s\n", "transfer", "seconds", "ratio", "ceiling", "cycle ms",
                "line ms", "gap ms/part");
    for (const auto &[name, r] : g_results)
        std::printf("%-16s %8.1f %7.1f%% %8.1f%% %11.2f %10.2f %12.2f\n", name.c_str(), r.seconds, r.ratio * 100,
                    r.ceiling * 100, r.cycleMs, r.lineMs, r.cycleMs - r.lineMs);
    std::printf("ratio: file bytes/s over the 8N1 byte rate; ceiling: the same with the line never idle (frame\n"
                "header, CRC and keywords only); gap: per part, the time the line stands idle between a reply's\n"
                "last byte and the next request's first (device turnaround, pty and event delivery).\n");
    return 0;
}
