#pragma once

#include <QString>

class SnippetList;

/** The store file `Text.txt`: loading into, and atomically saving from, the snippet list. */
class StoreFile
{
public:
    enum class LoadResult
    {
        Loaded,     ///< every field of the file was appended
        Missing,    ///< no such file
        Unreadable, ///< exists but could not be read to its end; a `.bak` copy was attempted
    };

    explicit StoreFile(QString path);

    QString path() const { return m_path; }

    /** Appends the file's fields to `list` in file order. */
    LoadResult load(SnippetList& list);

    /** Creates an empty (zero-byte) store file; false with `error` set on failure. */
    bool createEmpty(QString* error = nullptr) const;

    /**
     * Writes one quoted line per entry (entries equal to `leaveOut` skipped when it is not empty)
     * through a temporary file and a rename, so an interrupted save leaves the old file whole.
     */
    bool save(const SnippetList& list, QString* error = nullptr,
              const QString& leaveOut = QString()) const;

    /**
     * Where the store lives: the program folder when writable, else (or when `programFolder` is
     * empty) the per-user data folder.
     */
    static QString choosePath(const QString& programFolder, const QString& userDataFolder);

    static constexpr const char* FileName = "Text.txt";

private:
    QString m_path;
};
