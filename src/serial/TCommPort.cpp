#include "TCommPort.h"

#include "app_paths.h"
#include "port_names.h"
#include "port_workers.h"
#include "serial_device.h"
#include "serial_log.h"
#include "sync_event.h"
#include "ui_call_queue.h"

#include <QMetaMethod>

#include <algorithm>
#include <cerrno>
#include "baud_rates.h"

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

QString AccessDeniedText(const std::string &path) {
    return QStringLiteral("Нет доступа к порту %1: добавьте пользователя в группу dialout "
                          "(sudo usermod -aG dialout $USER) и войдите в систему заново")
        .arg(QString::fromStdString(path));
}

std::function<std::unique_ptr<SerialDevice>()> &DeviceFactory() {
    static std::function<std::unique_ptr<SerialDevice>()> factory;
    return factory;
}

} // namespace

void SetSerialDeviceFactory(std::function<std::unique_ptr<SerialDevice>()> factory) {
    DeviceFactory() = std::move(factory);
}

std::unique_ptr<SerialDevice> MakeSerialDevice() {
    return DeviceFactory() ? DeviceFactory()() : CreateSerialDevice();
}

TCommPort::TCommPort(QObject *owner)
    : QObject(owner), m_readRequest(std::make_unique<SyncEvent>(SyncEvent::AutoReset)),
      m_writeRequest(std::make_unique<SyncEvent>(SyncEvent::ManualReset)),
      m_dataArrived(std::make_unique<SyncEvent>(SyncEvent::AutoReset)),
      m_statusEvent(std::make_unique<SyncEvent>(SyncEvent::AutoReset)), m_ui(std::make_unique<UiCallQueue>(this)) {
    connect(this, &TCommPort::deviceLostDetected, this, &TCommPort::DeviceLost, Qt::QueuedConnection);
}

TCommPort::~TCommPort() { ClosePort(); }

bool TCommPort::IsEnabled() const { return m_device && m_device->IsOpen(); }

bool TCommPort::NotificationPending() const { return m_ui->HasWaitingCalls(); }

void TCommPort::SetOpen(bool open) {
    if (open == m_open)
        return;
    if (open)
        OpenPort();
    else
        ClosePort();
}

// --- open and close ----------------------------------------------------------------

void TCommPort::OpenPort() {
    if (m_open || m_closing)
        return;
    m_lastOpenError.clear();
    m_lastError.store(0);
    for (RingBuffer *ring : {&m_tx, &m_rx}) {
        ring->head = 0;
        ring->used.store(0);
    }
    m_tx.size = m_outSize;
    m_tx.data = std::make_unique<uint8_t[]>(std::max(1u, m_outSize));
    m_rx.size = m_inSize;
    m_rx.data = std::make_unique<uint8_t[]>(std::max(1u, m_inSize));
    auto releaseRings = [this] {
        m_tx.data.reset();
        m_rx.data.reset();
    };

    // A number below 1 maps to no device: the port just stays closed.
    const std::string path = ComDevicePath(m_comNumber, PortsDir());
    if (path.empty()) {
        releaseRings();
        return;
    }
    auto device = MakeSerialDevice();
    OpenResult opened = device->Open(path);
    if (opened.error != OpenError::None) {
        // Missing or busy ports fail quietly; lack of rights is worth a line in the log.
        if (opened.error == OpenError::AccessDenied)
            m_lastOpenError = AccessDeniedText(path);
        qCInfo(lcSerial) << "COM" << m_comNumber << QString::fromStdString(path)
                         << "did not open:" << strerror(opened.sysError);
        releaseRings();
        return;
    }
    m_device = std::move(device);
    m_device->RequestLowLatency();
    m_eventMask.store(0);
    m_deviceLost.store(false);
    UpdateConnectedEvents();

    // The stored parameters land on the line in this order; stop bits and data bits
    // each repeat the warning for a pair the UART cannot send.
    SetComControl(Control());
    SetBaudRate(m_baudRate);
    SetParity(m_parity);
    SetStopBits(m_stopBits);
    SetDataBits(m_dataBits);
    SetXonLim(m_xonLim);
    SetXoffLim(m_xoffLim);
    SetXonChar(m_xonChar);
    SetXoffChar(m_xoffChar);
    SetEventChar(m_eventChar);

    m_statusThread = std::make_unique<TStatusThread>(*this, MonitorEvents);
    m_statusThread->Start();
    m_readRequest->Reset();
    m_readThread = std::make_unique<TReadThread>(*this);
    m_readThread->Start();
    m_writeRequest->Reset();
    m_writeThread = std::make_unique<TWriteThread>(*this);
    m_writeThread->Start();
    m_dataArrived->Reset();
    m_readEventThread = std::make_unique<TReadEventThread>(*this);
    m_readEventThread->Start();
    m_statusEvent->Reset();
    m_statusEventThread = std::make_unique<TStatusEventThread>(*this);
    m_statusEventThread->Start();

    m_open = true;
    qCInfo(lcSerial) << "COM" << m_comNumber << "open on" << QString::fromStdString(path) << GetBaud() << "bit/s";
    SetDTR(m_dtr);
    SetRTS(m_rts);
    emit OnOpen(this, m_lastError.load());
}

