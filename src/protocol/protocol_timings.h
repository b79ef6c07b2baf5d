#pragma once
// Every interval of the command exchange and the AL sweep in one place, so tests can
// run the same logic with shrunk times while one test keeps the real ones.

struct ProtocolTimings {
    // A request is sent at 0 s, 2.5 s and 5 s; the failure line follows at 7.5 s.
    int repeatIntervalMs = 2500;
    int repeatTransmissions = 3;
    // One GETZONE every 500 ms: a BC answers well within that at any bus speed, and the
    // requests never pile up in its receive queue.
    int sweepIntervalMs = 500;
    // Device file manager: its own repeats, apart from the main window's, at the same pace
    // (0 s, 2.5 s, 5 s, then "Нет ответа от устройства" at 7.5 s).
    int fileRepeatIntervalMs = 2500;
    int fileRepeatTransmissions = 3;
    // A part whose reply is lost goes again up to three times, 1 s apart: at 19200 bit/s a
    // full part and its reply take about 0.27 s, so a reply later than 1 s is not coming.
    int uploadPartResendMs = 1000;
    int uploadPartResends = 3;
    // A wait counts whole seconds down on its panel, one tick each; tests shrink the tick,
    // the panel still counts the same seconds.
    int fileWaitTickMs = 1000;
    // The device needs a moment to settle its directory before it lists it again, and a
    // full minute to come back from a reboot.
    int fileListAfterDeleteMs = 2000;
    int fileListAfterChangeMs = 5000; // after an upload, a download or a format
    int fileRebootWaitMs = 60000;
    // Scanner and voltage windows: one SERVICE probe a second gives every device on the
    // bus time to answer before the next address is asked, so replies never overlap;
    // the voltage windows ask once a second, as often as the devices measure anew.
    int scanIntervalMs = 1000;
    int voltagePollMs = 1000;
    // After its device vanished, the port looks for it to come back once a second: one stat
    // of the COM link's target, and an adapter plugged in again is in use within a second.
    int portReturnCheckMs = 1000;

    // Writing the project into the network: one configuration command a second, sent once
    // and never awaited. A BC needs that long to store a record in its flash before it
    // takes the next; the last command is followed by one more pause before "pd.cfg" goes.
    int networkWriteIntervalMs = 1000;
    // Checking the network against the project: one request every 500 ms, as the sweep
    // paces GETZONE, so a BC's receive queue never fills while its 16 ports are read.
    int checkIntervalMs = 500;
};

inline constexpr ProtocolTimings kRealTimings{};
