#pragma once
// Every wait of the serial component that is a number of milliseconds, in one place so
// tests can shrink them.
struct SerialTimings {
    // How often the status thread looks at the modem lines of a driver that has them
    // (there is no wake-up for line changes that works on every driver). 20 looks per second
    // cost a few microseconds each.
    int modemPollMs = 50;
    // While closing, how long the writer waits for a live device that takes no bytes at all
    // (a far end that stopped reading) before it drops the rest instead of hanging the UI.
    int closeStallMs = 1000;
    // How often a writer blocked on a full driver queue looks at its stop request.
    int writeWaitMs = 100;
    // While closing, the longest wait for the driver's output queue to empty even while it
    // shrinks: 2 s send 3.8 kB at 19200 bit/s, far more than any queued frame. The rest is purged.
    int closeDrainMs = 2000;
};

SerialTimings &Timings();