template <typename Worker> static void StopOne(std::unique_ptr<Worker> &worker, UiCallQueue &ui, auto wake) {
    if (!worker)
        return;
    worker->RequestStop();
    wake();
    // Workers may be blocked handing a notification to this thread: keep serving them.
    ui.ServeUntil([&worker] { return worker->Finished(); });
    worker->Join();
    worker.reset();
}

void TCommPort::StopWorkers() {
    StopOne(m_statusThread, *m_ui, [this] { m_device->WakeEventWaiter(); });
    StopOne(m_readThread, *m_ui, [this] { m_readRequest->Set(); });
    StopOne(m_writeThread, *m_ui, [this] { m_writeRequest->Set(); });
    StopOne(m_readEventThread, *m_ui, [this] { m_dataArrived->Set(); });
    StopOne(m_statusEventThread, *m_ui, [this] { m_statusEvent->Set(); });
}

void TCommPort::ClosePort() {
    // A handler that closes the port while ClosePort serves it finds it closing already.
    if (!m_open || m_closing)
        return;
    m_closing = true;
    for (auto *line : {&m_cts, &m_dsr, &m_dcd, &m_ring})
        line->store(false);
    StopWorkers();
    m_device->Close();
    m_device.reset();
    m_tx.data.reset();
    m_rx.data.reset();
    m_tx.used.store(0);
    m_rx.used.store(0);
    m_open = false;
    m_closing = false;
    qCInfo(lcSerial) << "COM" << m_comNumber << "closed";
    emit OnClose(this);
}

void TCommPort::ReportDeviceLost(int error) {
    if (m_deviceLost.exchange(true))
        return;
    m_lastError.store(error);
    m_writeRequest->Set(); // the writer drops what it holds
    emit deviceLostDetected();
}

void TCommPort::DeviceLost() {
    if (!m_open || m_closing || !m_deviceLost.load())
        return;
    qCWarning(lcSerial) << "COM" << m_comNumber << "device gone; closing the port";
    emit OnErrorSignal(this, m_lastError.load());
    ClosePort();
}

void TCommPort::SetComNumber(int n) {
    SetOpen(false);
    m_comNumber = n;
}

// --- rings ----------------------------------------------------------------------------

void TCommPort::SetIBuffSize(unsigned n) {
    const bool wasOpen = m_open;
    SetOpen(false);
    m_inSize = n;
    SetOpen(wasOpen);
}

void TCommPort::SetOBuffSize(unsigned n) {
    const bool wasOpen = m_open;
    SetOpen(false);
    m_outSize = n;
    SetOpen(wasOpen);
}

unsigned TCommPort::GetInBuffUsed() const { return m_rx.used.load(std::memory_order_relaxed); }
unsigned TCommPort::GetOutBuffUsed() const { return m_tx.used.load(std::memory_order_relaxed); }

