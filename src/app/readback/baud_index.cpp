#include "baud_index.h"

#include "baud_rates.h"

int BaudIndexFromSpeed(int speed, int defaultIndex) {
    const int i = BaudRateIndexOf(speed);
    return i >= 0 ? i : defaultIndex;
}
