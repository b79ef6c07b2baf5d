#include "main_window_view.h"

#include "TfrMain.h"
#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"

namespace {
// Non-modal: the user keeps working in the main window while the values are on show;
// a window already open comes to the front with the new values.
template <class Window, class Record> void FillAndShow(Window *window, const Record &r) {
    if (!window)
        return;
    window->Fill(r);
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void MainWindowView::ShowPdCompare(const PdSettings &r) { FillAndShow(m_windows.pd, r); }
void MainWindowView::ShowBcCompare(const BcUnit &r) { FillAndShow(m_windows.bc, r); }
void MainWindowView::ShowAlCompare(const AlLine &r) { FillAndShow(m_windows.al, r); }
void MainWindowView::ShowNotifyCompare(const NotifyScenario &r) { FillAndShow(m_windows.notify, r); }

void MainWindowView::RebuildNetworkTree() { m_main.RebuildNetworkTree(); }
void MainWindowView::MarkProjectModified() { m_main.MarkModified(); }
void MainWindowView::SetProjectOpen(bool open) { m_main.SetProjectOpen(open); }

bool MainWindowView::AskYesNo(const QString &caption, const QString &text) {
    return m_main.dialogs().askYesNo(caption, text);
}
