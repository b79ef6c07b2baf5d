// Construction, FormCreate/FormDestroy and the serial port the window owns.
#include <QAction>
#include <QPushButton>
#include <QTreeWidget>

#include "TCommPort.h"
#include "TfrMain.h"
#include "app_settings.h"
#include "device_protocol.h"
#include "main_window_view.h"
#include "port_return_watch.h"
#include "port_texts.h"
#include "serial_device.h"
#include "tcommport_link.h"
#include "value_rules.h"

TfrMain::TfrMain(const ProtocolTimings &timings, QWidget *parent)
    : QMainWindow(parent), m_project(std::make_unique<Project>()), m_comPort(std::make_unique<TCommPort>(this)),
      m_qtDialogs(std::make_unique<QtDialogs>(this, nullptr)), m_rng(std::random_device{}()) {
    setObjectName("TfrMain");
    ResetProject(*m_project);
    // Port -1 (none), 19200 bit/s, 8 data bits; a frame never needs more than these rings.
    m_comPort->SetComNumber(-1);
    m_comPort->SetBaudRate(TCommPort::cbr19200);
    m_comPort->SetDataBits(8);
    m_comPort->SetIBuffSize(2048);
    m_comPort->SetOBuffSize(4096);
    buildLayout();
    createProtocol(timings);
    FormCreate();
}

TfrMain::~TfrMain() {
    FormDestroy();
}

void TfrMain::createProtocol(const ProtocolTimings &timings) {
    m_link = std::make_unique<TCommPortLink>(*m_comPort);
    m_view = std::make_unique<MainWindowView>(*this);
    m_protocol = std::make_unique<DeviceProtocol>(
        m_project.get(), m_view.get(), [this](const QString &t) { LogInfo(t); }, timings);
    m_protocol->Exchange().SetPort(m_link.get());
    connect(m_comPort.get(), &TCommPort::OnDataReceived, this, &TfrMain::ComPortDataReceived);
    // A port whose device went away has closed itself: the buttons follow, and the next
    // command opens it again.
    connect(m_comPort.get(), &TCommPort::OnClose, this, [this] {
        if (!m_destroyed)
            refreshPortControls();
    });
    m_portWatch = new PortReturnWatch(*m_comPort, timings.portReturnCheckMs, this);
    connect(m_comPort.get(), &TCommPort::OnDeviceGone, this, &TfrMain::onPortDeviceGone);
    connect(m_portWatch, &PortReturnWatch::reopened, this, [this] {
        LogInfo(DeviceBackText(m_comPort->ComNumber()));
        refreshPortControls();
    });
}

void TfrMain::onPortDeviceGone() {
    if (m_destroyed)
        return;
    LogInfo(DeviceGoneText(m_comPort->ComNumber()));
    m_portWatch->Start();
}

void TfrMain::FormCreate() {
    m_scanStart.clear();
    m_scanStop.clear();
    SetProjectOpen(false);

    m_settingsPath = SettingsFilePath();
    const AppSettings s = ReadAppSettings(m_settingsPath);
    m_comPort->SetComNumber(s.comNumber);
    m_comPort->SetBaudRate(TCommPort::TBaudRate(BaudIndexFromSpeed(s.speed, TCommPort::cbr19200)));
    SetAddr(s.addr);
    m_scanStart = s.scanStart;
    m_scanStop = s.scanStop;

    const bool open = openPortAndLog();
    for (QAction *a : {miScaner, miUpgradeBC, miUpgradePD})
        a->setEnabled(open);
}

void TfrMain::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_protocol->Exchange().StopRepeats();
    m_portWatch->Stop();
    m_comPort->SetOpen(false);
    AppSettings s;
    s.comNumber = m_comPort->ComNumber();
    s.speed = m_comPort->GetBaud();
    s.addr = Addr();
    s.scanStart = m_scanStart;
    s.scanStop = m_scanStop;
    WriteAppSettings(m_settingsPath, s);
}

int TfrMain::Addr() const {
    return m_protocol->Exchange().Addr();
}
void TfrMain::SetAddr(int addr) {
    m_protocol->Exchange().SetAddr(addr);
}

// Opens the port; a failure is logged with the COM number and why (not found, busy, no
// rights, with how to get them). A number below 1 means no port was chosen: nothing to say.
bool TfrMain::openPortAndLog() {
    m_comPort->SetOpen(true);
    if (m_comPort->Open()) {
        m_portWatch->Stop();
        return true;
    }
    if (m_comPort->ComNumber() >= 1)
        LogInfo(OpenFailureText(m_comPort->ComNumber(), m_comPort->LastOpenFailure(), m_comPort->LastOpenPath()));
    return false;
}

bool TfrMain::SetPortOpen(bool open) {
    bool result = true;
    if (open) {
        result = m_comPort->Open() || openPortAndLog();
    } else if (m_comPort->Open()) {
        m_comPort->SetOpen(false);
    }
    refreshPortControls();
    return result;
}

void TfrMain::refreshPortControls() {
    // A network write owns the line while it paces: nothing else may send.
    const bool isOpen = m_comPort->Open() && !m_networkWriteRunning;
    for (QAction *a : {miScaner, miUpgradeBC, miUpgradePD})
        a->setEnabled(isOpen);
    const NodeKind kind = SelectedNodeKind();
    const bool device = kind != NodeKind::None;
    bdReadCom->setEnabled(isOpen && device);
    btGetVoltage->setEnabled(isOpen && device);
    btFileManager->setEnabled(isOpen && (kind == NodeKind::Pd || kind == NodeKind::Bc));
}
