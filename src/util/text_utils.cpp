#include "text_utils.h"

#include <cstring>

void CopyBytes(char *dst, size_t dstSize, const char *src, size_t n) {
    if (!dst || !src || dstSize == 0)
        return;
    size_t count = n < dstSize - 1 ? n : dstSize - 1;
    // memmove: a caller may copy a field onto itself after trimming it.
    std::memmove(dst, src, count);
    dst[count] = '\0';
}

void CopyText(char *dst, size_t dstSize, const char *src) {
    if (!src)
        return;
    CopyBytes(dst, dstSize, src, std::strlen(src));
}

const char *FindText(const char *start, size_t length, const char *pattern) {
    if (!start || !pattern || length == 0)
        return nullptr;
    size_t patternLength = std::strlen(pattern);
    if (patternLength == 0 || patternLength > length)
        return nullptr;
    // Look for the first byte with memchr and compare the rest: a project of 65536
    // lines runs some fifteen lookups per line, so this loop decides the load time.
    const char *last = start + (length - patternLength);
    const char *p = start;
    while (p <= last) {
        const void *hit = std::memchr(p, pattern[0], static_cast<size_t>(last - p) + 1);
        if (!hit)
            return nullptr;
        p = static_cast<const char *>(hit);
        if (std::memcmp(p + 1, pattern + 1, patternLength - 1) == 0)
            return p;
        ++p;
    }
    return nullptr;
}

const char *FindAfter(const char *start, size_t length, const char *key) {
    const char *p = FindText(start, length, key);
    return p ? p + std::strlen(key) : nullptr;
}

bool StartsWith(const char *start, size_t length, const char *prefix) {
    if (!start || !prefix || length == 0)
        return false;
    size_t prefixLength = std::strlen(prefix);
    if (prefixLength == 0 || length < prefixLength)
        return false;
    return std::memcmp(start, prefix, prefixLength) == 0;
}

void BlankControlBytes(char *text) {
    if (!text)
        return;
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) < 0x20 || *text == 0x7F)
            *text = ' ';
}

char *TrimText(char *text) {
    if (!text)
        return nullptr;
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    char *first = text;
    while (*first && isBlank(*first))
        ++first;
    if (!*first)
        return nullptr;
    char *end = first + std::strlen(first);
    while (end > first && isBlank(end[-1]))
        --end;
    *end = '\0';
    return first;
}
