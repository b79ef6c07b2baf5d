#pragma once
// A pseudo-terminal dressed up as a UART: the real device moves the bytes, while the modem
// outputs and the driver's output queue are played by the test (a pty has neither).
#include "serial_device.h"

#include <atomic>
#include <string>
#include <vector>

struct UartScript {
    // What TIOCOUTQ reports: -1 passes the real count through. `outQueueStep` is taken off
    // at every query (a line that crawls), never below `outQueueFloor`.
    std::atomic<int> outQueue{-1};
    std::atomic<int> outQueueStep{0};
    std::atomic<int> outQueueFloor{0};
    std::atomic<bool> dtr{false}, rts{false};
    // Close and purge calls in order ("purge out", "close"); UI thread only.
    std::vector<std::string> calls;
};

class ScriptedUart final : public SerialDevice {
public:
    explicit ScriptedUart(UartScript &script) : m_real(CreateSerialDevice()), m_script(script) {}

    OpenResult Open(const std::string &path) override { return m_real->Open(path); }
    void Close() override {
        m_script.calls.push_back("close");
        m_real->Close();
    }
    bool IsOpen() const override { return m_real->IsOpen(); }
    bool Configure(const LineSettings &s) override { return m_real->Configure(s); }
    void RequestLowLatency() override {}
    IoResult Read(void *b, size_t n) override { return m_real->Read(b, n); }
    IoResult Write(const void *d, size_t n) override { return m_real->Write(d, n); }
    int InQueue() override { return m_real->InQueue(); }
    int OutQueue() override {
        const int q = m_script.outQueue.load();
        if (q < 0)
            return m_real->OutQueue();
        const int next = std::max(m_script.outQueueFloor.load(), q - m_script.outQueueStep.load());
        m_script.outQueue.store(next);
        return q;
    }
    void Purge(bool in, bool out) override {
        if (out)
            m_script.calls.push_back(in ? "purge both" : "purge out");
        m_real->Purge(in, out);
    }
    WaitResult WaitEvent(bool watch, int ms) override { return m_real->WaitEvent(watch, ms); }
    void WakeEventWaiter() override { m_real->WakeEventWaiter(); }
    WaitResult WaitWritable(int ms) override { return m_real->WaitWritable(ms); }
    bool GetModemLines(uint32_t &) override { return false; }
    bool SetDtr(bool on) override {
        m_script.dtr.store(on);
        return true;
    }
    bool SetRts(bool on) override {
        m_script.rts.store(on);
        return true;
    }
    bool SetBreak(bool) override { return true; }
    bool GetLineCounters(LineCounters &) override { return false; }

private:
    std::unique_ptr<SerialDevice> m_real;
    UartScript &m_script;
};
