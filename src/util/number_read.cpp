// Lenient number readers: they never fail. A record field with a missing value reads
// the next number further along the line, and devices rely on that.
#include <charconv>
#include <cmath>
#include <cstring>

#include "text_utils.h"

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

uint64_t TextToUInt64(const char *text) {
    if (!text)
        return 0;
    const char *p = text;
    while (*p && !IsDigit(*p))
        ++p;
    uint64_t value = 0; // unsigned arithmetic wraps at 64 bits by definition
    for (; IsDigit(*p); ++p)
        value = value * 10 + static_cast<uint64_t>(*p - '0');
    return value;
}

int64_t TextToInt64(const char *text) {
    if (!text)
        return 0;
    for (const char *p = text; *p; ++p) {
        if (*p == '-')
            return static_cast<int64_t>(0 - TextToUInt64(p + 1));
        if (IsDigit(*p))
            return static_cast<int64_t>(TextToUInt64(p));
    }
    return 0;
}

int32_t TextToInt(const char *text) {
    // Keep the low 32 bits: "-2147483648" and "4294967297" both land where a 32-bit field would.
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(TextToInt64(text))));
}

float TextToFloat(const char *text) {
    if (!text)
        return 0.0f;
    bool negative = false;
    bool signSeen = false;
    bool digitSeen = false;
    bool started = false; // a digit or the point: blanks no longer skipped
    bool inFraction = false;
    // The digits are collected exactly and converted once, to the nearest float: a text
    // such as "13.7" then comes back from FloatToText with the same digits.
    uint64_t mantissa = 0;
    int significant = 0;
    int exponent = 0;
    for (const char *p = text;; ++p) {
        char c = *p;
        if (c == '-' || c == '+') {
            if (signSeen || digitSeen) {
                negative = false;
                break;
            }
            signSeen = true;
            negative = c == '-';
        } else if (IsDigit(c)) {
            digitSeen = started = true;
            int d = c - '0';
            if (mantissa == 0 && d == 0) {
                if (inFraction)
                    --exponent;
            } else if (significant < 19) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(d);
                ++significant;
                if (inFraction)
                    --exponent;
            } else if (!inFraction) {
                ++exponent; // digits beyond what a float can tell apart only scale the value
            }
        } else if (c == '.' && !inFraction) {
            inFraction = started = true;
        } else if ((c == ' ' || c == '\t') && !started) {
            // leading blanks are skipped
        } else {
            break;
        }
    }
    float value = 0.0f;
    if (mantissa != 0) {
        // At most 19 digits, 'e' and an exponent of at most 11 characters.
        char buf[48];
        char *end = std::to_chars(buf, buf + 24, mantissa).ptr;
        end[0] = 'e';
        end = std::to_chars(end + 1, buf + sizeof buf, exponent).ptr;
        auto result = std::from_chars(buf, end, value);
        if (result.ec == std::errc::result_out_of_range)
            value = significant + exponent > 0 ? HUGE_VALF : 0.0f;
    }
    return negative ? -value : value;
}

bool TextToBool(const char *text) {
    if (!text)
        return false;
    if (std::strncmp(text, "true", 4) == 0)
        return true;
    if (std::strncmp(text, "false", 5) == 0)
        return false;
    return TextToInt(text) != 0;
}
