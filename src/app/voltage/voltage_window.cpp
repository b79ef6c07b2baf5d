#include "voltage_window.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "TfrMain.h"
#include "app_texts.h"
#include "device_protocol.h"
#include "node_text.h"
#include "text_utils.h"

QString VoltageWindow::NoData() {
    return QStringLiteral("Нет данных");
}

VoltageWindow::VoltageWindow(TfrMain &main, const char *objectName, const QString &caption)
    : QWidget(&main, Qt::Window), m_main(main),
      m_poll(main.protocol().Exchange(), main.protocol().Exchange().Timings().voltagePollMs, this) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    connect(&main, &TfrMain::projectTablesChanged, this, &VoltageWindow::onProjectTablesChanged);
}

bool VoltageWindow::Prepare(ReadTarget target, VoltageRequest &request) {
    if (isVisible())
        close(); // re-opening starts afresh for the node selected now
    request = VoltageRequestFor(target, m_main.project(), m_main.SelectedBcUnit(), m_main.SelectedAlLine());
    return request.send;
}

void VoltageWindow::ShowNearMain() {
    if (!property("placed").toBool()) {
        adjustSize();
        move(m_main.geometry().center() - rect().center());
        setProperty("placed", true);
    }
    show();
    raise();
    activateWindow();
}

QLineEdit *VoltageWindow::AddBox(QFormLayout *form, const char *name, const QString &label) {
    auto *box = new QLineEdit(NoData(), form->parentWidget());
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(label);
    box->setMinimumWidth(100);
    auto *caption = new QLabel(label, form->parentWidget());
    caption->setBuddy(box);
    form->addRow(caption, box);
    return box;
}

QPushButton *VoltageWindow::AddButton(const char *name, const QString &caption) {
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

void VoltageWindow::ShowVolts(QLineEdit *box, float volts) {
    box->setText(QString::fromUtf8(FloatToText(volts)));
}

bool VoltageWindow::TargetsPresent() {
    if (m_targets.Present(m_main.project(), m_main.ProjectEpoch()))
        return true;
    m_main.LogInfo(QStringLiteral("Напряжения не скопированы: записи, для которой открыто окно, в проекте больше нет"));
    close();
    return false;
}

bool VoltageWindow::Finish(const VoltageCopyResult &result) {
    if (result.changed)
        m_main.MarkModified();
    if (result.ok())
        return true;
    m_main.dialogs().error(QString::fromUtf8(kAppTitle), result.error);
    return false;
}

void VoltageWindow::hideEvent(QHideEvent *event) {
    // A window out of sight asks nothing: closing ends the polling for good.
    m_poll.Stop();
    QWidget::hideEvent(event);
}

void VoltageWindow::onProjectTablesChanged() {
    if (isVisible() && !m_targets.Present(m_main.project(), m_main.ProjectEpoch()))
        close();
}
