#include "sim_network.h"

#include <algorithm>

#include "frame.h"
#include "project_file.h"
#include "sim_text.h"

using simtext::Bytes;
using simtext::Trim;

namespace {
// The PC drops everything it holds rather than grow past this; the devices do the same.
constexpr size_t kReceiveLimit = 65535;
// Address 0 is nobody's: a device never takes it, so a run of zero bytes is never a request.
constexpr uint8_t kNoAddress = 0;

bool Starts(std::string_view text, std::string_view word) { return text.substr(0, word.size()) == word; }
}  // namespace

SimNetwork::SimNetwork(std::unique_ptr<Project> project, SimConfig config)
    : m_project(std::move(project)), m_config(std::move(config)), m_rng(m_config.seed) {
    auto add = [&](uint8_t adr, bool pd) {
        Device d;
        d.pd = pd;
        d.folder = std::make_unique<DeviceFolder>(m_config.filesDir / ((pd ? "PD" : "BC") + std::to_string(adr)));
        m_devices.emplace(adr, std::move(d));
    };
    add(m_project->settings.adr, true);
    for (int i = 0; i < m_project->bcCount; ++i)
        if (!m_devices.count(m_project->bcUnits[i].adr))
            add(m_project->bcUnits[i].adr, false);
}

SimNetwork::Output SimNetwork::feed(const uint8_t *data, size_t size, SimClock::time_point now) {
    if (m_rx.size() + size > kReceiveLimit)
        m_rx.clear();
    m_rx.insert(m_rx.end(), data, data + size);
    Output out;
    const size_t consumed = CutFrames(
        m_rx.data(), m_rx.size(), [this](uint8_t dst) { return dst != kNoAddress && isDevice(dst); },
        [&](const FrameView &f) {
            out.requests.push_back({f.dst, f.src, {f.payload, f.payload + f.length}});
            if (auto reply = handle(f.dst, f.text(), now))
                out.replies.push_back({f.src, f.dst, std::move(*reply)});
        });
    m_rx.erase(m_rx.begin(), m_rx.begin() + long(consumed));
    return out;
}

std::optional<std::vector<uint8_t>> SimNetwork::handle(uint8_t dst, std::string_view payload,
                                                       SimClock::time_point now) {
    advance(now);
    auto it = m_devices.find(dst);
    if (it == m_devices.end() || m_muted.count(dst) || it->second.rebooting)
        return std::nullopt;
    return answer(dst, it->second, payload, now);
}

bool SimNetwork::isDevice(uint8_t adr) const { return m_devices.count(adr) != 0; }

bool SimNetwork::isPd(uint8_t adr) const {
    auto it = m_devices.find(adr);
    return it != m_devices.end() && it->second.pd;
}

std::vector<uint8_t> SimNetwork::deviceAddresses() const {
    std::vector<uint8_t> out;
    for (const auto &[adr, dev] : m_devices)
        out.push_back(adr);
    return out;
}

void SimNetwork::setMuted(uint8_t adr, bool muted) {
    if (muted)
        m_muted.insert(adr);
    else
        m_muted.erase(adr);
}

bool SimNetwork::isRebooting(uint8_t adr, SimClock::time_point now) const {
    auto it = m_devices.find(adr);
    return it != m_devices.end() && it->second.rebooting && now < it->second.silentUntil;
}

void SimNetwork::advance(SimClock::time_point now) {
    // Collect first: booting a PD may move devices to other addresses.
    std::vector<uint8_t> due;
    for (auto &[adr, dev] : m_devices)
        if (dev.rebooting && now >= dev.silentUntil)
            due.push_back(adr);
    for (uint8_t adr : due) {
        auto it = m_devices.find(adr);
        if (it != m_devices.end())
            boot(it->second);
    }
}

DeviceFolder *SimNetwork::folder(uint8_t adr) {
    auto it = m_devices.find(adr);
    return it == m_devices.end() ? nullptr : it->second.folder.get();
}

std::string SimNetwork::projectText() const { return BuildProjectText(*m_project); }

std::string SimNetwork::serviceText(uint8_t adr) const {
    auto it = m_devices.find(adr);
    if (it == m_devices.end())
        return {};
    // The configurator tells a PD from a BC by the "PD/" in this text.
    const std::string version = "/1." + std::to_string(it->second.firmware);
    return (it->second.pd ? "TALVIK-PD" : "TALVIK-BC-16") + version + " adr:" + std::to_string(adr);
}

