// The project file commands: new, open, save, save as, close, rename, and the save
// question asked before a modified project is dropped.
#include <QAction>
#include <QFile>
#include <QLabel>

#include "TfrMain.h"
#include "app_log.h"
#include "app_texts.h"
#include "project_file.h"
#include "value_rules.h"

namespace {
const QString kCfgFilter = QStringLiteral("cfg file (*.cfg)");
QString title() { return QString::fromUtf8(kAppTitle); }
std::string localPath(const QString &path) { return QFile::encodeName(path).toStdString(); }
} // namespace

void TfrMain::showFooter() { pnFooter->setText(m_projectFileName); }

void TfrMain::showFileError(const QString &what, const QString &path, const QString &reason) {
    dialogs().error(title(), what.arg(path) + "\n" + reason);
}

bool TfrMain::AskSaveChanges() {
    if (!m_modified)
        return true;
    m_modified = false;
    if (!dialogs().askYesNo(title(), QStringLiteral("Сохранить изменения ?")))
        return true;
    if (SaveProject())
        return true;
    // The user wanted the work kept and it was not written: nothing may be dropped.
    m_modified = true;
    return false;
}

void TfrMain::miNewClick() {
    const QString name = InputValue(QStringLiteral("Введите название проекта"), QString());
    if (name == kInputCancel || !AskSaveChanges())
        return;
    SetProjectOpen(false);
    StoreName(m_project->settings.nam, kPdNameSize, name.toUtf8().toStdString());
    SetProjectOpen(true);
    MarkModified();
}

void TfrMain::miLoadClick() {
    const QString path = dialogs().openFileName(kCfgFilter);
    if (!path.isEmpty())
        LoadProject(path);
}

bool TfrMain::LoadProject(const QString &path) {
    if (!AskSaveChanges())
        return false;
    SetProjectOpen(false);
    ProjectLoadReport report;
    std::string error;
    if (!LoadProjectFile(*m_project, localPath(path), report, error)) {
        // The project was reset before reading: it stays closed.
        ResetProject(*m_project);
        showFileError(QStringLiteral("Не удалось прочитать файл «%1»."), path, QString::fromLocal8Bit(error));
        return false;
    }
    SetProjectOpen(true);
    m_projectFileName = path;
    showFooter();
    qCInfo(lcApp).noquote() << "project opened:" << path << "BC:" << m_project->bcCount << "AL:" << m_project->alCount;
    if (report.devicesLeftOut > 0 || report.zonesLeftOut > 0) {
        dialogs().information(title(), QStringLiteral("Файл «%1» содержит больше записей, чем вмещает проект.\n"
                                                      "Не загружено строк БС (device): %2, строк АЛ (zone): %3.")
                                           .arg(path)
                                           .arg(report.devicesLeftOut)
                                           .arg(report.zonesLeftOut));
    }
    return true;
}

bool TfrMain::SaveProject() {
    QString name = m_projectFileName;
    if (name.isEmpty())
        name = dialogs().saveFileName(kCfgFilter);
    if (name.isEmpty())
        return false;
    name = QString::fromStdString(ProjectFileNameForSave(name.toStdString()));
    std::string error;
    if (!SaveProjectFile(*m_project, localPath(name), error)) {
        showFileError(QStringLiteral("Не удалось записать файл «%1»."), name, QString::fromLocal8Bit(error));
        return false;
    }
    m_projectFileName = name;
    showFooter();
    m_modified = false;
    LogInfo(QStringLiteral("Файл конфигурации записан"));
    return true;
}

void TfrMain::miSaveClick() { SaveProject(); }

void TfrMain::miSaveKakClick() {
    m_projectFileName.clear();
    SaveProject();
}

void TfrMain::miCloseProjectClick() {
    if (!AskSaveChanges())
        return;
    SetProjectOpen(false);
    miCloseProject->setEnabled(false);
}

void TfrMain::miChangeProjectNameClick() {
    const QString name =
        InputValue(QStringLiteral("Введите название проекта"), QString::fromUtf8(m_project->settings.nam));
    if (name == kInputCancel)
        return;
    if (StoreName(m_project->settings.nam, kPdNameSize, name.toUtf8().toStdString()))
        MarkModified();
    pnProjectName->setText(QString::fromUtf8(m_project->settings.nam));
}
