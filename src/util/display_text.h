#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

// Raised by TextToFloatDef for a text that is not a number.
struct NumberConversionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Voltage box text to number: "Нет данных" or empty gives `def`; "12.5" and "12,5" read alike.
// Text is UTF-8. Throws NumberConversionError ("'%s' is not a valid floating point value").
double TextToFloatDef(const std::string &text, double def);
// LF -> CR LF, bytes >= 0x20 kept, other control bytes -> blank.
std::string BytesToDisplayText(const uint8_t *bytes, int32_t count);
