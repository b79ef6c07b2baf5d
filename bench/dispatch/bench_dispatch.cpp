// Reply latency and the AL sweep through the real serial component.
//  - DispatchLatency: the simulator's reply frame is written to the pseudo-terminal by a
//    thread of its own; the time from just before its last byte is written to the call of
//    DispatchReply, over 1000 replies. Fails when they do not all arrive within 60 s.
//  - FullAlSweep: the sweep of a BC at its real 500 ms pace against the simulated line at
//    115200 bit/s: per line, the time from the request to the merge of its reply (the
//    pacing between requests is not measured). Fails when the sweep does not end in 20 s.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <limits>
#include <string>
#include <string_view>
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

        std::atomic<bool> stop{false};
        std::thread writer([&] {
            auto put = [&](const uint8_t *bytes, size_t count) {
                size_t at = 0;
                while (at < count && !stop.load()) {
                    const ssize_t w = ::write(pty->fd(), bytes + at, count - at);
                    if (w > 0)
                        at += static_cast<size_t>(w);
                    else if (errno != EAGAIN && errno != EINTR)
                        return false;
                }
                return at == count;
            };
            for (int i = 0; i < kReplies && !stop.load(); ++i) {
                // Stamped before the last byte goes: no reply can be dispatched before it.
                if (!put(frame.data(), frame.size() - 1))
                    return;
                written[static_cast<size_t>(i)] = Clock::now();
                if (!put(frame.data() + frame.size() - 1, 1))
                    return;
                while (done.load() <= i && !stop.load())
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                std::this_thread::sleep_for(std::chrono::microseconds(200)); // idle line between replies
            }
        });
        const bool finished = program.WaitFor([&] { return done.load() >= kReplies; }, 60000);
        stop.store(true);
        writer.join();
        if (!finished) {
            state.SkipWithError(("only " + std::to_string(done.load()) + " of 1000 replies within 60 s").c_str());
            RemoveComLink(PortsDir(), com);
            break;
        }

        std::vector<double> ms;
        for (int i = 0; i < kReplies; ++i)
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
        // Stamped once the dispatcher has merged the reply, on the log's clock.
        std::vector<qint64> mergedAt;
        program.protocol->Exchange().SetReplyHandler([&](const uint8_t *p, int n, uint8_t src) {
            program.protocol->Dispatcher().DispatchReply(p, n, src);
            if (std::string_view(reinterpret_cast<const char *>(p), static_cast<size_t>(n)).starts_with("OK_GETZONE"))
                mergedAt.push_back(NowMs());
        });
        program.protocol->Sweep().Start(238);
        if (!program.WaitFor([&] { return program.Logged("Данные всех АЛ прочитаны"); }, 20000)) {
            state.SkipWithError("the sweep did not end within 20 s");
            break;
        }
        program.Wait(100);
        // Each request ("Читаю данные АЛ:n" is logged as it is sent) to the merge of the first
        // reply after it and before the next request; the 500 ms between requests is pacing,
        // not measured.
        std::vector<qint64> requests;
        for (const LogLine &l : program.log)
            if (l.text.rfind("Читаю данные АЛ:", 0) == 0)
                requests.push_back(l.atMs);
        std::vector<double> ms;
        for (size_t i = 0; i < requests.size(); ++i) {
            const qint64 next = i + 1 < requests.size() ? requests[i + 1] : std::numeric_limits<qint64>::max();
            const auto reply = std::find_if(mergedAt.begin(), mergedAt.end(),
                                            [&](qint64 t) { return t >= requests[i] && t < next; });
            if (reply == mergedAt.end())
                continue;
            ms.push_back(static_cast<double>(*reply - requests[i]));
            state.counters["al" + std::to_string(i + 1) + "_ms"] = ms.back();
        }
        if (ms.empty()) {
            state.SkipWithError("no GETZONE reply was merged");
            break;
        }
        state.counters["lines_requested"] = static_cast<double>(requests.size());
        state.counters["lines_answered"] = static_cast<double>(ms.size());
        state.counters["merge_median_ms"] = Percentile(ms, 0.5);
        state.counters["merge_max_ms"] = Percentile(ms, 1.0);
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
