#pragma once
// The file manager's logic on shrunk timings against the fake line and view.
#include <gtest/gtest.h>

#include "file_manager_fakes.h"

class FileManagerFixture : public ::testing::Test {
protected:
    explicit FileManagerFixture(const ProtocolTimings &timings = FastFileTimings())
        : logic(std::make_unique<FileManagerLogic>(line, view, timings)) {
        logic->SetDeviceAddress(250);
    }
    bool Reply(const std::string &payload) {
        return logic->HandleFileReply(reinterpret_cast<const uint8_t *>(payload.data()), int(payload.size()));
    }
    std::string LastPayload() const { return line.frames.empty() ? std::string() : line.frames.back().payload; }

    FakeFileLine line;
    FakeFileView view;
    std::unique_ptr<FileManagerLogic> logic;
};
