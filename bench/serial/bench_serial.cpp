// TCommPort against QSerialPort, the port class a Qt user would pick, on the same
// pseudo-terminal with the same far end: round trip, bulk throughput, idle CPU, CPU at
// 115200 bit/s both ways, and time to notice a hang-up. Prints a summary with ratios.
#include "TCommPort.h"
#include "app_paths.h"
#include "far_end_peer.h"
#include "port_names.h"
#include "pty_pair.h"
#include "temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// The two contenders behind one face.
class Contender {
public:
    virtual ~Contender() = default;
    virtual bool Open(const std::string &slavePath) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() = 0;
    // Queues all of `size` bytes (what does not fit now goes out as room frees up).
    virtual void Send(const char *data, size_t size) = 0;
    size_t received = 0;
    bool hungUp = false;
};

class OurPort : public Contender {
public:
    explicit OurPort(unsigned outSize) {
        SetSettingsDirOverride(m_dir.path());
        m_port.SetOBuffSize(outSize);
        m_port.SetBaudRate(TCommPort::cbr115200);
        QObject::connect(&m_port, &TCommPort::OnDataReceived, &m_port, [this](TCommPort *p, unsigned) {
            char buf[4096];
            while (unsigned n = p->GetBlock(buf, sizeof buf))
                received += n;
        });
        QObject::connect(&m_port, &TCommPort::OnTxDSignal, &m_port, [this](TCommPort *) { Refill(); });
        QObject::connect(&m_port, &TCommPort::OnClose, &m_port, [this](TCommPort *) { hungUp = true; });
    }
    bool Open(const std::string &slavePath) override {
        RemoveComLink(PortsDir(), 1);
        RegisterComLink(PortsDir(), slavePath, 1);
        m_port.SetComNumber(1);
        hungUp = false;
        m_port.SetOpen(true);
        return m_port.Open();
    }
    void Close() override { m_port.SetOpen(false); }
    bool IsOpen() override { return m_port.Open(); }
    void Send(const char *data, size_t size) override {
        m_pending.append(data, size);
        Refill();
    }

private:
    void Refill() {
        if (m_sent < m_pending.size())
            m_sent += m_port.PutBlock(m_pending.data() + m_sent, unsigned(m_pending.size() - m_sent));
        if (m_sent == m_pending.size()) {
            m_pending.clear();
            m_sent = 0;
        }
    }
    TempDir m_dir;
    TCommPort m_port;
    std::string m_pending;
    size_t m_sent = 0;
};

class QtPort : public Contender {
public:
    QtPort() {
        QObject::connect(&m_port, &QSerialPort::readyRead, [this] { received += size_t(m_port.readAll().size()); });
        QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ResourceError)
                hungUp = true;
        });
    }
    bool Open(const std::string &slavePath) override {
        m_port.setPortName(QString::fromStdString(slavePath));
        hungUp = false;
        if (!m_port.open(QIODevice::ReadWrite))
            return false;
        m_port.setBaudRate(115200);
        return true;
    }
    void Close() override { m_port.close(); }
    bool IsOpen() override { return m_port.isOpen(); }
    void Send(const char *data, size_t size) override { m_port.write(data, qint64(size)); }

private:
    QSerialPort m_port;
};

std::unique_ptr<Contender> Make(bool ours) {
    if (ours)
        return std::make_unique<OurPort>(4096);
    return std::make_unique<QtPort>();
}

