#pragma once

#include "core/store/StoreFile.h"
#include "core/sync/UnconfirmedWrites.h"

#include <QStringList>
#include <chrono>
#include <vector>

class StoreDisk;

/**
 * The store file as this program last read or wrote it, and the reads, merges and saves that
 * keep a list in step with it while other programs change it. Works on copies of the list, so
 * it can run on a thread of its own; one call at a time.
 *
 * Every read stamps the file before its first byte, so whatever changes later is read again.
 * A save writes a new file and, right before it replaces the store, checks that the store is
 * still the one the merge read; if not, it reads, merges and writes again. Our own save is
 * known by the stamp of the file written. A replaced file stays open for a while: lines that
 * writers append to it after it was read are merged in, and the next save writes them.
 *
 * An outside version that lacks entries our saves wrote removes them only when it was made after
 * it saw them (see `StoreMerge::unseenRemovals`); the others are kept and saved again. A save
 * with nothing new for a file that holds exactly the list writes nothing, so sync engines are not
 * handed a version to reconcile.
 */
class SyncedStore
{
public:
    /** Writes tried before a store that keeps changing is reported as not saved. */
    static constexpr int MaxAttempts = 5;
    /** How long a replaced file is still read for appended lines. */
    static constexpr std::chrono::milliseconds ReplacedKeptFor{3000};

    /** What a call found; `entries` is the list to show when `changed`. */
    struct Outcome
    {
        QStringList entries;
        bool changed = false;
        bool saved = false;
        QString error;
        /** An outside change could not be read (once until the file reads again). */
        bool unreadable = false;
        bool savesAllowed = true;
        /** `entries` hold lines the store does not have yet: save again. */
        bool unsaved = false;
        /** Replaced files are still held: look again later for lines appended to them. */
        bool holdsReplaced = false;
        /** The outside version lacked entries its writer never saw: they were kept. */
        bool keptUnseen = false;
    };

    /** `leaveOut` (the date entry) is never written and never merged in. */
    SyncedStore(StoreDisk& disk, QString path, QString leaveOut);

    /** Starts from the list as loaded and from what the read that filled it found. */
    void begin(const QStringList& listed, const StoreFile::Contents& read);

    /** Reads the store when it changed since last read or written and merges the change. */
    Outcome refresh(const QStringList& ours);
    /** Merges outside changes first, then saves (see the class comment). */
    Outcome save(const QStringList& ours);

    QString path() const { return m_path; }

private:
    struct Replaced
    {
        std::shared_ptr<HeldFile> file;
        qint64 end;
        std::chrono::steady_clock::time_point since;
    };

    void refreshInto(Outcome& out);
    void mergeReplacedTails(Outcome& out);
    void hold(std::shared_ptr<HeldFile> file, qint64 end, const FileStamp& stamp);

    StoreDisk& m_disk;
    QString m_path;
    QString m_leaveOut;
    /** What the store held when last read or written. */
    QStringList m_base;
    /** The file at `m_known` holds `m_base`: a save with nothing new to write skips writing. */
    bool m_fileHoldsBase = false;
    /** What our saves wrote that no outside version has held yet: the rule's memory. */
    UnconfirmedWrites m_unconfirmed;
    /** Lines appended to replaced files, merged into the list since the last save. */
    QStringList m_appended;
    /** The store as last read or written. */
    FileStamp m_known;
    std::shared_ptr<HeldFile> m_held;
    qint64 m_heldEnd = 0;
    FileStamp m_heldStamp;
    std::vector<Replaced> m_replaced;
    bool m_keepFile = false;
    bool m_warned = false;
};
