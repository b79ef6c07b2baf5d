// Bytes from the line, as a device or a damaged bus may send them, through the command
// exchange's receive buffer into the real reply dispatcher over a project, then the copy
// of what was received. No crash, the tables within capacity, and the saved project text
// still one line per record.
//
// Input: byte 0 picks the read kind, byte 1 the swept BC's offset; bit 7 of byte 0 wraps
// the rest, cut at 0xFF bytes, into well-formed frames (so the fuzzer reaches the
// dispatcher's rows at once); otherwise the rest goes in raw, in chunks whose sizes the
// bytes themselves choose.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "command_exchange.h"
#include "frame.h"
#include "project_file.h"
#include "read_network.h"
#include "reply_dispatcher.h"

namespace {

Project g_project; // five megabytes: static, as in the program

void SeedProject(Project &p) {
    ResetProject(p);
    for (int adr : {238, 240}) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = uint8_t(adr);
        AppendBcUnit(p, bc);
        for (int prt = 1; prt <= 3; ++prt) {
            AlLine al;
            InitZoneRecord(al);
            al.adr = uint8_t(adr);
            al.prt = uint8_t(prt);
            al.num = uint16_t(adr * 10 + prt);
            AppendAlLine(p, al);
        }
    }
}

void Check(const Project &p) {
    if (p.bcCount < 0 || p.bcCount > kBcCapacity || p.alCount < 0 || p.alCount > kAlCapacity)
        std::abort();
    long expected = 1 + p.bcCount + p.alCount;
    for (int i = 1; i < kNotifyCount; ++i)
        expected += p.notifies[i].wav[0] != '\0';
    const std::string saved = BuildProjectText(p);
    if (std::count(saved.begin(), saved.end(), '\n') != expected)
        std::abort(); // a received name carrying a line end would split its record
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    SeedProject(g_project);
    CommandExchange exchange(nullptr);
    ReplyDispatcher dispatcher(&g_project, nullptr, nullptr, nullptr);
    exchange.SetReplyHandler(
        [&](const uint8_t *payload, int length, uint8_t source) { dispatcher.DispatchReply(payload, length, source); });
    const ReadKind kind = ReadKind(data[0] % 7);
    const bool framed = data[0] & 0x80;
    dispatcher.SetReadKind(kind);
    dispatcher.SetSweptBc(uint8_t(238 + data[1] % 4));
    data += 2;
    size -= 2;

    if (framed) {
        size_t start = 0;
        for (size_t i = 0; i <= size; ++i) {
            if (i < size && data[i] != 0xFF)
                continue;
            const std::vector<uint8_t> f = BuildFrame(254, 240, data + start, std::min(i - start, kMaxFramePayload));
            if (!f.empty())
                exchange.TakeBytes(f.data(), int(f.size()));
            start = i + 1;
        }
    } else {
        size_t pos = 0;
        while (pos < size) {
            const size_t chunk = std::min<size_t>(size - pos, 1 + data[pos] % 97);
            exchange.TakeBytes(data + pos, int(chunk));
            pos += chunk;
        }
    }
    if (exchange.ReceiveFill() < 0 || exchange.ReceiveFill() > CommandExchange::kReceiveMaxHeld)
        std::abort();
    Check(g_project);

    // The copy button after the read, onto the first unit and line.
    CopyReceivedToProject(g_project, dispatcher.readKind(), dispatcher.Received(),
                          g_project.bcCount > 0 ? &g_project.bcUnits[0] : nullptr,
                          g_project.alCount > 0 ? &g_project.alLines[0] : nullptr);
    Check(g_project);
    return 0;
}
