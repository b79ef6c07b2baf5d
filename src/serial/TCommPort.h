#pragma once
// TCommPort: the program's one way onto the RS485 bus.
//
// The UI thread queues bytes with PutBlock and takes received bytes with GetBlock; five
// worker threads (see port_workers.h) move bytes between the two rings and the device and
// bring notifications back to the thread this object lives on, so that thread never waits
// on the line.
//
// Notifications are Qt signals. "A handler is assigned" means the signal is connected:
// unconnected signals cost nothing, and workers skip the trip to the UI thread for them.
// All signals are emitted on the component's thread, one at a time.
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class SerialDevice;
class UiCallQueue;
class SyncEvent;
class TStatusThread;
class TReadThread;
class TWriteThread;
class TReadEventThread;
class TStatusEventThread;

class TCommPort : public QObject {
    Q_OBJECT
public:
    // Names, order and indexes are stored in settings files: never reorder.
    enum TBaudRate {
        cbr110, cbr300, cbr600, cbr1200, cbr2400, cbr4800, cbr9600, cbr14400,
        cbr19200, cbr38400, cbr56000, cbr57600, cbr115200, cbr128000, cbr256000
    };
    Q_ENUM(TBaudRate)
    enum TParity { paNone, paOdd, paEven, paMark, paSpace };
    Q_ENUM(TParity)
    enum TStopBits { sb1_0, sb1_5, sb2_0 };
    Q_ENUM(TStopBits)
    enum TComControl { ccNone, ccSoft, ccHard };
    Q_ENUM(TComControl)
    // Value i stands for line event bit 2^i (evRxChar 0x0001 ... evRing 0x0100).
    enum TEventState { evRxChar, evRxEventChar, evTxEmpty, evCTS, evDSR, evRlsd, evBreak, evError, evRing };
    Q_ENUM(TEventState)
    // A set of TEventState: bit i set when value i is in the set.
    using TEventStates = uint32_t;
    static constexpr TEventStates EventBit(TEventState e) { return 1u << unsigned(e); }
    static constexpr TEventStates kAllEvents = 0x1FF;

    explicit TCommPort(QObject *owner = nullptr);
    ~TCommPort() override;
    TCommPort(const TCommPort &) = delete;
    TCommPort &operator=(const TCommPort &) = delete;

    // --- state ---------------------------------------------------------------
    void OpenPort();
    void ClosePort();
    void SetOpen(bool open);
    bool Open() const { return m_open; }
    bool IsOpen() const { return m_open; }
    bool IsEnabled() const;
    // Why the last OpenPort failed, for the log ("" after a success or a quiet failure
    // such as a missing or busy device). Set for lack of rights: says how to join `dialout`.
    QString LastOpenError() const { return m_lastOpenError; }
    // Whether a worker waits for this thread to run a handler (a notification not yet served).
    bool NotificationPending() const;

    void SetComNumber(int n); // closes the port; does not reopen
    int ComNumber() const { return m_comNumber; }

    // --- rings -----------------------------------------------------------------
    void SetIBuffSize(unsigned n); // an open port is reopened with new, empty rings
    void SetOBuffSize(unsigned n);
    unsigned InSize() const { return m_inSize; }
    unsigned OutSize() const { return m_outSize; }
    unsigned GetInBuffFree();
    unsigned GetInBuffUsed() const;
    unsigned GetOutBuffFree();
    unsigned GetOutBuffUsed() const;
    int GetOutQueCount(); // bytes still in the driver's output queue

    // Takes as many bytes as fit into the transmit ring; returns how many (0 when not enabled).
    unsigned PutBlock(const void *data, unsigned count);
    // Moves up to `count` received bytes into `buffer`; returns how many.
    unsigned GetBlock(void *buffer, unsigned count);
    unsigned PutChar(char c);
    int PutString(const char *text);
    char GetChar();
    bool CharReady() const;
    void FlushInBuffer();
    void FlushOutBuffer();

    // --- line parameters (stored always, applied at once when enabled) -------------------
    void SetBaudRate(TBaudRate rate);
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaud(int bitsPerSecond); // one of the 15 rates of TBaudRate, else ignored
    int GetBaud() const;
    void SetComControl(TComControl control);
    TComControl Control() const { return m_control; }
    void SetParity(TParity parity);
    TParity Parity() const { return m_parity; }
    void SetStopBits(TStopBits stopBits);
    TStopBits StopBits() const { return m_stopBits; }
    void SetDataBits(uint16_t bits); // 5..8, anything else stores 8
    uint16_t DataBits() const { return m_dataBits; }
    void SetXonLim(uint16_t n);
    uint16_t XonLim() const { return m_xonLim; }
    void SetXoffLim(uint16_t n); // capped at InSize
    uint16_t XoffLim() const { return m_xoffLim; }
    void SetXonChar(uint8_t c);
    uint8_t XonChar() const { return m_xonChar; }
    void SetXoffChar(uint8_t c);
    uint8_t XoffChar() const { return m_xoffChar; }
    void SetEventChar(uint8_t c);
    uint8_t EventChar() const { return m_eventChar; }
    // Events watched from the next open on (a plain field, read when the port opens).
    TEventStates MonitorEvents = kAllEvents & ~EventBit(evRxEventChar);

