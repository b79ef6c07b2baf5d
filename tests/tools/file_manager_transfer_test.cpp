// Uploads in parts and downloads into a temporary file, against a fake line.
#include <QDir>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "file_manager_fixture.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Bytes(size_t n, unsigned seed = 7) {
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i)
        out[i] = char((i * 131 + seed * 17 + (i >> 3)) & 0xFF);
    return out;
}

void WriteFile(const fs::path &p, const std::string &bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Names(const fs::path &dir) {
    std::vector<std::string> out;
    for (const auto &e : fs::directory_iterator(dir))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

uint64_t Sum(const std::string &bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), uint64_t(0),
                           [](uint64_t s, char c) { return s + static_cast<unsigned char>(c); });
}

class UploadTest : public FileManagerFixture {
protected:
    QString Local(const std::string &name, const std::string &bytes) {
        WriteFile(dir / name, bytes);
        return QString::fromStdString((dir / name).string());
    }
    TempDir dir;
};

struct UploadCase {
    const char *what;
    std::string bytes;
    std::string announced;
    std::vector<size_t> parts; // data bytes of each part
};

TEST_F(UploadTest, AnnouncesTheFileThenSendsItInPartsOf489) {
    const std::string k1000 = Bytes(1000);
    const UploadCase cases[] = {
        {"1000 bytes", k1000, "UPLOAD size:1000 crc:" + std::to_string(Sum(k1000)) + " file:f.bin", {489, 489, 22}},
        {"abc", "abc", "UPLOAD size:3 crc:294 file:f.bin", {3}},
        {"exactly two parts",
         Bytes(978),
         "UPLOAD size:978 crc:" + std::to_string(Sum(Bytes(978))) + " file:f.bin",
         {489, 489}},
        {"empty file", "", "UPLOAD size:0 crc:0 file:f.bin", {}},
    };
    for (const UploadCase &c : cases) {
        SCOPED_TRACE(c.what);
        line.frames.clear();
        view = FakeFileView();
        ASSERT_TRUE(logic->StartUpload(Local("local.bin", c.bytes), "f.bin"));
        ASSERT_EQ(line.payloads(), std::vector<std::string>{c.announced});

        std::string carried;
        for (size_t i = 0; i < c.parts.size(); ++i) {
            EXPECT_TRUE(Reply(i == 0 ? "OK_UPLOAD" : "OK_UPLOAD_PART"));
            ASSERT_EQ(line.frames.size(), i + 2);
            const std::string part = LastPayload();
            ASSERT_EQ(part.substr(0, 11), "UPLOAD_PART");
            EXPECT_EQ(part.size() - 11, c.parts[i]) << "part " << i + 1;
            carried += part.substr(11);
            EXPECT_TRUE(view.log.empty()) << "no line before the end";
        }
        EXPECT_EQ(carried, c.bytes);
        // The reply to the last part (or, for the empty file, to the start) finds the end.
        EXPECT_TRUE(Reply(c.parts.empty() ? "OK_UPLOAD" : "OK_UPLOAD_PART"));
        EXPECT_EQ(line.frames.size(), c.parts.size() + 1) << "nothing more is sent";
        EXPECT_EQ(view.log, std::vector<std::string>{"Загрузка файла успешно"});
        EXPECT_EQ(view.progress.back(), 100);
        EXPECT_FALSE(logic->UploadRunning());
        EXPECT_FALSE(logic->PartResendActive());
        logic->Stop();
    }
}

TEST_F(UploadTest, ProgressFollowsTheBytesSentAndTheListComesSixWaitTicksLater) {
    ASSERT_TRUE(logic->StartUpload(Local("a.bin", Bytes(1000)), "a.bin"));
    Reply("OK_UPLOAD");
    Reply("OK_UPLOAD_PART");
    Reply("OK_UPLOAD_PART");
    EXPECT_EQ(view.progress, (std::vector<int>{0, 0, 48, 97, 100}));
    Reply("OK_UPLOAD_PART");
    // A 5000 ms wait shows 5, counts down to 0 a second at a time and lists on the next
    // tick: 6 s after the end at the real pace.
    ASSERT_TRUE(view.waitShown);
    ASSERT_TRUE(WaitUntil([&] { return LastPayload() == "LIST"; }, 2000));
    EXPECT_EQ(view.countdown, (std::vector<int>{5, 4, 3, 2, 1, 0}));
    EXPECT_FALSE(view.waitShown);
    EXPECT_EQ(view.cleared, 1) << "the log is cleared for the new list";
    EXPECT_EQ(view.progress.back(), 0);
    WaitMs(100);
    EXPECT_EQ(LastPayload(), "LIST");
    EXPECT_EQ(line.frames.size(), 5u) << "the list after a wait goes out once, without repeats";
}

