#include "date_time.h"

#include <cstdio>
#include <cstring>

#include "text_utils.h"

const char *DateTimeToText(const PackedDateTime &dt) {
    // Shared by every call of one thread: callers copy the text before converting the next date.
    thread_local char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", dt.year, dt.month, dt.day, dt.hour, dt.minute);
    return buffer;
}

namespace {
// Behind the next `separator` in `from`, or none; none in gives none out.
const char *After(const char *from, const char *separator) {
    if (!from)
        return nullptr;
    return FindAfter(from, std::strlen(from), separator);
}
} // namespace

PackedDateTime TextToDateTime(const char *text) {
    PackedDateTime dt;
    if (!text)
        return dt;
    // No range checks: the fields keep the low bits of whatever number stands there.
    dt.year = static_cast<uint16_t>(TextToInt(text));
    const char *p = After(text, "-");
    if (!p)
        return dt;
    dt.month = static_cast<uint8_t>(TextToInt(p));
    if (!(p = After(p, "-")))
        return dt;
    dt.day = static_cast<uint8_t>(TextToInt(p));
    if (!(p = After(p, " ")))
        return dt;
    dt.hour = static_cast<uint8_t>(TextToInt(p));
    if (!(p = After(p, ":")))
        return dt;
    dt.minute = static_cast<uint8_t>(TextToInt(p));
    if (!(p = After(p, ":")))
        return dt;
    dt.second = static_cast<uint8_t>(TextToInt(p));
    return dt;
}
