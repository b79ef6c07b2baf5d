#pragma once
#include <cstdint>

struct PackedDateTime {
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
};

// "YYYY-MM-DD hh:mm" in one shared buffer, overwritten by the next call.
const char *DateTimeToText(const PackedDateTime &dt);
PackedDateTime TextToDateTime(const char *text);
