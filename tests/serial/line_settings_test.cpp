// Line parameters as the driver holds them (read back on the pty with tcgetattr), and
// the stored values of the setters.
#include "port_fixture.h"

#include "linux_termios2.h"
#include "termios_settings.h"

#include <QSignalSpy>

#include <termios.h>

namespace {

using LineSettingsTest = PortFixture;

termios FarEndTermios(int masterFd) {
    // Termios requests on a pty master act on its slave: the port's own settings.
    termios t{};
    tcgetattr(masterFd, &t);
    return t;
}

struct RateCase {
    TCommPort::TBaudRate rate;
    int bitsPerSecond;
    speed_t constant; // B0: an arbitrary rate, read back through termios2
};
const RateCase kRates[] = {
    {TCommPort::cbr110, 110, B110},         {TCommPort::cbr300, 300, B300},
    {TCommPort::cbr600, 600, B600},         {TCommPort::cbr1200, 1200, B1200},
    {TCommPort::cbr2400, 2400, B2400},      {TCommPort::cbr4800, 4800, B4800},
    {TCommPort::cbr9600, 9600, B9600},      {TCommPort::cbr14400, 14400, B0},
    {TCommPort::cbr19200, 19200, B19200},   {TCommPort::cbr38400, 38400, B38400},
    {TCommPort::cbr56000, 56000, B0},       {TCommPort::cbr57600, 57600, B57600},
    {TCommPort::cbr115200, 115200, B115200}, {TCommPort::cbr128000, 128000, B0},
    {TCommPort::cbr256000, 256000, B0},
};

class BaudRates : public PortFixture, public ::testing::WithParamInterface<RateCase> {};

TEST_P(BaudRates, EveryRateReallyReachesTheDriver) {
    const RateCase &c = GetParam();
    OpenPort();
    m_port->SetBaudRate(c.rate);
    EXPECT_EQ(m_port->GetBaud(), c.bitsPerSecond);
    EXPECT_EQ(GetArbitraryBaud(m_pty->masterFd()), c.bitsPerSecond);
    if (c.constant != B0) {
        const termios t = FarEndTermios(m_pty->masterFd());
        EXPECT_EQ(cfgetospeed(&t), c.constant);
    }
}

INSTANTIATE_TEST_SUITE_P(All15, BaudRates, ::testing::ValuesIn(kRates),
                         [](const auto &info) { return std::to_string(info.param.bitsPerSecond); });

TEST_F(LineSettingsTest, StoredRatesAreAppliedAtOpen) {
    m_port->SetComNumber(1);
    m_port->SetBaudRate(TCommPort::cbr56000);
    m_port->SetOpen(true);
    ASSERT_TRUE(m_port->Open());
    EXPECT_EQ(GetArbitraryBaud(m_pty->masterFd()), 56000);
}

struct FrameCase {
    const char *name;
    uint16_t dataBits;
    TCommPort::TParity parity;
    TCommPort::TStopBits stopBits;
    tcflag_t expected; // CSIZE | PARENB | PARODD | CMSPAR | CSTOPB bits
};
const FrameCase kFrames[] = {
    {"8N1_default", 8, TCommPort::paNone, TCommPort::sb1_0, CS8},
    {"7E1", 7, TCommPort::paEven, TCommPort::sb1_0, CS7 | PARENB},
    {"7O2", 7, TCommPort::paOdd, TCommPort::sb2_0, CS7 | PARENB | PARODD | CSTOPB},
    {"6M1", 6, TCommPort::paMark, TCommPort::sb1_0, CS6 | PARENB | PARODD | CMSPAR},
    {"8S1", 8, TCommPort::paSpace, TCommPort::sb1_0, CS8 | PARENB | CMSPAR},
    {"5N1_5", 5, TCommPort::paNone, TCommPort::sb1_5, CS5 | CSTOPB},
};

// The frame fields as the port writes them. Checked on the pure conversion: a pty
// driver forces 8 data bits and no parity whatever it is told.
class CharacterFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(CharacterFrame, ConvertsWithoutParityChecking) {
    const FrameCase &c = GetParam();
    LineSettings s;
    s.dataBits = c.dataBits;
    s.parity = int(c.parity);
    s.stopBits = int(c.stopBits);
    termios t{};
    cfmakeraw(&t);
    t.c_iflag |= INPCK | ISTRIP; // must be cleared
    ApplyToTermios(s, t);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.expected);
    EXPECT_EQ(t.c_iflag & (INPCK | ISTRIP), 0u);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    EXPECT_TRUE(t.c_cflag & CREAD);
}

INSTANTIATE_TEST_SUITE_P(Frames, CharacterFrame, ::testing::ValuesIn(kFrames),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LineSettingsTest, StopBitsReachTheDriver) {
    OpenPort();
    EXPECT_FALSE(FarEndTermios(m_pty->masterFd()).c_cflag & CSTOPB);
    m_port->SetStopBits(TCommPort::sb2_0);
    EXPECT_TRUE(FarEndTermios(m_pty->masterFd()).c_cflag & CSTOPB);
    m_port->SetStopBits(TCommPort::sb1_0);
    EXPECT_FALSE(FarEndTermios(m_pty->masterFd()).c_cflag & CSTOPB);
}

struct FlowCase {
    const char *name;
    TCommPort::TComControl control;
    bool rtscts, xonxoff;
};
const FlowCase kFlows[] = {
    {"none", TCommPort::ccNone, false, false},
    {"soft_xon_xoff", TCommPort::ccSoft, false, true},
    {"hard_rts_cts", TCommPort::ccHard, true, false},
};

class FlowControl : public PortFixture, public ::testing::WithParamInterface<FlowCase> {};