TEST_F(UploadTest, OkUploadFinishEndsTheUploadAtOnce) {
    ASSERT_TRUE(logic->StartUpload(Local("a.bin", Bytes(489)), "a.bin"));
    Reply("OK_UPLOAD");
    EXPECT_TRUE(Reply("OK_UPLOAD_FINISH"));
    EXPECT_EQ(view.log, std::vector<std::string>{"Загрузка файла успешно"});
    EXPECT_FALSE(logic->UploadRunning());
    EXPECT_EQ(line.frames.size(), 2u);
}

TEST_F(UploadTest, RepliesWithoutAnUploadAreTakenAndChangeNothing) {
    for (const char *reply : {"OK_UPLOAD_PART", "OK_UPLOAD", "OK_UPLOAD_FINISH"}) {
        EXPECT_TRUE(Reply(reply)) << reply;
    }
    EXPECT_TRUE(line.frames.empty());
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(view.progress.empty());
    EXPECT_FALSE(logic->WaitActive());
}

TEST_F(UploadTest, ALostPartReplyResendsThePartThreeTimesThenStalls) {
    ASSERT_TRUE(logic->StartUpload(Local("a.bin", Bytes(1000)), "a.bin"));
    Reply("OK_UPLOAD");
    const std::string part = LastPayload();
    ASSERT_TRUE(WaitUntil([&] { return line.frames.size() == 5; }, 2000));
    WaitMs(200);
    ASSERT_EQ(line.frames.size(), 5u) << "start, the part and three resends";
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(line.frames[i].payload, part);
        if (i > 1) {
            EXPECT_GE(line.frames[i].atMs - line.frames[i - 1].atMs, 40 - 5);
        }
    }
    EXPECT_TRUE(view.log.empty()) << "no failure line for parts";
    EXPECT_TRUE(logic->UploadRunning()) << "stalled, not ended";

    // A late reply goes on with the next part and stops the resends.
    Reply("OK_UPLOAD_PART");
    EXPECT_EQ(LastPayload().size(), 11u + 489u);
    EXPECT_NE(LastPayload(), part);
    Reply("OK_UPLOAD_PART");
    WaitMs(150);
    EXPECT_EQ(line.frames.size(), 7u + 3u) << "only the last part is resent";
}

TEST_F(UploadTest, AnUnreadableFileIsRefusedAndNothingIsSent) {
    EXPECT_FALSE(logic->StartUpload(QString::fromStdString((dir / "missing.bin").string()), "x.bin"));
    EXPECT_FALSE(logic->StartUpload(QString::fromStdString(dir.path().string()), "x.bin")) << "a folder";
    EXPECT_TRUE(line.frames.empty());
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Не могу открыть файл", "Не могу открыть файл"}));
}

TEST_F(UploadTest, AnErrorClosesTheUploadAndItsResends) {
    ASSERT_TRUE(logic->StartUpload(Local("a.bin", Bytes(1000)), "a.bin"));
    Reply("OK_UPLOAD");
    EXPECT_FALSE(Reply("ERROR_UPLOAD_CRC_FILE")) << "errors are the dispatcher's";
    logic->CloseFiles();
    WaitMs(150);
    EXPECT_EQ(line.frames.size(), 2u) << "no resend of a closed upload";
    EXPECT_TRUE(Reply("OK_UPLOAD_PART"));
    EXPECT_EQ(line.frames.size(), 2u);
}

class DownloadTest : public FileManagerFixture {
protected:
    QString Target(const std::string &name) { return QString::fromStdString((dir / name).string()); }
    TempDir dir;
};

TEST_F(DownloadTest, RequestIsSentTwiceAndEachStartReplyAsksForAPart) {
    ASSERT_TRUE(logic->StartDownload("pd.cfg", Target("pd.cfg")));
    EXPECT_EQ(line.payloads(), (std::vector<std::string>{"DOWNLOADpd.cfg", "DOWNLOADpd.cfg"}));
    EXPECT_TRUE(logic->RepeatsActive()) << "the second under repeats";
    EXPECT_TRUE(Reply("OK_DOWNLOAD size:600 crc:0 file:pd.cfg"));
    EXPECT_FALSE(logic->RepeatsActive());
    EXPECT_TRUE(Reply("OK_DOWNLOAD size:600 crc:0 file:pd.cfg"));
    EXPECT_EQ(line.payloads().back(), "DOWNLOAD_PART");
    EXPECT_EQ(line.frames.size(), 4u);
}

struct DownloadCase {
    const char *what;
    std::string start;
    std::vector<std::string> parts;
    std::string file;
    std::vector<std::string> log;
};

