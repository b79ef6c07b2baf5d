#pragma once
#include <QLoggingCategory>

// What the program does at start-up and with project files, for the terminal and for scripts
// that check a package (QT_LOGGING_RULES="talvik.app.info=true"); quiet by default.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
