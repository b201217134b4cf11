#pragma once

#include <QByteArray>
#include <QString>

/**
 * A new file beside a target, written and flushed, then renamed over the target or removed.
 * It gets the target's permissions, or a new file's when there is no target yet.
 */
class NewFile
{
public:
    explicit NewFile(const QString& target);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    /** Creates the file in the target's folder; it gets a name (the target's, a dot and six
     * letters) at the latest when it replaces the target. */
    bool open();
    /** Writes all of `bytes`, retrying short writes. */
    bool write(const QByteArray& bytes);
    /** Flushes the data to disk. */
    bool flush();
    /** Renames the file over the target; afterwards it is no longer removed. */
    bool replace();
    int handle() const { return m_fd; }
    /** Why the last step failed. */
    QString error() const { return m_error; }

private:
    bool failed();

    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_name;
    QString m_error;
    int m_fd = -1;
};
