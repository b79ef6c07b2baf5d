#pragma once
// The envelope of all device traffic: frames out through the port, once (SendFrame) or
// with repeats (SendCommand + tmRepeat); bytes in collected in ReceiveBuffer, accepted
// frames cut out by ExtractFrames and handed, in order, to the reply handler.
// Runs on the UI thread only; there is no lock.
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "comm_link.h"
#include "protocol_log.h"
#include "protocol_timings.h"
#include "tick_source.h"

class CommandExchange : public QObject {
    Q_OBJECT
public:
    static constexpr int kReceiveBufferSize = 65536;
    static constexpr int kReceiveMaxHeld = 65535;

    // Called once per accepted frame: payload (not NUL-terminated), its length (>= 1),
    // and the frame's source address.
    using ReplyHandler = std::function<void(const uint8_t *payload, int length, uint8_t source)>;

    explicit CommandExchange(LogSink log, const ProtocolTimings &timings = kRealTimings, QObject *parent = nullptr);

    // The port may change (settings dialog, reconnect); null means no port: nothing is sent.
    void SetPort(CommLink *port) { m_port = port; }
    void SetReplyHandler(ReplyHandler handler) { m_onReply = std::move(handler); }
    void SetTickSource(TickSource ticks) { m_ticks = std::move(ticks); }

    // The PC's own bus address; frames carry its low byte (300 goes out as 44).
    int Addr() const { return m_addr; }
    void SetAddr(int addr) { m_addr = addr; }

    // One frame to `address`, sent once. False when the payload exceeds 1594 bytes
    // (nothing is sent), there is no port, or the port took fewer bytes than the frame.
    bool SendFrame(uint8_t address, const uint8_t *payload, int length);
    bool SendFrame(uint8_t address, const QByteArray &text);
    bool SendFrame(uint8_t address, const char *text);

    // A request whose reply the user waits for: sent now and repeated until any frame
    // is accepted; after the last transmission goes unanswered, "Нет ответа от устройства".
    // Empties ReceiveBuffer: leftovers of earlier traffic belong to no one any more.
    void SendCommand(uint8_t address, const QByteArray &text);
    void SendCommand(uint8_t address, const char *text);
    // Ends the repeats; the dispatcher calls it for every accepted frame.
    void StopRepeats() { tmRepeat.stop(); }
    bool RepeatsActive() const { return tmRepeat.isActive(); }
    int RepeatTag() const { return m_repeatTag; }
    const QByteArray &PendingCommand() const { return m_pendingCommand; }
    uint8_t PendingAddress() const { return m_pendingAddress; }

    // The data-received handler of the port: `count` bytes are waiting.
    void ComPortDataReceived(int count);
    void ExtractFrames();
    int ReceiveFill() const { return m_fill; }
    const uint8_t *ReceiveData() const { return ReceiveBuffer; }
    // For tests and tools that already hold bytes: as if the port delivered them.
    void TakeBytes(const uint8_t *data, int count);

    // Returns after `ms` milliseconds on the tick counter, handling events meanwhile
    // (received data and dispatched replies included).
    void WaitWithEvents(uint32_t ms);

    const ProtocolTimings &Timings() const { return m_timings; }

public slots:
    void tmRepeatTimer();

private:
    void Log(const char *text) const;
    void ExtractOnce();

    LogSink m_log;
    ProtocolTimings m_timings;
    CommLink *m_port = nullptr;
    ReplyHandler m_onReply;
    TickSource m_ticks = SystemTicks;
    int m_addr = 254;

    QTimer tmRepeat;
    int m_repeatTag = 0; // transmissions still due for the pending command
    QByteArray m_pendingCommand;
    uint8_t m_pendingAddress = 0;

    uint8_t ReceiveBuffer[kReceiveBufferSize];
    int32_t m_fill = 0;
    // Bumped whenever the buffer is emptied, so a scan learns that a reply handler
    // (SendCommand) threw its bytes away under it.
    uint32_t m_emptied = 0;
    bool m_extracting = false;
    bool m_arrivedWhileExtracting = false;
};
