#include "download_target.h"

bool DownloadTarget::Begin(const QString &path) {
    Abort();
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        return false;
    m_file = std::move(file);
    m_path = path;
    return true;
}

bool DownloadTarget::Write(const char *data, qint64 size) {
    if (!m_file)
        return false;
    return size <= 0 || m_file->write(data, size) == size;
}

bool DownloadTarget::Commit() {
    if (!m_file)
        return false;
    const bool ok = m_file->commit();
    m_file.reset();
    return ok;
}

void DownloadTarget::Abort() {
    if (!m_file)
        return;
    m_file->cancelWriting();
    m_file.reset(); // removes the temporary file
}
