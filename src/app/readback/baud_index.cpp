#include "baud_index.h"

#include <iterator>

int BaudIndexFromSpeed(int speed, int defaultIndex) {
    static constexpr int kRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int i = 0; i < int(std::size(kRates)); ++i)
        if (kRates[i] == speed)
            return i;
    return defaultIndex;
}
