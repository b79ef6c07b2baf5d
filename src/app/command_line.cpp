#include "command_line.h"

#include <QFileInfo>
#include <cstring>

#include "app_texts.h"

namespace {
bool isHelp(const char *a) { return !std::strcmp(a, "-h") || !std::strcmp(a, "--help"); }
bool isVersion(const char *a) { return !std::strcmp(a, "-v") || !std::strcmp(a, "--version"); }
} // namespace

CommandLine::Action EarlyCommandLineAction(int argc, const char *const *argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--"))
            break;
        if (isHelp(argv[i]))
            return CommandLine::Action::Help;
        if (isVersion(argv[i]))
            return CommandLine::Action::Version;
    }
    return CommandLine::Action::Run;
}

CommandLine ParseCommandLine(const QStringList &arguments) {
    CommandLine cl;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.startsWith('-') && a.size() > 1) {
            const QByteArray latin = a.toUtf8();
            if (isHelp(latin.constData()))
                return {CommandLine::Action::Help, {}, {}};
            if (isVersion(latin.constData()))
                return {CommandLine::Action::Version, {}, {}};
            return {CommandLine::Action::Error, {}, QStringLiteral("неизвестный параметр «%1»").arg(a)};
        }
        if (!cl.projectFile.isEmpty()) {
            return {CommandLine::Action::Error, {},
                    QStringLiteral("можно открыть только один проект, а указаны «%1» и «%2»")
                        .arg(QFileInfo(cl.projectFile).fileName(), a)};
        }
        // Saved later under the same name, wherever the program's working folder is by then.
        cl.projectFile = QFileInfo(a).absoluteFilePath();
    }
    return cl;
}

QString CommandLineHelp() {
    return QStringLiteral("Использование: talvikcfg [ФАЙЛ]\n"
                          "\n"
                          "%1: проект сети TALVIK (ПД, БС, АЛ), чтение и запись приборов\n"
                          "через COM порт, сканер, файлы приборов, обновление ПО.\n"
                          "\n"
                          "  ФАЙЛ           открыть этот проект (*.cfg) при запуске, как «Загрузить проект»\n"
                          "  -h, --help     показать эту справку и выйти\n"
                          "  -v, --version  показать версию и выйти\n"
                          "\n"
                          "Настройки (talvikcfg.ini) и ссылки COM<N> (папка ports/) хранятся в\n"
                          "~/.config/talvik/; у программы, запущенной из папки сборки, — рядом с ней.\n"
                          "Принимаются также параметры Qt, например -platform offscreen.\n")
        .arg(QString::fromUtf8(kAppTitle));
}

QString CommandLineVersion() {
    return QStringLiteral("talvikcfg %1\n").arg(QStringLiteral(TALVIK_VERSION));
}
