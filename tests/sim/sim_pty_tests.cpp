// The simulator over a real pseudo-terminal, seen from the PC's end.
#include <fstream>
#include <random>
#include <thread>

#include "frame.h"
#include "pty_pair.h"
#include "records.h"
#include "sim_line_fixture.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string Record(const AlLine &l) {
    char buf[kRecordBufferSize];
    BuildZoneRecord(l, buf, sizeof buf);
    return buf;
}

TEST_F(PtyNet, EveryCommandIsAnsweredFromTheDeviceToThePc) {
    start();
    // Records are built under the network's lock: the number-to-text ring they use is
    // shared with the line thread, which builds its replies under the same lock.
    std::string setting, device, notify, zone;
    simLine->withNetwork([&](SimNetwork &n) {
        char buf[kRecordBufferSize];
        BuildSettingRecord(n.project().settings, buf, sizeof buf);
        setting = buf;
        BuildDeviceRecord(*FindBcUnit(n.project(), 240), buf, sizeof buf);
        device = buf;
        BuildNotifyRecord(n.project().notifies[1], buf, sizeof buf);
        notify = buf;
        AlLine l = *FindAlLine(n.project(), 240, 2);
        l.num = 777;
        zone = Record(l);
    });
    struct Row {
        uint8_t dst;
        std::string request;
        std::string replyBegins;
    };
    const Row rows[] = {
        {250, "GETSETTING", "OK_GETSETTINGsetting:{adr:250"},
        {250, "SETSETTING" + setting, "OK_SETSETTING"},
        {240, "GETDEVICE", "OK_GETDEVICEdevice:{adr:240"},
        {240, "SETDEVICE" + device, "OK_SETDEVICE"},
        {240, "GETZONE2", "OK_GETZONEzone:{num:202"},
        {240, "SETZONE" + zone, "OK_SETZONE2"},
        {240, "GETZONE2", "OK_GETZONEzone:{num:777"},
        {250, "GETNOTIFY1", "OK_GETNOTIFYnotify:{num:1"},
        {250, "SETNOTIFY" + notify, "OK_SETNOTIFY"},
        {250, "SERVICE", "OK_SERVICETALVIK-PD/"},
        {238, "SERVICE", "OK_SERVICETALVIK-BC-16/"},
        {250, "UBVOLT", "OK_UBVOLT:"},
        {238, "ELWLVOLTS", "OK_ELWLVOLTS:"},
        {238, "ALVOLTS1", "OK_ALVOLTS:"},
        {238, "UPLOAD size:3 crc:294 file:abc.txt", "OK_UPLOAD"},
        {238, "UPLOAD_PARTabc", "OK_UPLOAD_FINISH"},
        {238, "LIST", "OK_LISTabc.txt 3\n"},
        {238, "DOWNLOADabc.txt", "OK_DOWNLOAD size:3 crc:294 file:abc.txt"},
        {238, "DOWNLOAD_PART", "OK_DOWNLOAD_PARTabc"},
        {238, "DELETEabc.txt", "OK_DELETE"},
        {238, "DELETE../abc.txt", "ERROR_FILE_NAME"},
        {238, "FORMAT", "OK_FORMAT"},
        {238, "NONSENSE", "ERROR_COMMAND"},
        {238, "REBOOT", "OK_REBOOT"},
    };
    for (const auto &row : rows) {
        const auto r = client->ask(row.dst, row.request);
        ASSERT_TRUE(r) << row.request << ": no reply";
        EXPECT_EQ(r->dst, SimClient::kPc) << row.request;
        EXPECT_EQ(r->src, row.dst) << row.request;
        EXPECT_EQ(Text(*r).substr(0, row.replyBegins.size()), row.replyBegins) << row.request;
    }
    EXPECT_FALSE(client->ask(238, "SERVICE", 200ms)) << "a rebooting BC answered";
    EXPECT_EQ(simLine->withNetwork([](SimNetwork &n) { return FindAlLine(n.project(), 240, 2)->num; }), 777);
}

uint64_t Sum(const std::string &s) {
    uint64_t sum = 0;
    for (unsigned char c : s)
        sum += c;
    return sum;
}

