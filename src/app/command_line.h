#pragma once
// What talvikcfg is asked on its command line: talvikcfg [--help | --version | FILE].
#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString projectFile; // absolute, empty when none was given
    QString error;       // for Action::Error, one line for the terminal
};

// --help and --version are answered before the display is opened, so they work on a
// terminal without one; this looks for them alone (argv as the program got it).
CommandLine::Action EarlyCommandLineAction(int argc, const char *const *argv);
// The arguments that remain once Qt has taken its own (-platform, -style, ...), program name first.
CommandLine ParseCommandLine(const QStringList &arguments);
// The --help text and the --version line.
QString CommandLineHelp();
QString CommandLineVersion();
