#include "display_text.h"

#include <charconv>

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::string Trimmed(const std::string &text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number with ',' as its separator: sign, digits, at most one comma, an optional
// exponent. The whole text must be the number.
bool ParseCommaDecimal(const std::string &text, double &value) {
    size_t i = 0;
    std::string plain;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, digits = true)
        plain += text[i];
    if (i < text.size() && text[i] == ',') {
        plain += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i, digits = true)
            plain += text[i];
    }
    if (!digits)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        bool expDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i, expDigits = true)
            plain += text[i];
        if (!expDigits)
            return false;
    }
    if (i != text.size())
        return false;
    auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return result.ec == std::errc() && result.ptr == plain.data() + plain.size();
}
} // namespace

double TextToFloatDef(const std::string &text, double def) {
    std::string t = Trimmed(text);
    // What the voltage boxes show until a measurement arrives.
    if (t.empty() || t == "Нет данных")
        return def;
    for (char &c : t)
        if (c == '.')
            c = ',';
    t = Trimmed(t);
    double value = 0;
    if (!ParseCommaDecimal(t, value))
        throw NumberConversionError("'" + t + "' is not a valid floating point value");
    return value;
}

std::string BytesToDisplayText(const uint8_t *bytes, int32_t count) {
    std::string out;
    if (!bytes || count <= 0)
        return out;
    out.reserve(static_cast<size_t>(count) + static_cast<size_t>(count) / 8);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t b = bytes[i];
        if (b == 0x0A)
            out += "\r\n";
        else if (b >= 0x20)
            out += static_cast<char>(b);
        else
            out += ' ';
    }
    return out;
}
