#pragma once
// Every outcome of the device protocol becomes one line of the main window's log
// (LogInfo adds the date and time); the protocol hands over the text only.
#include <QString>
#include <functional>

using LogSink = std::function<void(const QString &)>;
