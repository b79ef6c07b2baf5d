#include "value_rules.h"

#include <cstring>

#include "app_texts.h"
#include "text_utils.h"

int ClampIntText(const std::string &text, int min, int max) {
    const int32_t v = TextToInt(text.c_str());
    if (v > max)
        return max;
    if (v < min)
        return min;
    return v;
}

float ClampFloatText(const std::string &text, float max, float min) {
    // Russian keyboards type a decimal comma: "1,5" is 1.5 here, while record texts
    // (read elsewhere) keep the point.
    std::string point = text;
    if (const size_t comma = point.find(','); comma != std::string::npos)
        point[comma] = '.';
    const float v = TextToFloat(point.c_str());
    if (v > max)
        return max;
    if (v < min)
        return min;
    return v;
}

bool ChoiceIs(const std::string &text, const char *item) {
    return text == item;
}

uint8_t EchoTypeFromText(const std::string &text) {
    if (text == kEchoSpeaker)
        return 1;
    if (text == kEchoMic)
        return 2;
    return 0;
}

const char *EchoTypeText(uint8_t etp) {
    switch (etp) {
    case 1:
        return kEchoSpeaker;
    case 2:
        return kEchoMic;
    default:
        return kEchoOff;
    }
}

bool StoreName(char *field, size_t capacity, const std::string &utf8) {
    char cut[256];
    const size_t size = capacity < sizeof cut ? capacity : sizeof cut;
    CopyTextUtf8(cut, size, utf8.c_str());
    BlankControlBytes(cut);
    if (std::strcmp(cut, field) == 0)
        return false;
    std::memcpy(field, cut, std::strlen(cut) + 1);
    return true;
}
