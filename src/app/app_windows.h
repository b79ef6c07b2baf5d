#pragma once
// The program's windows, created once at start in a fixed order with the main window
// first (its FormCreate must not meet another window), and living until the end.
#include <memory>

class QCoreApplication;
class TfrMain;
class TfrInputVal;
class TfrPdDop;
class TfrAlDop;

struct AppWindows {
    std::unique_ptr<TfrMain> main;
    // Children of the main window: deleted with it.
    TfrInputVal *inputVal = nullptr;
    TfrPdDop *pdDop = nullptr;
    TfrAlDop *alDop = nullptr;
};

AppWindows CreateAppWindows();

// Qt's own Russian texts for the standard buttons ("Да", "Нет", "Отмена").
// False when the translation is not installed; the program still runs in English buttons.
bool InstallRussianTranslations(QCoreApplication &app);
