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
        // A directory holds nothing worth keeping; for a file, a copy may still succeed where
        // opening for reading did not (QFile::copy never overwrites an existing backup).
        if (!info.isDir())
            QFile::copy(m_path, backupPath(m_path));
        return LoadResult::Unreadable;
    }

    const QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();

    const QStringList fields = StoreFormat::parse(StoreFormat::decode(bytes));
    if (!fields.isEmpty())
        list.appendAll(fields);

    if (readFailed) {
        if (!bytes.isEmpty())
            writeBackup(m_path, bytes);
        return LoadResult::Unreadable;
    }
    return LoadResult::Loaded;
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
