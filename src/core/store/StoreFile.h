#pragma once

#include "core/store/FileStamp.h"
#include "core/store/HeldFile.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class SnippetList;

/** The store file `Text.txt`: loading into, and atomically saving from, the snippet list. */
class StoreFile
{
public:
    enum class LoadResult
    {
        Loaded,     ///< every field of the file was appended
        Missing,    ///< no such file
        Unreadable, ///< exists but could not be read to its end; its bytes were set aside if
                    ///< possible
        TooLarge,   ///< larger than MaxBytes; not read, and never saved over
    };

    /** What reading the store found; made on any thread, handed to `accept` on the list's. */
    struct Contents
    {
        LoadResult result = LoadResult::Missing;
        QStringList entries;
        /** For the user when the store could not be loaded whole; empty otherwise. */
        QString warning;
        /** Saving over the file would destroy bytes that are kept nowhere else. */
        bool keepFile = false;
        /** The file read, stamped before its first byte was read: any later change differs. */
        FileStamp stamp;
        /** The file read, still open, and how many of its bytes were read. */
        std::shared_ptr<HeldFile> held;
        qint64 readEnd = 0;
    };

    /** What writing a new store file did. */
    struct Written
    {
        bool saved = false;
        /** The check before the replace refused it: nothing was replaced. */
        bool refused = false;
        QString error;
        /** The new file, stamped before it replaced the old one, and held open. */
        FileStamp stamp;
        std::shared_ptr<HeldFile> held;
    };

    /** Larger stores are not loaded: a store grows by hand, so this is almost surely not one. */
    static constexpr qint64 MaxBytes = qint64(256) * 1024 * 1024;
    /** Backups tried before a damaged store counts as kept nowhere: `.bak`, `.1.bak`, ... */
    static constexpr int MaxBackups = 1000;

    explicit StoreFile(QString path);

    QString path() const { return m_path; }

    /**
     * Reads the store at `path` without touching any list; safe on a worker thread. A store
     * that cannot be read to its end is first kept aside under the next free backup name.
     * `atStartUp`: the entries' texts go into one block of memory that is never given back (see
     * TextArena), and the list has room in front for the entries listed before them.
     */
    static Contents read(const QString& path, bool atStartUp = false);

    /** Appends what `read` found to `list`, and refuses later saves that would destroy it. */
    LoadResult accept(Contents contents, SnippetList& list);

    /** `read` and `accept` in one step. */
    LoadResult load(SnippetList& list) { return accept(read(m_path), list); }

    /** The warning of the last load, empty when the store loaded whole or was missing. */
    QString loadWarning() const { return m_loadWarning; }

    /** False after a load that found a file which must not be saved over (see `save`). */
    bool savesAllowed() const { return !m_keepFile; }

    /**
     * Creates an empty (zero-byte) store file; false with `error` set on failure. `created`
     * gets the new file's stamp, or stays not existing when another program made the file first.
     */
    bool createEmpty(QString* error = nullptr, FileStamp* created = nullptr) const;

    /**
     * Writes one quoted line per entry (entries equal to `leaveOut` skipped when it is not empty)
     * through a temporary file and a rename, so an interrupted save leaves the old file whole.
     * Refused after a load that found a file which must not be saved over.
     */
    bool save(const SnippetList& list, QString* error = nullptr,
              const QString& leaveOut = QString()) const;

    /** Why a store that must not be saved over was not saved. */
    static QString notSavedOverReason(const QString& path);

    /**
     * Writes `bytes` to a new file beside `path` and flushes it to disk; then, when
     * `beforeReplace` (if given) agrees, renames it over `path`. Logs a failure.
     */
    static Written write(const QString& path, const QByteArray& bytes,
                         const std::function<bool()>& beforeReplace = {});

    /**
     * Where the store lives: the program folder when writable, else (or when `programFolder` is
     * empty) the per-user data folder.
     */
    static QString choosePath(const QString& programFolder, const QString& userDataFolder);

    /** The first of `path`.bak, `path`.1.bak, `path`.2.bak, ... that does not exist; empty if none.
     */
    static QString freeBackupPath(const QString& path);

    static constexpr const char* FileName = "Text.txt";

private:
    QString m_path;
    QString m_loadWarning;
    bool m_keepFile = false;
};
