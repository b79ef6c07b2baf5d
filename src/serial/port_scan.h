#pragma once
// The sysfs walk behind ListComPorts, with its roots as parameters so a test can
// hand it a made-up /sys/class/tty and /dev/serial/by-id.
#include <filesystem>
#include <string>
#include <vector>

// Device paths of the serial ports with real hardware under `sysClassTty`:
// USB adapters (ttyUSB*, ttyACM*) as their stable by-id link when one exists,
// on-board UARTs whose sysfs `type` is not 0 (an unprobed 8250 slot reads 0).
std::vector<std::string> FindSerialDevices(const std::filesystem::path &sysClassTty,
                                           const std::filesystem::path &devDir,
                                           const std::filesystem::path &byIdDir);

// ListComPorts with the roots given: registers every device not yet linked, returns all numbers.
std::vector<int> ListComPortsIn(const std::filesystem::path &portsDir, const std::filesystem::path &sysClassTty,
                                const std::filesystem::path &devDir, const std::filesystem::path &byIdDir);
