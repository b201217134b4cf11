#include "core/store/StoreFile.h"

#include "core/list/SnippetList.h"
#include "core/log/QuippetLog.h"
#include "core/store/NewFile.h"
#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"
#include "core/store/TextArena.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <utility>

namespace {

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
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
 * Keeps a store that could not be read to its end beside it, since a save replaces it: copied
 * to the next free backup name, or moved there whole if it cannot even be copied. Returns where
 * the bytes are now, or an empty text when they could be kept nowhere.
 */
QString keepAside(const QString& path)
{
    QString target = StoreFile::freeBackupPath(path);
    if (target.isEmpty()) {
        logFailure(QStringLiteral("keep ") + quoted(path),
                   QStringLiteral("every backup name is taken"));
        return {};
    }
    QFile file(path);
    if (file.copy(target))
        return target;
    logFailure(QStringLiteral("copy %1 to %2").arg(quoted(path), quoted(target)),
               file.errorString());
    // A failed copy may have left part of a file under that name: take the next one.
    target = StoreFile::freeBackupPath(path);
    if (!target.isEmpty() && file.rename(target))
        return target;
    logFailure(QStringLiteral("move %1 to %2").arg(quoted(path), quoted(target)),
               file.errorString());
    return {};
}

QString unreadableWarning(const QString& path, const QString& reason, const QString& keptAt)
{
    QString text = QStringLiteral("Quippet could not read the snippet list\n%1\n\nReason: %2\n\n")
                       .arg(QDir::toNativeSeparators(path), reason);
    if (keptAt.isEmpty())
        return text + QStringLiteral("The file could not be kept aside, so the list is not "
                                     "saved in this session.");
    return text + QStringLiteral("The file as it was is kept as\n%1\n\nThe list starts with "
                                 "the entries that could be read.")
                      .arg(QDir::toNativeSeparators(keptAt));
}

constexpr qint64 ChunkSize = 1024 * 1024;
constexpr qint64 MiB = 1024 * 1024;

} // namespace

StoreFile::StoreFile(QString path) : m_path(std::move(path)) {}

StoreFile::Contents StoreFile::read(const QString& path, bool atStartUp)
{
    Contents contents;
    const QFileInfo info(path);
    if (!info.exists())
        return contents;

    if (info.isDir()) {
        // A folder holds nothing worth a backup, and nothing can be saved in its place.
        contents.result = LoadResult::Unreadable;
        contents.keepFile = true;
        contents.warning =
            unreadableWarning(path, QStringLiteral("It is a folder, not a file."), QString());
        return contents;
    }
    if (info.size() > MaxBytes) {
        contents.result = LoadResult::TooLarge;
        contents.keepFile = true;
        contents.warning =
            QStringLiteral("The snippet list\n%1\nis %2 MB, more than the %3 MB Quippet loads.\n\n"
                           "It was not loaded and is not saved over in this session; the list "
                           "starts empty.")
                .arg(QDir::toNativeSeparators(path))
                .arg((info.size() + MiB - 1) / MiB)
                .arg(MaxBytes / MiB);
        return contents;
    }

    // Taken before reading: a change made during the read is seen at the next look.
    contents.stamp = FileStamp::of(path);
    QFile file(path);
    QString reason;
    // Read in chunks: a full store would otherwise sit in memory as bytes and as entries at once.
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        // The file opened, not the one the name gives a moment later.
        contents.stamp = FileStamp::ofOpen(file.handle());
        contents.held = std::make_shared<HeldFile>(::dup(file.handle()));
        // No field has more code units than bytes.
        std::optional<TextArena> arena;
        if (atStartUp) {
            arena.emplace(info.size());
            // A slot in front of the entries, freed below: the date entry then goes in
            // before them without copying the whole list.
            contents.entries.append(QString());
        }
        StoreReader reader(arena ? &*arena : nullptr);
        // An unfinished field stays at the front and the next chunk is read in behind it.
        QByteArray buffer(ChunkSize, Qt::Uninitialized);
        qsizetype kept = 0;
        for (;;) {
            if (buffer.size() < kept + ChunkSize)
                buffer.resize(qMax(2 * buffer.size(), kept + ChunkSize));
            const qint64 got = file.read(buffer.data() + kept, ChunkSize);
            if (got < 0) {
                reason = file.errorString();
                break;
            }
            contents.readEnd += got;
            const qsizetype filled = kept + got;
            const qsizetype used = reader.consume(QByteArrayView(buffer.constData(), filled),
                                                  got == 0, contents.entries);
            kept = filled - used;
            if (used > 0)
                std::memmove(buffer.data(), buffer.constData() + used, static_cast<size_t>(kept));
            if (got == 0)
                break;
        }
        file.close();
        if (atStartUp)
            contents.entries.removeFirst();
    } else {
        reason = file.errorString();
    }
    if (reason.isEmpty()) {
        contents.result = LoadResult::Loaded;
        return contents;
    }

    logFailure(QStringLiteral("read ") + quoted(path), reason);
    contents.result = LoadResult::Unreadable;
    const QString keptAt = keepAside(path);
    contents.keepFile = keptAt.isEmpty() && QFileInfo::exists(path);
    contents.warning = unreadableWarning(path, reason, keptAt);
    return contents;
}

