#pragma once
// LineSettings -> struct termios, kept pure so the flags can be checked without a device
// (a pseudo-terminal forces 8 data bits and no parity whatever it is told).
#include "serial_device.h"

#include <termios.h>

// Changes the frame, flow-control and rate fields of `t` to `s`; leaves raw mode alone.
// Returns false when the rate has no B-constant and must be set through termios2.
bool ApplyToTermios(const LineSettings &s, termios &t);
