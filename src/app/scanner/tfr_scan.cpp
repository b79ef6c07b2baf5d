#include "tfr_scan.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "TfrMain.h"
#include "app_texts.h"
#include "device_protocol.h"
#include "file_manager_api.h"
#include "scanner/bus_scan.h"

namespace {
QLineEdit *LabelledEdit(QFormLayout *form, const char *name, const QString &label, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(label);
    auto *caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

QPushButton *Button(const char *name, const QString &caption, QWidget *parent) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

TfrScan::TfrScan(TfrMain &main) : QWidget(&main, Qt::Window), m_main(main) {
    setObjectName(QStringLiteral("TfrScan"));
    setWindowTitle(QStringLiteral("Сканер устройств"));

    lbScan = new QListWidget(this);
    lbScan->setObjectName(QStringLiteral("lbScan"));
    lbScan->setAccessibleName(QStringLiteral("Найденные устройства"));
    lbScan->setMinimumSize(420, 240);
    lbScan->setContextMenuPolicy(Qt::CustomContextMenu);
    pmScan = new QMenu(this);
    pmScan->setObjectName(QStringLiteral("pmScan"));
    miReadDevice = pmScan->addAction(QStringLiteral("&Прочитать данные устройства"));
    miReadDevice->setObjectName(QStringLiteral("miReadDevice"));
    miFileManager = pmScan->addAction(QStringLiteral("&Файловый менеджер"));
    miFileManager->setObjectName(QStringLiteral("miFileManager"));

    auto *form = new QFormLayout;
    edAddrStart = LabelledEdit(form, "edAddrStart", QStringLiteral("От адреса"), this);
    edAddrStart->setText(QStringLiteral("1"));
    edAddrStop = LabelledEdit(form, "edAddrStop", QStringLiteral("До адреса"), this);
    edAddrStop->setText(QStringLiteral("255"));
    lbAddr = new QLabel(this);
    lbAddr->setObjectName(QStringLiteral("lbAddr"));
    lbAddr->setAlignment(Qt::AlignCenter);
    lbAddr->setMinimumWidth(60);
    lbAddr->setAutoFillBackground(true);
    lbAddr->setStyleSheet(QStringLiteral("QLabel { background-color: #c0c0c0; }"));
    auto *addrCaption = new QLabel(QStringLiteral("Адрес сканирования"), this);
    addrCaption->setBuddy(lbAddr);
    lbAddr->setAccessibleName(addrCaption->text());
    form->addRow(addrCaption, lbAddr);

    bbStart = Button("bbStart", QStringLiteral("Сканировать"), this);
    bbStart->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    bbStop = Button("bbStop", QStringLiteral("Остановить"), this);
    bbStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    bbStop->setEnabled(false);
    btReadCom = Button("btReadCom", QStringLiteral("Прочитать данные устройства"), this);
    btFileManager = Button("btFileManager", QStringLiteral("Файловый менеджер"), this);
    btClose = Button("btClose", QStringLiteral("&Закрыть"), this);

    auto *side = new QVBoxLayout;
    side->addLayout(form);
    for (QPushButton *b : {bbStart, bbStop, btReadCom, btFileManager})
        side->addWidget(b);
    side->addStretch(1);
    side->addWidget(btClose);
    auto *outer = new QHBoxLayout(this);
    outer->addWidget(lbScan, 1);
    outer->addLayout(side);
    setLineActionsEnabled(false);

    m_scan = new BusScan(
        main.protocol().Exchange(), main.protocol().Exchange().Timings().scanIntervalMs,
        [this] { return edAddrStop->text(); }, this);
    connect(m_scan, &BusScan::probing, this, [this](int32_t address) { lbAddr->setText(QString::number(address)); });
    connect(m_scan, &BusScan::finished, this, &TfrScan::onScanFinished);

    connect(bbStart, &QPushButton::clicked, this, &TfrScan::bbStartClick);
    connect(bbStop, &QPushButton::clicked, this, &TfrScan::bbStopClick);
    connect(btReadCom, &QPushButton::clicked, this, &TfrScan::miReadDeviceClick);
    connect(btFileManager, &QPushButton::clicked, this, &TfrScan::miFileManagerClick);
    connect(miReadDevice, &QAction::triggered, this, &TfrScan::miReadDeviceClick);
    connect(miFileManager, &QAction::triggered, this, &TfrScan::miFileManagerClick);
    connect(btClose, &QPushButton::clicked, this, &QWidget::close);
    connect(lbScan, &QListWidget::currentRowChanged, this, &TfrScan::lbScanClick);
    connect(lbScan, &QListWidget::itemClicked, this, &TfrScan::lbScanClick);
    connect(lbScan, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { pmScan->popup(lbScan->viewport()->mapToGlobal(at)); });
}

TfrScan::~TfrScan() = default;

void TfrScan::Open() {
    if (!m_main.SetPortOpen(true))
        return;
    if (!isVisible()) {
        edAddrStart->setText(m_main.ScanStart());
        edAddrStop->setText(m_main.ScanStop());
    }
    show();
    raise();
    activateWindow();
}

QStringList TfrScan::Lines() const {
    QStringList out;
    for (int i = 0; i < lbScan->count(); ++i)
        out << lbScan->item(i)->text();
    return out;
}

void TfrScan::AppendLine(const QString &line) {
    lbScan->addItem(line);
}

bool TfrScan::IsScanning() const {
    return m_scan->IsRunning();
}

void TfrScan::setLineActionsEnabled(bool enabled) {
    for (QAction *a : {miReadDevice, miFileManager})
        a->setEnabled(enabled);
    for (QPushButton *b : {btReadCom, btFileManager})
        b->setEnabled(enabled);
}

void TfrScan::bbStartClick() {
    if (m_scan->IsRunning() || !m_main.SetPortOpen(true))
        return;
    QString error;
    if (!m_scan->Start(edAddrStart->text(), edAddrStop->text(), error)) {
        m_main.dialogs().error(QString::fromUtf8(kAppTitle), error);
        return;
    }
    storeRange();
    bbStart->setEnabled(false);
    bbStop->setEnabled(true);
    lbScan->setEnabled(false);
    lbScan->clear();
    m_selected = {};
    setLineActionsEnabled(false);
}

void TfrScan::bbStopClick() {
    m_scan->Stop();
    bbStart->setEnabled(true);
    bbStop->setEnabled(false);
    lbScan->setEnabled(true);
    lbAddr->clear();
}

void TfrScan::onScanFinished() {
    bbStopClick();
    m_main.dialogs().information(QString::fromUtf8(kAppTitle), QStringLiteral("Сканирование завершено"));
}

void TfrScan::lbScanClick() {
    setLineActionsEnabled(false);
    m_selected = {};
    const QListWidgetItem *item = lbScan->currentItem();
    if (!item || !lbScan->isEnabled())
        return;
    m_selected = ParseScanLine(item->text());
    setLineActionsEnabled(m_selected.valid);
}

void TfrScan::miReadDeviceClick() {
    if (!m_selected.valid || !m_main.SetPortOpen(true))
        return;
    ReadScannedDevice(m_main.protocol(), m_selected);
}

void TfrScan::miFileManagerClick() {
    if (!m_selected.valid)
        return;
    if (FileManagerApi *fm = m_main.fileManager())
        fm->OpenForDevice(m_selected.address);
}

void TfrScan::storeRange() {
    m_main.SetScanRange(edAddrStart->text(), edAddrStop->text());
}

void TfrScan::closeEvent(QCloseEvent *event) {
    bbStopClick();
    storeRange();
    QWidget::closeEvent(event);
}