// A 100 kB file goes up and comes back the way the configurator's file manager moves it:
// 489 data bytes per part, one part per reply; DOWNLOAD sent twice in a row, one part
// request for each reply.
TEST_F(PtyNet, HundredKilobyteFileGoesUpAndComesBackIntact) {
    start();
    std::mt19937 rng(5);
    std::string content(100 * 1024, '\0');
    for (auto &c : content)
        c = char(rng());
    const uint64_t sum = Sum(content);

    auto r = client->ask(250, "UPLOAD size:" + std::to_string(content.size()) + " crc:" + std::to_string(sum) +
                                  " file:big.bin");
    ASSERT_TRUE(r);
    ASSERT_EQ(Text(*r), "OK_UPLOAD");
    for (size_t at = 0; at < content.size(); at += 489) {
        r = client->ask(250, "UPLOAD_PART" + content.substr(at, 489));
        ASSERT_TRUE(r) << "part at " << at;
        const bool last = at + 489 >= content.size();
        ASSERT_EQ(Text(*r), last ? "OK_UPLOAD_FINISH" : "OK_UPLOAD_PART") << "part at " << at;
    }
    std::ifstream in(dir.path() / "PD250" / "big.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);

    client->send(250, "DOWNLOADbig.bin");
    client->send(250, "DOWNLOADbig.bin");
    std::string got;
    size_t size = SIZE_MAX;
    uint64_t announced = 0;
    while (got.size() < size) {
        r = client->reply();
        ASSERT_TRUE(r) << "stalled at " << got.size();
        const std::string t = Text(*r);
        if (t.rfind("OK_DOWNLOAD_PART", 0) == 0) {
            got += t.substr(16);
            if (got.size() < size)
                client->send(250, "DOWNLOAD_PART");
        } else {
            ASSERT_EQ(t.rfind("OK_DOWNLOAD size:", 0), 0u) << t;
            size = std::stoul(t.substr(t.find("size:") + 5));
            announced = std::stoull(t.substr(t.find("crc:") + 4));
            client->send(250, "DOWNLOAD_PART");
        }
    }
    EXPECT_EQ(size, content.size());
    EXPECT_EQ(announced, sum);
    EXPECT_EQ(Sum(got), sum);
    EXPECT_EQ(got, content);
    // The request still in flight gets an empty part, which a finished download ignores.
    r = client->reply();
    ASSERT_TRUE(r);
    EXPECT_EQ(Text(*r), "OK_DOWNLOAD_PART");
}

TEST_F(PtyNet, DamagedFrameAndMutedAddressGetNoAnswer) {
    start();
    simLine->withNetwork([](SimNetwork &n) { n.setMuted(240, true); });
    auto damaged = BuildFrame(250, SimClient::kPc, "GETSETTING");
    damaged[8] ^= 0x40;
    client->sendRaw(damaged);
    EXPECT_FALSE(client->reply(300ms));
    EXPECT_FALSE(client->ask(240, "SERVICE", 300ms));
    EXPECT_TRUE(client->ask(238, "SERVICE"));
    EXPECT_TRUE(client->ask(250, "SERVICE"));
}

FaultSettings With(double FaultSettings::*share, double v) {
    FaultSettings f;
    f.*share = v;
    return f;
}

// A PC that closes its port (as the file manager does right after rebooting a PD) must not
// find old replies waiting when it opens the port again: on a real line they are gone.
TEST_F(PtyNet, RepliesNobodyReadsAreLostLikeOnALine) {
    LineSettings line = Unpaced();
    line.unreadLimit = 200ms;
    start(line);
    client->send(250, "REBOOT");
    std::this_thread::sleep_for(50ms);
    client.reset();
    std::this_thread::sleep_for(500ms);
    client = std::make_unique<SimClient>(port->path());
    EXPECT_TRUE(client->readRaw(200ms).empty());
    // A client that keeps reading loses nothing, however long the exchange.
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(client->ask(238, "SERVICE"));
        std::this_thread::sleep_for(30ms);
    }
}

