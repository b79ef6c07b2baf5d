#pragma once
// Bit rates outside the B-constants of <termios.h> (14400, 56000, 128000, 256000 among ours)
// can only be set on Linux through struct termios2 with BOTHER. Its kernel header defines
// its own struct termios, which clashes with the C library's, so the calls live in a
// translation unit of their own behind these plain-int functions.

// Sets both directions of the open tty `fd` to `baud` bit/s; false when the driver refuses.
bool SetArbitraryBaud(int fd, int baud);
// The output rate the driver holds for `fd`, or -1.
int GetArbitraryBaud(int fd);
