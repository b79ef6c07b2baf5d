#pragma once
#include <QString>

#include <string>
#include <vector>

// The COM numbers the machine offers now (new serial devices get a number on first sight).
std::vector<int> AvailableComPorts();
// What each of `ports` is, for the list of the COM dialog: the adapter's by-id name, the
// simulator's pseudo-terminal or the device path, and whether it is plugged in.
std::vector<QString> ComPortDescriptions(const std::vector<int> &ports);
// The same for one port's link target as it was made ("" without a link).
QString DescribeComTarget(const std::string &target, bool present);
