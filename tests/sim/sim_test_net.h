#pragma once
// A demo network in a temporary folder, asked directly (no framing, no port).
#include <gtest/gtest.h>

#include <string>

#include "records.h"
#include "sim_demo.h"
#include "sim_network.h"
#include "temp_dir.h"

class DemoNet : public testing::Test {
protected:
    static constexpr auto kSilence = std::chrono::seconds(60);

    TempDir dir;
    SimNetwork net{MakeDemoProject(), SimConfig{dir.path(), kSilence, 7}};
    SimClock::time_point t0 = SimClock::now();

    // The reply text, or "<silent>" when the device does not answer.
    std::string ask(uint8_t dst, std::string_view request, SimClock::time_point at) {
        auto r = net.handle(dst, request, at);
        return r ? std::string(r->begin(), r->end()) : "<silent>";
    }
    std::string ask(uint8_t dst, std::string_view request) { return ask(dst, request, t0); }
};

inline std::string ZoneText(const AlLine &l) {
    char buf[kRecordBufferSize];
    BuildZoneRecord(l, buf, sizeof buf);
    return buf;
}

inline std::string After(const std::string &text, const std::string &prefix) {
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : std::string("<no ") + prefix + ">";
}
