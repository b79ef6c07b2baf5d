#pragma once
class QApplication;

// The name, version, window icon and desktop entry the desktop shows for the program's windows.
void SetUpAppIdentity(QApplication &app);
