#include "tick_source.h"

#include <chrono>

uint32_t SystemTicks() {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

uint32_t ElapsedTicks(uint32_t start, uint32_t now) {
    if (now >= start)
        return now - start;
    return now + (UINT32_MAX - start);
}
