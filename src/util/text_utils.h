#pragma once
// Byte-exact helpers on zero-terminated texts and (start, length) ranges.
// A null pointer is "none": operations given none do nothing or return none/false/0.
// Nothing here allocates; number-to-text results live in a ring of ten buffers.
#include <cstddef>
#include <cstdint>

void CopyBytes(char *dst, size_t dstSize, const char *src, size_t n);
void CopyText(char *dst, size_t dstSize, const char *src);
// Like CopyText, but never leaves a broken UTF-8 sequence at the cut.
void CopyTextUtf8(char *dst, size_t dstSize, const char *src);
// Length of the longest prefix of `text` (of `length` bytes) that fits `maxBytes`
// without cutting a UTF-8 character in two.
size_t Utf8CutLength(const char *text, size_t length, size_t maxBytes);

const char *FindText(const char *start, size_t length, const char *pattern);
const char *FindAfter(const char *start, size_t length, const char *key);
bool StartsWith(const char *start, size_t length, const char *prefix);
// Shortens `text` in place behind its last non-blank byte (<= 0x20 is blank);
// returns its first non-blank byte, or none when only blanks remain.
char *TrimText(char *text);
// Replaces every control byte (below 0x20, and DEL) with a blank, in place: a name holding
// CR or LF would end its record's line in a file.
void BlankControlBytes(char *text);

int32_t TextToInt(const char *text);
int64_t TextToInt64(const char *text);
uint64_t TextToUInt64(const char *text);
float TextToFloat(const char *text);
bool TextToBool(const char *text);

// Results live in the conversion ring: valid until ten further conversions.
const char *IntToText(int32_t v);
const char *UInt64ToText(uint64_t v);
// Digits are cut, never rounded (12.99 -> "12.9"), and a value read from text
// with that many decimals is written back with the same digits ("13.7" -> "13.7").
const char *FloatToText(float x, int decimals = 1);
const char *BoolToText(bool b);
