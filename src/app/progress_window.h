#pragma once
// A small modeless window for a long paced job (writing the network, checking it against
// the project): a bar, "done of total", the seconds left and a stop button. It knows
// nothing of the job: the job says how far it is, and listens for stopRequested.
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class TfrProgress : public QWidget {
    Q_OBJECT
public:
    explicit TfrProgress(QWidget *owner = nullptr);

    // Shows the window for a job of `total` steps of `stepMs` each, nothing done yet;
    // `doneCaption` names the steps ("Отправлено команд: 3 из 18"). The seconds left are
    // worked out from the steps still due (a 205-step job at one step a second shows 205,
    // then 204 ...), unless the job sets them itself.
    void Start(const QString &title, int total, int stepMs, const QString &doneCaption = QStringLiteral("Выполнено"));
    // `done` steps of the total are behind.
    void SetDone(int done);
    // For a job whose remaining time is not a whole number of steps (a last pause).
    void SetSecondsLeft(int seconds);
    // Hides the window; the job is over (finished or stopped).
    void Finish();

    int Total() const { return m_total; }
    int Done() const { return m_done; }
    QString DoneText() const;
    QString SecondsLeftText() const;

signals:
    // The user pressed "Остановить" or closed the window while the job ran: as with any
    // progress box, closing it means "stop". Sent once per job.
    void stopRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void btStopClick();

    int m_total = 0;
    int m_done = 0;
    int m_stepMs = 1000;
    QString m_doneCaption;
    bool m_running = false;

    QProgressBar *pbProgress;
    QLabel *lbDone;
    QLabel *lbSecondsLeft;
    QPushButton *btStop;
};
