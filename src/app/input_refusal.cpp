#include "input_refusal.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string Trimmed(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The whole text as an integer; false for anything else, so "12abc" is not 12 here.
bool WholeNumber(const std::string &text, long &value) {
    const std::string t = Trimmed(text);
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i >= t.size() || t.size() - i > 9)
        return false;
    for (size_t k = i; k < t.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(t[k])))
            return false;
    value = std::strtol(t.c_str(), nullptr, 10);
    return true;
}

bool DecimalNumber(const std::string &text, double &value) {
    std::string t = Trimmed(text);
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    bool digits = false, separator = false;
    for (size_t k = i; k < t.size(); ++k) {
        if (std::isdigit(static_cast<unsigned char>(t[k]))) {
            digits = true;
        } else if ((t[k] == '.' || t[k] == ',') && !separator) {
            separator = true;
            t[k] = '.';
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    value = std::strtod(t.c_str(), nullptr);
    return true;
}

std::string Range(const char *what, long min, long max) {
    return std::string("Введите ") + what + " от " + std::to_string(min) + " до " + std::to_string(max);
}

} // namespace

std::string IntegerRefusal(const std::string &text, int min, int max) {
    long v = 0;
    if (!WholeNumber(text, v) || v < min || v > max)
        return Range("целое число", min, max);
    return {};
}

std::string DecimalRefusal(const std::string &text, float max) {
    double v = 0;
    if (!DecimalNumber(text, v) || v < 0 || v > max)
        return Range("число", 0, long(max)) + ", например 12,5";
    return {};
}

std::string BcAddressRefusal(Project &p, int bcIndex, const std::string &text) {
    long v = 0;
    if (!WholeNumber(text, v) || v < 238 || v > 249)
        return Range("адрес БС", 238, 249);
    const BcUnit *owner = FindBcUnit(p, uint8_t(v));
    if (owner && owner != &p.bcUnits[bcIndex])
        return "Адрес " + std::to_string(v) + " уже есть у другого БС";
    return {};
}

std::string AlNumberRefusal(Project &p, int alIndex, const std::string &text) {
    long v = 0;
    if (!WholeNumber(text, v) || v < 1 || v > 16)
        return Range("номер АЛ", 1, 16);
    const AlLine &self = p.alLines[alIndex];
    const AlLine *owner = FindAlLine(p, self.adr, uint16_t(v));
    if (owner && owner != &self)
        return "АЛ:" + std::to_string(v) + " уже есть на этом БС";
    return {};
}

std::string ZoneRefusal(Project &p, int alIndex, const std::string &text) {
    long v = 0;
    if (!WholeNumber(text, v) || v < 1 || v > 65535)
        return Range("номер зоны", 1, 65535);
    const AlLine *owner = FindAlLineByZone(p, uint16_t(v));
    if (owner && owner != &p.alLines[alIndex])
        return "Зона " + std::to_string(v) + " уже есть в проекте: БС:" + std::to_string(owner->adr) +
               " АЛ:" + std::to_string(owner->prt);
    return {};
}
