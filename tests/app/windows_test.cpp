// The program's windows: created once, in their fixed order after the main window,
// all hidden until asked for.
#include <QTimer>

#include "app_fixture.h"
#include "device_protocol.h"

namespace {

using Windows = AppFixture;

TEST_F(Windows, CreatedInTheirOrderHiddenAndOwnedByTheMainWindow) {
    QStringList order;
    for (QObject *child : main().children())
        if (child->objectName().startsWith("Tfr"))
            order << child->objectName();
    EXPECT_EQ(order, (QStringList{"TfrInputVal", "TfrComSetting", "TfrReadParams", "TfrFileManager", "TfrScan",
                                  "TfrVoltage", "TfrInpuFile", "TfrPdDop", "TfrAlDop", "TfrReadParamsBc",
                                  "TfrReadParamsZone", "TfrVoltageBc", "TfrVoltageAl", "TfrNotifys",
                                  "TfrReadParamsNotify", "TfrSelect", "TfrProgress", "TfrNetworkCheck"}));
    for (const QString &name : order)
        EXPECT_FALSE(main().findChild<QWidget *>(name)->isVisible()) << name.toStdString();
}

TEST_F(Windows, RepeatAndSweepRunOnTheProtocolsTimersOnly) {
    // No second, idle pair of timers in the window that nothing would ever start.
    for (QTimer *t : main().findChildren<QTimer *>())
        EXPECT_TRUE(t->objectName() != "tmRepeat" && t->objectName() != "tmReadPorts") << t->objectName().toStdString();
    EXPECT_FALSE(main().protocol().Exchange().RepeatsActive());
    EXPECT_FALSE(main().protocol().Sweep().IsEnabled());
}

} // namespace
