#include "StoreFile.h"

#include "SnippetList.h"
#include "StoreFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString backupPath(const QString& path)
{
    return path + QStringLiteral(".bak");
}

/** Keeps the bytes that could be read from a damaged store beside it, since saving replaces it. */
void writeBackup(const QString& path, const QByteArray& bytes)
{
    QSaveFile backup(backupPath(path));
    if (!backup.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    if (backup.write(bytes) != bytes.size()) {
        backup.cancelWriting();
        return;
    }
    backup.commit();
}

} // namespace

StoreFile::StoreFile(QString path) : m_path(std::move(path)) {}

StoreFile::LoadResult StoreFile::load(SnippetList& list)
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return LoadResult::Missing;

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        // A directory holds nothing worth keeping. A file we may not read is moved aside
        // whole when it cannot be copied, so the save at exit cannot replace its bytes
        // (neither call overwrites an existing backup).
        if (!info.isDir() && !QFile::copy(m_path, backupPath(m_path)))
            QFile::rename(m_path, backupPath(m_path));
        return LoadResult::Unreadable;
    }

    QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed && !bytes.isEmpty())
        writeBackup(m_path, bytes);

    QString text = StoreFormat::decode(bytes);
    // A full store is megabytes: the raw bytes, the decoded text and the entries must not all
    // be held at once, or start-up's peak memory is three times the list.
    bytes = QByteArray();
    const QStringList fields = StoreFormat::parse(text);
    text = QString();
    if (!fields.isEmpty())
        list.appendAll(fields);

    return readFailed ? LoadResult::Unreadable : LoadResult::Loaded;
}

bool StoreFile::createEmpty(QString* error) const
{
    const QFileInfo info(m_path);
    if (info.exists() && !info.isDir())
        return true;
    QFile file(m_path);
    // NewOnly: never truncate a file that appeared in the meantime.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo(m_path).isFile())
            return true;
        setError(error, file.errorString());
        return false;
    }
    file.close();
    return true;
}

bool StoreFile::save(const SnippetList& list, QString* error, const QString& leaveOut) const
{
    const int count = list.count();
    QStringList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append(list.entryAt(i));
    const QByteArray bytes = StoreFormat::serialize(entries, leaveOut);

    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered flush that writes only part of the data is not reported as an
    // error, and commit() would then replace the store with a cut-off file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setError(error, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

QString StoreFile::choosePath(const QString& programFolder, const QString& userDataFolder)
{
    const QString fileName = QString::fromLatin1(FileName);
    const QFileInfo program(programFolder);
    if (!programFolder.isEmpty() && program.isDir() && program.isWritable())
        return QDir(programFolder).filePath(fileName);
    QDir().mkpath(userDataFolder);
    return QDir(userDataFolder).filePath(fileName);
}
