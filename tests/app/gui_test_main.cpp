// GUI suites need one application object, with the Russian button texts the program uses.
#include <gtest/gtest.h>

#include <QApplication>

#include "app_windows.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    InstallRussianTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