StoreFile::LoadResult StoreFile::accept(Contents contents, SnippetList& list)
{
    m_keepFile = contents.keepFile;
    m_loadWarning = std::move(contents.warning);
    if (!contents.entries.isEmpty())
        list.appendAll(std::move(contents.entries));
    return contents.result;
}

QString StoreFile::freeBackupPath(const QString& path)
{
    for (int i = 0; i < MaxBackups; ++i) {
        const QString candidate =
            i == 0 ? path + QStringLiteral(".bak") : QStringLiteral("%1.%2.bak").arg(path).arg(i);
        // A dangling link counts as taken too: it may point where a backup was.
        if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink())
            return candidate;
    }
    return {};
}

bool StoreFile::createEmpty(QString* error, FileStamp* created) const
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
    if (created)
        *created = FileStamp::ofOpen(file.handle());
    file.close();
    return true;
}

bool StoreFile::save(const SnippetList& list, QString* error, const QString& leaveOut) const
{
    if (m_keepFile) {
        setError(error, notSavedOverReason(m_path));
        return false;
    }
    // The list's own storage where it has one: no copy of every entry before each save.
    const Written written = write(m_path, StoreFormat::serialize(list.allEntries(), leaveOut));
    if (!written.saved)
        setError(error, written.error);
    return written.saved;
}

QString StoreFile::notSavedOverReason(const QString& path)
{
    return QStringLiteral("%1 was not loaded, so it is not saved over in this session.")
        .arg(QDir::toNativeSeparators(path));
}

StoreFile::Written StoreFile::write(const QString& path, const QByteArray& bytes,
                                    const std::function<bool()>& beforeReplace)
{
    Written written;
    // A link is kept: its target is what gets replaced.
    const QFileInfo info(path);
    const QString linked = info.symLinkTarget(); // empty for anything but a link
    const QString target = linked.isEmpty() ? path : linked;
    const auto fail = [&](const QString& reason) {
        logFailure(QStringLiteral("save ") + quoted(path), reason);
        written.error = reason;
        return written;
    };
    if (info.isDir())
        return fail(QStringLiteral("Filename refers to a directory"));
    // A file the user made read-only is not replaced behind the user's back.
    if (info.exists() && !info.isWritable())
        return fail(QStringLiteral("Existing file %1 is not writable")
                        .arg(QDir::toNativeSeparators(target)));
    NewFile file(target);
    if (!file.open())
        return fail(file.error());
    // Flushed once, before the check, so that between the check and the rename nothing waits.
    if (!file.write(bytes) || !file.flush())
        return fail(file.error());
    written.stamp = FileStamp::ofOpen(file.handle());
    if (beforeReplace && !beforeReplace()) {
        written.refused = true;
        return written;
    }
    if (!file.replace())
        return fail(file.error());
    written.saved = true;
    // Held open under its name; a file put there since is not ours and is read as a change.
    const int fd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    written.held = std::make_shared<HeldFile>(fd);
    const FileStamp opened = fd >= 0 ? FileStamp::ofOpen(fd) : FileStamp();
    if (!opened.isSameFileAs(written.stamp))
        written.held.reset();
    return written;
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
