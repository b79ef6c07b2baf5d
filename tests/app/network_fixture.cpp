#include "network_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>

#include "TCommPort.h"
#include "device_protocol.h"
#include "port_names.h"
#include "project_file.h"
#include "read_back_window.h"
#include "sim_demo.h"
#include "text_utils.h"

void NetworkFixture::SetUp() {
    m_clock.start();
    SetSettingsDirOverride(m_dir.path());
    std::string error;
    m_simPort = SimPort::OpenPty(error);
    ASSERT_TRUE(m_simPort) << error;
    m_com = RegisterComLink(PortsDir(), m_simPort->path());
    ASSERT_GE(m_com, 1);
    {
        QSettings ini(QString::fromStdString((m_dir / "talvikcfg.ini").string()), QSettings::IniFormat);
        ini.setValue("COM/Number", m_com);
        ini.setValue("COM/Speed", kBaud);
    }
    SimConfig config;
    config.filesDir = m_dir / "devices";
    m_net = std::make_unique<SimNetwork>(MakeDemoProject(), config);
    LineSettings line;
    line.baud = kBaud;
    m_line = std::make_unique<SimLine>(*m_net, *m_simPort, line, m_faults, [this](const std::string &text) {
        const size_t arrow = text.find("-> "); // behind the simulator's time stamp
        if (arrow == std::string::npos)
            return; // replies are seen on the program's side
        std::lock_guard<std::mutex> lock(m_heardMutex);
        m_heard.push_back({text.substr(arrow), m_clock.elapsed()});
    });
    m_line->start();

    m_windows = CreateAppWindows(m_timings);
    main().SetDialogs(&m_dialogs);
    QObject::connect(&main(), &TfrMain::infoLogged, [this](const QString &text) {
        m_log.push_back({text, m_clock.elapsed()});
    });
    ASSERT_TRUE(main().ComPort().Open()) << "the program opens COM" << m_com << " at start";
}

void NetworkFixture::TearDown() {
    m_windows.main.reset(); // closes the port before its far end goes
    if (m_line)
        m_line->stop();
    m_line.reset();
    m_net.reset();
    m_simPort.reset();
    SetSettingsDirOverride({});
}

void NetworkFixture::openDemoProject(const std::function<void(Project &)> &plan) {
    auto demo = MakeDemoProject();
    CopyTextUtf8(demo->settings.nam, sizeof demo->settings.nam, "Мой проект");
    if (plan)
        plan(*demo);
    const std::string path = (m_dir / "plan.cfg").string();
    std::string error;
    ASSERT_TRUE(SaveProjectFile(*demo, path, error)) << error;
    m_dialogs.openFile(QString::fromStdString(path));
    main().miLoadClick();
    ASSERT_TRUE(main().IsProjectOpen());
    ASSERT_FALSE(main().IsModified());
}

bool NetworkFixture::waitFor(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= timeoutMs)
            return false;
        wait(2);
    }
    return true;
}

void NetworkFixture::wait(int ms) {
    main().protocol().Exchange().WaitWithEvents(uint32_t(ms));
}

void NetworkFixture::press(const char *button) {
    QPushButton *b = find<QPushButton>(button);
    ASSERT_TRUE(b->isEnabled()) << button;
    b->click();
}

ReadBackWindow *NetworkFixture::window(const char *name) {
    return find<ReadBackWindow>(name);
}

QString NetworkFixture::shown(const char *windowName, const char *control) {
    QWidget *w = window(windowName)->findChild<QWidget *>(QString::fromLatin1(control));
    EXPECT_NE(w, nullptr) << windowName << "." << control;
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->isChecked() ? "checked" : "unchecked";
    return {};
}

void NetworkFixture::pressCopy(const char *windowName) {
    auto *b = window(windowName)->findChild<QPushButton *>("btCopy");
    ASSERT_NE(b, nullptr);
    b->click();
}

bool NetworkFixture::logged(const QString &text) const {
    return countLogged(text) > 0;
}

int NetworkFixture::countLogged(const QString &text) const {
    int n = 0;
    for (const LogLine &l : m_log)
        n += l.text == text;
    return n;
}

std::vector<NetworkFixture::Heard> NetworkFixture::heard() const {
    std::lock_guard<std::mutex> lock(m_heardMutex);
    return m_heard;
}
