#include <gtest/gtest.h>

#include "sim_options.h"

namespace {

TEST(SimOptionsParse, TakesEveryOption) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(ParseSimOptions({"--project", "net.cfg", "--device", "/dev/ttyUSB1", "--com", "7", "--baud=9600",
                                 "--seed", "9", "--trace", "--files-dir", "/tmp/f", "--ports-dir", "/tmp/p",
                                 "--reply-delay", "30", "--reboot-silence", "2", "--dump", "out.cfg", "--drop",
                                 "0.25", "--corrupt", "0.1", "--noise", "1", "--split", "3", "--split-gap", "5",
                                 "--mute", "240", "--mute", "238", "--drop-reply", "OK_UPLOAD_PART:4"},
                                o, error))
        << error;
    EXPECT_EQ(o.project, "net.cfg");
    EXPECT_EQ(o.device, "/dev/ttyUSB1");
    EXPECT_EQ(o.com, 7);
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.seed, 9u);
    EXPECT_EQ(o.faults.seed, 9u);
    EXPECT_TRUE(o.trace);
    EXPECT_EQ(o.filesDir, "/tmp/f");
    EXPECT_EQ(o.portsDir, "/tmp/p");
    EXPECT_EQ(o.replyDelayMs, 30);
    EXPECT_EQ(o.rebootSilenceS, 2);
    EXPECT_EQ(o.dump, "out.cfg");
    EXPECT_DOUBLE_EQ(o.faults.dropShare, 0.25);
    EXPECT_DOUBLE_EQ(o.faults.corruptShare, 0.1);
    EXPECT_DOUBLE_EQ(o.faults.noiseShare, 1.0);
    EXPECT_EQ(o.faults.splitBytes, 3u);
    EXPECT_EQ(o.faults.splitGap.count(), 5);
    EXPECT_EQ(o.mute, (std::vector<int>{240, 238}));
    EXPECT_EQ(o.faults.dropWord, "OK_UPLOAD_PART");
    EXPECT_EQ(o.faults.dropWordCount, 4u);
}

struct BadCase {
    const char *name;
    std::vector<std::string> args;
};

class SimOptionsRefused : public testing::TestWithParam<BadCase> {};

TEST_P(SimOptionsRefused, WithAMessage) {
    SimOptions o;
    std::string error;
    EXPECT_FALSE(ParseSimOptions(GetParam().args, o, error));
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Args, SimOptionsRefused,
                         testing::Values(BadCase{"unknown_option", {"--fast"}},
                                         BadCase{"missing_value", {"--project"}},
                                         BadCase{"com_0", {"--com", "0"}},
                                         BadCase{"baud_not_a_number", {"--baud", "fast"}},
                                         BadCase{"share_above_1", {"--drop", "1.5"}},
                                         BadCase{"mute_broadcast", {"--mute", "255"}},
                                         BadCase{"drop_reply_without_count", {"--drop-reply", "OK_LIST"}},
                                         BadCase{"drop_reply_count_0", {"--drop-reply", "OK_LIST:0"}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SimOptionsParse, UsageNamesEveryOption) {
    const std::string usage = SimUsage();
    for (const char *opt : {"--project", "--device", "--com", "--baud", "--seed", "--trace", "--files-dir",
                            "--ports-dir", "--reply-delay", "--reboot-silence", "--dump", "--drop", "--corrupt",
                            "--noise", "--split", "--split-gap", "--mute", "--drop-reply", "--help"})
        EXPECT_NE(usage.find(opt), std::string::npos) << opt;
}

}  // namespace