TEST_F(DownloadTest, FinishesAtTheAnnouncedSizeAndChecksTheSum) {
    const std::string ok = "Загрузка файла успешна без ошибок";
    const std::string bad = "Загружен файл c ошибками контрольной суммы";
    const std::string ended = "Загрузка файла закончена";
    const DownloadCase cases[] = {
        {"size 10, 12 bytes, no sum", "OK_DOWNLOAD size:10 crc:0", {"0123456789AB"}, "0123456789AB", {ended, ok}},
        {"no size: the first part ends it", "OK_DOWNLOAD crc:0", {"xyz"}, "xyz", {ended, ok}},
        {"two parts, sum right",
         "OK_DOWNLOAD size:6 crc:" + std::to_string(Sum("abcdef")),
         {"abc", "def"},
         "abcdef",
         {ended, ok}},
        {"sum wrong: the file stays", "OK_DOWNLOAD size:3 crc:1", {"abc"}, "abc", {ended, bad}},
    };
    for (const DownloadCase &c : cases) {
        SCOPED_TRACE(c.what);
        view = FakeFileView();
        ASSERT_TRUE(logic->StartDownload("f.bin", Target("got.bin")));
        line.frames.clear();
        Reply(c.start);
        for (size_t i = 0; i < c.parts.size(); ++i) {
            EXPECT_EQ(LastPayload(), "DOWNLOAD_PART");
            EXPECT_TRUE(Reply("OK_DOWNLOAD_PART" + c.parts[i]));
        }
        EXPECT_EQ(line.frames.size(), c.parts.size()) << "no request after the last part";
        EXPECT_FALSE(logic->DownloadRunning());
        EXPECT_EQ(ReadFile(dir / "got.bin"), c.file);
        EXPECT_EQ(view.log, c.log);
        EXPECT_EQ(view.progress.back(), 100);
        EXPECT_TRUE(logic->WaitActive());
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"got.bin"}) << "no temporary file left";
        logic->Stop();
    }
}

TEST_F(DownloadTest, OkDownloadFinishCompletesAFileShorterThanAnnounced) {
    ASSERT_TRUE(logic->StartDownload("f.bin", Target("got.bin")));
    Reply("OK_DOWNLOAD size:100 crc:0");
    Reply("OK_DOWNLOAD_PARThello");
    EXPECT_EQ(view.progress.back(), 5);
    EXPECT_TRUE(Reply("OK_DOWNLOAD_FINISH"));
    EXPECT_EQ(ReadFile(dir / "got.bin"), "hello");
    EXPECT_EQ(view.log, (std::vector<std::string>{"Загрузка файла закончена", "Загрузка файла успешна без ошибок"}));
}

TEST_F(DownloadTest, TheOldFileSurvivesUntilTheDownloadIsComplete) {
    WriteFile(dir / "pd.cfg", "old contents");
    ASSERT_TRUE(logic->StartDownload("pd.cfg", Target("pd.cfg")));
    Reply("OK_DOWNLOAD size:8 crc:0");
    Reply("OK_DOWNLOAD_PARTnew-");
    EXPECT_EQ(ReadFile(dir / "pd.cfg"), "old contents") << "half a download never sits under the name";
    EXPECT_TRUE(logic->DownloadRunning()) << "the part waits in a temporary file";
    Reply("OK_DOWNLOAD_PARTdata");
    EXPECT_EQ(ReadFile(dir / "pd.cfg"), "new-data");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"pd.cfg"});
}

TEST_F(DownloadTest, AnAbortedDownloadLeavesNoFileBehind) {
    // An error reply (the dispatcher closes the files), or the window shown or closed.
    for (const char *how : {"error", "stop"}) {
        SCOPED_TRACE(how);
        WriteFile(dir / "kept.cfg", "old");
        ASSERT_TRUE(logic->StartDownload("x", Target("kept.cfg")));
        ASSERT_TRUE(logic->StartDownload("x", Target("new.cfg")));
        Reply("OK_DOWNLOAD size:100 crc:0");
        Reply("OK_DOWNLOAD_PARTpart");
        if (std::string(how) == "error")
            logic->CloseFiles();
        else
            logic->Stop();
        EXPECT_FALSE(logic->DownloadRunning());
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"kept.cfg"});
        EXPECT_EQ(ReadFile(dir / "kept.cfg"), "old");
        const size_t sent = line.frames.size();
        EXPECT_TRUE(Reply("OK_DOWNLOAD_PARTlate")) << "a late part is taken and ignored";
        EXPECT_TRUE(Reply("OK_DOWNLOAD_FINISH"));
        EXPECT_EQ(line.frames.size(), sent);
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"kept.cfg"});
    }
}

TEST_F(DownloadTest, ATargetThatCannotBeCreatedIsRefusedAndNothingIsSent) {
    EXPECT_FALSE(logic->StartDownload("f.bin", Target("no-such-folder/f.bin")));
    EXPECT_TRUE(line.frames.empty());
    EXPECT_EQ(view.messages, std::vector<std::string>{"Ошибка открытия файла"});
}

} // namespace
