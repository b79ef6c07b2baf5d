#pragma once
// Where a download lands: a temporary file beside the chosen one, renamed onto the chosen
// name only once the download is complete. An aborted download (a device error, the
// window closed or shown again) removes the temporary file, so a truncated file never
// sits under the user's name and the old file of that name survives until then.
#include <QSaveFile>
#include <QString>
#include <memory>

class DownloadTarget {
public:
    ~DownloadTarget() { Abort(); }

    // False when the temporary file cannot be created there.
    bool Begin(const QString &path);
    bool IsOpen() const { return m_file != nullptr; }
    const QString &Path() const { return m_path; }
    // False on a write error; the download is then lost at Commit.
    bool Write(const char *data, qint64 size);
    // Puts the complete file under its name. False when that failed; nothing is left then.
    bool Commit();
    void Abort();

private:
    std::unique_ptr<QSaveFile> m_file;
    QString m_path;
};
