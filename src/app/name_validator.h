#pragma once
// The rules of every name edit (BC and AL descriptions, the project name, a scenario's
// file name): what is typed or pasted is taken as far as a record can keep it.
//  - CR, LF and other control characters become blanks: stored as they are, they would
//    end the record's line in the project file and lose every key behind them.
//  - "," and "}" are refused: every reader of the record text, the devices' included,
//    ends the name there, so it would come back cut after a save.
//  - Characters stop being taken at the field's byte capacity (UTF-8: a Cyrillic letter
//    takes two), so what the edit shows is what is kept.
#include <QString>
#include <QValidator>

class QLineEdit;

class NameValidator : public QValidator {
    Q_OBJECT
public:
    // `byteCapacity`: the bytes the name may take, without the field's closing NUL.
    explicit NameValidator(int byteCapacity, QObject *parent = nullptr);
    int byteCapacity() const { return m_capacity; }

    // Never Invalid: the text is mended in place instead (blanks for control characters,
    // refused characters dropped, the excess of an insertion before `pos` dropped), so a
    // paste keeps what fits.
    State validate(QString &input, int &pos) const override;

    // What the rules make of `text` as a whole (for a name that comes from elsewhere).
    static QString Mended(const QString &text, int byteCapacity);
    static bool IsRefused(QChar c) { return c == u',' || c == u'}'; }

private:
    int m_capacity;
};

// Puts the rules on `edit` for a field of `fieldSize` bytes (its NUL included).
void ApplyNameRules(QLineEdit *edit, int fieldSize);
