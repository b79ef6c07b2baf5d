#pragma once
// A simulated TALVIK network: one PD and its BC units, holding a project's records,
// scenarios, per-device files and voltages, answering request frames as the devices do.
// A plain class without threads or I/O: bytes in, reply frames out, so a test can drive it
// directly and look at its state between requests.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "device_folder.h"
#include "project.h"

using SimClock = std::chrono::steady_clock;

struct SimConfig {
    // Each device's files live in a folder of its own below this one ("PD250", "BC238").
    std::filesystem::path filesDir;
    // How long a device stays silent after REBOOT before it answers again.
    std::chrono::milliseconds rebootSilence{60000};
    // Seeds the voltage drift, so a run can be repeated.
    uint32_t seed = 1;
};

// One frame as the network saw or sent it.
struct SimFrame {
    uint8_t dst = 0;
    uint8_t src = 0;
    std::vector<uint8_t> payload;

    std::string_view text() const { return {reinterpret_cast<const char *>(payload.data()), payload.size()}; }
};

class SimNetwork {
public:
    // Takes over the project: its PD (settings.adr) and its BC units are the devices.
    SimNetwork(std::unique_ptr<Project> project, SimConfig config);

    struct Output {
        std::vector<SimFrame> requests;  // accepted frames addressed to a device
        std::vector<SimFrame> replies;   // answers, in order, each to its request's source
    };
    // Bytes from the line. Frames are cut out as the PC cuts its replies; the bytes of an
    // unfinished frame are kept for the next call.
    Output feed(const uint8_t *data, size_t size, SimClock::time_point now);
    // One request without framing; the reply payload, or nothing when the device is silent
    // (no such device, muted, or rebooting).
    std::optional<std::vector<uint8_t>> handle(uint8_t dst, std::string_view payload, SimClock::time_point now);

    bool isDevice(uint8_t adr) const;
    bool isPd(uint8_t adr) const;
    std::vector<uint8_t> deviceAddresses() const;
    // A muted device hears its requests but never answers (a dead unit on the bus).
    void setMuted(uint8_t adr, bool muted);
    // A subscriber holding the call button of a line: its ALVOLTS reply then measures the
    // line in that state (ukn, tuk) instead of at rest (uvp, tuv).
    void setButtonHeld(uint8_t bcAdr, uint16_t prt, bool held);
    // True while the device is silent after a reboot.
    bool isRebooting(uint8_t adr, SimClock::time_point now) const;
    // Finishes the reboots whose silence is over; handle() and feed() do it on their own.
    void advance(SimClock::time_point now);

    Project &project() { return *m_project; }
    const Project &project() const { return *m_project; }
    // The files of a device, or null for an address that is no device.
    DeviceFolder *folder(uint8_t adr);
    // The devices' configuration as a project file.
    std::string projectText() const;
    // The identification text a device answers SERVICE with.
    std::string serviceText(uint8_t adr) const;
    // Bytes waiting for the rest of a frame.
    size_t pendingBytes() const { return m_rx.size(); }

private:
    struct Upload {
        bool active = false;
        std::string name;       // UTF-8
        uint64_t size = 0;
        uint64_t sum = 0;
        std::vector<uint8_t> data;
    };
    struct Download {
        bool active = false;
        std::vector<uint8_t> data;
        size_t pos = 0;
    };
    struct Device {
        bool pd = false;
        std::unique_ptr<DeviceFolder> folder;
        bool rebooting = false;
        SimClock::time_point silentUntil{};
        int firmware = 0;       // bumped each time a reboot finds a firmware image
        Upload upload;
        Download download;
        std::map<int, double> drift;  // per measured channel
    };

    using Reply = std::vector<uint8_t>;
    Reply answer(uint8_t adr, Device &dev, std::string_view payload, SimClock::time_point now);
    // Configuration records.
    Reply getSetting() const;
    Reply setSetting(uint8_t adr, std::string_view rest);
    Reply getDevice(uint8_t adr) const;
    Reply setDevice(uint8_t adr, std::string_view rest);
    Reply getZone(uint8_t adr, std::string_view rest) const;
    Reply setZone(uint8_t adr, std::string_view rest);
    Reply getNotify(std::string_view rest) const;
    Reply setNotify(std::string_view rest);
    // Voltages.
    Reply ubVolt(Device &dev);
    Reply elwlVolts(uint8_t adr, Device &dev);
    Reply alVolts(uint8_t adr, Device &dev, std::string_view rest);
    double measure(Device &dev, int channel, double base);
    // Files.
    Reply list(Device &dev) const;
    Reply format(Device &dev);
    Reply remove(Device &dev, std::string_view rest);
    Reply uploadStart(Device &dev, std::string_view rest);
    Reply uploadPart(Device &dev, std::string_view data);
    Reply downloadStart(Device &dev, std::string_view rest);
    Reply downloadPart(Device &dev);
    Reply reboot(Device &dev, SimClock::time_point now);
    void boot(Device &dev);
    void applyNetworkFile(const std::vector<uint8_t> &bytes);
    bool moveDevice(uint8_t from, uint8_t to);

    std::unique_ptr<Project> m_project;
    SimConfig m_config;
    std::map<uint8_t, Device> m_devices;
    std::set<uint8_t> m_muted;
    std::set<std::pair<uint8_t, uint16_t>> m_buttonHeld;
    std::vector<uint8_t> m_rx;
    std::mt19937 m_rng;
};
