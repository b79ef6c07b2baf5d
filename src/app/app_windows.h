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
class TfrScan;
class TfrVoltage;
class TfrVoltageBc;
class TfrVoltageAl;
class TfrInpuFile;
class TfrSelect;
class TfrProgress;
class NetworkWriteTool;
class TfrNotifys;
class TfrNetworkCheck;

struct AppWindows {
    std::unique_ptr<TfrMain> main;
    // Children of the main window: deleted with it. Listed in creation order.
    TfrInputVal *inputVal = nullptr;
    TfrComSetting *comSetting = nullptr;
    TfrReadParams *readParams = nullptr;
    TfrFileManager *fileManager = nullptr;
    TfrInpuFile *inpuFile = nullptr;
    TfrPdDop *pdDop = nullptr;
    TfrAlDop *alDop = nullptr;
    TfrReadParamsBc *readParamsBc = nullptr;
    TfrReadParamsZone *readParamsZone = nullptr;
    TfrNotifys *notifys = nullptr;
    TfrReadParamsNotify *readParamsNotify = nullptr;
    // Scanner and voltage windows.
    TfrScan *scan = nullptr;
    TfrVoltage *voltage = nullptr;
    TfrVoltageBc *voltageBc = nullptr;
    TfrVoltageAl *voltageAl = nullptr;
    TfrSelect *select = nullptr;
    TfrProgress *saveProgress = nullptr;      // the progress of writing the network
    NetworkWriteTool *networkWrite = nullptr; // not a window: the save and firmware commands
    TfrNetworkCheck *networkCheck = nullptr;
};

// `timings` paces the command repeats and the AL sweep; tests pass shrunk ones.
AppWindows CreateAppWindows(const ProtocolTimings &timings = kRealTimings);

// Qt's own Russian texts for the standard buttons ("Да", "Нет", "Отмена").
// False when the translation is not installed; the program still runs in English buttons.
bool InstallRussianTranslations(QCoreApplication &app);
