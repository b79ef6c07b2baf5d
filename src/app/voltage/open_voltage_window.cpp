#include "open_voltage_window.h"

#include "TfrMain.h"
#include "main_window_view.h"
#include "tfr_voltage.h"
#include "tfr_voltage_al.h"
#include "tfr_voltage_bc.h"

void OpenVoltageWindow(TfrMain &main, const ScanVoltageWindows &windows) {
    if (!main.SetPortOpen(true))
        return;
    switch (main.SelectedNodeKind()) {
    case NodeKind::Pd:
        if (windows.pd)
            windows.pd->Open();
        break;
    case NodeKind::Bc:
        if (windows.bc)
            windows.bc->Open();
        break;
    case NodeKind::Al:
        if (windows.al)
            windows.al->Open();
        break;
    case NodeKind::None:
        break;
    }
}
