#include "linux_termios2.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SetArbitraryBaud(int fd, int baud) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = speed_t(baud);
    t.c_ospeed = speed_t(baud);
    return ioctl(fd, TCSETS2, &t) == 0;
}

int GetArbitraryBaud(int fd) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return -1;
    return int(t.c_ospeed);
}
