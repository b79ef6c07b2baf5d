#include "serial_timings.h"

SerialTimings &Timings() {
    static SerialTimings timings;
    return timings;
}
