#pragma once
// "Выберите файл": a path the user may type or pick with the file dialog, and OK. Closing
// it any other way cancels. The firmware update asks for its image with it.
#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

class TfrInpuFile : public QDialog {
    Q_OBJECT
public:
    // `pickFile` runs the open-file dialog odFile with a filter and returns the full path
    // chosen, or an empty text when it was cancelled.
    using PickFile = std::function<QString(const QString &filter)>;
    explicit TfrInpuFile(QWidget *owner = nullptr);

    void SetPickFile(PickFile pick) { m_pickFile = std::move(pick); }
    // Puts the path into edFilePath and the filter into odFile.
    void Fill(const QString &defaultPath, const QString &filter);
    QString FilePath() const;
    // The filter as odFile takes it ("*.bin|*.bin" is "*.bin (*.bin)").
    const QString &DialogFilter() const { return m_dialogFilter; }

    // "description|pattern|description|pattern" into the toolkit's "description (pattern);;...".
    static QString ToDialogFilter(const QString &filter);

private:
    void btSelectFileClick();

    PickFile m_pickFile;
    QString m_dialogFilter;
    QLineEdit *edFilePath;
    QPushButton *btSelectFile;
    QPushButton *btOk;
};

class Dialogs;
// Shows `dialog` modally with `defaultPath` and `filter`: the path in edFilePath when it
// was closed with OK, otherwise "INPUTFILE_CANCEL".
QString InputFile(Dialogs &dialogs, TfrInpuFile &dialog, const QString &defaultPath, const QString &filter);
