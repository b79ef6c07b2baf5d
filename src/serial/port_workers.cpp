#include "port_workers.h"

#include "TCommPort.h"
#include "serial_device.h"
#include "serial_log.h"
#include "serial_timings.h"
#include "sync_event.h"
#include "ui_call_queue.h"

#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kRxChar = 0x0001, kRxEventChar = 0x0002, kTxEmpty = 0x0004, kCtsChanged = 0x0008,
                   kDsrChanged = 0x0010, kRlsdChanged = 0x0020, kBreak = 0x0040, kLineError = 0x0080,
                   kRing = 0x0100;

void DumpRaw(const char *direction, const uint8_t *data, size_t count) {
    if (lcSerialRaw().isDebugEnabled())
        qCDebug(lcSerialRaw) << direction << QByteArray(reinterpret_cast<const char *>(data), qsizetype(count)).toHex(' ');
}

} // namespace

PortWorker::PortWorker(TCommPort &port) : m_port(port), m_device(*port.m_device) {}

PortWorker::~PortWorker() { Join(); }

void PortWorker::Start() {
    m_thread = std::thread([this] {
        Execute();
        m_finished.store(true);
        m_port.m_ui->Wake(); // ClosePort may be waiting for us
    });
}

void PortWorker::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

// --- TStatusThread -------------------------------------------------------------

TStatusThread::TStatusThread(TCommPort &port, uint32_t monitorEvents) : PortWorker(port) {
    m_deviceMask = monitorEvents & TCommPort::kAllEvents;
    port.m_deviceMask.store(m_deviceMask);
}

void TStatusThread::Execute() {
    TCommPort &port = m_port;
    auto storeLines = [&port](uint32_t lines) {
        port.m_cts.store(lines & kModemCts);
        port.m_dsr.store(lines & kModemDsr);
        port.m_ring.store(lines & kModemRing);
        port.m_dcd.store(lines & kModemDcd);
    };
    uint32_t lines = 0;
    // Pseudo-terminals have no modem lines: then nothing is polled and an idle port sleeps in poll.
    const bool haveLines = m_device.GetModemLines(lines);
    if (haveLines)
        storeLines(lines);
    // Bytes queued before this first look found CTS off; with CTS already on they must go now.
    if (port.CTS() && port.m_control.load() == TCommPort::ccHard && port.m_tx.used.load() > 0)
        port.m_writeRequest->Set();
    LineCounters counters;
    const bool haveCounters = haveLines && m_device.GetLineCounters(counters);
    // The event mask was cleared by OpenPort before any worker ran: clearing it here could
    // wipe an event the writer already raised.
    auto nextLineCheck = Clock::now() + std::chrono::milliseconds(Timings().modemPollMs);

    while (!Stopping()) {
        const bool lost = port.m_deviceLost.load();
        const int timeout = (haveLines && !lost) ? Timings().modemPollMs : -1;
        WaitResult w = m_device.WaitEvent(!lost, timeout);
        if (Stopping())
            break;
        if (w.gone) {
            port.ReportDeviceLost(EIO);
            continue; // from now on only a wake (the stop) ends the wait
        }
        uint32_t mask = 0;
        if (w.ready)
            mask |= kRxChar;
        if (haveLines && Clock::now() >= nextLineCheck) {
            nextLineCheck = Clock::now() + std::chrono::milliseconds(Timings().modemPollMs);
            uint32_t now = 0;
            if (m_device.GetModemLines(now)) {
                uint32_t changed = now ^ lines;
                LineCounters c;
                // Counters catch a pulse that came and went between two looks.
                if (haveCounters && m_device.GetLineCounters(c)) {
                    mask |= (c.cts != counters.cts || (changed & kModemCts)) ? kCtsChanged : 0;
                    mask |= (c.dsr != counters.dsr || (changed & kModemDsr)) ? kDsrChanged : 0;
                    mask |= (c.dcd != counters.dcd || (changed & kModemDcd)) ? kRlsdChanged : 0;
                    mask |= (c.ring != counters.ring || (changed & kModemRing)) ? kRing : 0;
                    mask |= c.brk != counters.brk ? kBreak : 0;
                    mask |= c.errors != counters.errors ? kLineError : 0;
                    counters = c;
                } else {
                    mask |= (changed & kModemCts) ? kCtsChanged : 0;
                    mask |= (changed & kModemDsr) ? kDsrChanged : 0;
                    mask |= (changed & kModemDcd) ? kRlsdChanged : 0;
                    mask |= (changed & kModemRing) ? kRing : 0;
                }
                lines = now;
                storeLines(now);
                if ((mask & kCtsChanged) && port.m_control.load() == TCommPort::ccHard && port.CTS() &&
                    port.m_tx.used.load() > 0)
                    port.m_writeRequest->Set();
            }
        }
        // Bytes are fetched whether or not anyone listens for evRxChar.
        if (mask & kRxChar)
            port.m_readRequest->Set();
        port.RaiseEvents(mask & m_deviceMask);
    }
}

// --- TReadThread ----------------------------------------------------------------

void TReadThread::Execute() {
    while (!Stopping()) {
        m_port.m_readRequest->Wait();
        if (Stopping())
            break;
        if (!m_port.m_deviceLost.load())
            Drain();
    }
}

