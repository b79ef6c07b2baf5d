#pragma once
class QWidget;

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal, `kill`) close the window as
// its close button does: the save question is asked and the settings file is written.
void CloseOnTerminationSignals(QWidget &window);
