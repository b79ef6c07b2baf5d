#pragma once
// The system's millisecond tick counter as a 32-bit value that wraps after ~49.7 days.
// Injectable so a test can start it just below the wrap.
#include <cstdint>
#include <functional>

using TickSource = std::function<uint32_t()>;

// Milliseconds since an arbitrary start, low 32 bits.
uint32_t SystemTicks();

// Elapsed ticks between two readings: now - start, or, once the counter has wrapped,
// now + (2^32 - 1 - start), the counter's own reckoning (one tick short of the
// modular difference, which is harmless for waits of seconds).
uint32_t ElapsedTicks(uint32_t start, uint32_t now);
