// Number-to-text conversions into a ring of ten buffers, so one formatted line can hold
// several converted numbers at once without allocating. Each thread has its own ring: the
// simulator builds record texts on its line thread while the program's UI thread does the same.
#include <charconv>
#include <cmath>
#include <cstring>

#include "text_utils.h"

namespace {
// 64 bytes rather than 34: the largest float with nine decimals, -3.4e38, needs 50.
constexpr int kRingSize = 10;
constexpr size_t kSlotSize = 64;
thread_local char g_ring[kRingSize][kSlotSize];
thread_local int g_slot = 0;

char *NextSlot() {
    g_slot = (g_slot + 1) % kRingSize;
    return g_ring[g_slot];
}
} // namespace

const char *IntToText(int32_t v) {
    char *out = NextSlot();
    *std::to_chars(out, out + kSlotSize - 1, v).ptr = '\0';
    return out;
}

const char *UInt64ToText(uint64_t v) {
    char *out = NextSlot();
    *std::to_chars(out, out + kSlotSize - 1, v).ptr = '\0';
    return out;
}

const char *FloatToText(float x, int decimals) {
    char *out = NextSlot();
    if (decimals < 0)
        decimals = 0;
    if (decimals > 9)
        decimals = 9;
    if (std::isnan(x)) {
        std::strcpy(out, "nan");
        return out;
    }
    bool negative = !(x >= 0.0f);
    float magnitude = std::fabs(x); // also turns -0.0 into 0.0
    if (std::isinf(magnitude)) {
        std::strcpy(out, negative ? "-inf" : "inf");
        return out;
    }
    // The shortest decimal text that reads back as this float, then cut (not rounded)
    // to the wanted decimals: 13.7f is "13.7" here, where repeated x10 of the binary
    // fraction would give "13.6". The longest such text (a denormal) is under 60 bytes.
    char digits[128];
    char *end = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed).ptr;
    const char *point = static_cast<const char *>(std::memchr(digits, '.', static_cast<size_t>(end - digits)));
    const char *intEnd = point ? point : end;

    char *w = out;
    if (negative)
        *w++ = '-';
    char *firstDigit = w;
    for (const char *p = digits; p < intEnd; ++p)
        *w++ = *p;
    if (decimals > 0) {
        *w++ = '.';
        const char *frac = point ? point + 1 : end;
        for (int i = 0; i < decimals; ++i)
            *w++ = frac < end ? *frac++ : '0';
    }
    *w = '\0';
    // -0.04 cut to one decimal is zero: write "0.0", which reads back as the same text.
    if (negative && std::strspn(firstDigit, "0.") == static_cast<size_t>(w - firstDigit))
        std::memmove(out, firstDigit, static_cast<size_t>(w - firstDigit) + 1);
    return out;
}

const char *BoolToText(bool b) {
    return b ? "true" : "false";
}
