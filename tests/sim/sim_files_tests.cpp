// Device disks and reboots, asked directly on the demo network.
#include <filesystem>
#include <fstream>

#include "cp1251.h"
#include "project_file.h"
#include "sim_test_net.h"
#include "text_utils.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const std::string &s) { return {s.begin(), s.end()}; }

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DeviceDisk : public DemoNet {
protected:
    fs::path pdDir() { return net.folder(250)->path(); }
    std::string upload(const std::string &name, const std::string &content, uint64_t sum) {
        std::string r = ask(250, "UPLOAD size:" + std::to_string(content.size()) + " crc:" + std::to_string(sum) +
                                     " file:" + name);
        for (size_t at = 0; at < content.size() && r.rfind("OK_UPLOAD", 0) == 0 && r != "OK_UPLOAD_FINISH"; at += 489)
            r = ask(250, "UPLOAD_PART" + content.substr(at, 489));
        return r;
    }
};

TEST_F(DeviceDisk, UploadIsWrittenOnlyWhenSizeAndSumAgree) {
    EXPECT_EQ(upload("a.txt", "abc", 294), "OK_UPLOAD_FINISH");
    EXPECT_EQ(ReadFile(pdDir() / "a.txt"), "abc");

    // A wrong sum leaves the old file as it was.
    EXPECT_EQ(upload("a.txt", "abd", 294), "ERROR_UPLOAD_CRC_FILE");
    EXPECT_EQ(ReadFile(pdDir() / "a.txt"), "abc");

    // More bytes than announced.
    EXPECT_EQ(ask(250, "UPLOAD size:2 crc:0 file:b.txt"), "OK_UPLOAD");
    EXPECT_EQ(ask(250, "UPLOAD_PARTxyz"), "ERROR_UPLOAD_FILE_SIZE");
    EXPECT_FALSE(fs::exists(pdDir() / "b.txt"));

    // An empty file is complete at once.
    EXPECT_EQ(ask(250, "UPLOAD size:0 crc:0 file:empty.bin"), "OK_UPLOAD_FINISH");
    EXPECT_EQ(fs::file_size(pdDir() / "empty.bin"), 0u);

    EXPECT_EQ(ask(250, "UPLOAD size:99999999999 crc:0 file:huge.bin"), "ERROR_UPLOAD_FILE_SIZE");
}

TEST_F(DeviceDisk, ListDeleteAndFormat) {
    std::string name;
    ASSERT_TRUE(Utf8ToCp1251("тест.txt", name));
    EXPECT_EQ(upload(name, "hello", 532), "OK_UPLOAD_FINISH");
    EXPECT_TRUE(fs::exists(pdDir() / "тест.txt"));  // Windows-1251 on the wire, UTF-8 on disk
    EXPECT_EQ(upload("b.bin", "xy", 241), "OK_UPLOAD_FINISH");
    EXPECT_EQ(ask(250, "LIST"), "OK_LISTb.bin 2\n" + name + " 5\n");

    EXPECT_EQ(ask(250, "DELETE" + name), "OK_DELETE");
    EXPECT_EQ(ask(250, "LIST"), "OK_LISTb.bin 2\n");
    EXPECT_EQ(ask(250, "FORMAT"), "OK_FORMAT");
    EXPECT_EQ(ask(250, "LIST"), "OK_LIST");
}

TEST_F(DeviceDisk, DownloadAnnouncesSizeAndSumThenServesParts) {
    std::string content;
    for (int i = 0; i < 1200; ++i)
        content += char('A' + i % 26);
    std::ofstream(pdDir() / "log.txt", std::ios::binary) << content;
    uint64_t sum = 0;
    for (unsigned char c : content)
        sum += c;

    const std::string start = "OK_DOWNLOAD size:1200 crc:" + std::to_string(sum) + " file:log.txt";
    EXPECT_EQ(ask(250, "DOWNLOADlog.txt"), start);
    EXPECT_EQ(ask(250, "DOWNLOADlog.txt"), start);  // the configurator asks twice; parts start over
    std::string got;
    for (;;) {
        const std::string part = After(ask(250, "DOWNLOAD_PART"), "OK_DOWNLOAD_PART");
        if (part.empty())
            break;
        ASSERT_LE(part.size(), 1578u);
        got += part;
    }
    EXPECT_EQ(got, content);
}

// Names come from the wire: nothing outside the device's own folder is ever touched.
struct EscapeCase {
    const char *name;
    const char *fileName;
};

class PathEscape : public DeviceDisk, public testing::WithParamInterface<EscapeCase> {};

