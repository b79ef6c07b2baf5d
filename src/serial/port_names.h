#pragma once
// COM numbers on Linux: COM<N> is a symlink in PortsDir() (beside the settings file);
// without a link, N opens /dev/ttyS<N-1>. A number stays with its device because the
// link is made once, the first time the device is seen.
#include <filesystem>
#include <string>
#include <vector>

// The device path COM number `n` opens (the link's target resolved), or "" for n < 1.
std::string ComDevicePath(int n, const std::filesystem::path &portsDir);
// The target of link COM<N> as it was made (a /dev/serial/by-id/ path, a pseudo-
// terminal), not resolved; "" without a link.
std::string ComLinkTarget(int n, const std::filesystem::path &portsDir);
// Gives every serial device found in sysfs (USB adapters through /dev/serial/by-id,
// on-board UARTs with real hardware) a link with the lowest free number the first time,
// then returns the numbers of all links, ascending.
std::vector<int> ListComPorts(const std::filesystem::path &portsDir);
// Links `target` as COM<N>: `preferred` when it is >= 1 and free, else the lowest free number.
// Returns N, or -1 when the link cannot be made.
int RegisterComLink(const std::filesystem::path &portsDir, const std::string &target, int preferred = -1);
bool RemoveComLink(const std::filesystem::path &portsDir, int n);
