#pragma once
// The serial component's rate index for a bit rate: the one table the settings file
// reader and the COM settings dialog share.

// 110 -> 0, 300 -> 1 ... 19200 -> 8 ... 256000 -> 14; any rate outside the table gives
// `defaultIndex` (a hand-typed 12345 must still leave the port at a usable rate).
int BaudIndexFromSpeed(int speed, int defaultIndex);
