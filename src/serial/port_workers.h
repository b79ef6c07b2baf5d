#pragma once
// The five workers of an open TCommPort. The component creates them at open, in this
// order, and stops them one at a time at close; it always outlives them.
//
//   bytes in:  TStatusThread (poll sees bytes) -> TReadThread (driver -> receive ring)
//              -> TReadEventThread (OnDataReceived on the UI thread)
//   bytes out: PutBlock -> TWriteThread (transmit ring -> driver)
//   lines:     TStatusThread (modem lines, errors) -> TStatusEventThread (line signals)
#include <atomic>
#include <cstdint>
#include <thread>

class TCommPort;
class SerialDevice;

class PortWorker {
public:
    explicit PortWorker(TCommPort &port);
    virtual ~PortWorker();
    PortWorker(const PortWorker &) = delete;
    PortWorker &operator=(const PortWorker &) = delete;

    void Start();
    // Seen at the top of the next cycle; the caller then wakes the worker.
    void RequestStop() { m_stop.store(true); }
    bool Finished() const { return m_finished.load(); }
    void Join();

protected:
    virtual void Execute() = 0;
    bool Stopping() const { return m_stop.load(); }
    TCommPort &m_port;
    SerialDevice &m_device;

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

class TStatusThread final : public PortWorker {
public:
    // `monitorEvents` is the set of TEventState values to report.
    TStatusThread(TCommPort &port, uint32_t monitorEvents);

protected:
    void Execute() override;

private:
    uint32_t m_deviceMask;
};

class TReadThread final : public PortWorker {
public:
    using PortWorker::PortWorker;

protected:
    void Execute() override;

private:
    void Drain();
};

class TWriteThread final : public PortWorker {
public:
    using PortWorker::PortWorker;

protected:
    void Execute() override;

private:
    void Drain();
    void Discard();
};

class TReadEventThread final : public PortWorker {
public:
    using PortWorker::PortWorker;

protected:
    void Execute() override;
};

class TStatusEventThread final : public PortWorker {
public:
    using PortWorker::PortWorker;

protected:
    void Execute() override;
};
