#include "com_setting_logic.h"

#include "baud_index.h"

#include <limits>

ComSettingTexts ComSettingFillTexts(int comNumber, int32_t bitsPerSecond, int addr, const std::vector<int> &ports,
                                    const std::vector<QString> &what)
{
    ComSettingTexts t;
    for (size_t i = 0; i < ports.size(); ++i) {
        QString item = QStringLiteral("COM") + QString::number(ports[i]);
        if (i < what.size() && !what[i].isEmpty())
            item += QStringLiteral(" (") + what[i] + QStringLiteral(")");
        t.portItems << item;
    }
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

// Every message the user sees is Russian, and names the box that holds the bad text.
static QString NotAnInteger(const char *what, const QString &text)
{
    return QString::fromUtf8(what) + QStringLiteral(" «") + text + QStringLiteral("» — не целое число");
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
        // A list item carries what the port is after its number: "COM3 (usb-FTDI_...)".
        QString digits = port.mid(3);
        if (const qsizetype what = digits.indexOf(QStringLiteral(" (")); what >= 0 && digits.endsWith(u')'))
            digits.truncate(what);
        digits = digits.trimmed();
        if (!ReadDecimal(digits, value)) {
            plan.error = NotAnInteger("Номер COM порта", digits);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetComNumber, value});
    }
    if (!speed.isEmpty()) {
        if (!ReadDecimal(speed, value)) {
            plan.error = NotAnInteger("Скорость COM порта", speed);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetBaudRate, BaudIndexFromSpeed(value, kComSpeedDefaultIndex)});
    }
    if (!addr.isEmpty()) {
        if (!ReadDecimal(addr, value)) {
            plan.error = NotAnInteger("Адрес ПК в сети TALVIK", addr);
            return plan;
        }
        plan.steps.push_back({ComSettingStepKind::SetAddr, value});
    }
    plan.steps.push_back({ComSettingStepKind::SetPortOpen});
    plan.steps.push_back({ComSettingStepKind::RefreshTree});
    return plan;
}