SimNetwork::Reply SimNetwork::answer(uint8_t adr, Device &dev, std::string_view p, SimClock::time_point now) {
    const bool pd = dev.pd;
    // Longer words first where one word begins another (UPLOAD_PART / UPLOAD).
    struct Command {
        std::string_view word;
        enum { Pd, Bc, Any } who;
        bool takesArgument;
    };
    static constexpr Command kCommands[] = {
        {"GETSETTING", Command::Pd, false}, {"SETSETTING", Command::Pd, true},
        {"GETDEVICE", Command::Bc, false},  {"SETDEVICE", Command::Bc, true},
        {"GETZONE", Command::Bc, true},     {"SETZONE", Command::Bc, true},
        {"GETNOTIFY", Command::Pd, true},   {"SETNOTIFY", Command::Pd, true},
        {"SERVICE", Command::Any, false},   {"UBVOLT", Command::Pd, false},
        {"ELWLVOLTS", Command::Bc, false},  {"ALVOLTS", Command::Bc, true},
        {"LIST", Command::Any, false},      {"FORMAT", Command::Any, false},
        {"DELETE", Command::Any, true},     {"REBOOT", Command::Any, false},
        {"UPLOAD_PART", Command::Any, true}, {"UPLOAD", Command::Any, true},
        {"DOWNLOAD_PART", Command::Any, false}, {"DOWNLOAD", Command::Any, true},
    };
    const Command *cmd = nullptr;
    for (const auto &c : kCommands)
        if (Starts(p, c.word)) {
            cmd = &c;
            break;
        }
    if (!cmd || (cmd->who == Command::Pd && !pd) || (cmd->who == Command::Bc && pd))
        return Bytes("ERROR_COMMAND");
    const std::string_view rest = p.substr(cmd->word.size());
    if (!cmd->takesArgument && !Trim(rest).empty())
        return Bytes("ERROR_PARAMS");

    const std::string_view w = cmd->word;
    if (w == "GETSETTING") return getSetting();
    if (w == "SETSETTING") return setSetting(adr, rest);
    if (w == "GETDEVICE") return getDevice(adr);
    if (w == "SETDEVICE") return setDevice(adr, rest);
    if (w == "GETZONE") return getZone(adr, rest);
    if (w == "SETZONE") return setZone(adr, rest);
    if (w == "GETNOTIFY") return getNotify(rest);
    if (w == "SETNOTIFY") return setNotify(rest);
    if (w == "SERVICE") return Bytes("OK_SERVICE" + serviceText(adr));
    if (w == "UBVOLT") return ubVolt(dev);
    if (w == "ELWLVOLTS") return elwlVolts(adr, dev);
    if (w == "ALVOLTS") return alVolts(adr, dev, rest);
    if (w == "LIST") return list(dev);
    if (w == "FORMAT") return format(dev);
    if (w == "DELETE") return remove(dev, rest);
    if (w == "REBOOT") return reboot(dev, now);
    if (w == "UPLOAD_PART") return uploadPart(dev, rest);
    if (w == "UPLOAD") return uploadStart(dev, rest);
    if (w == "DOWNLOAD_PART") return downloadPart(dev);
    return downloadStart(dev, rest);
}

SimNetwork::Reply SimNetwork::reboot(Device &dev, SimClock::time_point now) {
    dev.rebooting = true;
    dev.silentUntil = now + m_config.rebootSilence;
    dev.upload = {};
    dev.download = {};
    return Bytes("OK_REBOOT");
}

void SimNetwork::boot(Device &dev) {
    dev.rebooting = false;
    // A device takes a firmware image from its own disk when it starts.
    if (dev.folder->exists(dev.pd ? "pd.bin" : "bc.bin"))
        ++dev.firmware;
    std::vector<uint8_t> cfg;
    if (dev.pd && dev.folder->read("pd.cfg", cfg))
        applyNetworkFile(cfg);
}

// The PD's network file is a project file. The PD takes its own settings and the scenarios,
// and hands each BC on the bus its record and lines; units and lines for addresses that have
// no BC on the bus have nobody to take them.
void SimNetwork::applyNetworkFile(const std::vector<uint8_t> &bytes) {
    auto file = std::make_unique<Project>();
    ProjectLoadReport report;
    LoadProjectText(*file, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()), report);

    Project &net = *m_project;
    const uint8_t pdAdr = net.settings.adr;
    PdSettings settings = file->settings;
    if (settings.adr != pdAdr && !moveDevice(pdAdr, settings.adr))
        settings.adr = pdAdr;
    net.settings = settings;
    for (int n = 1; n < kNotifyCount; ++n) {
        net.notifies[n] = file->notifies[n];
        net.notifies[n].num = uint8_t(n);
    }
    for (int i = 0; i < file->bcCount; ++i) {
        const BcUnit &unit = file->bcUnits[i];
        BcUnit *mine = FindBcUnit(net, unit.adr);
        if (!mine || isPd(unit.adr))
            continue;
        *mine = unit;
        for (int prt = 1; prt <= 16; ++prt)
            DeleteAlLine(net, unit.adr, uint16_t(prt));
        for (int k = 0; k < file->alCount; ++k)
            if (file->alLines[k].adr == unit.adr)
                AppendAlLine(net, file->alLines[k]);
    }
}

