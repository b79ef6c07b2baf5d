#include "termios_settings.h"

namespace {

speed_t StandardSpeed(int baud) {
    switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0; // not a B-constant: set through termios2
    }
}

tcflag_t DataBitsFlag(int bits) {
    switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

} // namespace

bool ApplyToTermios(const LineSettings &s, termios &t) {
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= DataBitsFlag(s.dataBits) | CLOCAL | CREAD;
    switch (s.parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // With 5 data bits the UART sends 1.5 stop bits for CSTOPB.
    if (s.stopBits != 0)
        t.c_cflag |= CSTOPB;
    // Parity is generated but never checked, and the input is never altered.
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY | INPCK | ISTRIP | PARMRK);
    if (s.control == 1)
        t.c_iflag |= IXON | IXOFF;
    if (s.control == 2)
        t.c_cflag |= CRTSCTS;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    const speed_t speed = StandardSpeed(s.baud);
    if (speed != B0) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    return speed != B0;
}
