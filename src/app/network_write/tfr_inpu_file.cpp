#include "tfr_inpu_file.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "network_write/network_write_texts.h"

TfrInpuFile::TfrInpuFile(QWidget *owner) : QDialog(owner) {
    setObjectName("TfrInpuFile");
    setWindowTitle(QStringLiteral("Выберите файл"));
    setModal(true);
    edFilePath = new QLineEdit(this);
    edFilePath->setObjectName("edFilePath");
    edFilePath->setAccessibleName(QStringLiteral("Файл"));
    btSelectFile = new QPushButton(QStringLiteral("&Выберите файл"), this);
    btSelectFile->setObjectName("btSelectFile");
    btOk = new QPushButton(QStringLiteral("&OK"), this);
    btOk->setObjectName("btOk");
    auto *row = new QHBoxLayout;
    row->addWidget(edFilePath, 1);
    row->addWidget(btSelectFile);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(btOk, 0, Qt::AlignHCenter);
    setMinimumWidth(480);
    connect(btSelectFile, &QPushButton::clicked, this, &TfrInpuFile::btSelectFileClick);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrInpuFile::Fill(const QString &defaultPath, const QString &filter) {
    edFilePath->setText(defaultPath);
    m_dialogFilter = ToDialogFilter(filter);
}

QString TfrInpuFile::FilePath() const {
    return edFilePath->text();
}

void TfrInpuFile::btSelectFileClick() {
    if (!m_pickFile)
        return;
    const QString path = m_pickFile(m_dialogFilter);
    if (!path.isEmpty())
        edFilePath->setText(path);
}

QString TfrInpuFile::ToDialogFilter(const QString &filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        out << parts.last(); // a bare pattern without a description
    return out.join(QStringLiteral(";;"));
}

QString InputFile(Dialogs &dialogs, TfrInpuFile &dialog, const QString &defaultPath, const QString &filter) {
    dialog.Fill(defaultPath, filter);
    if (!dialogs.execDialog(dialog))
        return QString::fromUtf8(NetworkWriteText::kInputFileCancel);
    return dialog.FilePath();
}
