#include "baud_rates.h"

#include <iterator>

namespace {
constexpr int kBaudRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                              19200, 38400, 56000, 57600, 115200, 128000, 256000};
}

int BaudRateIndexOf(int bitsPerSecond) {
    for (int i = 0; i < int(std::size(kBaudRates)); ++i)
        if (kBaudRates[i] == bitsPerSecond)
            return i;
    return -1;
}

int BitsPerSecondOf(int rateIndex) {
    return rateIndex >= 0 && rateIndex < int(std::size(kBaudRates)) ? kBaudRates[rateIndex] : 0;
}