TEST_P(PathEscape, IsRefusedForEveryFileCommand) {
    const std::string secret = "keep me";
    std::ofstream(dir.path() / "secret.txt") << secret;
    const std::string name = GetParam().fileName;

    EXPECT_EQ(ask(250, "DELETE" + name), "ERROR_FILE_NAME");
    EXPECT_EQ(ask(250, "DOWNLOAD" + name), "ERROR_FILE_NAME");
    EXPECT_EQ(ask(250, "UPLOAD size:1 crc:120 file:" + name), "ERROR_FILE_NAME");
    EXPECT_EQ(ask(250, "UPLOAD_PARTx"), "ERROR_UPLOAD");
    EXPECT_EQ(ReadFile(dir.path() / "secret.txt"), secret);
    EXPECT_FALSE(fs::exists(dir.path() / "evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(Names, PathEscape,
                         testing::Values(EscapeCase{"parent", "../secret.txt"}, EscapeCase{"parent_only", ".."},
                                         EscapeCase{"new_file_above", "../evil.txt"},
                                         EscapeCase{"backslash_parent", "..\\secret.txt"},
                                         EscapeCase{"absolute", "/tmp/evil.txt"},
                                         EscapeCase{"subfolder", "sub/evil.txt"},
                                         EscapeCase{"drive_letter", "C:evil.txt"},
                                         EscapeCase{"control_byte", "a\x01.txt"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(DeviceDisk, LinkOutOfTheFolderIsNotFollowed) {
    std::ofstream(dir.path() / "secret.txt") << "keep me";
    fs::create_symlink(dir.path() / "secret.txt", pdDir() / "link.txt");
    EXPECT_EQ(ask(250, "DOWNLOADlink.txt"), "ERROR_OPEN_FILE");
    EXPECT_EQ(ask(250, "LIST"), "OK_LIST");
    EXPECT_EQ(ask(250, "FORMAT"), "OK_FORMAT");
    EXPECT_EQ(ReadFile(dir.path() / "secret.txt"), "keep me");
}

TEST_F(DeviceDisk, RebootedDeviceIsSilentForTheSetTime) {
    EXPECT_EQ(ask(238, "REBOOT"), "OK_REBOOT");
    EXPECT_EQ(ask(238, "SERVICE", t0 + kSilence - std::chrono::seconds(1)), "<silent>");
    EXPECT_NE(ask(240, "SERVICE", t0 + std::chrono::seconds(1)), "<silent>");  // only that device
    EXPECT_NE(ask(238, "SERVICE", t0 + kSilence), "<silent>");
}

// pd.cfg on the PD's disk is the project file: after a reboot the PD takes its settings and
// scenarios and gives each BC on the bus its record and lines.
TEST_F(DeviceDisk, PdAppliesItsNetworkFileAfterReboot) {
    auto file = MakeDemoProject();
    CopyText(file->settings.nam, sizeof file->settings.nam, "Из файла");
    CopyText(FindBcUnit(*file, 238)->nam, sizeof file->bcUnits[0].nam, "БС из файла");
    DeleteAlLine(*file, 238, 4);
    AlLine extra = *FindAlLine(*file, 238, 1);
    extra.prt = 9;
    extra.num = 909;
    AppendAlLine(*file, extra);
    BcUnit absent = file->bcUnits[0];
    absent.adr = 247;  // no such BC on the bus
    AppendBcUnit(*file, absent);
    file->notifies[2].zon = 104;
    ASSERT_TRUE(net.folder(250)->write("pd.cfg", Bytes(BuildProjectText(*file))));
    ASSERT_TRUE(net.folder(250)->write("pd.bin", Bytes("firmware")));

    EXPECT_EQ(ask(250, "REBOOT"), "OK_REBOOT");
    EXPECT_STRNE(net.project().settings.nam, "Из файла");  // not before it comes back
    const auto back = t0 + kSilence;
    EXPECT_EQ(ask(250, "SERVICE", back).rfind("OK_SERVICETALVIK-PD/1.1", 0), 0u);  // took pd.bin
    EXPECT_STREQ(net.project().settings.nam, "Из файла");
    EXPECT_STREQ(FindBcUnit(net.project(), 238)->nam, "БС из файла");
    EXPECT_EQ(FindAlLine(net.project(), 238, 4), nullptr);
    ASSERT_NE(FindAlLine(net.project(), 238, 9), nullptr);
    EXPECT_EQ(FindAlLine(net.project(), 238, 9)->num, 909);
    EXPECT_EQ(net.project().notifies[2].zon, 104);
    EXPECT_FALSE(net.isDevice(247));
    EXPECT_EQ(FindAlLine(net.project(), 240, 2)->num, 202);  // BC 240 kept what it had
}

}  // namespace
