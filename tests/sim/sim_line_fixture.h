#pragma once
// The demo network on a pseudo-terminal of its own, with the test as the PC on the
// slave side, as the configurator sees it.
#include <gtest/gtest.h>

#include <memory>

#include "sim_client.h"
#include "sim_demo.h"
#include "sim_line.h"
#include "sim_port.h"
#include "temp_dir.h"

class PtyNet : public testing::Test {
protected:
    // Most tests are not about timing: bytes go at once.
    static LineSettings Unpaced() {
        LineSettings s;
        s.baud = 0;
        return s;
    }

    void start(LineSettings line = Unpaced(), FaultSettings faults = {}) {
        std::string error;
        port = SimPort::OpenPty(error);
        ASSERT_TRUE(port) << error;
        simLine = std::make_unique<SimLine>(net, *port, line, faults);
        simLine->start();
        client = std::make_unique<SimClient>(port->path());
        ASSERT_TRUE(client->ok());
    }
    void TearDown() override {
        if (simLine)
            simLine->stop();
    }

    TempDir dir;
    SimNetwork net{MakeDemoProject(), SimConfig{dir.path(), std::chrono::seconds(60), 3}};
    std::unique_ptr<SimPort> port;
    std::unique_ptr<SimLine> simLine;
    std::unique_ptr<SimClient> client;
};
