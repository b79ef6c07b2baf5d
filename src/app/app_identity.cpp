#include "app_identity.h"

#include <QApplication>
#include <QIcon>

void SetUpAppIdentity(QApplication &app) {
    app.setApplicationName(QStringLiteral("talvikcfg"));
    app.setApplicationVersion(QStringLiteral(TALVIK_VERSION));
    // Wayland and the task bar find the menu entry, and with it the icon, by this name.
    app.setDesktopFileName(QStringLiteral(TALVIK_APP_ID));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/talvikcfg-%1.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
}
