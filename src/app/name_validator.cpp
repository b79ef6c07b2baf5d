#include "name_validator.h"

#include <QLineEdit>

#include <algorithm>

namespace {

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

} // namespace

NameValidator::NameValidator(int byteCapacity, QObject *parent) : QValidator(parent), m_capacity(byteCapacity) {}

QValidator::State NameValidator::validate(QString &input, int &pos) const {
    pos = std::clamp<int>(pos, 0, int(input.size()));
    for (int i = 0; i < input.size();) {
        if (IsControl(input[i])) {
            input[i] = u' ';
        } else if (IsRefused(input[i])) {
            input.remove(i, 1);
            if (i < pos)
                --pos;
            continue;
        }
        ++i;
    }
    // Too long: what was just inserted ends at the cursor; drop its last characters (a
    // surrogate pair together) until the rest fits, then from the end if still needed.
    while (input.toUtf8().size() > m_capacity && !input.isEmpty()) {
        int at = pos > 0 ? pos - 1 : int(input.size()) - 1;
        int n = 1;
        if (at > 0 && input[at].isLowSurrogate() && input[at - 1].isHighSurrogate()) {
            --at;
            n = 2;
        }
        input.remove(at, n);
        if (at < pos)
            pos -= n;
    }
    return Acceptable;
}

QString NameValidator::Mended(const QString &text, int byteCapacity) {
    NameValidator rules(byteCapacity);
    QString out = text;
    int pos = int(out.size());
    rules.validate(out, pos);
    return out;
}

void ApplyNameRules(QLineEdit *edit, int fieldSize) {
    edit->setValidator(new NameValidator(fieldSize - 1, edit));
}
