#pragma once
// "Сохранить проект В TALVIK" and the firmware updates: the questions, the choice of the
// path (the network when the port opens, the PD's USB disk when it does not), the paced
// write with its progress window, and the hand-over of "pd.cfg" or the firmware image to
// the file manager's upload. What is sent and when is decided in tools/network_write.
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "network_write/firmware_update.h"
#include "network_write/removable_drives.h"

class TfrMain;
class TfrInpuFile;
class TfrSelect;
class TfrProgress;
class NetworkWritePacer;

class NetworkWriteTool : public QObject {
    Q_OBJECT
public:
    NetworkWriteTool(TfrMain &main, TfrInpuFile *inpuFile, TfrSelect *select, TfrProgress *progress);
    ~NetworkWriteTool() override;

    // miSaveTALVIKClick. A write already pacing is not started again.
    void SaveToTalvik();
    // miUpgradePDClick / miUpgradeBCClick.
    void UpgradeFirmware(FirmwareTarget target);

    bool IsRunning() const;
    NetworkWritePacer &Pacer() { return *m_pacer; }
    // Where the PD's USB disk is looked for; tests point these at a fake tree.
    void SetDrivePaths(std::string mountTable, std::string sysBlockDir);

signals:
    // A write started pacing (true) or ended, finished or stopped (false).
    void runningChanged(bool running);

private:
    void writeNetwork();
    void writeUsbDisk();
    void onCommandSent(int sent, int total);
    void onFinished(bool completed);
    void uploadPdCfg();
    QString title() const;

    TfrMain &m_main;
    TfrInpuFile *m_inpuFile;
    TfrSelect *m_select;
    TfrProgress *m_progress;
    std::unique_ptr<NetworkWritePacer> m_pacer;
    std::string m_mountTable = kSystemMountTable;
    std::string m_sysBlockDir = kSystemBlockDevices;
};
