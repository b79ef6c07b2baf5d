// The bus scan on shrunk ticks against a fake port, and reading a device back out of a
// line of the scanner list.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <vector>

#include "command_exchange.h"
#include "device_protocol.h"
#include "fake_link.h"
#include "scanner/bus_scan.h"
#include "scanner/scan_line.h"

namespace {

constexpr int kTickMs = 15;

class ScanFixture : public ::testing::Test {
protected:
    void SetUp() override {
        exchange.SetPort(&link);
        scan = std::make_unique<BusScan>(exchange, kTickMs, [this] { return stopText; });
        QObject::connect(scan.get(), &BusScan::finished, [this] { ++finished; });
        QObject::connect(scan.get(), &BusScan::probing, [this](int32_t a) { shown.push_back(a); });
    }
    // Starts with the two texts and lets the scan run until it ends by itself or has sent
    // `maxProbes`; `during(n)` runs after the n-th probe, as a user typing mid-scan.
    void run(const QString &start, const QString &stop, size_t maxProbes,
             const std::function<void(size_t)> &during = {}) {
        stopText = stop;
        QString error;
        ASSERT_TRUE(scan->Start(start, stop, error)) << error.toStdString();
        size_t seen = 0;
        QElapsedTimer t;
        t.start();
        while (scan->IsRunning() && link.sent.size() < maxProbes && t.elapsed() < 10000) {
            exchange.WaitWithEvents(2);
            if (during && link.sent.size() > seen)
                during(seen = link.sent.size());
        }
        scan->Stop();
    }
    // The destination byte of every frame sent, each checked to carry "SERVICE".
    std::vector<int> probed() const {
        std::vector<int> out;
        for (size_t i = 0; i < link.sent.size(); ++i) {
            EXPECT_EQ(link.SentPayload(i), "SERVICE");
            out.push_back(uint8_t(link.sent[i].bytes[0]));
        }
        return out;
    }

