#pragma once
// The few things TCommPort needs from the operating system's serial layer. The component
// and its workers know only this interface; the platform file behind CreateSerialDevice()
// is the one place that knows termios, ioctl and poll.
//
// Threads: Open/Close/Configure run on the UI thread while no worker runs or before they
// start; Read and InQueue on the reader, Write/WaitWritable on the writer, WaitEvent on
// the status thread. The rest may be called from the UI thread at any time.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct LineSettings {
    int baud = 9600;    // bits per second, any of the component's 15 rates
    int dataBits = 8;   // 5..8
    int parity = 0;     // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int stopBits = 0;   // 0 one, 1 one and a half, 2 two
    int control = 0;    // 0 none, 1 XON/XOFF, 2 RTS/CTS
    uint16_t xonLim = 0;
    uint16_t xoffLim = 1024;
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
    uint8_t eventChar = 0;
};

enum class OpenError { None, NotFound, Busy, AccessDenied, Other };
struct OpenResult {
    OpenError error = OpenError::None;
    int sysError = 0;
};

enum class IoStatus { Ok, WouldBlock, Gone, Failed };
struct IoResult {
    IoStatus status = IoStatus::Ok;
    size_t count = 0;
    int sysError = 0;
};

struct WaitResult {
    bool ready = false;  // bytes to read (WaitEvent) or room to write (WaitWritable)
    bool gone = false;   // hang-up: the device or the far end went away
    bool woken = false;  // WakeEventWaiter() was called
};

// Modem input lines, with the bit values of the modem status word.
constexpr uint32_t kModemCts = 0x10, kModemDsr = 0x20, kModemRing = 0x40, kModemDcd = 0x80;

// Running totals kept by the driver; a change between two looks is an event.
struct LineCounters {
    int cts = 0, dsr = 0, ring = 0, dcd = 0, brk = 0, errors = 0;
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Exclusive open of a device path; a failure leaves the device closed.
    virtual OpenResult Open(const std::string &path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Writes the whole line settings block; false when the driver refused part of it.
    virtual bool Configure(const LineSettings &settings) = 0;
    // Asks the driver not to hold short replies back (USB adapters); quietly does nothing where unsupported.
    virtual void RequestLowLatency() = 0;

    virtual IoResult Read(void *buffer, size_t count) = 0;
    virtual IoResult Write(const void *data, size_t count) = 0;
    // Bytes waiting in the driver's input (output) queue; -1 when the query failed.
    virtual int InQueue() = 0;
    virtual int OutQueue() = 0;
    virtual void Purge(bool input, bool output) = 0;

    // Waits for bytes that arrived since the last call (an edge, so bytes left waiting in
    // the driver do not wake it again), hang-up, WakeEventWaiter() or the timeout (-1: none).
    // With `watchDevice` false only a wake or the timeout ends it.
    virtual WaitResult WaitEvent(bool watchDevice, int timeoutMs) = 0;
    virtual void WakeEventWaiter() = 0;
    // Waits until the device takes more bytes, hangs up, or the timeout passes.
    virtual WaitResult WaitWritable(int timeoutMs) = 0;

    virtual bool GetModemLines(uint32_t &bits) = 0;
    virtual bool SetDtr(bool on) = 0;
    virtual bool SetRts(bool on) = 0;
    virtual bool SetBreak(bool on) = 0;
    virtual bool GetLineCounters(LineCounters &counters) = 0;
};

std::unique_ptr<SerialDevice> CreateSerialDevice();

// Test seam: while set, TCommPort opens its devices through `factory` instead of the
// platform's (a test wraps the real device to play modem lines a pty does not have).
// Pass an empty function to go back.
void SetSerialDeviceFactory(std::function<std::unique_ptr<SerialDevice>()> factory);
// The device TCommPort will use: the factory's when one is set, else the platform's.
std::unique_ptr<SerialDevice> MakeSerialDevice();