bool SimNetwork::moveDevice(uint8_t from, uint8_t to) {
    if (from == to)
        return true;
    if (to == kNoAddress || to == 255 || m_devices.count(to) || !m_devices.count(from))
        return false;
    auto node = m_devices.extract(from);
    node.key() = to;
    m_devices.insert(std::move(node));
    if (m_muted.erase(from))
        m_muted.insert(to);
    return true;
}

// --- Configuration records ---------------------------------------------------------------

namespace {
template <class Rec, class BuildFn>
std::vector<uint8_t> RecordReply(std::string_view word, const Rec &r, BuildFn build) {
    char buf[kRecordBufferSize];
    const int n = build(r, buf, uint16_t(sizeof buf));
    std::vector<uint8_t> out(word.begin(), word.end());
    out.insert(out.end(), buf, buf + n);
    return out;
}

// Record parsers read a NUL-terminated text.
std::string Arg(std::string_view rest) { return std::string(rest); }
}  // namespace

SimNetwork::Reply SimNetwork::getSetting() const {
    return RecordReply("OK_GETSETTING", m_project->settings, BuildSettingRecord);
}

SimNetwork::Reply SimNetwork::setSetting(uint8_t adr, std::string_view rest) {
    PdSettings rec;
    if (!ParseSettingRecord(Arg(rest).c_str(), rec))
        return Bytes("ERROR_PARAMS");
    // A new address in the record moves the PD there, unless another device holds it.
    if (rec.adr != adr && !moveDevice(adr, rec.adr))
        return Bytes("ERROR_PARAMS");
    m_project->settings = rec;
    return Bytes("OK_SETSETTING");
}

SimNetwork::Reply SimNetwork::getDevice(uint8_t adr) const {
    const BcUnit *unit = FindBcUnit(*m_project, adr);
    if (!unit)
        return Bytes("ERROR_COMMAND");
    return RecordReply("OK_GETDEVICE", *unit, BuildDeviceRecord);
}

SimNetwork::Reply SimNetwork::setDevice(uint8_t adr, std::string_view rest) {
    BcUnit rec;
    BcUnit *unit = FindBcUnit(*m_project, adr);
    if (!unit || !ParseDeviceRecord(Arg(rest).c_str(), rec))
        return Bytes("ERROR_PARAMS");
    if (rec.adr != adr) {
        if (!moveDevice(adr, rec.adr))
            return Bytes("ERROR_PARAMS");
        MoveAlLinesToBc(*m_project, adr, rec.adr);
    }
    *unit = rec;
    return Bytes("OK_SETDEVICE");
}

SimNetwork::Reply SimNetwork::getZone(uint8_t adr, std::string_view rest) const {
    const auto prt = simtext::WholeNumber(rest);
    if (!prt || *prt < 1 || *prt > 16)
        return Bytes("ERROR_PARAMS");
    AlLine line;
    if (const AlLine *found = FindAlLine(*m_project, adr, uint16_t(*prt))) {
        line = *found;
    } else {
        // No line on this port: zone number 0 says so.
        InitZoneRecord(line);
        line.adr = adr;
        line.prt = uint8_t(*prt);
    }
    return RecordReply("OK_GETZONE", line, BuildZoneRecord);
}

SimNetwork::Reply SimNetwork::setZone(uint8_t adr, std::string_view rest) {
    AlLine rec;
    if (!ParseZoneRecord(Arg(rest).c_str(), rec) || rec.prt < 1 || rec.prt > 16)
        return Bytes("ERROR_PARAMS");
    rec.adr = adr;  // the line is on this BC, whatever the record says
    if (rec.num == 0) {
        DeleteAlLine(*m_project, adr, rec.prt);  // zone 0 clears the port
    } else if (AlLine *line = FindAlLine(*m_project, adr, rec.prt)) {
        *line = rec;
    } else if (!AppendAlLine(*m_project, rec)) {
        return Bytes("ERROR_PARAMS");
    }
    return Bytes("OK_SETZONE" + std::to_string(rec.prt));
}

SimNetwork::Reply SimNetwork::getNotify(std::string_view rest) const {
    const auto n = simtext::WholeNumber(rest);
    if (!n || *n < 1 || *n >= uint64_t(kNotifyCount))
        return Bytes("ERROR_PARAMS");
    NotifyScenario rec = m_project->notifies[*n];
    rec.num = uint8_t(*n);
    return RecordReply("OK_GETNOTIFY", rec, BuildNotifyRecord);
}

SimNetwork::Reply SimNetwork::setNotify(std::string_view rest) {
    NotifyScenario rec;
    // A record cut short (no closing brace) would leave the scenario with a broken file
    // name or the defaults of the keys that were lost: the PD refuses it whole.
    const bool complete = rest.find('}') != std::string_view::npos;
    if (!complete || !ParseNotifyRecord(Arg(rest).c_str(), rec) || rec.num < 1 || rec.num >= kNotifyCount)
        return Bytes("ERROR_PARAMS");
    m_project->notifies[rec.num] = rec;
    return Bytes("OK_SETNOTIFY");
}
