#pragma once

#include <QSet>
#include <QStringList>
#include <optional>

/**
 * The copies that file-sync engines leave beside the store file when they cannot reconcile two
 * versions of it: Syncthing's `Text.sync-conflict-<date>-<time>-<device>.txt`, Nextcloud's and
 * ownCloud's `Text (conflicted copy <date> <time>).txt`, Dropbox's `Text (<name>'s conflicted
 * copy <date>).txt`. Each one found is merged into the list as additions (it never removes an
 * entry) and then moved to the store's next free backup name, so nothing is deleted. One that
 * cannot be read stays where it is and is logged. Works on a copy of the list, on the store's
 * thread, one call at a time.
 */
class ConflictCopies
{
public:
    /** `storePath` may be a link; the copies lie beside the file it names. */
    ConflictCopies(QString storePath, QString leaveOut);

    /**
     * Takes every conflict copy beside the store now into `entries`; returns how many were
     * merged. `beingWritten` is set when one was still changing: look again in a moment.
     */
    int collect(QStringList& entries, bool* beingWritten = nullptr);

    /** Whether `name` is a sync engine's conflict copy of the file named `fileName`. */
    static bool isConflictCopy(const QString& fileName, const QString& name);
    /** The conflict copies beside `file`, oldest first. */
    static QStringList find(const QString& file);
    /** A copy's entries, or nothing with the system's reason in `reason`. */
    static std::optional<QStringList> read(const QString& path, QString* reason);

private:
    QString m_storePath;
    QString m_leaveOut;
    /** Unreadable copies already logged, and merged ones that could not be moved aside. */
    QSet<QString> m_reported;
    QSet<QString> m_stuck;
};
