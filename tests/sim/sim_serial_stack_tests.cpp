// The configurator's own serial component talking to the simulator as to hardware: the
// COM number found through the ports folder, bytes through TCommPort's rings and workers.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "TCommPort.h"
#include "app_paths.h"
#include "frame.h"
#include "port_names.h"
#include "sim_demo.h"
#include "sim_line.h"
#include "sim_port.h"
#include "temp_dir.h"

namespace {

constexpr uint8_t kPc = 254;

class SerialStackToSim : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "sim_serial_stack_tests";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }

    void start(int baud) {
        SetSettingsDirOverride(dir.path());
        std::string error;
        simPort = SimPort::OpenPty(error);
        ASSERT_TRUE(simPort) << error;
        LineSettings line;
        line.baud = baud;
        simLine = std::make_unique<SimLine>(net, *simPort, line, FaultSettings{});
        simLine->start();
        const int com = RegisterComLink(PortsDir(), simPort->path());
        ASSERT_GE(com, 1);
        port.SetComNumber(com);
        port.SetBaud(baud);
        QObject::connect(&port, &TCommPort::OnDataReceived, [this](TCommPort *, unsigned count) {
            std::vector<uint8_t> tmp(count);
            const unsigned n = port.GetBlock(tmp.data(), count);
            received.insert(received.end(), tmp.begin(), tmp.begin() + n);
        });
        port.OpenPort();
        ASSERT_TRUE(port.Open());
    }
    void TearDown() override {
        port.ClosePort();
        if (simLine)
            simLine->stop();
    }

    // Sends one request through the component and serves the event loop until its reply.
    std::optional<std::string> ask(uint8_t dst, const std::string &request, int timeoutMs = 3000) {
        const auto frame = BuildFrame(dst, kPc, request);
        EXPECT_EQ(port.PutBlock(frame.data(), unsigned(frame.size())), frame.size());
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::optional<std::string> reply;
            const size_t used = CutFrames(
                received.data(), received.size(), [](uint8_t d) { return d == kPc; },
                [&](const FrameView &f) {
                    reply = std::string(f.text());
                    return false;
                });
            received.erase(received.begin(), received.begin() + long(used));
            if (reply)
                return reply;
        }
        return std::nullopt;
    }

    TempDir dir;
    SimNetwork net{MakeDemoProject(), SimConfig{dir.path() / "files", std::chrono::seconds(60), 1}};
    std::unique_ptr<SimPort> simPort;
    std::unique_ptr<SimLine> simLine;
    TCommPort port;
    std::vector<uint8_t> received;
};

TEST_F(SerialStackToSim, ReadsEveryDeviceAtLineSpeed) {
    start(19200);
    QElapsedTimer timer;
    timer.start();
    const auto pd = ask(250, "GETSETTING");
    ASSERT_TRUE(pd);
    EXPECT_EQ(pd->rfind("OK_GETSETTINGsetting:{adr:250", 0), 0u);
    // 16 request bytes and the reply frame, 10 bits each at 19200 bit/s.
    const auto lineMs = SimLine::LineTime(16 + pd->size() + 6, 19200).count() / 1'000'000;
    EXPECT_GE(timer.elapsed(), lineMs);

    const auto bc = ask(240, "GETZONE2");
    ASSERT_TRUE(bc);
    EXPECT_EQ(bc->rfind("OK_GETZONEzone:{num:202", 0), 0u);
    EXPECT_FALSE(ask(239, "SERVICE", 400));
}

TEST_F(SerialStackToSim, UploadsAFileInParts) {
    start(115200);
    std::string content(5000, '\0');
    uint64_t sum = 0;
    for (size_t i = 0; i < content.size(); ++i) {
        content[i] = char(i * 7 + 3);
        sum += uint8_t(content[i]);
    }
    auto r = ask(238, "UPLOAD size:5000 crc:" + std::to_string(sum) + " file:fw.bin");
    ASSERT_TRUE(r);
    ASSERT_EQ(*r, "OK_UPLOAD");
    for (size_t at = 0; at < content.size(); at += 489) {
        r = ask(238, "UPLOAD_PART" + content.substr(at, 489));
        ASSERT_TRUE(r);
    }
    EXPECT_EQ(*r, "OK_UPLOAD_FINISH");
    std::vector<uint8_t> stored;
    ASSERT_TRUE(simLine->withNetwork([&](SimNetwork &n) { return n.folder(238)->read("fw.bin", stored); }));
    EXPECT_EQ(std::string(stored.begin(), stored.end()), content);
}

}  // namespace
