// The main window's menu command of the network check; the check is its own window's.
#include "TfrMain.h"
#include "network_check/tfr_network_check.h"

void TfrMain::miCheckNetworkClick() {
    if (m_networkCheck)
        m_networkCheck->StartCheck();
}
