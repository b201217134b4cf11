#pragma once

#include "core/sync/UnconfirmedWrites.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

class SnippetList;
class StoreFile;

/**
 * Keeps the snippet list and the store file in step while other programs (an editor, a
 * file-sync tool, another copy of Quippet through a shared file) change the file: watches it,
 * merges outside changes into the list, and merges before every save so nothing on disk is
 * replaced unseen.
 */
class StoreSync : public QObject
{
    Q_OBJECT
public:
    /** What identifies one version of the file on disk without reading it. */
    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Stamp&) const = default;
    };

    /** Changes within this many milliseconds of the first are read as one. */
    static constexpr int DefaultQuietMs = 300;

    /** `leaveOut` (the date entry) is never written and never merged in. */
    StoreSync(StoreFile& store, SnippetList& list, QString leaveOut, QObject* parent = nullptr);

    /** Takes the list as it stands as the file's content and starts watching. */
    void begin();
    /** Stops watching; the list is no longer changed from outside. */
    void stop();

    /**
     * Saves the list. When the file changed on disk since it was last read or written, the
     * change is merged into the list first; a vanished file is written again from the list.
     */
    bool save(QString* error = nullptr);

    /** Reads the file when it changed since last read or written and merges the change. */
    void syncFromDisk();

    void setQuietMs(int ms) { m_quiet.setInterval(ms); }
    /** The file the store path names, symbolic links followed. */
    QString targetPath() const;
    static QString targetOf(const QString& storePath);
    static Stamp stampOf(const QString& path);

Q_SIGNALS:
    /** The list took in a change made outside. */
    void merged();
    /** The file changed outside but could not be read; once until it reads again. */
    void unreadable(const QString& path);
    /** The list kept entries the file lacks because its writer never saw them: save soon. */
    void keptUnseen();

private:
    void fileEvent();
    void watch();

    StoreFile& m_store;
    SnippetList& m_list;
    QString m_leaveOut;
    QStringList m_base;
    Stamp m_stamp;
    /** The file at `m_stamp` holds `m_base`: a save with nothing new to write skips writing. */
    bool m_fileHoldsBase = false;
    UnconfirmedWrites m_unconfirmed;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    bool m_active = false;
    bool m_warned = false;
};