unsigned TCommPort::GetInBuffFree() {
    std::lock_guard<std::mutex> lk(m_rx.lock);
    return m_inSize - m_rx.used.load();
}

unsigned TCommPort::GetOutBuffFree() {
    std::lock_guard<std::mutex> lk(m_tx.lock);
    return m_outSize - m_tx.used.load();
}

int TCommPort::GetOutQueCount() {
    if (!IsEnabled())
        return 0;
    return std::max(0, m_device->OutQueue());
}

unsigned TCommPort::PutBlock(const void *data, unsigned count) {
    if (!IsEnabled() || count == 0)
        return 0;
    unsigned h, u;
    {
        std::lock_guard<std::mutex> lk(m_tx.lock);
        h = m_tx.head;
        u = m_tx.used.load();
    }
    const unsigned size = m_tx.size;
    const auto *src = static_cast<const uint8_t *>(data);
    uint8_t *ring = m_tx.data.get();
    const unsigned t = h + u;
    unsigned total = 0;
    // Free space runs from the tail to the end of the ring and on from 0 up to the head,
    // or, once the data wraps, from the wrapped tail up to the head.
    if (t < size) {
        const unsigned first = std::min(count, size - t);
        std::memcpy(ring + t, src, first);
        const unsigned second = count > first ? std::min(count - first, h) : 0;
        std::memcpy(ring, src + first, second);
        total = first + second;
    } else {
        const unsigned part = std::min(count, h - (t - size));
        std::memcpy(ring + (t - size), src, part);
        total = part;
    }
    if (total == 0)
        return 0;
    {
        std::lock_guard<std::mutex> lk(m_tx.lock);
        m_tx.used.fetch_add(total);
    }
    m_writeRequest->Set();
    return total;
}

unsigned TCommPort::GetBlock(void *buffer, unsigned count) {
    if (!IsEnabled() || GetInBuffUsed() == 0)
        return 0;
    unsigned h, u;
    {
        std::lock_guard<std::mutex> lk(m_rx.lock);
        h = m_rx.head;
        u = m_rx.used.load();
    }
    const unsigned size = m_rx.size;
    auto *dst = static_cast<uint8_t *>(buffer);
    const uint8_t *ring = m_rx.data.get();
    unsigned total = 0;
    if (h + u < size) {
        total = std::min(count, u);
        std::memcpy(dst, ring + h, total);
    } else {
        const unsigned first = std::min(count, size - h);
        std::memcpy(dst, ring + h, first);
        const unsigned second = count > first ? std::min(count - first, h + u - size) : 0;
        std::memcpy(dst + first, ring, second);
        total = first + second;
    }
    {
        std::lock_guard<std::mutex> lk(m_rx.lock);
        m_rx.used.fetch_sub(total);
        m_rx.head += total;
        if (m_rx.head >= size)
            m_rx.head -= size;
    }
    // The reader may have stopped on a full ring: let it refill the space just freed.
    m_readRequest->Set();
    return total;
}

unsigned TCommPort::PutChar(char c) { return PutBlock(&c, 1); }

int TCommPort::PutString(const char *text) {
    const size_t length = text ? std::strlen(text) : 0;
    if (length == 0)
        return 0;
    return int(PutBlock(text, unsigned(length)));
}

char TCommPort::GetChar() {
    char c = 0;
    if (GetInBuffUsed() != 0)
        GetBlock(&c, 1);
    return c;
}

bool TCommPort::CharReady() const { return GetInBuffUsed() != 0; }

void TCommPort::FlushInBuffer() {
    if (IsEnabled())
        m_device->Purge(true, false);
    std::lock_guard<std::mutex> lk(m_rx.lock);
    m_rx.used.store(0);
    ++m_rx.flushes;
}

void TCommPort::FlushOutBuffer() {
    if (IsEnabled())
        m_device->Purge(false, true);
    std::lock_guard<std::mutex> lk(m_tx.lock);
    m_writeRequest->Reset();
    m_tx.used.store(0);
    ++m_tx.flushes;
}

// --- line parameters --------------------------------------------------------------------

