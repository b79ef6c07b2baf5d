// What talvikcfg makes of its command line: a project file, --help, --version, mistakes.
#include <gtest/gtest.h>

#include <QDir>

#include "command_line.h"

namespace {
using Action = CommandLine::Action;
}

TEST(CommandLine, ArgumentsAfterQtTookItsOwn) {
    const QString cwd = QDir::currentPath();
    struct Case {
        const char *what;
        QStringList args;
        Action action;
        QString file;
        QString errorPart;
    } cases[] = {
        {"nothing: an empty window", {}, Action::Run, {}, {}},
        {"a relative file, made absolute", {"net.cfg"}, Action::Run, cwd + "/net.cfg", {}},
        {"an absolute file as given", {"/srv/Проекты/сеть.cfg"}, Action::Run, "/srv/Проекты/сеть.cfg", {}},
        {"a file named like an option after --", {"--", "-net.cfg"}, Action::Run, cwd + "/-net.cfg", {}},
        {"a lone dash is a file name", {"-"}, Action::Run, cwd + "/-", {}},
        {"--help", {"net.cfg", "--help"}, Action::Help, {}, {}},
        {"-h", {"-h"}, Action::Help, {}, {}},
        {"--version", {"--version"}, Action::Version, {}, {}},
        {"-v", {"-v"}, Action::Version, {}, {}},
        {"an unknown option", {"--open", "net.cfg"}, Action::Error, {}, "неизвестный параметр «--open»"},
        {"two files", {"a.cfg", "b.cfg"}, Action::Error, {}, "только один проект"},
    };
    for (const Case &c : cases) {
        const CommandLine cl = ParseCommandLine(QStringList{"talvikcfg"} + c.args);
        EXPECT_EQ(cl.action, c.action) << c.what;
        EXPECT_EQ(cl.projectFile, c.file) << c.what;
        EXPECT_TRUE(cl.error.contains(c.errorPart)) << c.what << ": " << cl.error.toStdString();
    }
}

TEST(CommandLine, HelpAndVersionAreFoundBeforeTheDisplayIsOpened) {
    struct Case {
        std::vector<const char *> argv;
        Action action;
    } cases[] = {
        {{"talvikcfg"}, Action::Run},
        {{"talvikcfg", "net.cfg"}, Action::Run},
        {{"talvikcfg", "-platform", "offscreen", "--help"}, Action::Help},
        {{"talvikcfg", "--version", "--help"}, Action::Version},
        {{"talvikcfg", "--", "--help"}, Action::Run},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EarlyCommandLineAction(int(c.argv.size()), c.argv.data()), c.action) << c.argv.back();
}

TEST(CommandLine, VersionLineCarriesTheProjectVersion) {
    EXPECT_EQ(CommandLineVersion(), QStringLiteral("talvikcfg %1\n").arg(TALVIK_EXPECTED_VERSION));
    EXPECT_TRUE(CommandLineHelp().contains("ФАЙЛ")) << CommandLineHelp().toStdString();
}
