// A noisy line: replies cut into pieces, junk in front, damaged bytes, lost replies.
// Every read through the window ends either in the compare window or in one no-reply
// line, and a damaged record never reaches it.
#include "TCommPort.h"
#include "device_protocol.h"
#include "network_fixture.h"
#include "read_back_window.h"

namespace {

class NetworkFaults : public NetworkFixture {
protected:
    void SetUp() override {
        m_faults.dropShare = 0.2;
        m_faults.corruptShare = 0.2;
        m_faults.noiseShare = 0.5;
        m_faults.splitBytes = 7;
        m_faults.splitGap = std::chrono::milliseconds(2);
        m_faults.seed = 7;
        NetworkFixture::SetUp();
    }
};

TEST_F(NetworkFaults, EveryReadEndsInTheWindowOrOneNoReplyLine) {
    openDemoProject();
    const QString noReply = "Нет ответа от устройства";
    int shownCount = 0;
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        window("TfrReadParams")->hide();
        const int failuresBefore = countLogged(noReply);
        click("ПД:250");
        press("bdReadCom");
        ASSERT_TRUE(waitFor(
            [&] { return window("TfrReadParams")->isVisible() || countLogged(noReply) > failuresBefore; }, 3000));
        if (window("TfrReadParams")->isVisible()) {
            ++shownCount;
            EXPECT_EQ(shown("TfrReadParams", "edPdAddr"), "250");
            EXPECT_EQ(shown("TfrReadParams", "edPdUb"), "12.0");
            EXPECT_EQ(countLogged(noReply), failuresBefore) << "an answered read reports no failure";
        }
        EXPECT_FALSE(main().protocol().Exchange().RepeatsActive());
    }
    EXPECT_GE(shownCount, 4) << "repeats get most reads through";
    for (const LogLine &l : m_log)
        EXPECT_FALSE(l.text.startsWith("Ошибка")) << l.text.toStdString();
    EXPECT_TRUE(main().ComPort().Open());
}

} // namespace