    FakeLink link;
    CommandExchange exchange{LogSink{}};
    std::unique_ptr<BusScan> scan;
    QString stopText;
    int finished = 0;
    std::vector<int32_t> shown;
};

struct RangeCase {
    const char *name;
    const char *start, *stop;
    size_t maxProbes;
    std::vector<int> probes;
    bool endsByItself;
};

class ScanRanges : public ScanFixture, public testing::WithParamInterface<RangeCase> {};

TEST_P(ScanRanges, ProbeTheLowByteOfTheCounterUpToTheStopAddress) {
    const RangeCase &c = GetParam();
    run(c.start, c.stop, c.maxProbes);
    EXPECT_EQ(probed(), c.probes);
    EXPECT_EQ(finished, c.endsByItself ? 1 : 0);
    EXPECT_EQ(shown.size(), c.probes.size()) << "lbAddr follows every probe";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanRanges,
    testing::Values(RangeCase{"three_addresses", "238", "240", 10, {238, 239, 240}, true},
                    RangeCase{"start_equal_to_stop_probes_once", "250", "250", 10, {250}, true},
                    RangeCase{"blanks_around_the_numbers", " 238 ", "239 ", 10, {238, 239}, true},
                    RangeCase{"start_above_stop_runs_past_255_to_0", "254", "10", 5, {254, 255, 0, 1, 2}, false},
                    RangeCase{"counter_above_255_probes_its_low_byte", "300", "301", 5, {44, 45}, true},
                    RangeCase{"negative_start_wraps_into_the_top", "-2", "1", 10, {254, 255, 0, 1}, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ScanFixture, TextsThatAreNoWholeNumberStartNothing) {
    const struct {
        const char *start, *stop, *message;
    } cases[] = {
        {"abc", "255", "«abc» — не целое число"},
        {"", "255", "«» — не целое число"},
        {"0x10", "255", "«0x10» — не целое число"},
        {"1", "25 5", "«25 5» — не целое число"},
        {"1", "99999999999", "«99999999999» — не целое число"},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(scan->Start(c.start, c.stop, error)) << c.start << ".." << c.stop;
        EXPECT_EQ(error, QString::fromUtf8(c.message));
        EXPECT_FALSE(scan->IsRunning());
    }
    exchange.WaitWithEvents(3 * kTickMs);
    EXPECT_TRUE(link.sent.empty());
}

TEST_F(ScanFixture, StopAddressIsReadAgainAtEveryTick) {
    // Moved down while scanning: the scan ends at the new stop address.
    run("1", "255", 50, [this](size_t n) {
        if (n == 2)
            stopText = "4";
    });
    EXPECT_EQ(probed(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(finished, 1);
}

TEST_F(ScanFixture, StopMovedBelowTheProbedAddressRunsOnUntilStopped) {
    run("1", "255", 6, [this](size_t n) {
        if (n == 3)
            stopText = "2";
    });
    EXPECT_EQ(probed(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(finished, 0);
}

TEST_F(ScanFixture, StopTextThatIsNoNumberDuringTheScanCountsAs255) {
    run("250", "251", 50, [this](size_t n) {
        if (n == 1)
            stopText = "2x";
    });
    EXPECT_EQ(probed(), (std::vector<int>{250, 251, 252, 253, 254, 255}));
    EXPECT_EQ(finished, 1);
}

TEST_F(ScanFixture, FirstProbeWaitsOneTickAndStopEndsTheProbes) {
    stopText = "255";
    QString error;
    ASSERT_TRUE(scan->Start("1", "255", error));
    EXPECT_TRUE(link.sent.empty()) << "nothing goes out before the first tick";
    exchange.WaitWithEvents(3 * kTickMs + kTickMs / 2);
    scan->Stop();
    const size_t sent = link.sent.size();
    EXPECT_GE(sent, 1u);
    exchange.WaitWithEvents(4 * kTickMs);
    EXPECT_EQ(link.sent.size(), sent);
    EXPECT_EQ(finished, 0);
}

struct LineCase {
    const char *name;
    const char *line;
    bool valid;
    int address;
    const char *deviceText;
    ReadKind kind;
    const char *command;
};

class ScanLines : public testing::TestWithParam<LineCase> {};

TEST_P(ScanLines, AddressAndDeviceTextComeBackOutOfTheLine) {
    const LineCase &c = GetParam();
    const ScanLineSelection s = ParseScanLine(QString::fromUtf8(c.line));
    EXPECT_EQ(s.valid, c.valid);
    if (!c.valid)
        return;
    EXPECT_EQ(s.address, c.address);
    EXPECT_EQ(s.deviceText, QString::fromUtf8(c.deviceText));
    const ScanReadRequest r = ScanReadRequestFor(s);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.address, c.address);
    EXPECT_EQ(r.command, QByteArray(c.command));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanLines,
    testing::Values(
        LineCase{"pd_is_read_with_its_settings", "Адрес:252 Устройство:PD/x", true, 252, "PD/x", ReadPd, "GETSETTING"},
        LineCase{"bc_is_read_as_a_device", "Адрес:240 Устройство:TALVIK-BC-16/1.0 adr:240", true, 240,
                 "TALVIK-BC-16/1.0 adr:240", ReadBcFromScan, "GETDEVICE"},
        LineCase{"device_text_trimmed_of_blanks_and_controls", "Адрес:250 Устройство: \tTALVIK-PD/1.3\r\n", true, 250,
                 "TALVIK-PD/1.3", ReadPd, "GETSETTING"},
        LineCase{"pd_marker_is_case_sensitive", "Адрес:12abc Устройство:pd/ lower", true, 12, "pd/ lower",
                 ReadBcFromScan, "GETDEVICE"},
        LineCase{"no_device_text_is_a_bc", "Адрес:7", true, 7, "", ReadBcFromScan, "GETDEVICE"},
        LineCase{"no_digits_give_address_0", "Адрес: Устройство:x", true, 0, "x", ReadBcFromScan, "GETDEVICE"},
        LineCase{"line_without_address_enables_nothing", "Устройство:PD/x", false, 0, "", ReadNone, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScanRead, SelectedLineSetsTheReadKindAndSendsWithRepeats) {
    FakeLink link;
    auto project = std::make_unique<Project>(); // ~5 MB: not on the stack
    ResetProject(*project);
    ProtocolView view;
    DeviceProtocol protocol(project.get(), &view, LogSink{});
    protocol.Exchange().SetPort(&link);
    ReadScannedDevice(protocol, ParseScanLine(QString::fromUtf8("Адрес:252 Устройство:PD/x")));
    EXPECT_EQ(protocol.readKind(), ReadPd);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(uint8_t(link.sent[0].bytes[0]), 252);
    EXPECT_EQ(link.SentPayload(0), "GETSETTING");
    EXPECT_TRUE(protocol.Exchange().RepeatsActive()) << "a read waits for its reply";

    ReadScannedDevice(protocol, ParseScanLine(QString::fromUtf8("Адрес:240 Устройство:TALVIK-BC-16/1.0")));
    EXPECT_EQ(protocol.readKind(), ReadBcFromScan);
    EXPECT_EQ(link.SentPayload(1), "GETDEVICE");
    protocol.Exchange().StopRepeats();
}

} // namespace
