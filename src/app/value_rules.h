#pragma once
// Lenient readers of what the user typed: numbers are read as far as they go and
// limited to their range, choices are compared letter for letter. No widgets here.
#include <cstddef>
#include <cstdint>
#include <string>

#include "baud_index.h" // BaudIndexFromSpeed

// The first whole number in the text (0 without one), limited to min..max.
int ClampIntText(const std::string &text, int min, int max);
// The leading decimal number (0 without one), its decimal separator a point or a comma,
// in single precision, limited to min..max.
// The maximum comes first, as every caller names the ceiling first.
float ClampFloatText(const std::string &text, float max, float min);

// True only for the exact item: "ведущий" typed in lower case is not "Ведущий".
bool ChoiceIs(const std::string &text, const char *item);

// Echo type: "Динамик" -> 1, "Микрофон" -> 2, anything else -> 0, and back.
uint8_t EchoTypeFromText(const std::string &text);
const char *EchoTypeText(uint8_t etp);
// Echo times live in signed 16-bit fields: 32767 keeps the record text non-negative.
constexpr int kEchoTimeMax = 32767;

// Stores a UTF-8 name into a fixed field of `capacity` bytes (with its NUL), cut at a
// character boundary. Returns whether the stored bytes changed.
bool StoreName(char *field, size_t capacity, const std::string &utf8);
