#include "StoreFile.h"

#include "QuippetLog.h"
#include "SnippetList.h"
#include "StoreFormat.h"
#include "StoreReader.h"

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

QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

/** Logs "Could not <what>: <the system's reason>". */
void logFailure(const QString& what, const QString& reason)
{
    qCWarning(lcStore).noquote() << QStringLiteral("Could not %1: %2").arg(what, reason);
}

/**
 * Keeps a store that could not be read to its end beside it, since the save at exit replaces
 * it. A file that cannot even be copied is moved aside whole; neither step overwrites an
 * existing backup.
 */
void keepDamagedFile(const QString& path)
{
    QFile file(path);
    if (file.copy(backupPath(path)))
        return;
    const QString toBackup = quoted(path) + QStringLiteral(" to ") + quoted(backupPath(path));
    logFailure(QStringLiteral("copy ") + toBackup, file.errorString());
    if (!file.rename(backupPath(path)))
        logFailure(QStringLiteral("move ") + toBackup, file.errorString());
}

constexpr qint64 ChunkSize = 256 * 1024;

} // namespace

StoreFile::StoreFile(QString path) : m_path(std::move(path)) {}

StoreFile::LoadResult StoreFile::load(SnippetList& list)
{
    const QFileInfo info(m_path);
    if (!info.exists())
        return LoadResult::Missing;

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        logFailure(QStringLiteral("read ") + quoted(m_path), file.errorString());
        // A directory holds nothing worth keeping.
        if (!info.isDir())
            keepDamagedFile(m_path);
        return LoadResult::Unreadable;
    }

    // Read in chunks: a full store would otherwise sit in memory as bytes and as entries at
    // once. A file that is not UTF-8 is read again from the start as Windows-1252.
    QStringList fields;
    bool readFailed = false;
    for (const auto encoding : {StoreReader::Encoding::Utf8, StoreReader::Encoding::Windows1252}) {
        fields.clear();
        readFailed = !file.seek(0);
        StoreReader reader(encoding);
        bool decoded = true;
        QByteArray chunk;
        while (decoded && !readFailed) {
            chunk.resize(ChunkSize);
            const qint64 got = file.read(chunk.data(), ChunkSize);
            if (got < 0) {
                readFailed = true;
                break;
            }
            chunk.resize(got);
            const bool atEnd = got < ChunkSize && file.atEnd();
            decoded = reader.feed(chunk, atEnd, fields);
            if (atEnd)
                break;
        }
        if (decoded || readFailed)
            break;
    }
    if (readFailed) {
        logFailure(QStringLiteral("read ") + quoted(m_path), file.errorString());
        file.close();
        keepDamagedFile(m_path);
    }
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
        logFailure(QStringLiteral("create the empty store ") + quoted(m_path), file.errorString());
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
    const auto fail = [&] {
        logFailure(QStringLiteral("save ") + quoted(m_path), file.errorString());
        setError(error, file.errorString());
        return false;
    };
    // Unbuffered: a buffered flush that writes only part of the data is not reported as an
    // error, and commit() would then replace the store with a cut-off file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    if (file.write(bytes) != bytes.size()) {
        fail();
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail();
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
