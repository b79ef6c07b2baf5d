// The file manager's commands, its repeats, its waits and the replies it knows, against a
// fake line.
#include <QDir>
#include <filesystem>
#include <fstream>

#include "file_manager_fixture.h"
#include "temp_dir.h"

namespace {

const std::string kNoReply = "Нет ответа от устройства";

using CommandFixture = FileManagerFixture;

TEST_F(CommandFixture, ARepeatedCommandGoesOutThreeTimesThenLogsNoReply) {
    logic->List();
    EXPECT_EQ(line.frames.size(), 1u) << "the first goes out at once";
    ASSERT_TRUE(WaitUntil([&] { return !view.log.empty(); }, 2000));
    ASSERT_EQ(line.payloads(), (std::vector<std::string>{"LIST", "LIST", "LIST"}));
    for (size_t i = 1; i < 3; ++i)
        EXPECT_GE(line.frames[i].atMs - line.frames[i - 1].atMs, 60 - 5);
    EXPECT_GE(view.log.size(), 1u);
    EXPECT_EQ(view.log, std::vector<std::string>{kNoReply});
    EXPECT_FALSE(logic->RepeatsActive());
    for (const FakeFileLine::Frame &f : line.frames)
        EXPECT_EQ(f.address, 250);
}

TEST_F(CommandFixture, AnyReplyStopsTheRepeatsEvenOneThatIsNotTaken) {
    for (const char *reply : {"OK_LIST", "ERROR_FATFS", "OK_GETSETTINGsetting:{}"}) {
        SCOPED_TRACE(reply);
        line.frames.clear();
        view = FakeFileView();
        logic->Format();
        Reply(reply);
        WaitMs(200);
        EXPECT_EQ(line.frames.size(), 1u);
        EXPECT_EQ(std::count(view.log.begin(), view.log.end(), kNoReply), 0);
    }
}

struct ReplyCase {
    const char *payload;
    bool taken;
    std::vector<std::string> log;
    int waitSeconds; // -1: no wait
};

// The first matching prefix decides: "OK_UPLOAD_FINISH" before "OK_UPLOAD", the download
// replies likewise.
TEST_F(CommandFixture, RepliesAreRecognisedByTheirBeginningInOrder) {
    const ReplyCase cases[] = {
        {"OK_FORMAT", true, {"Форматирование успешно"}, 5},
        {"OK_FORMATTED", true, {"Форматирование успешно"}, 5},
        {"OK_LIST", true, {}, -1},
        {"OK_REBOOT", true, {"Перезагрузка успешно. Подождите 60 секунд"}, 60},
        {"OK_DELETE", true, {"Удаление файла успешно"}, 2},
        {"OK_UPLOAD_FINISH", true, {}, -1},
        {"OK_UPLOAD", true, {}, -1},
        {"OK_DOWNLOAD_FINISH", true, {}, -1},
        {"OK_DOWNLOAD_PART", true, {}, -1},
        {"OK_DOWNLOAD", true, {}, -1},
        {"OK_GETSETTING", false, {}, -1},
        {"ERROR_OPEN_FILE", false, {}, -1},
        {"OK_LIS", false, {}, -1},
    };
    for (const ReplyCase &c : cases) {
        SCOPED_TRACE(c.payload);
        view = FakeFileView();
        logic->Stop();
        EXPECT_EQ(Reply(c.payload), c.taken);
        EXPECT_EQ(view.log, c.log);
        EXPECT_EQ(logic->WaitActive(), c.waitSeconds >= 0);
        if (c.waitSeconds >= 0) {
            EXPECT_EQ(view.countdown, std::vector<int>{c.waitSeconds});
        }
    }
    EXPECT_TRUE(line.frames.empty());
}

TEST_F(CommandFixture, AListingReplacesTheLogAndShowsCyrillicNames) {
    struct Case {
        const char *what;
        std::string payload;
        std::string shown;
    };
    const Case cases[] = {
        {"empty", "OK_LIST", ""},
        {"two files", "OK_LISTpd.cfg 120\nbc.bin 4096\n", "pd.cfg 120\nbc.bin 4096\n"},
        {"Windows-1251 name", "OK_LIST\xCF\xF0\xE8\xE2\xE5\xF2.wav 3\n", "Привет.wav 3\n"},
        {"control bytes and NUL", std::string("OK_LISTa\tb\0c\n", 13), "a b c\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        view.listing.clear();
        EXPECT_TRUE(Reply(c.payload));
        EXPECT_EQ(view.listing, std::vector<std::string>{c.shown});
    }
}

TEST_F(CommandFixture, NamesGoOutInWindows1251AsTyped) {
    EXPECT_TRUE(logic->Delete("Привет.wav"));
    EXPECT_EQ(LastPayload(), "DELETE\xCF\xF0\xE8\xE2\xE5\xF2.wav");
    EXPECT_TRUE(logic->Delete(" a b"));
    EXPECT_EQ(LastPayload(), "DELETE a b") << "no separator, nothing trimmed";
    TempDir dir;
    EXPECT_TRUE(logic->StartDownload("Ёлка", QString::fromStdString((dir / "e").string())));
    EXPECT_EQ(LastPayload(), "DOWNLOAD\xA8\xEB\xEA\xE0");
    std::ofstream(dir / "src.bin") << "abc";
    EXPECT_TRUE(logic->StartUpload(QString::fromStdString((dir / "src.bin").string()), "звук.wav"));
    EXPECT_EQ(LastPayload(), "UPLOAD size:3 crc:294 file:\xE7\xE2\xF3\xEA.wav");
}

TEST_F(CommandFixture, ANameWindows1251CannotHoldIsRefusedAndNothingIsSent) {
    TempDir dir;
    std::ofstream(dir / "src.bin") << "abc";
    const QString src = QString::fromStdString((dir / "src.bin").string());
    const QString bad = QString::fromUtf8("файл-文件.txt");
    EXPECT_FALSE(logic->Delete(bad));
    EXPECT_FALSE(logic->StartDownload(bad, QString::fromStdString((dir / "out").string())));
    EXPECT_FALSE(logic->StartUpload(src, bad));
    EXPECT_TRUE(line.frames.empty());
    EXPECT_FALSE(logic->UploadRunning());
    EXPECT_FALSE(logic->DownloadRunning());
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));
    ASSERT_EQ(view.messages.size(), 3u);
    for (const std::string &m : view.messages)
        EXPECT_NE(m.find("Windows-1251"), std::string::npos) << m;
}

