#include "core/sync/ConflictCopies.h"

#include "core/log/QuippetLog.h"
#include "core/store/FileStamp.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreFormat.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/StoreWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace {

QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}

} // namespace

ConflictCopies::ConflictCopies(QString storePath, QString leaveOut)
    : m_storePath(std::move(storePath)), m_leaveOut(std::move(leaveOut))
{
}

bool ConflictCopies::isConflictCopy(const QString& fileName, const QString& name)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = QRegularExpression::escape(dot > 0 ? fileName.left(dot) : fileName);
    const QString suffix = QRegularExpression::escape(dot > 0 ? fileName.mid(dot) : QString());
    static const QString syncthing = QStringLiteral("\\.sync-conflict-\\d{8}-\\d{6}-[A-Z0-9]{7}");
    static const QString kinds =
        syncthing +
        QStringLiteral("| \\(conflicted copy [^()/]*\\)" // Nextcloud, ownCloud
                       "| \\([^()/]+['\u2019]s conflicted copy [^()/]*\\)( \\(\\d+\\))?" // Dropbox
        );
    const auto matches = [&name](const QString& pattern) {
        return QRegularExpression(QRegularExpression::anchoredPattern(pattern))
            .match(name)
            .hasMatch();
    };
    // Syncthing takes all of a hidden name as its extension: ".list" gets ".sync-conflict-...list".
    return matches(base + QStringLiteral("(?:") + kinds + u')' + suffix) ||
           (dot == 0 && matches(syncthing + QRegularExpression::escape(fileName)));
}

QStringList ConflictCopies::find(const QString& file)
{
    const QFileInfo info(file);
    const QString fileName = info.fileName();
    // Every job of the store thread looks: names not starting like the store's are passed cheaply.
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString stem = dot >= 0 ? fileName.left(dot) : fileName;
    // Sockets and other special files too: a copy that cannot be read is reported, not passed.
    QFileInfoList found;
    for (const QFileInfo& entry :
         info.absoluteDir().entryInfoList(QDir::Files | QDir::System | QDir::Hidden))
        if (entry.fileName().startsWith(stem) && isConflictCopy(fileName, entry.fileName()))
            found.append(entry);
    std::stable_sort(found.begin(), found.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    QStringList paths;
    for (const QFileInfo& entry : std::as_const(found))
        paths.append(entry.absoluteFilePath());
    return paths;
}

std::optional<QStringList> ConflictCopies::read(const QString& path, QString* reason)
{
    QFile file(path);
    if (file.size() > StoreFile::MaxBytes) {
        *reason = QStringLiteral("larger than %1 MB").arg(StoreFile::MaxBytes / 1024 / 1024);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return std::nullopt;
    }
    return StoreFormat::read(bytes);
}

int ConflictCopies::collect(QStringList& entries, bool* beingWritten)
{
    const QString target = StoreWatcher::targetPath(m_storePath);
    int count = 0;
    for (const QString& path : find(target)) {
        if (m_stuck.contains(path))
            continue;
        const FileStamp stamp = FileStamp::of(path);
        QString reason;
        const std::optional<QStringList> copy = read(path, &reason);
        if (!copy) {
            if (QFileInfo::exists(path) && !m_reported.contains(path)) {
                m_reported.insert(path);
                qCWarning(lcStore).noquote()
                    << QStringLiteral("Could not read the conflict copy %1, left where it is: %2")
                           .arg(quoted(path), reason);
            }
            continue;
        }
        if (FileStamp::of(path) != stamp) {
            if (beingWritten) // still being written: read it again in a moment
                *beingWritten = true;
            continue;
        }
        entries = StoreMerge::mergeAdditions(entries, *copy, m_leaveOut);
        ++count;
        const QString aside = StoreFile::freeBackupPath(target);
        // Gone meanwhile: the engine brought over another machine's move of the same copy.
        if ((aside.isEmpty() || !QFile::rename(path, aside)) && QFileInfo::exists(path)) {
            m_stuck.insert(path);
            qCWarning(lcStore).noquote()
                << QStringLiteral("Could not move the merged conflict copy %1 aside to %2")
                       .arg(quoted(path),
                            aside.isEmpty() ? QStringLiteral("a free backup name") : quoted(aside));
        }
    }
    return count;
}