void TReadThread::Drain() {
    auto &rx = m_port.m_rx;
    for (;;) {
        const int q = m_device.InQueue();
        if (q < 0) {
            m_port.ReportDeviceLost(EIO);
            return;
        }
        unsigned h, u;
        uint64_t flushes;
        {
            std::lock_guard<std::mutex> lk(rx.lock);
            h = rx.head;
            u = rx.used.load();
            flushes = rx.flushes;
        }
        // Contiguous free space behind the data: up to the end of the ring, or, once the data
        // wraps, from the wrapped end up to the head. The rest comes on the next pass.
        const unsigned t = h + u;
        const unsigned start = t < rx.size ? t : t - rx.size;
        const unsigned space = t < rx.size ? rx.size - t : h - start;
        const unsigned n = std::min<unsigned>(space, unsigned(q));
        // n == 0 with q > 0: the ring is full and the bytes wait in the driver until GetBlock
        // frees space and asks again.
        if (n == 0)
            return;
        IoResult r = m_device.Read(rx.data.get() + start, n);
        if (r.status == IoStatus::Gone) {
            m_port.ReportDeviceLost(r.sysError);
            return;
        }
        if (r.count == 0)
            return;
        DumpRaw("rx", rx.data.get() + start, r.count);
        bool eventChar = false;
        if ((m_port.m_deviceMask.load() & kRxEventChar) &&
            std::memchr(rx.data.get() + start, m_port.m_eventChar, r.count))
            eventChar = true;
        {
            std::lock_guard<std::mutex> lk(rx.lock);
            // A flush meanwhile reset the count: these bytes would land behind stale ones.
            if (rx.flushes == flushes)
                rx.used.fetch_add(unsigned(r.count));
        }
        m_port.m_dataArrived->Set();
        if (eventChar)
            m_port.RaiseEvents(kRxEventChar);
    }
}

// --- TWriteThread ---------------------------------------------------------------

void TWriteThread::Execute() {
    auto &tx = m_port.m_tx;
    while (!Stopping()) {
        m_port.m_writeRequest->Wait();
        if (m_port.m_deviceLost.load()) {
            // The bytes cannot go anywhere; dropping them lets ClosePort end at once.
            Discard();
            continue;
        }
        {
            // Checked and reset under the lock, so a PutBlock in between is never missed.
            std::lock_guard<std::mutex> lk(tx.lock);
            if (tx.used.load() == 0) {
                m_port.m_writeRequest->Reset();
                continue;
            }
        }
        if (m_port.m_control.load() == TCommPort::ccHard && !m_port.CTS()) {
            // Held back; the status thread sets the request again when CTS comes on.
            // Reset rather than spin on a request that stays set.
            m_port.m_writeRequest->Reset();
            if (m_port.CTS())
                m_port.m_writeRequest->Set();
            continue;
        }
        Drain();
    }
}

void TWriteThread::Discard() {
    auto &tx = m_port.m_tx;
    std::lock_guard<std::mutex> lk(tx.lock);
    tx.used.store(0);
    tx.head = 0;
    ++tx.flushes;
    m_port.m_writeRequest->Reset();
}

void TWriteThread::Drain() {
    auto &tx = m_port.m_tx;
    auto lastProgress = Clock::now();
    while (tx.used.load() != 0) {
        unsigned h, u;
        uint64_t flushes;
        {
            std::lock_guard<std::mutex> lk(tx.lock);
            h = tx.head;
            u = tx.used.load();
            flushes = tx.flushes;
        }
        if (u == 0)
            break;
        const unsigned len = h + u < tx.size ? u : tx.size - h;
        IoResult r = m_device.Write(tx.data.get() + h, len);
        if (r.status == IoStatus::Gone) {
            m_port.ReportDeviceLost(r.sysError);
            Discard();
            return;
        }
        if (r.count == 0) {
            // Driver queue full (or a passing error): wait for room instead of retrying hot.
            if (Stopping() && Clock::now() - lastProgress > std::chrono::milliseconds(Timings().closeStallMs)) {
                qCWarning(lcSerial) << "dropping" << u << "unsent bytes: the device takes no more";
                Discard();
                return;
            }
            WaitResult w = m_device.WaitWritable(Timings().writeWaitMs);
            if (w.gone) {
                m_port.ReportDeviceLost(EIO);
                Discard();
                return;
            }
            if (r.status == IoStatus::Failed && w.ready)
                std::this_thread::sleep_for(std::chrono::milliseconds(Timings().writeWaitMs));
            continue;
        }
        lastProgress = Clock::now();
        DumpRaw("tx", tx.data.get() + h, r.count);
        std::lock_guard<std::mutex> lk(tx.lock);
        if (tx.flushes != flushes)
            continue; // FlushOutBuffer emptied the ring meanwhile
        tx.used.fetch_sub(unsigned(r.count));
        tx.head += unsigned(r.count);
        if (tx.head >= tx.size)
            tx.head -= tx.size;
    }
    if (m_port.m_deviceMask.load() & kTxEmpty)
        m_port.RaiseEvents(kTxEmpty);
}

// --- event threads --------------------------------------------------------------

void TReadEventThread::Execute() {
    while (!Stopping()) {
        m_port.m_dataArrived->Wait();
        if (Stopping())
            break;
        if (m_port.m_connectedEvents.load() & TCommPort::kDataReceivedBit)
            m_port.m_ui->Call([this] { m_port.DeliverData(); });
    }
}

void TStatusEventThread::Execute() {
    while (!Stopping()) {
        m_port.m_statusEvent->Wait();
        if (Stopping())
            break;
        if (m_port.m_eventMask.load() & m_port.m_connectedEvents.load())
            m_port.m_ui->Call([this] { m_port.DeliverStatus(); });
    }
}