void TCommPort::ApplyLine() {
    if (!IsEnabled())
        return;
    LineSettings s;
    s.baud = GetBaud();
    s.dataBits = m_dataBits;
    s.parity = int(m_parity);
    s.stopBits = int(m_stopBits);
    s.control = int(m_control.load());
    s.xonLim = m_xonLim;
    s.xoffLim = m_xoffLim;
    s.xonChar = m_xonChar;
    s.xoffChar = m_xoffChar;
    s.eventChar = m_eventChar;
    // A refused parameter leaves the line as the driver has it; the property keeps the request.
    if (!m_device->Configure(s))
        qCInfo(lcSerial) << "COM" << m_comNumber << "driver refused part of the line settings";
}

void TCommPort::SetBaudRate(TBaudRate rate) {
    m_baudRate = rate;
    ApplyLine();
}

void TCommPort::SetBaud(int bitsPerSecond) {
    const int i = BaudRateIndexOf(bitsPerSecond);
    if (i >= 0)
        SetBaudRate(TBaudRate(i));
}

int TCommPort::GetBaud() const { return BitsPerSecondOf(int(m_baudRate)); }

void TCommPort::SetComControl(TComControl control) {
    m_control.store(control >= ccNone && control <= ccHard ? control : ccNone);
    ApplyLine();
}

void TCommPort::SetParity(TParity parity) {
    m_parity = parity;
    ApplyLine();
}

void TCommPort::SetStopBits(TStopBits stopBits) {
    m_stopBits = stopBits;
    ApplyLine();
    BitsWarning();
}

void TCommPort::SetDataBits(uint16_t bits) {
    m_dataBits = bits >= 5 && bits <= 8 ? bits : 8;
    ApplyLine();
    BitsWarning();
}

void TCommPort::SetXonLim(uint16_t n) {
    m_xonLim = n;
    ApplyLine();
}

void TCommPort::SetXoffLim(uint16_t n) {
    // The XOFF threshold cannot lie beyond the receive ring it guards.
    m_xoffLim = uint16_t(std::min<unsigned>(n, std::min(m_inSize, 65535u)));
    ApplyLine();
}

void TCommPort::SetXonChar(uint8_t c) {
    m_xonChar = c;
    ApplyLine();
}

void TCommPort::SetXoffChar(uint8_t c) {
    m_xoffChar = c;
    ApplyLine();
}

void TCommPort::SetEventChar(uint8_t c) {
    m_eventChar = c;
    ApplyLine();
}

void TCommPort::BitsWarning() {
    QString text;
    if (m_dataBits != 5 && m_stopBits == sb1_5)
        text = QStringLiteral("Invalid combination (6,7 or 8 data bits with 1.5 stop bits)");
    else if (m_dataBits == 5 && m_stopBits == sb2_0)
        text = QStringLiteral("Invalid combination (5 data bits with 2 stop bits)");
    if (text.isEmpty())
        return;
    const QString caption = QStringLiteral("COM port warning");
    if (isSignalConnected(QMetaMethod::fromSignal(&TCommPort::OnBitsWarning)))
        emit OnBitsWarning(this, caption, text);
    else
        qCWarning(lcSerial).noquote() << caption + ": " + text;
}

// --- modem lines -----------------------------------------------------------------------

void TCommPort::SetDTR(bool on) {
    if (!m_open) {
        m_dtr = on;
        return;
    }
    if (m_device->SetDtr(on))
        m_dtr = on;
}

void TCommPort::SetRTS(bool on) {
    if (!m_open) {
        m_rts = on;
        return;
    }
    if (m_device->SetRts(on))
        m_rts = on;
}

void TCommPort::PowerOn() {
    if (IsEnabled()) {
        m_device->SetDtr(true);
        m_device->SetRts(true);
    }
    m_dtr = m_rts = true;
}

void TCommPort::PowerOff() {
    if (IsEnabled()) {
        m_device->SetDtr(false);
        m_device->SetRts(false);
    }
    m_dtr = m_rts = false;
}

