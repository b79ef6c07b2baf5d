#pragma once
// "Сверить сеть с проектом": reads the PD, every BC unit of the project and their ports
// (NetworkCheckRun) and shows where the devices differ from the project, in a report
// that can be copied or saved as a text file. It sends reads only and changes nothing.
#include <QDialog>
#include <memory>

#include "network_check/network_check_run.h"

class QLabel;
class QPushButton;
class QTableWidget;
class TfrMain;
class TfrProgress;

class TfrNetworkCheck : public QDialog {
    Q_OBJECT
public:
    explicit TfrNetworkCheck(TfrMain &main);
    ~TfrNetworkCheck() override;

    // The menu command: opens the port if needed and starts reading; the report window
    // comes up when the reading ends. Nothing happens while a check is already running.
    void StartCheck();
    void StopCheck();
    bool IsRunning() const;
    NetworkCheckRun &Run() { return *m_run; }
    // The progress window with "Остановить" shown while the devices are read.
    TfrProgress *Progress() { return m_progress; }
    // The report as shown, in plain text.
    const QString &ReportPlainText() const { return m_text; }

signals:
    // The reading ended (stopped or not); the report is filled.
    void checkFinished();

public slots:
    void btCopyReportClick();
    void btSaveReportClick();

private:
    void onFinished(bool stopped);
    void fill(const CheckReport &report);

    TfrMain &m_main;
    std::unique_ptr<NetworkCheckRun> m_run;
    TfrProgress *m_progress;
    QString m_text;
    QLabel *lbSummary;
    QTableWidget *tbReport;
    QPushButton *btCopyReport, *btSaveReport, *btClose;
};
