#pragma once
// A TCommPort on COM1, which is linked to a fresh pseudo-terminal in a private ports folder.
// The test plays the far end through the pty master.
#include "TCommPort.h"
#include "pty_pair.h"
#include "serial_timings.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

class PortFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens COM1 at 115200 (the rate only matters to real hardware).
    void OpenPort();
    // Serves the event loop until `done` or the deadline; returns `done()`.
    static bool WaitFor(const std::function<bool()> &done, int timeoutMs = 3000);
    // Collects every OnDataReceived into `received` by taking all waiting bytes.
    void CollectReceived();
    // Replaces the far end with a new pty, relinked as COM1.
    void NewFarEnd();
    // Bytes 0, 1, 2, ... (mod 251, so a shifted block never matches by chance).
    static std::string Pattern(size_t size, unsigned seed = 0);

    TempDir m_dir;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<TCommPort> m_port;
    std::string m_received;
    // Restored after every test, so a test that shrinks a timing and fails never leaks it.
    SerialTimings m_savedTimings;
};