bool TCommPort::SetBreak(bool on) { return m_open && m_device->SetBreak(on); }

void TCommPort::SendBreak(uint16_t ticks) {
    if (IsEnabled())
        SetBreak(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(55 * unsigned(ticks)));
    if (IsEnabled())
        SetBreak(false);
}

bool TCommPort::GetModemState(int n) {
    static const uint32_t kLine[] = {0, kModemCts, kModemDsr, kModemRing, kModemDcd};
    uint32_t lines = 0;
    if (n < 1 || n > 4 || !IsEnabled() || !m_device->GetModemLines(lines))
        return false;
    return lines & kLine[n];
}

// --- notifications ---------------------------------------------------------------------

void TCommPort::RaiseEvents(uint32_t bits) {
    if (bits == 0)
        return;
    m_eventMask.fetch_or(bits);
    if (bits & m_connectedEvents.load())
        m_statusEvent->Set();
}

void TCommPort::DeliverData() {
    UpdateConnectedEvents();
    emit OnDataReceived(this, GetInBuffUsed());
}

void TCommPort::DeliverStatus() {
    // Each event is handed out once; bits nobody listens to are dropped with it.
    UpdateConnectedEvents();
    const uint32_t mask = m_eventMask.exchange(0);
    struct Slot {
        uint32_t bit;
        void (TCommPort::*signal)(TCommPort *);
    };
    static const Slot kOrder[] = {{0x0008, &TCommPort::OnCTSSignal},  {0x0020, &TCommPort::OnDCDSignal},
                                  {0x0010, &TCommPort::OnDSRSignal},  {0x0100, &TCommPort::OnRingSignal},
                                  {0x0001, &TCommPort::OnRxDSignal},  {0x0002, &TCommPort::OnRxEventSignal},
                                  {0x0004, &TCommPort::OnTxDSignal},  {0x0040, &TCommPort::OnBreakSignal}};
    for (const Slot &s : kOrder)
        if (mask & s.bit)
            (this->*s.signal)(this);
    if (mask & 0x0080)
        emit OnErrorSignal(this, m_lastError.load());
}

namespace {

struct SignalBit {
    uint32_t bit;
    QMetaMethod signal;
};

const std::vector<SignalBit> &SignalBits() {
    static const std::vector<SignalBit> bits = {
        {0x0001, QMetaMethod::fromSignal(&TCommPort::OnRxDSignal)},
        {0x0002, QMetaMethod::fromSignal(&TCommPort::OnRxEventSignal)},
        {0x0004, QMetaMethod::fromSignal(&TCommPort::OnTxDSignal)},
        {0x0008, QMetaMethod::fromSignal(&TCommPort::OnCTSSignal)},
        {0x0010, QMetaMethod::fromSignal(&TCommPort::OnDSRSignal)},
        {0x0020, QMetaMethod::fromSignal(&TCommPort::OnDCDSignal)},
        {0x0040, QMetaMethod::fromSignal(&TCommPort::OnBreakSignal)},
        {0x0080, QMetaMethod::fromSignal(&TCommPort::OnErrorSignal)},
        {0x0100, QMetaMethod::fromSignal(&TCommPort::OnRingSignal)},
        {1u << 16, QMetaMethod::fromSignal(&TCommPort::OnDataReceived)},
    };
    return bits;
}

} // namespace

// Qt may call these with its connection lock held (a receiver being destroyed), so they
// must not ask isSignalConnected. A connect sets its bit at once; a disconnect leaves the
// bit until the next delivery on our thread recounts, costing at most one idle trip.
void TCommPort::connectNotify(const QMetaMethod &signal) {
    for (const SignalBit &s : SignalBits())
        if (s.signal == signal)
            m_connectedEvents.fetch_or(s.bit);
}

void TCommPort::disconnectNotify(const QMetaMethod &) {}

void TCommPort::UpdateConnectedEvents() {
    uint32_t bits = 0;
    for (const SignalBit &s : SignalBits())
        if (isSignalConnected(s.signal))
            bits |= s.bit;
    m_connectedEvents.store(bits);
}
