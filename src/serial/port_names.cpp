#include "port_names.h"

#include "port_scan.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const std::string kPrefix = "COM";

fs::path LinkPath(const fs::path &portsDir, int n) {
    return portsDir / (kPrefix + std::to_string(n));
}

// "COM12" -> 12; anything else -> -1.
int LinkNumber(const std::string &name) {
    if (name.size() <= kPrefix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0)
        return -1;
    int n = 0;
    for (size_t i = kPrefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 99999)
            return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n >= 1 ? n : -1;
}

bool IsLink(const fs::path &p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

// The link's target with relative targets taken from the ports folder and the result
// canonicalised, so two names of one device compare equal.
std::string ResolveLink(const fs::path &link) {
    std::error_code ec;
    fs::path target = fs::read_symlink(link, ec);
    if (ec)
        return {};
    if (target.is_relative())
        target = link.parent_path() / target;
    fs::path canon = fs::weakly_canonical(target, ec);
    return (ec ? target : canon).string();
}

std::set<int> LinkNumbers(const fs::path &portsDir) {
    std::set<int> numbers;
    std::error_code ec;
    for (fs::directory_iterator it(portsDir, ec), end; !ec && it != end; it.increment(ec)) {
        int n = LinkNumber(it->path().filename().string());
        if (n >= 1 && IsLink(it->path()))
            numbers.insert(n);
    }
    return numbers;
}

std::string ReadFirstLine(const fs::path &file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

bool StartsWith(const std::string &s, const char *prefix) {
    return s.rfind(prefix, 0) == 0;
}

} // namespace

std::string ComDevicePath(int n, const fs::path &portsDir) {
    if (n < 1)
        return {};
    fs::path link = LinkPath(portsDir, n);
    if (IsLink(link))
        return ResolveLink(link);
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string ComLinkTarget(int n, const fs::path &portsDir) {
    std::error_code ec;
    const fs::path target = fs::read_symlink(LinkPath(portsDir, n), ec);
    return ec ? std::string() : target.string();
}

int RegisterComLink(const fs::path &portsDir, const std::string &target, int preferred) {
    std::error_code ec;
    fs::create_directories(portsDir, ec);
    if (preferred >= 1) {
        fs::create_symlink(target, LinkPath(portsDir, preferred), ec);
        if (!ec)
            return preferred;
    }
    // Another process may take a number between our look and our link: the failed
    // create_symlink then simply moves us on to the next number.
    for (int n = 1; n < 100000; ++n) {
        if (IsLink(LinkPath(portsDir, n)) || fs::exists(LinkPath(portsDir, n), ec))
            continue;
        fs::create_symlink(target, LinkPath(portsDir, n), ec);
        if (!ec)
            return n;
        if (ec != std::errc::file_exists)
            return -1;
    }
    return -1;
}

bool RemoveComLink(const fs::path &portsDir, int n) {
    if (n < 1 || !IsLink(LinkPath(portsDir, n)))
        return false;
    std::error_code ec;
    return fs::remove(LinkPath(portsDir, n), ec);
}

std::vector<std::string> FindSerialDevices(const fs::path &sysClassTty, const fs::path &devDir,
                                           const fs::path &byIdDir) {
    std::error_code ec;
    // by-id links point at ../../ttyUSB0; map the kernel name to the stable link.
    std::vector<std::pair<std::string, std::string>> byId; // kernel name, link path
    for (fs::directory_iterator it(byIdDir, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path target = fs::read_symlink(it->path(), ec);
        if (ec) {
            ec.clear();
            continue;
        }
        byId.emplace_back(target.filename().string(), it->path().string());
    }
    std::sort(byId.begin(), byId.end());
    ec.clear();

    std::vector<std::string> names;
    for (fs::directory_iterator it(sysClassTty, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());

    std::vector<std::string> devices;
    for (const std::string &name : names) {
        fs::path entry = sysClassTty / name;
        std::error_code e2;
        // Virtual terminals, ptmx and the console have no device behind them.
        if (!fs::exists(entry / "device", e2))
            continue;
        if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM")) {
            auto hit = std::find_if(byId.begin(), byId.end(), [&](const auto &p) { return p.first == name; });
            devices.push_back(hit != byId.end() ? hit->second : (devDir / name).string());
        } else if (StartsWith(name, "ttyS")) {
            // The 8250 driver registers ttyS0..31 whether or not a UART answers; type 0 means none did.
            std::string type = ReadFirstLine(entry / "type");
            if (!type.empty() && type != "0")
                devices.push_back((devDir / name).string());
        } else {
            devices.push_back((devDir / name).string()); // ttyAMA, ttymxc, ... on boards
        }
    }
    return devices;
}

std::vector<int> ListComPortsIn(const fs::path &portsDir, const fs::path &sysClassTty, const fs::path &devDir,
                                const fs::path &byIdDir) {
    std::set<std::string> linked;
    for (int n : LinkNumbers(portsDir))
        linked.insert(ResolveLink(LinkPath(portsDir, n)));
    for (const std::string &device : FindSerialDevices(sysClassTty, devDir, byIdDir)) {
        std::error_code ec;
        fs::path canon = fs::weakly_canonical(device, ec);
        std::string key = ec ? device : canon.string();
        if (linked.count(key))
            continue;
        if (RegisterComLink(portsDir, device) >= 1)
            linked.insert(key);
    }
    std::set<int> numbers = LinkNumbers(portsDir);
    return {numbers.begin(), numbers.end()};
}

std::vector<int> ListComPorts(const fs::path &portsDir) {
    return ListComPortsIn(portsDir, "/sys/class/tty", "/dev", "/dev/serial/by-id");
}
