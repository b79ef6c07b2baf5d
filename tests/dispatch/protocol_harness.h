#pragma once
// DeviceProtocol over a fake port and a recording window layer, its log lines collected:
// the whole read -> reply -> copy path without a device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device_protocol.h"
#include "fake_link.h"
#include "frame.h"
#include "project.h"
#include "recording_view.h"

class ProtocolHarness : public ::testing::Test {
protected:
    // (Re)creates the protocol over `project`, so a test may rebuild the tables first.
    void StartProtocol(const ProtocolTimings &timings) {
        protocol = std::make_unique<DeviceProtocol>(
            project.get(), &view, [this](const QString &t) { log.push_back(t.toStdString()); }, timings);
        protocol->Exchange().SetPort(&link);
    }
    // A reply frame from `source` arrives on the port.
    void Reply(uint8_t source, const std::string &payload) {
        const std::vector<uint8_t> f = BuildFrame(254, source, payload);
        link.incoming.append(f.begin(), f.end());
        protocol->Exchange().ComPortDataReceived(static_cast<int>(f.size()));
    }

    FakeLink link;
    RecordingView view;
    std::vector<std::string> log;
    std::unique_ptr<Project> project;
    std::unique_ptr<DeviceProtocol> protocol;
};