// Serves the event loop until `done` or `timeoutMs`.
template <typename F> bool Serve(F done, int timeoutMs = 5000) {
    QElapsedTimer t;
    t.start();
    QTimer guard; // wakes the loop at least every 50 ms so the deadline is seen
    guard.start(50);
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void RunLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::map<std::string, double> g_results;
const char *Name(bool ours) { return ours ? "TCommPort" : "QSerialPort"; }

void BM_RoundTrip20(benchmark::State &state, bool ours) {
    PtyPair pty;
    auto port = Make(ours);
    if (!port->Open(pty.slavePath()))
        return state.SkipWithError("open failed");
    FarEndPeer peer(pty.masterFd(), FarEndPeer::Echo);
    const std::string request(20, 'q');
    std::vector<double> samples;
    for (auto _ : state) {
        const size_t target = port->received + 20;
        const auto t0 = Clock::now();
        port->Send(request.data(), request.size());
        if (!Serve([&] { return port->received >= target; }))
            return state.SkipWithError("no reply");
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(s);
        samples.push_back(s * 1e6);
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    state.counters["median_us"] = median;
    state.counters["p99_us"] = p99;
    g_results[std::string(Name(ours)) + " rtt median us"] = median;
    g_results[std::string(Name(ours)) + " rtt p99 us"] = p99;
    port->Close();
}

void BM_Bulk1MB(benchmark::State &state, bool ours) {
    constexpr size_t kSize = 1 << 20;
    const std::string block(kSize, 'b');
    double mbps = 0;
    for (auto _ : state) {
        PtyPair pty;
        auto port = Make(ours);
        if (!port->Open(pty.slavePath()))
            return state.SkipWithError("open failed");
        FarEndPeer peer(pty.masterFd(), FarEndPeer::Sink);
        std::atomic<bool> done{false};
        peer.NotifyAt(
            kSize,
            [](void *flag) {
                static_cast<std::atomic<bool> *>(flag)->store(true);
                QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
            },
            &done);
        const auto t0 = Clock::now();
        port->Send(block.data(), block.size());
        if (!Serve([&] { return done.load(); }, 20000))
            return state.SkipWithError("bulk did not arrive");
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        state.SetIterationTime(s);
        mbps = kSize / s / 1e6;
        port->Close();
    }
    state.counters["MB_per_s"] = mbps;
    g_results[std::string(Name(ours)) + " bulk MB/s"] = mbps;
}

void BM_IdleCpu10s(benchmark::State &state, bool ours) {
    double percent = 0;
    for (auto _ : state) {
        PtyPair pty;
        auto port = Make(ours);
        if (!port->Open(pty.slavePath()))
            return state.SkipWithError("open failed");
        const double c0 = ProcessCpuSeconds();
        const auto t0 = Clock::now();
        RunLoopFor(10000);
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        percent = (ProcessCpuSeconds() - c0) / wall * 100;
        state.SetIterationTime(wall);
        port->Close();
    }
    state.counters["cpu_percent"] = percent;
    g_results[std::string(Name(ours)) + " idle cpu %"] = percent;
}

void BM_FullRateCpu(benchmark::State &state, bool ours) {
    constexpr size_t kRate = 115200 / 10; // 8N1: ten bits a byte
    double percent = 0;
    for (auto _ : state) {
        PtyPair pty;
        auto port = Make(ours);
        if (!port->Open(pty.slavePath()))
            return state.SkipWithError("open failed");
        FarEndPeer peer(pty.masterFd(), FarEndPeer::Paced, kRate);
        const std::string slice(kRate / 100, 's');
        QTimer sender;
        QObject::connect(&sender, &QTimer::timeout, [&] { port->Send(slice.data(), slice.size()); });
        sender.start(10);
        const double c0 = ProcessCpuSeconds();
        const auto t0 = Clock::now();
        RunLoopFor(5000);
        sender.stop();
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        const double used = ProcessCpuSeconds() - c0;
        peer.Stop();
        // The far end's own thread is not the port's cost.
        percent = (used - peer.CpuSeconds()) / wall * 100;
        state.SetIterationTime(wall);
        state.counters["received_B"] = double(port->received);
        state.counters["sent_B"] = double(peer.Received());
        port->Close();
    }
    state.counters["cpu_percent"] = percent;
    g_results[std::string(Name(ours)) + " 115200 both ways cpu %"] = percent;
}

// Contenders that did not notice a hang-up within 2 s: an error, not a time.
std::vector<std::string> g_unnoticed;

void BM_HangUp(benchmark::State &state, bool ours) {
    double ms = 0, afterCpu = 0;
    bool noticed = false;
    for (auto _ : state) {
        PtyPair pty;
        auto port = Make(ours);
        if (!port->Open(pty.slavePath()))
            return state.SkipWithError("open failed");
        const auto t0 = Clock::now();
        pty.closeMaster();
        // TCommPort: closed itself (OnClose). QSerialPort: reported ResourceError.
        noticed = Serve([&] { return port->hungUp; }, 2000);
        ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        state.SetIterationTime(ms / 1e3);
        // Does anything keep spinning on the dead device?
        const double c0 = ProcessCpuSeconds();
        RunLoopFor(500);
        afterCpu = (ProcessCpuSeconds() - c0) / 0.5 * 100;
        port->Close();
    }
    g_results[std::string(Name(ours)) + " cpu % after hang-up"] = afterCpu;
    if (!noticed) {
        g_unnoticed.push_back(Name(ours));
        return state.SkipWithError("the hang-up went unnoticed for 2 s");
    }
    state.counters["hangup_ms"] = ms;
    state.counters["cpu_after_percent"] = afterCpu;
    g_results[std::string(Name(ours)) + " hang-up noticed ms"] = ms;
}

void Register() {
    for (bool ours : {true, false}) {
        const std::string n = Name(ours);
        benchmark::RegisterBenchmark(("RoundTrip20/" + n).c_str(), BM_RoundTrip20, ours)
            ->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Bulk1MB/" + n).c_str(), BM_Bulk1MB, ours)
            ->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("IdleCpu10s/" + n).c_str(), BM_IdleCpu10s, ours)
            ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("FullRateCpu115200/" + n).c_str(), BM_FullRateCpu, ours)
            ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("HangUp/" + n).c_str(), BM_HangUp, ours)
            ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
}

void PrintSummary() {
    std::printf("\n%-40s %12s\n", "figure", "value");
    for (const auto &[name, value] : g_results)
        std::printf("%-40s %12.4f\n", name.c_str(), value);
    auto ratio = [](const char *label, const std::string &key) {
        const auto ours = g_results.find("TCommPort " + key), qt = g_results.find("QSerialPort " + key);
        if (ours == g_results.end() || qt == g_results.end())
            return;
        if (qt->second <= 0)
            std::printf("ratio TCommPort/QSerialPort %-22s %8s\n", label, "n/a");
        else
            std::printf("ratio TCommPort/QSerialPort %-22s %8.3f\n", label, ours->second / qt->second);
    };
    ratio("rtt median", "rtt median us");
    ratio("rtt p99", "rtt p99 us");
    ratio("bulk throughput", "bulk MB/s");
    ratio("idle cpu", "idle cpu %");
    ratio("full-rate cpu", "115200 both ways cpu %");
    ratio("hang-up time", "hang-up noticed ms");
    for (const std::string &name : g_unnoticed)
        std::printf("ERROR: %s did not notice the hang-up within 2 s\n", name.c_str());
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Register();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