TEST_P(FlowControl, SetsTheDriverFlags) {
    const FlowCase &c = GetParam();
    OpenPort();
    m_port->SetXonChar(0x21);
    m_port->SetXoffChar(0x23);
    m_port->SetComControl(c.control);
    const termios t = FarEndTermios(m_pty->masterFd());
    EXPECT_EQ(bool(t.c_cflag & CRTSCTS), c.rtscts);
    EXPECT_EQ(bool(t.c_iflag & IXON), c.xonxoff);
    EXPECT_EQ(bool(t.c_iflag & IXOFF), c.xonxoff);
    EXPECT_EQ(t.c_cc[VSTART], 0x21);
    EXPECT_EQ(t.c_cc[VSTOP], 0x23);
}

INSTANTIATE_TEST_SUITE_P(Modes, FlowControl, ::testing::ValuesIn(kFlows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LineSettingsTest, RawModeSoBinaryFramesPassUntouched) {
    OpenPort();
    const termios t = FarEndTermios(m_pty->masterFd());
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR), 0u);
}

TEST_F(LineSettingsTest, DefaultsAfterConstruction) {
    EXPECT_EQ(m_port->ComNumber(), 2);
    EXPECT_FALSE(m_port->Open());
    EXPECT_EQ(m_port->InSize(), 2048u);
    EXPECT_EQ(m_port->OutSize(), 4096u);
    EXPECT_EQ(m_port->BaudRate(), TCommPort::cbr9600);
    EXPECT_EQ(m_port->GetBaud(), 9600);
    EXPECT_EQ(m_port->Control(), TCommPort::ccNone);
    EXPECT_EQ(m_port->DataBits(), 8);
    EXPECT_EQ(m_port->XoffLim(), 1024);
    EXPECT_EQ(m_port->XonChar(), 0x11);
    EXPECT_EQ(m_port->XoffChar(), 0x13);
    EXPECT_EQ(m_port->MonitorEvents, 0x1FDu);
}

TEST_F(LineSettingsTest, SetterValuesAreCheckedAndCapped) {
    m_port->SetBaud(19200);
    EXPECT_EQ(m_port->BaudRate(), TCommPort::cbr19200);
    m_port->SetBaud(12345);
    EXPECT_EQ(m_port->GetBaud(), 19200);
    m_port->SetDataBits(9);
    EXPECT_EQ(m_port->DataBits(), 8);
    m_port->SetDataBits(4);
    EXPECT_EQ(m_port->DataBits(), 8);
    m_port->SetXoffLim(5000);
    EXPECT_EQ(m_port->XoffLim(), 2048);
    m_port->SetXoffLim(100);
    EXPECT_EQ(m_port->XoffLim(), 100);
}

TEST_F(LineSettingsTest, ModemStateIsFalseOutsideTheFourLinesAndWithoutLines) {
    EXPECT_FALSE(m_port->GetModemState(1)); // closed
    OpenPort();
    for (int n : {0, 1, 2, 3, 4, 5})
        EXPECT_FALSE(m_port->GetModemState(n)) << n; // a pty has no modem lines
}

TEST_F(LineSettingsTest, DtrKeepsItsOldValueWhenTheDriverRefuses) {
    m_port->SetDTR(true); // closed: stored
    EXPECT_TRUE(m_port->DTR());
    OpenPort();
    m_port->SetDTR(false);
    EXPECT_TRUE(m_port->DTR()) << "a pty refuses modem line requests";
}

struct WarningCase {
    const char *name;
    uint16_t dataBits;
    TCommPort::TStopBits stopBits;
    const char *text; // nullptr: no warning
};
const WarningCase kWarnings[] = {
    {"eight_bits_one_and_a_half_stop", 8, TCommPort::sb1_5,
     "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)"},
    {"five_bits_two_stop", 5, TCommPort::sb2_0, "Invalid combination (5 data bits with 2 stop bits)"},
    {"five_bits_one_and_a_half_stop", 5, TCommPort::sb1_5, nullptr},
    {"eight_bits_two_stop", 8, TCommPort::sb2_0, nullptr},
};

class BitsWarningTest : public PortFixture, public ::testing::WithParamInterface<WarningCase> {};

TEST_P(BitsWarningTest, WarnsOnlyForPairsTheUartCannotSendAndKeepsBoth) {
    const WarningCase &c = GetParam();
    m_port->SetDataBits(c.dataBits);
    QSignalSpy warnings(m_port.get(), &TCommPort::OnBitsWarning);
    m_port->SetStopBits(c.stopBits);
    EXPECT_EQ(m_port->DataBits(), c.dataBits);
    EXPECT_EQ(m_port->StopBits(), c.stopBits);
    if (!c.text) {
        EXPECT_EQ(warnings.count(), 0);
        return;
    }
    ASSERT_EQ(warnings.count(), 1);
    EXPECT_EQ(warnings.at(0).at(1).toString(), "COM port warning");
    EXPECT_EQ(warnings.at(0).at(2).toString(), QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(Pairs, BitsWarningTest, ::testing::ValuesIn(kWarnings),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LineSettingsTest, InvalidPairWarnsTwiceAtEveryOpen) {
    m_port->SetStopBits(TCommPort::sb1_5);
    QSignalSpy warnings(m_port.get(), &TCommPort::OnBitsWarning);
    OpenPort();
    EXPECT_EQ(warnings.count(), 2); // once for stop bits, once for data bits
    // Every open applies the pair again, so every open warns again.
    m_port->SetOpen(false);
    EXPECT_EQ(warnings.count(), 2) << "closing does not warn";
    OpenPort();
    EXPECT_EQ(warnings.count(), 4);
}

} // namespace
