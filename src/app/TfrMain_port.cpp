// Construction, FormCreate/FormDestroy and the serial port the window owns.
#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "TCommPort.h"
#include "TfrMain.h"
#include "app_settings.h"
#include "value_rules.h"

TfrMain::TfrMain(QWidget *parent)
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
    connect(m_comPort.get(), &TCommPort::OnDataReceived, this, [this] { ComPortDataReceived(); });
    buildLayout();
    tmRepeat = new QTimer(this);
    tmRepeat->setObjectName("tmRepeat");
    tmReadPorts = new QTimer(this);
    tmReadPorts->setObjectName("tmReadPorts");
    tmReadPorts->setInterval(500);
    FormCreate();
}

TfrMain::~TfrMain() { FormDestroy(); }

void TfrMain::FormCreate() {
    m_scanStart.clear();
    m_scanStop.clear();
    SetProjectOpen(false);

    m_settingsPath = SettingsFilePath();
    const AppSettings s = ReadAppSettings(m_settingsPath);
    m_comPort->SetComNumber(s.comNumber);
    m_comPort->SetBaudRate(TCommPort::TBaudRate(BaudIndexFromSpeed(s.speed, TCommPort::cbr19200)));
    m_addr = s.addr;
    m_scanStart = s.scanStart;
    m_scanStop = s.scanStop;

    m_comPort->SetOpen(true);
    if (!m_comPort->Open() && !m_comPort->LastOpenError().isEmpty())
        LogInfo(m_comPort->LastOpenError());
    const bool open = m_comPort->Open();
    for (QAction *a : {miScaner, miUpgradeBC, miUpgradePD})
        a->setEnabled(open);
}

void TfrMain::FormDestroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_comPort->SetOpen(false);
    AppSettings s;
    s.comNumber = m_comPort->ComNumber();
    s.speed = m_comPort->GetBaud();
    s.addr = m_addr;
    s.scanStart = m_scanStart;
    s.scanStop = m_scanStop;
    WriteAppSettings(m_settingsPath, s);
}

bool TfrMain::SetPortOpen(bool open) {
    bool result = true;
    if (open) {
        if (!m_comPort->Open())
            m_comPort->SetOpen(true);
        result = m_comPort->Open();
    } else if (m_comPort->Open()) {
        m_comPort->SetOpen(false);
    }
    const bool isOpen = m_comPort->Open();
    for (QAction *a : {miScaner, miUpgradeBC, miUpgradePD})
        a->setEnabled(isOpen);
    const NodeKind kind = SelectedNodeKind();
    const bool device = kind != NodeKind::None;
    bdReadCom->setEnabled(isOpen && device);
    btGetVoltage->setEnabled(isOpen && device);
    btFileManager->setEnabled(isOpen && (kind == NodeKind::Pd || kind == NodeKind::Bc));
    return result;
}
