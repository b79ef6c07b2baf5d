#pragma once
// The program's windows, created once at start in a fixed order with the main window
// first (its FormCreate must not meet another window), and living until the end.
#include <memory>

#include "protocol_timings.h"

class QCoreApplication;
class TfrMain;
class TfrInputVal;
class TfrComSetting;
class TfrReadParams;
class TfrFileManager;
class TfrPdDop;
class TfrAlDop;
class TfrReadParamsBc;
class TfrReadParamsZone;
class TfrReadParamsNotify;
class TfrNotifys;
class TfrNetworkCheck;

struct AppWindows {
    std::unique_ptr<TfrMain> main;
    // Children of the main window: deleted with it. Listed in creation order.
    TfrInputVal *inputVal = nullptr;
    TfrComSetting *comSetting = nullptr;
    TfrReadParams *readParams = nullptr;
    TfrFileManager *fileManager = nullptr;
    TfrPdDop *pdDop = nullptr;
    TfrAlDop *alDop = nullptr;
    TfrReadParamsBc *readParamsBc = nullptr;
    TfrReadParamsZone *readParamsZone = nullptr;
    TfrNotifys *notifys = nullptr;
    TfrReadParamsNotify *readParamsNotify = nullptr;
    TfrNetworkCheck *networkCheck = nullptr;
};

// `timings` paces the command repeats and the AL sweep; tests pass shrunk ones.
AppWindows CreateAppWindows(const ProtocolTimings &timings = kRealTimings);

// Qt's own Russian texts for the standard buttons ("Да", "Нет", "Отмена").
// False when the translation is not installed; the program still runs in English buttons.
bool InstallRussianTranslations(QCoreApplication &app);
