#pragma once
// The bus scanner: probes a range of addresses one a second and lists every device that
// answers, one line per address. A listed device can be read into the compare windows
// (a BC read this way joins the project by its address) or opened in the file manager.
#include <QWidget>

#include "scanner/scan_line.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class BusScan;
class TfrMain;

class TfrScan : public QWidget {
    Q_OBJECT
public:
    explicit TfrScan(TfrMain &main);
    ~TfrScan() override;

    // miScaner: opens the port (nothing when it will not open), takes the range from the
    // main window's scan settings and shows the window.
    void Open();
    // The list as the reply dispatcher reads and extends it.
    QStringList Lines() const;
    void AppendLine(const QString &line);
    bool IsScanning() const;
    // The probing itself, for whoever follows the scan's progress.
    BusScan &Scan() { return *m_scan; }

public slots:
    void bbStartClick();
    void bbStopClick();
    void lbScanClick();
    void miReadDeviceClick();
    void miFileManagerClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setLineActionsEnabled(bool enabled);
    void onScanFinished();
    void storeRange();

    TfrMain &m_main;
    BusScan *m_scan;
    ScanLineSelection m_selected;

    QListWidget *lbScan;
    QMenu *pmScan;
    QAction *miReadDevice, *miFileManager;
    QLineEdit *edAddrStart, *edAddrStop;
    QPushButton *bbStart, *bbStop, *btReadCom, *btFileManager, *btClose;
    QLabel *lbAddr;
};
