// Reply latency and the AL sweep through the real serial component.
//  - DispatchLatency: the simulator's reply frame is written to the pseudo-terminal by a
//    thread of its own; the time from the return of that write (the last byte is on the
//    line) to the call of DispatchReply, over 1000 replies.
//  - FullAlSweep: the sweep of a BC at its real 500 ms pace against the simulated line at
//    115200 bit/s: total time and the number of replies merged.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app_paths.h"
#include "frame.h"
#include "port_names.h"
#include "sim_demo.h"
#include "sim_harness.h"

namespace {

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())));
    return v[i];
}

void DispatchLatency(benchmark::State &state) {
    constexpr int kReplies = 1000;
    for (auto _ : state) {
        TempDir dir;
        SetSettingsDirOverride(dir.path());
        std::string error;
        auto pty = SimPort::OpenPty(error);
        const int com = RegisterComLink(PortsDir(), pty->path());
        SimConfig config;
        config.filesDir = dir / "devices";
        SimNetwork net(MakeDemoProject(), config);
        const auto payload = net.handle(250, "GETSETTING", Clock::now()).value();
        const std::vector<uint8_t> frame = BuildFrame(254, 250, payload.data(), payload.size());

        ProgramSide program(com, 115200, MakeDemoProject(), kRealTimings);
        std::vector<Clock::time_point> written(kReplies), dispatched(kReplies);
        std::atomic<int> done{0};
        program.protocol->Exchange().SetReplyHandler([&](const uint8_t *p, int n, uint8_t src) {
            const int i = done.load();
            if (i < kReplies)
                dispatched[static_cast<size_t>(i)] = Clock::now();
            program.protocol->Dispatcher().DispatchReply(p, n, src);
            done.store(i + 1);
        });

        std::thread writer([&] {
            for (int i = 0; i < kReplies; ++i) {
                size_t at = 0;
                while (at < frame.size()) {
                    const ssize_t w = ::write(pty->fd(), frame.data() + at, frame.size() - at);
                    if (w > 0)
                        at += static_cast<size_t>(w);
                    else if (errno != EAGAIN && errno != EINTR)
                        return;
                }
                written[static_cast<size_t>(i)] = Clock::now();
                while (done.load() <= i)
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                std::this_thread::sleep_for(std::chrono::microseconds(200)); // idle line between replies
            }
        });
        program.WaitFor([&] { return done.load() >= kReplies; }, 60000);
        writer.join();

        std::vector<double> ms;
        for (int i = 0; i < std::min(done.load(), kReplies); ++i)
            ms.push_back(std::chrono::duration<double, std::milli>(dispatched[static_cast<size_t>(i)] -
                                                                   written[static_cast<size_t>(i)])
                             .count());
        state.counters["replies"] = static_cast<double>(ms.size());
        state.counters["median_ms"] = Percentile(ms, 0.5);
        state.counters["p99_ms"] = Percentile(ms, 0.99);
        state.counters["max_ms"] = Percentile(ms, 1.0);
        RemoveComLink(PortsDir(), com);
    }
}
BENCHMARK(DispatchLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

void FullAlSweep(benchmark::State &state) {
    for (auto _ : state) {
        SimHarness sim(115200);
        ProgramSide program(sim.comNumber(), 115200, MakeDemoProject(), kRealTimings);
        const auto start = Clock::now();
        program.protocol->Sweep().Start(238);
        program.WaitFor([&] { return program.Logged("Данные всех АЛ прочитаны"); }, 20000);
        const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        program.Wait(100);
        size_t merged = 0;
        for (const DispatchedFrame &f : program.dispatched)
            merged += f.payload.rfind("OK_GETZONE", 0) == 0;
        state.counters["sweep_ms"] = total;
        state.counters["replies_merged"] = static_cast<double>(merged);
        state.counters["al_lines_after"] = static_cast<double>(program.project->alCount);
    }
}
BENCHMARK(FullAlSweep)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