    // Warns about a data-bits/stop-bits pair the UART cannot send; both values stay set.
    // Emits OnBitsWarning when connected, else logs the text through talvik.serial.
    void BitsWarning();

    // --- modem lines -------------------------------------------------------------
    void SetDTR(bool on);
    bool DTR() const { return m_dtr; }
    void SetRTS(bool on);
    bool RTS() const { return m_rts; }
    bool CTS() const { return m_cts.load(std::memory_order_relaxed); }
    bool DSR() const { return m_dsr.load(std::memory_order_relaxed); }
    bool DCD() const { return m_dcd.load(std::memory_order_relaxed); }
    bool Ring() const { return m_ring.load(std::memory_order_relaxed); }
    void PowerOn();
    void PowerOff();
    bool SetBreak(bool on);
    void SendBreak(uint16_t ticks); // holds break for ticks x 55 ms (blocks the caller)
    // n = 1 CTS, 2 DSR, 3 ring, 4 carrier; anything else false.
    bool GetModemState(int n);

signals:
    void OnCTSSignal(TCommPort *sender);
    void OnDCDSignal(TCommPort *sender);
    void OnDSRSignal(TCommPort *sender);
    void OnRxDSignal(TCommPort *sender);
    void OnTxDSignal(TCommPort *sender);
    void OnRingSignal(TCommPort *sender);
    void OnBreakSignal(TCommPort *sender);
    void OnRxEventSignal(TCommPort *sender);
    // A line error, or the device gone (error = EIO); in the second case OnClose follows.
    void OnErrorSignal(TCommPort *sender, int error);
    void OnDataReceived(TCommPort *sender, unsigned count);
    void OnOpen(TCommPort *sender, int error);
    void OnClose(TCommPort *sender);
    // Stands in for a warning box: the library does not link Widgets.
    void OnBitsWarning(TCommPort *sender, const QString &caption, const QString &text);
    // Internal: a worker saw the device vanish; delivered queued to DeviceLost on the
    // component's thread. A signal rather than a posted lambda, whose hand-off through
    // Qt's event queue ThreadSanitizer cannot see in an uninstrumented Qt.
    void deviceLostDetected();

protected:
    void connectNotify(const QMetaMethod &signal) override;
    void disconnectNotify(const QMetaMethod &signal) override;

private:
    friend class PortWorker;
    friend class TStatusThread;
    friend class TReadThread;
    friend class TWriteThread;
    friend class TReadEventThread;
    friend class TStatusEventThread;

    struct RingBuffer {
        std::unique_ptr<uint8_t[]> data;
        unsigned size = 0;
        unsigned head = 0;              // next byte out; guarded by the ring's lock
        std::atomic<unsigned> used{0};  // changed under the lock, read anywhere
        uint64_t flushes = 0;           // bumped by a flush so a worker drops a stale count
        std::mutex lock;
    };

    void ApplyLine();
    // From a worker: the device went away. Reported once; the close runs on our thread.
    void ReportDeviceLost(int error);
    // From a worker: line events happened; wakes the status-event thread if anyone listens.
    void RaiseEvents(uint32_t bits);
    void UpdateConnectedEvents();
    void StopWorkers();
    void DeviceLost(); // runs on the component's thread
    void DeliverStatus();
    void DeliverData();

    // properties
    int m_comNumber = 2;
    bool m_open = false;
    bool m_dtr = false;
    bool m_rts = false;
    std::atomic<bool> m_cts{false}, m_dsr{false}, m_dcd{false}, m_ring{false};
    unsigned m_inSize = 2048;
    unsigned m_outSize = 4096;
    TBaudRate m_baudRate = cbr9600;
    std::atomic<TComControl> m_control{ccNone};
    TParity m_parity = paNone;
    TStopBits m_stopBits = sb1_0;
    uint16_t m_dataBits = 8;
    uint16_t m_xonLim = 0;
    uint16_t m_xoffLim = 1024;
    uint8_t m_xonChar = 0x11;
    uint8_t m_xoffChar = 0x13;
    uint8_t m_eventChar = 0;
    QString m_lastOpenError;

    // shared with the workers
    std::unique_ptr<SerialDevice> m_device;
    RingBuffer m_tx;
    RingBuffer m_rx;
    std::unique_ptr<SyncEvent> m_readRequest;  // auto reset
    std::unique_ptr<SyncEvent> m_writeRequest; // manual reset
    std::unique_ptr<SyncEvent> m_dataArrived;  // auto reset
    std::unique_ptr<SyncEvent> m_statusEvent;  // auto reset
    std::atomic<uint32_t> m_eventMask{0};
    std::atomic<uint32_t> m_connectedEvents{0}; // event bits whose signal is connected
    static constexpr uint32_t kDataReceivedBit = 1u << 16; // ... and OnDataReceived
    std::atomic<uint32_t> m_deviceMask{0};      // MonitorEvents as taken at open
    std::atomic<bool> m_deviceLost{false};
    std::atomic<int> m_lastError{0};
    bool m_closing = false;
    std::unique_ptr<UiCallQueue> m_ui;

    std::unique_ptr<TStatusThread> m_statusThread;
    std::unique_ptr<TReadThread> m_readThread;
    std::unique_ptr<TWriteThread> m_writeThread;
    std::unique_ptr<TReadEventThread> m_readEventThread;
    std::unique_ptr<TStatusEventThread> m_statusEventThread;
};