TEST_F(CommandFixture, EmptyNamesSendNothing) {
    TempDir dir;
    EXPECT_FALSE(logic->Delete(""));
    EXPECT_FALSE(logic->StartDownload("", QString::fromStdString((dir / "out").string())));
    EXPECT_TRUE(line.frames.empty());
    EXPECT_TRUE(view.messages.empty());
}

struct RebootCase {
    uint8_t address;
    std::vector<std::string> atOnce;   // line events right after the button
    std::vector<std::string> atTheEnd; // line events when the wait is over
};

TEST_F(CommandFixture, RebootOfAPdClosesThePortAndReopensItWhenTheWaitEnds) {
    const RebootCase cases[] = {
        {252, {"send REBOOT", "close"}, {"close", "open", "send LIST"}},
        {250, {"send REBOOT", "close"}, {"close", "open", "send LIST"}},
        {240, {"send REBOOT"}, {"send LIST"}},
        {249, {"send REBOOT"}, {"send LIST"}},
    };
    for (const RebootCase &c : cases) {
        SCOPED_TRACE(int(c.address));
        logic->Stop();
        line.events.clear();
        view = FakeFileView();
        logic->SetDeviceAddress(c.address);
        logic->Reboot();
        EXPECT_EQ(line.events, c.atOnce);
        EXPECT_EQ(view.log, std::vector<std::string>{"Перезагрузка. Подождите 60 секунд"});
        EXPECT_EQ(view.countdown, std::vector<int>{60});
        line.events.clear();
        ASSERT_TRUE(WaitUntil([&] { return !logic->WaitActive(); }, 3000));
        EXPECT_EQ(line.events, c.atTheEnd);
        EXPECT_EQ(view.countdown.size(), 61u) << "60 down to 0, then the list";
        EXPECT_EQ(line.frames.back().address, c.address);
    }
}

TEST_F(CommandFixture, OkRebootStartsANewMinuteThatEndsWithAReconnect) {
    logic->SetDeviceAddress(240);
    logic->Reboot();
    WaitMs(30);
    line.events.clear();
    view.countdown.clear();
    EXPECT_TRUE(Reply("OK_REBOOT"));
    EXPECT_EQ(view.countdown, std::vector<int>{60}) << "the count starts over";
    ASSERT_TRUE(WaitUntil([&] { return !logic->WaitActive(); }, 3000));
    EXPECT_EQ(line.events, (std::vector<std::string>{"close", "open", "send LIST"}));
}

TEST_F(CommandFixture, StopEndsTheWaitWithoutItsListAndStopsTheRepeats) {
    logic->List();
    Reply("OK_DELETE");
    logic->List();
    logic->Stop();
    const size_t sent = line.frames.size();
    WaitMs(250);
    EXPECT_EQ(line.frames.size(), sent);
    EXPECT_FALSE(view.waitShown);
    EXPECT_TRUE(view.log == std::vector<std::string>{"Удаление файла успешно"});
}

// The real pace: repeats 2.5 s apart with the failure line at 7.5 s, and a 2 s wait
// that lists 3 s after the reply.
TEST(FileManagerRealPace, RepeatsAtTwoAndAHalfSecondsAndAWaitOfOneSecondTicks) {
    FakeFileLine line;
    FakeFileView view;
    FileManagerLogic logic(line, view, kRealTimings);
    logic.SetDeviceAddress(238);
    QElapsedTimer clock;
    clock.start();
    logic.Delete("old.wav");
    ASSERT_TRUE(WaitUntil([&] { return !view.log.empty(); }, 9000));
    const qint64 noReplyAt = clock.elapsed();
    ASSERT_EQ(line.frames.size(), 3u);
    EXPECT_NEAR(double(line.frames[1].atMs - line.frames[0].atMs), 2500, 100);
    EXPECT_NEAR(double(line.frames[2].atMs - line.frames[1].atMs), 2500, 100);
    EXPECT_NEAR(double(noReplyAt), 7500, 150);

    const std::string ok = "OK_DELETE";
    const qint64 replyAt = clock.elapsed();
    logic.HandleFileReply(reinterpret_cast<const uint8_t *>(ok.data()), int(ok.size()));
    ASSERT_TRUE(WaitUntil([&] { return line.frames.size() == 4; }, 5000));
    EXPECT_EQ(line.frames.back().payload, "LIST");
    EXPECT_NEAR(double(line.frames.back().atMs - replyAt), 3000, 150);
    EXPECT_EQ(view.countdown, (std::vector<int>{2, 1, 0}));
}

} // namespace
