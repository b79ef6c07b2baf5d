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
    // Writing the project into the network: one configuration command a second, sent once
    // and never awaited. A BC needs that long to store a record in its flash before it
    // takes the next; the last command is followed by one more pause before "pd.cfg" goes.
    int networkWriteIntervalMs = 1000;
};

inline constexpr ProtocolTimings kRealTimings{};
