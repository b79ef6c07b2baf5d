#include "main_window_view.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>

#include "TfrMain.h"
#include "scanner/tfr_scan.h"
#include "device_protocol.h"
#include "file_manager_api.h"
#include "notify/tfr_notifys.h"
#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"
#include "voltage/tfr_voltage.h"
#include "voltage/tfr_voltage_al.h"
#include "voltage/tfr_voltage_bc.h"
#include "window_fit.h"

namespace {
// Non-modal: the user keeps working in the main window while the values are on show;
// a window already open comes to the front with the new values. The first showing puts
// it beside the main window, so the values read and the project's page are seen side by
// side; after that it stays where the user put it.
template <class Window, class Record> void FillAndShow(Window *window, const Record &r, const QWidget &main) {
    if (!window)
        return;
    window->Fill(r);
    if (!window->property("placed").toBool()) {
        window->adjustSize();
        const QScreen *screen = main.screen() ? main.screen() : QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : main.frameGeometry();
        // Before its first showing a window knows no frame: a usual title bar and border.
        const QSize frame = window->size() + QSize(8, 36);
        window->move(BesideMainWindow(main.frameGeometry(), frame, available));
        window->setProperty("placed", true);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void MainWindowView::ShowPdCompare(const PdSettings &r) {
    FillAndShow(m_windows.pd, r, m_main);
}
void MainWindowView::ShowBcCompare(const BcUnit &r) {
    FillAndShow(m_windows.bc, r, m_main);
}
void MainWindowView::ShowAlCompare(const AlLine &r) {
    FillAndShow(m_windows.al, r, m_main);
}
void MainWindowView::ShowNotifyCompare(const NotifyScenario &r) {
    FillAndShow(m_windows.notify, r, m_main);
}

void MainWindowView::RebuildNetworkTree() {
    m_main.RebuildNetworkTree();
}
void MainWindowView::MarkProjectModified() {
    m_main.MarkModified();
}
void MainWindowView::SetProjectOpen(bool open) {
    m_main.SetProjectOpen(open);
}

// The copy has just taken ReceivedNotify into the project: show that scenario.
void MainWindowView::ReshowNotifyEditor() {
    if (TfrNotifys *editor = m_main.notifyEditor())
        editor->Reshow(m_main.protocol().Dispatcher().Received().ReceivedNotify.num);
}

bool MainWindowView::AskYesNo(const QString &caption, const QString &text) {
    return m_main.dialogs().askYesNo(caption, text);
}

// --- Scanner and voltage windows: the dispatcher writes their list and boxes only.
QStringList MainWindowView::ScanLines() const {
    return m_scanVoltage.scan ? m_scanVoltage.scan->Lines() : QStringList{};
}
void MainWindowView::AppendScanLine(const QString &line) {
    if (m_scanVoltage.scan)
        m_scanVoltage.scan->AppendLine(line);
}
void MainWindowView::ShowPdSupplyVoltage(float ub) {
    if (m_scanVoltage.pd)
        m_scanVoltage.pd->ShowUb(ub);
}
void MainWindowView::ShowBcLineVoltages(float east, float west) {
    if (m_scanVoltage.bc)
        m_scanVoltage.bc->ShowLineVoltages(east, west);
}
AlVoltageSet MainWindowView::AlVoltageTarget() const {
    return m_scanVoltage.al ? m_scanVoltage.al->Target() : AlVoltageSet::Disconnected;
}
void MainWindowView::ShowAlVoltages(AlVoltageSet set, float a, float b, float c) {
    if (m_scanVoltage.al)
        m_scanVoltage.al->ShowVoltages(set, a, b, c);
}

// The attached file manager takes what the dispatcher does not know; it never blocks.
bool MainWindowView::FileManagerTakeReply(const uint8_t *payload, int length, uint8_t) {
    FileManagerApi *fm = m_main.fileManager();
    return fm && fm->HandleFileReply(payload, length);
}
void MainWindowView::FileManagerCloseFiles() {
    if (FileManagerApi *fm = m_main.fileManager())
        fm->CloseTransferFiles();
}
