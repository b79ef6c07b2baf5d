#include "com_setting_logic.h"

#include "baud_index.h"

#include <limits>

ComSettingTexts ComSettingFillTexts(int comNumber, int32_t bitsPerSecond, int addr, const std::vector<int> &ports)
{
    ComSettingTexts t;
    for (int n : ports)
        t.portItems << QStringLiteral("COM") + QString::number(n);
    if (comNumber >= 1)
        t.port = QStringLiteral("COM") + QString::number(comNumber);
    t.speed = QString::number(bitsPerSecond);
    t.addr = QString::number(addr);
    return t;
}

// A whole decimal integer: an optional sign and digits only, within 32 bits.
// Blanks, hex prefixes and trailing letters make the text invalid.
static bool ReadDecimal(const QString &text, int &out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int>(value);
    return true;
}

static QString NotAnInteger(const QString &text)
{
    // The toolkit's own wording for a failed integer conversion, kept verbatim.
    return QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value");
}

ComSettingPlan ComSettingApplyPlan(const ComSettingTexts &texts)
{
    ComSettingPlan plan;
    const QString port = texts.port.trimmed();
    const QString speed = texts.speed.trimmed();
    const QString addr = texts.addr.trimmed();
    int value = 0;

    // "COM7" -> 7; any other text keeps the current port. "COM 7" is meant as 7 too.
    if (port.contains(QStringLiteral("COM"))) {
        const QString digits = port.mid(3).trimmed();
        if (!ReadDecimal(digits, value)) {
            plan.error = NotAnInteger(digits);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetComNumber, value});
    }
    if (!speed.isEmpty()) {
        if (!ReadDecimal(speed, value)) {
            plan.error = NotAnInteger(speed);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetBaudRate, BaudIndexFromSpeed(value, kComSpeedDefaultIndex)});
    }
    if (!addr.isEmpty()) {
        if (!ReadDecimal(addr, value)) {
            plan.error = NotAnInteger(addr);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetAddr, value});
    }
    plan.steps.push_back({ComSettingStepKind::SetPortOpen});
    plan.steps.push_back({ComSettingStepKind::RefreshTree});
    return plan;
}