TEST_F(PtyNet, DroppedReplyNeverArrives) {
    start(Unpaced(), With(&FaultSettings::dropShare, 1.0));
    client->send(250, "SERVICE");
    EXPECT_TRUE(client->readRaw(300ms).empty());
    EXPECT_EQ(simLine->stats().dropped, 1u);
}

TEST_F(PtyNet, CorruptedReplyFailsItsCheck) {
    start(Unpaced(), With(&FaultSettings::corruptShare, 1.0));
    client->send(250, "SERVICE");
    const auto raw = client->readRaw(300ms);
    const size_t frameSize = 6 + std::string("OK_SERVICE").size() +
                             simLine->withNetwork([](SimNetwork &n) { return n.serviceText(250).size(); });
    EXPECT_EQ(raw.size(), frameSize);
    int frames = 0;
    CutFrames(raw.data(), raw.size(), [](uint8_t d) { return d == SimClient::kPc; },
              [&](const FrameView &) { ++frames; });
    EXPECT_EQ(frames, 0);
}

TEST_F(PtyNet, NoiseBeforeAReplyIsJunkTheReceiverStepsOver) {
    start(Unpaced(), With(&FaultSettings::noiseShare, 1.0));
    for (int i = 0; i < 5; ++i) {
        const auto r = client->ask(238, "GETDEVICE");
        ASSERT_TRUE(r);
        EXPECT_EQ(Text(*r).substr(0, 12), "OK_GETDEVICE");
    }
    EXPECT_EQ(simLine->stats().noisy, 5u);
}

TEST_F(PtyNet, SplitReplyArrivesInPiecesWithGaps) {
    FaultSettings f;
    f.splitBytes = 8;
    f.splitGap = 30ms;
    start(Unpaced(), f);
    client->send(240, "SERVICE");
    const size_t frameSize = 6 + 10 + simLine->withNetwork([](SimNetwork &n) { return n.serviceText(240).size(); });
    const auto times = client->readTimes(frameSize, 3000ms);
    const size_t pieces = (frameSize + 7) / 8;
    ASSERT_EQ(times.size(), pieces);
    EXPECT_GE(times.back() - times.front(), (pieces - 1) * 25ms);
}

// One test at real line timing: 19200 bit/s, 10 bits a byte, both ways, plus the reply delay.
TEST_F(PtyNet, RepliesTakeTheLineTimeOfARealBus) {
    LineSettings line;
    line.baud = 19200;
    line.replyDelay = 100ms;
    start(line);
    const auto before = std::chrono::steady_clock::now();
    const auto r = client->ask(250, "GETSETTING");
    const auto took = std::chrono::steady_clock::now() - before;
    ASSERT_TRUE(r);
    const size_t bytes = 16 + r->payload.size() + 6;
    const auto expected = SimLine::LineTime(bytes, 19200) + 100ms;
    EXPECT_GE(took, expected);
    EXPECT_LT(took, expected + 150ms);
}

// The simulator attached to an existing port (a second adapter on the bus) answers the
// same way; here the "bus" is a pseudo-terminal pair whose far end the test holds.
TEST(SimAttach, AnswersOnAnExistingSerialDevice) {
    TempDir dir;
    SimNetwork net{MakeDemoProject(), SimConfig{dir.path(), std::chrono::seconds(60), 3}};
    PtyPair bus;
    std::string error;
    auto port = SimPort::Attach(bus.slavePath(), 19200, error);
    ASSERT_TRUE(port) << error;
    LineSettings unpaced;
    unpaced.baud = 0;
    SimLine line(net, *port, unpaced, {});
    line.start();
    SimClient pc(bus.masterFd());
    const auto r = pc.ask(240, "GETDEVICE");
    ASSERT_TRUE(r);
    EXPECT_EQ(Text(*r).substr(0, 28), "OK_GETDEVICEdevice:{adr:240,");
    line.stop();

    EXPECT_FALSE(SimPort::Attach(bus.slavePath(), 12345, error));
    EXPECT_FALSE(SimPort::Attach((dir.path() / "nothing").string(), 19200, error));
}

}  // namespace
