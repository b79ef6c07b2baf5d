#include "port_fixture.h"

#include "app_paths.h"
#include "port_names.h"

#include <QCoreApplication>
#include <QTest>

void PortFixture::SetUp() {
    m_savedTimings = Timings();
    SetSettingsDirOverride(m_dir.path());
    m_pty = std::make_unique<PtyPair>();
    ASSERT_EQ(RegisterComLink(PortsDir(), m_pty->slavePath(), 1), 1);
    m_port = std::make_unique<TCommPort>();
}

void PortFixture::TearDown() {
    m_port.reset();
    m_pty.reset();
    SetSettingsDirOverride({});
    Timings() = m_savedTimings;
}

void PortFixture::OpenPort() {
    m_port->SetComNumber(1);
    m_port->SetBaudRate(TCommPort::cbr115200);
    m_port->SetOpen(true);
    ASSERT_TRUE(m_port->Open());
    ASSERT_TRUE(m_port->IsEnabled());
}

bool PortFixture::WaitFor(const std::function<bool()> &done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

void PortFixture::CollectReceived() {
    QObject::connect(m_port.get(), &TCommPort::OnDataReceived, m_port.get(), [this](TCommPort *sender, unsigned) {
        char buf[512];
        while (unsigned n = sender->GetBlock(buf, sizeof buf))
            m_received.append(buf, n);
    });
}

void PortFixture::NewFarEnd() {
    m_pty = std::make_unique<PtyPair>();
    RemoveComLink(PortsDir(), 1);
    ASSERT_EQ(RegisterComLink(PortsDir(), m_pty->slavePath(), 1), 1);
}

std::string PortFixture::Pattern(size_t size, unsigned seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = char((i + seed) % 251);
    return s;
}
