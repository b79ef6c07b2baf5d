#include "file_version.h"

#include <array>
#include <fstream>
#include <iterator>
#include <string_view>

#include "version_stamp.h"

namespace {
// The marker is kept here only in scrambled form: were it stored plainly, scanning
// this very program would meet the search pattern before the real stamp.
constexpr char kScramble = 0x5A;
constexpr size_t kMagicLength = sizeof(TALVIK_VERSION_MAGIC) - 1;

consteval std::array<char, kMagicLength> ScrambledMagic() {
    std::array<char, kMagicLength> out{};
    constexpr char plain[] = TALVIK_VERSION_MAGIC;
    for (size_t i = 0; i < kMagicLength; ++i)
        out[i] = static_cast<char>(plain[i] ^ kScramble);
    return out;
}

// "1.0.0.1" then NUL: four decimal numbers of at most 65535.
bool ReadNumbers(std::string_view text, FileVersion &out) {
    uint16_t numbers[4];
    size_t i = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (i >= text.size() || text[i] != '.')
                return false;
            ++i;
        }
        uint32_t value = 0;
        size_t digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 6; ++i, ++digits)
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
        if (digits == 0 || value > 0xFFFF)
            return false;
        numbers[n] = static_cast<uint16_t>(value);
    }
    if (i >= text.size() || text[i] != '\0')
        return false;
    out.major = numbers[0];
    out.minor = numbers[1];
    out.release = numbers[2];
    out.build = numbers[3];
    return true;
}
} // namespace

bool GetFileVersion(const std::string &path, FileVersion &out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty())
        return false;
    static constexpr auto scrambled = ScrambledMagic();
    std::string magic(kMagicLength, '\0');
    for (size_t i = 0; i < kMagicLength; ++i)
        magic[i] = static_cast<char>(scrambled[i] ^ kScramble);

    std::string_view all(bytes);
    for (size_t at = all.find(magic); at != std::string_view::npos; at = all.find(magic, at + 1)) {
        if (ReadNumbers(all.substr(at + kMagicLength), out))
            return true;
    }
    return false;
}
