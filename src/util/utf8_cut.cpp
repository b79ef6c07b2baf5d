#include <cstring>

#include "text_utils.h"

namespace {
bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Bytes of the sequence a lead byte announces; 1 for ASCII and for bytes that lead nothing.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}
} // namespace

size_t Utf8CutLength(const char *text, size_t length, size_t maxBytes) {
    if (!text)
        return 0;
    if (length <= maxBytes)
        return length;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text);
    // Walk back at most three bytes to the lead byte of the character the cut falls into.
    size_t lead = maxBytes;
    for (int steps = 0; steps < 3 && lead > 0 && IsContinuation(bytes[lead]); ++steps)
        --lead;
    if (lead == maxBytes || IsContinuation(bytes[lead]))
        return maxBytes; // the cut is at a boundary, or the bytes are no valid UTF-8 anyway
    // A stray continuation byte behind a complete character is no reason to cut earlier.
    return lead + SequenceLength(bytes[lead]) > maxBytes ? lead : maxBytes;
}

void CopyTextUtf8(char *dst, size_t dstSize, const char *src) {
    if (!dst || !src || dstSize == 0)
        return;
    CopyBytes(dst, dstSize, src, Utf8CutLength(src, std::strlen(src), dstSize - 1));
}
