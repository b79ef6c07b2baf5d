#include "tfr_notifys.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "TCommPort.h"
#include "TfrMain.h"
#include "device_protocol.h"

namespace {
// Refuses a typed or pasted ',' or '}' in the file name: the record would end the name
// there, and the PD and the project file would both read it back cut.
class FileNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        for (const char32_t c : input.toUcs4())
            if (EndsRecordValue(c))
                return Invalid;
        return Acceptable;
    }
};

QLineEdit *NamedEdit(const char *name) {
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

// A form row whose label is the control's buddy and its accessible name.
QLabel *AddRow(QFormLayout *form, const char *labelName, const QString &caption, QWidget *field) {
    auto *label = new QLabel(caption);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setBuddy(field);
    field->setAccessibleName(caption);
    form->addRow(label, field);
    return label;
}

QString Shown(const std::string &utf8) {
    return QString::fromStdString(utf8);
}
} // namespace

TfrNotifys::TfrNotifys(TfrMain &main) : QDialog(&main), m_main(main) {
    setObjectName("TfrNotifys");
    setWindowTitle(QStringLiteral("Сценарии оповещения"));
    setModal(false);

    lbNotify = new QListWidget;
    lbNotify->setObjectName("lbNotify");
    lbNotify->setAccessibleName(QStringLiteral("Сценарии оповещения"));
    for (int n = 1; n <= kScenarios; ++n)
        lbNotify->addItem(QStringLiteral("Сценарий %1").arg(n));

    auto *form = new QFormLayout;
    cbNotifyEnable = new QCheckBox;
    cbNotifyEnable->setObjectName("cbNotifyEnable");
    Label1 = AddRow(form, "Label1", QStringLiteral("Включено"), cbNotifyEnable);
    edZoneNum = NamedEdit("edZoneNum");
    Label2 = AddRow(form, "Label2", QStringLiteral("Номер зоны"), edZoneNum);
    edFileName = NamedEdit("edFileName");
    edFileName->setValidator(new FileNameValidator(edFileName));
    Label3 = AddRow(form, "Label3", QStringLiteral("Имя файла"), edFileName);
    edDateTime = NamedEdit("edDateTime");
    Label6 = AddRow(form, "Label6", QStringLiteral("Дата и время"), edDateTime);
    edPeriod = NamedEdit("edPeriod");
    Label4 = AddRow(form, "Label4", QStringLiteral("Период повторов"), edPeriod);
    edCount = NamedEdit("edCount");
    Label5 = AddRow(form, "Label5", QStringLiteral("Количество повторов"), edCount);

    btReadNotify = new QPushButton(QStringLiteral("Прочитать сценарий с ПД"));
    btReadNotify->setObjectName("btReadNotify");
    btWriteNotify = new QPushButton(QStringLiteral("Записать сценарий на ПД"));
    btWriteNotify->setObjectName("btWriteNotify");

    auto *right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch();
    right->addWidget(btReadNotify);
    right->addWidget(btWriteNotify);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lbNotify);
    layout->addLayout(right, 1);

    connect(lbNotify, &QListWidget::currentRowChanged, this, &TfrNotifys::lbNotifyClick);
    connect(cbNotifyEnable, &QCheckBox::toggled, this, &TfrNotifys::cbNotifyEnableClick);
    connect(edZoneNum, &QLineEdit::textChanged, this, &TfrNotifys::edZoneNumChange);
    connect(edFileName, &QLineEdit::textChanged, this, &TfrNotifys::edFileNameChange);
    connect(edDateTime, &QLineEdit::textChanged, this, &TfrNotifys::edDateTimeChange);
    connect(edPeriod, &QLineEdit::textChanged, this, &TfrNotifys::edPeriodChange);
    connect(edCount, &QLineEdit::textChanged, this, &TfrNotifys::edCountChange);
    connect(btReadNotify, &QPushButton::clicked, this, &TfrNotifys::btReadNotifyClick);
    connect(btWriteNotify, &QPushButton::clicked, this, &TfrNotifys::btWriteNotifyClick);
}

void TfrNotifys::ShowEditor() {
    showWindow(1);
}

void TfrNotifys::Reshow(int number) {
    close();
    showWindow(number >= 1 && number <= kScenarios ? number : 1);
}

void TfrNotifys::showWindow(int number) {
    // Selecting the row already current emits nothing: display in any case.
    lbNotify->setCurrentRow(number - 1);
    display();
    const bool portOpen = m_main.ComPort().Open();
    btReadNotify->setEnabled(portOpen);
    btWriteNotify->setEnabled(portOpen);
    show();
    raise();
    activateWindow();
}

int TfrNotifys::SelectedNumber() const {
    const int row = lbNotify->currentRow();
    return row >= 0 && row < kScenarios ? row + 1 : 0;
}

void TfrNotifys::lbNotifyClick() {
    display();
}

// Fills the controls from the project; the handlers store nothing meanwhile, so showing
// a scenario never rewrites it (a zone 0 read from a file stays 0 until the user edits).
void TfrNotifys::display() {
    const int n = SelectedNumber();
    if (n == 0)
        return;
    const NotifyTexts t = NotifyShownTexts(m_main.project().notifies[n]);
    m_displaying = true;
    cbNotifyEnable->setChecked(t.enabled);
    edZoneNum->setText(Shown(t.zone));
    edFileName->setText(Shown(t.fileName));
    edDateTime->setText(Shown(t.dateTime));
    edPeriod->setText(Shown(t.period));
    edCount->setText(Shown(t.count));
    m_displaying = false;
}

NotifyScenario *TfrNotifys::target() {
    const int n = SelectedNumber();
    if (m_displaying || n == 0 || !m_main.IsProjectOpen())
        return nullptr;
    return &m_main.project().notifies[n];
}

void TfrNotifys::markIf(bool changed) {
    if (changed)
        m_main.MarkModified();
}

void TfrNotifys::store(NotifyField field, QLineEdit *edit) {
    if (NotifyScenario *s = target())
        markIf(StoreNotifyField(*s, field, edit->text().toStdString()));
}

void TfrNotifys::cbNotifyEnableClick() {
    if (NotifyScenario *s = target())
        markIf(StoreNotifyEnabled(*s, cbNotifyEnable->isChecked()));
}

void TfrNotifys::edZoneNumChange() {
    store(NotifyField::Zone, edZoneNum);
}
void TfrNotifys::edFileNameChange() {
    store(NotifyField::FileName, edFileName);
}
void TfrNotifys::edDateTimeChange() {
    store(NotifyField::DateTime, edDateTime);
}
void TfrNotifys::edPeriodChange() {
    store(NotifyField::Period, edPeriod);
}
void TfrNotifys::edCountChange() {
    store(NotifyField::Count, edCount);
}

void TfrNotifys::btReadNotifyClick() {
    const int n = SelectedNumber();
    if (n == 0 || !m_main.SetPortOpen(true))
        return;
    m_main.protocol().Exchange().SendCommand(m_main.project().settings.adr, ReadNotifyCommand(n));
}

void TfrNotifys::btWriteNotifyClick() {
    const int n = SelectedNumber();
    if (n == 0 || !m_main.SetPortOpen(true))
        return;
    m_main.protocol().Exchange().SendCommand(m_main.project().settings.adr,
                                             WriteNotifyCommand(m_main.project().notifies[n], n));
}
