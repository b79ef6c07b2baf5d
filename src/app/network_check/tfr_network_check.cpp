#include "network_check/tfr_network_check.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "TfrMain.h"
#include "app_texts.h"
#include "device_protocol.h"
#include "progress_window.h"
#include "project_file.h"

namespace {
const char *const kReportFilter = "Текстовые файлы (*.txt)";
} // namespace

TfrNetworkCheck::TfrNetworkCheck(TfrMain &main) : QDialog(&main), m_main(main) {
    setObjectName("TfrNetworkCheck");
    setWindowTitle(QStringLiteral("Сверка сети с проектом"));
    setModal(false);
    m_run = std::make_unique<NetworkCheckRun>(
        [this](uint8_t address, const QByteArray &payload) {
            return m_main.protocol().Exchange().SendFrame(address, payload);
        },
        m_main.protocol().Exchange().Timings());
    connect(m_run.get(), &NetworkCheckRun::finished, this, &TfrNetworkCheck::onFinished);
    // A tool window of its own: it comes up while this one is still hidden.
    m_progress = new TfrProgress(this);
    connect(m_run.get(), &NetworkCheckRun::progress, m_progress, [this](int done, int) { m_progress->SetDone(done); });
    connect(m_progress, &TfrProgress::stopRequested, this, &TfrNetworkCheck::StopCheck);

    lbSummary = new QLabel;
    lbSummary->setObjectName("lbSummary");
    lbSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tbReport = new QTableWidget(0, 4);
    tbReport->setObjectName("tbReport");
    tbReport->setAccessibleName(QStringLiteral("Расхождения"));
    tbReport->setHorizontalHeaderLabels({QStringLiteral("Запись"), QStringLiteral("Поле"), QStringLiteral("В проекте"),
                                         QStringLiteral("В устройстве")});
    tbReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbReport->horizontalHeader()->setStretchLastSection(true);
    tbReport->verticalHeader()->hide();

    btCopyReport = new QPushButton(QStringLiteral("Копировать"));
    btCopyReport->setObjectName("btCopyReport");
    btSaveReport = new QPushButton(QStringLiteral("Сохранить в файл..."));
    btSaveReport->setObjectName("btSaveReport");
    btClose = new QPushButton(QStringLiteral("Закрыть"));
    btClose->setObjectName("btClose");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btCopyReport);
    buttons->addWidget(btSaveReport);
    buttons->addStretch();
    buttons->addWidget(btClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbSummary);
    layout->addWidget(tbReport, 1);
    layout->addLayout(buttons);
    resize(760, 420);

    connect(btCopyReport, &QPushButton::clicked, this, &TfrNetworkCheck::btCopyReportClick);
    connect(btSaveReport, &QPushButton::clicked, this, &TfrNetworkCheck::btSaveReportClick);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
}

TfrNetworkCheck::~TfrNetworkCheck() = default;

bool TfrNetworkCheck::IsRunning() const {
    return m_run->IsRunning();
}

void TfrNetworkCheck::StartCheck() {
    if (IsRunning() || !m_main.IsProjectOpen() || !m_main.SetPortOpen(true))
        return;
    m_main.protocol().SetReplyTap([this](const uint8_t *payload, int length, uint8_t source) {
        return m_run->TakeReply(payload, length, source);
    });
    m_main.LogInfo(QStringLiteral("Сверка сети с проектом: чтение устройств"));
    m_run->Start(m_main.project());
    m_progress->Start(windowTitle(), m_run->Total(), m_main.protocol().Exchange().Timings().checkIntervalMs,
                      QStringLiteral("Прочитано запросов"));
    m_progress->move(m_main.frameGeometry().center() - m_progress->rect().center());
}

void TfrNetworkCheck::StopCheck() {
    m_run->Stop();
}

void TfrNetworkCheck::onFinished(bool stopped) {
    m_main.protocol().SetReplyTap({});
    m_progress->Finish();
    const CheckReport report = m_run->Report();
    fill(report);
    m_main.LogInfo(stopped
                       ? QStringLiteral("Сверка сети с проектом остановлена")
                       : QStringLiteral("Сверка сети с проектом: ") + QString::fromStdString(ReportSummary(report)));
    show();
    raise();
    activateWindow();
    emit checkFinished();
}

void TfrNetworkCheck::fill(const CheckReport &report) {
    m_text = QString::fromStdString(ReportText(report));
    lbSummary->setText(QString::fromStdString(ReportSummary(report)));
    tbReport->setRowCount(0);
    auto add = [this](const QStringList &cells) {
        const int r = tbReport->rowCount();
        tbReport->insertRow(r);
        for (int c = 0; c < cells.size(); ++c)
            tbReport->setItem(r, c, new QTableWidgetItem(cells[c]));
    };
    for (const CheckRow &row : report.rows) {
        const QString record = QString::fromStdString(row.record);
        if (row.kind != RowKind::Differs) {
            add({record, QString::fromStdString(RowState(row)), QString(), QString()});
            continue;
        }
        for (const FieldDifference &f : row.fields)
            add({record, QString::fromStdString(FieldLabel(row, f)), QString::fromStdString(f.project),
                 QString::fromStdString(f.device)});
    }
    tbReport->resizeColumnsToContents();
}

void TfrNetworkCheck::btCopyReportClick() {
    QApplication::clipboard()->setText(m_text);
}

void TfrNetworkCheck::btSaveReportClick() {
    const QString path = m_main.dialogs().saveFileName(QString::fromUtf8(kReportFilter));
    if (path.isEmpty())
        return;
    std::string error;
    const QByteArray bytes = m_text.toUtf8();
    if (!WriteFileAtomically(path.toStdString(), std::string_view(bytes.constData(), size_t(bytes.size())), error))
        m_main.dialogs().error(
            QString::fromUtf8(kAppTitle),
            QStringLiteral("Не удалось сохранить отчёт в файл %1: %2").arg(path, QString::fromStdString(error)));
}
