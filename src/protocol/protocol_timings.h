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
    // Checking the network against the project: one request every 500 ms, as the sweep
    // paces GETZONE, so a BC's receive queue never fills while its 16 ports are read.
    int checkIntervalMs = 500;
};

inline constexpr ProtocolTimings kRealTimings{};
