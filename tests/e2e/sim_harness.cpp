#include "sim_harness.h"

#include <stdexcept>

#include "app_paths.h"
#include "port_names.h"
#include "sim_demo.h"

qint64 NowMs() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

SimHarness::SimHarness(int baud, const FaultSettings &faults, std::chrono::milliseconds replyDelay) {
    // The ports folder lives beside the settings file: point both at this test's folder.
    SetSettingsDirOverride(m_dir.path());
    std::string error;
    m_port = SimPort::OpenPty(error);
    if (!m_port)
        throw std::runtime_error("pseudo-terminal: " + error);
    m_com = RegisterComLink(PortsDir(), m_port->path());
    if (m_com < 1)
        throw std::runtime_error("cannot register the simulator's COM link");
    SimConfig config;
    config.filesDir = m_dir / "devices";
    m_net = std::make_unique<SimNetwork>(MakeDemoProject(), config);
    LineSettings line;
    line.baud = baud;
    line.replyDelay = replyDelay;
    m_line = std::make_unique<SimLine>(*m_net, *m_port, line, faults, [this](const std::string &text) {
        if (text.find("-> ") == std::string::npos)
            return; // only requests
        std::lock_guard<std::mutex> lock(m_heardMutex);
        m_heard.push_back({NowMs(), text});
    });
    m_line->start();
}

SimHarness::~SimHarness() {
    m_line->stop();
    RemoveComLink(PortsDir(), m_com);
}

std::vector<SimHarness::Heard> SimHarness::heard() const {
    std::lock_guard<std::mutex> lock(m_heardMutex);
    return m_heard;
}

ProgramSide::ProgramSide(int comNumber, int baud, std::unique_ptr<Project> p, const ProtocolTimings &timings)
    : project(std::move(p)) {
    port.SetComNumber(comNumber);
    port.SetBaud(baud);
    port.SetOpen(true);
    if (!port.IsEnabled())
        throw std::runtime_error("the program's port did not open: " + port.LastOpenError().toStdString());
    link = std::make_unique<TCommPortLink>(port);
    protocol = std::make_unique<DeviceProtocol>(
        project.get(), &view,
        [this](const QString &t) {
            log.push_back({t.toStdString(), NowMs()});
        },
        timings);
    protocol->Exchange().SetPort(link.get());
    ConnectDataReceived(port, protocol->Exchange());
    // Every accepted frame is written down on its way to the dispatcher.
    protocol->Exchange().SetReplyHandler([this](const uint8_t *payload, int length, uint8_t source) {
        dispatched.push_back(
            {std::string(reinterpret_cast<const char *>(payload), static_cast<size_t>(length)), source, NowMs()});
        protocol->Dispatcher().DispatchReply(payload, length, source);
    });
}

ProgramSide::~ProgramSide() {
    protocol->Exchange().StopRepeats();
    port.SetOpen(false);
}

bool ProgramSide::WaitFor(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= timeoutMs)
            return false;
        Wait(2);
    }
    return true;
}

bool ProgramSide::Logged(const std::string &text) const {
    for (const LogLine &l : log) {
        if (l.text == text)
            return true;
    }
    return false;
}

size_t ProgramSide::CountEvents(const std::string &prefix) const {
    size_t n = 0;
    for (const std::string &e : view.events)
        n += e.rfind(prefix, 0) == 0;
    return n;
}
