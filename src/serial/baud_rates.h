#pragma once
// The 15 bit rates a TCommPort can run at, in the order of its rate index (TBaudRate).
// The one table shared by the component, the settings file and the COM settings dialog.

// 110 -> 0, 300 -> 1 ... 19200 -> 8 ... 256000 -> 14; -1 for any other rate.
int BaudRateIndexOf(int bitsPerSecond);
// The bit rate of a rate index; 0 for an index outside 0..14.
int BitsPerSecondOf(int rateIndex);
