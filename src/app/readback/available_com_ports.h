#pragma once
#include <vector>

// The COM numbers the machine offers now (new serial devices get a number on first sight).
std::vector<int> AvailableComPorts();
