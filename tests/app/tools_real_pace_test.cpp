// The scanner and the voltage windows at their real one-a-second pace, through the real
// serial stack to the simulated network.
#include <QLabel>

#include "scanner/bus_scan.h"
#include "scanner/tfr_scan.h"
#include "tools_fixture.h"

namespace {

class RealPace : public ToolsFixture {
protected:
    // Only the command repeats stay shrunk; scan and voltage ticks are the program's own.
    RealPace() {
        m_simNetworkPlan = [](Project &p) {
            BcUnit u = *FindBcUnit(p, 240);
            u.adr = 245;
            AppendBcUnit(p, u);
        };
        m_timings.scanIntervalMs = kRealTimings.scanIntervalMs;
        m_timings.voltagePollMs = kRealTimings.voltagePollMs;
    }
    TfrScan *scanner() { return static_cast<TfrScan *>(tool("TfrScan")); }
};

TEST_F(RealPace, ScanOf238To250ListsExactlyTheDevicesThatAnswer) {
    // BC 245 is on the bus but dead, as --mute 245 plays it: it hears and never answers.
    withNetwork([](SimNetwork &n) { n.setMuted(245, true); });
    main().SetScanRange("238", "250");
    main().miScanerClick();
    ASSERT_TRUE(scanner()->isVisible());
    EXPECT_EQ(text("TfrScan", "edAddrStart"), "238");

    std::vector<qint64> probesAt;
    std::vector<int32_t> shown;
    const qint64 start = m_clock.elapsed();
    const auto following = QObject::connect(&scanner()->Scan(), &BusScan::probing, [&](int32_t a) {
        probesAt.push_back(m_clock.elapsed() - start);
        shown.push_back(a);
        EXPECT_EQ(control<QLabel>("TfrScan", "lbAddr")->text(), QString::number(a));
    });
    pressIn("TfrScan", "bbStart");
    const bool ended = waitFor([&] { return !scanner()->IsScanning(); }, 20000);
    QObject::disconnect(following);
    ASSERT_TRUE(ended);
    wait(300);

    EXPECT_EQ(scanLines(), (QStringList{scanLine(238), scanLine(240), scanLine(250)}));
    EXPECT_EQ(m_dialogs.messages(), std::vector<QString>{"Сканирование завершено"});
    // 13 probes, the first a second after the start, one a second after that.
    ASSERT_EQ(probesAt.size(), 13u);
    EXPECT_EQ(shown.front(), 238);
    EXPECT_EQ(shown.back(), 250);
    EXPECT_GE(probesAt.front(), 950);
    for (size_t i = 1; i < probesAt.size(); ++i) {
        const qint64 gap = probesAt[i] - probesAt[i - 1];
        EXPECT_GE(gap, 900) << "probe " << i;
        EXPECT_LE(gap, 1500) << "probe " << i;
    }
    EXPECT_EQ(heardRequests("SERVICE").size(), 4u) << "238, 240, the mute 245 and 250 heard theirs";
}

TEST_F(RealPace, PdAndBcWindowsAskOnceASecondWhileOpenAndShowTheLineWithinItsDrift) {
    openDemoProject();
    click("ПД:250");
    press("btGetVoltage");
    const qint64 opened = m_clock.elapsed();
    wait(3500);
    tool("TfrVoltage")->close();
    const qint64 closed = m_clock.elapsed();
    wait(2000);
    const std::vector<Heard> all = heard();
    std::vector<qint64> asked;
    for (const Heard &h : all)
        if (h.text.find(" UBVOLT") != std::string::npos)
            asked.push_back(h.atMs);
    // Open for 3.5 s: asked at about 1, 2 and 3 s, nothing after the window closed.
    ASSERT_EQ(asked.size(), 3u);
    for (size_t i = 0; i < asked.size(); ++i) {
        EXPECT_GE(asked[i] - opened, qint64(i + 1) * 1000 - 50) << i;
        EXPECT_LT(asked[i], closed);
    }
    EXPECT_NEAR(text("TfrVoltage", "edUb").toDouble(), 12.0, 0.3 + 1e-6);

    click("БС:238");
    press("btGetVoltage");
    ASSERT_TRUE(waitFor([&] { return text("TfrVoltageBc", "edUbw") != "Нет данных"; }, 3000));
    EXPECT_NEAR(text("TfrVoltageBc", "edUbe").toDouble(), 12.0, 0.3 + 1e-6);
    EXPECT_NEAR(text("TfrVoltageBc", "edUbw").toDouble(), 12.0, 0.3 + 1e-6);
    pressIn("TfrVoltageBc", "btOk");
    const BcUnit *bc = FindBcUnit(project(), 238);
    EXPECT_NEAR(bc->ube, 12.0, 0.3 + 1e-6);
    EXPECT_NEAR(bc->ubw, 12.0, 0.3 + 1e-6);
}

} // namespace
