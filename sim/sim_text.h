#pragma once
// Small readers for request arguments. Devices are strict about numbers: an argument that
// is not a plain decimal number is a malformed request, not a 0.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simtext {

inline std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}

// The whole (trimmed) text as an unsigned decimal number; nothing for anything else.
inline std::optional<uint64_t> WholeNumber(std::string_view s) {
    s = Trim(s);
    if (s.empty() || s.size() > 18)
        return std::nullopt;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + uint64_t(c - '0');
    }
    return v;
}

// The digits right behind `key` ("size:123 crc:..." -> 123); nothing when the key is
// missing or no digit follows it.
inline std::optional<uint64_t> NumberAfter(std::string_view text, std::string_view key) {
    const size_t at = text.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = text.substr(at + key.size());
    size_t n = 0;
    while (n < rest.size() && n < 18 && rest[n] >= '0' && rest[n] <= '9')
        ++n;
    if (n == 0)
        return std::nullopt;
    return WholeNumber(rest.substr(0, n));
}

}  // namespace simtext
