#include "progress_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TfrProgress::TfrProgress(QWidget *owner) : QWidget(owner, Qt::Tool) {
    setObjectName("TfrProgress");
    // Modeless: the log and the replies stay visible while the job runs.
    setWindowModality(Qt::NonModal);
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName("pbProgress");
    pbProgress->setAccessibleName(QStringLiteral("Ход выполнения"));
    lbDone = new QLabel(this);
    lbDone->setObjectName("lbDone");
    lbSecondsLeft = new QLabel(this);
    lbSecondsLeft->setObjectName("lbSecondsLeft");
    btStop = new QPushButton(QStringLiteral("Остановить"), this);
    btStop->setObjectName("btStop");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pbProgress);
    layout->addWidget(lbDone);
    layout->addWidget(lbSecondsLeft);
    layout->addWidget(btStop, 0, Qt::AlignHCenter);
    setMinimumWidth(320);
    connect(btStop, &QPushButton::clicked, this, &TfrProgress::btStopClick);
}

void TfrProgress::Start(const QString &title, int total, int stepMs, const QString &doneCaption) {
    setWindowTitle(title);
    m_total = total > 0 ? total : 0;
    m_stepMs = stepMs > 0 ? stepMs : 0;
    m_doneCaption = doneCaption;
    m_running = true;
    // A job of no steps still shows a full bar rather than Qt's busy indicator.
    pbProgress->setRange(0, m_total > 0 ? m_total : 1);
    btStop->setEnabled(true);
    SetDone(0);
    if (!isVisible() && parentWidget()) {
        adjustSize();
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    show();
    raise();
}

void TfrProgress::SetDone(int done) {
    m_done = qBound(0, done, m_total);
    pbProgress->setValue(m_total > 0 ? m_done : 1);
    lbDone->setText(DoneText());
    // Rounded up: one step of 1500 ms still due is "2", never "1" or "0".
    const qint64 ms = qint64(m_total - m_done) * m_stepMs;
    SetSecondsLeft(int((ms + 999) / 1000));
}

void TfrProgress::SetSecondsLeft(int seconds) {
    lbSecondsLeft->setText(QStringLiteral("Осталось секунд: %1").arg(seconds > 0 ? seconds : 0));
}

QString TfrProgress::DoneText() const {
    return QStringLiteral("%1: %2 из %3").arg(m_doneCaption).arg(m_done).arg(m_total);
}

QString TfrProgress::SecondsLeftText() const {
    return lbSecondsLeft->text();
}

void TfrProgress::Finish() {
    m_running = false;
    btStop->setEnabled(false);
    hide();
}

void TfrProgress::btStopClick() {
    if (!m_running)
        return;
    m_running = false;
    btStop->setEnabled(false);
    emit stopRequested();
}

void TfrProgress::closeEvent(QCloseEvent *event) {
    btStopClick();
    event->accept();
}
