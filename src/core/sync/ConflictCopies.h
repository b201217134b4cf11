#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <optional>

class SnippetList;

/**
 * The copies that file-sync engines leave beside the store file when they cannot reconcile two
 * versions of it: Syncthing's `Text.sync-conflict-<date>-<time>-<device>.txt`, Nextcloud's and
 * ownCloud's `Text (conflicted copy <date> <time>).txt`, Dropbox's `Text (<name>'s conflicted
 * copy <date>).txt`. Each one that appears is merged into the list as additions (it never
 * removes an entry) and then moved to the store's next free backup name, so nothing is deleted.
 * One that cannot be read stays where it is and is logged.
 */
class ConflictCopies : public QObject
{
    Q_OBJECT
public:
    /** `storePath` may be a link; the copies lie beside the file it names. */
    ConflictCopies(QString storePath, SnippetList& list, QString leaveOut,
                   QObject* parent = nullptr);

    /** Takes in the copies already there and watches for more. */
    void begin();
    void stop();

    /** Takes in every conflict copy beside the store now; returns how many were merged. */
    int collect();

    /** Whether `name` is a sync engine's conflict copy of the file named `fileName`. */
    static bool isConflictCopy(const QString& fileName, const QString& name);
    /** The conflict copies beside `file`, oldest first. */
    static QStringList find(const QString& file);
    /** A copy's entries, or nothing with the system's reason in `reason`. */
    static std::optional<QStringList> read(const QString& path, QString* reason);

Q_SIGNALS:
    /** One or more copies were merged into the list. */
    void merged();

private:
    QString m_storePath;
    SnippetList& m_list;
    QString m_leaveOut;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    /** Unreadable copies already logged, and merged ones that could not be moved aside. */
    QSet<QString> m_reported;
    QSet<QString> m_stuck;
};
