#pragma once

#include <QString>
#include <QtGlobal>

/** What identifies one version of a file on disk without reading it. */
struct FileStamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileStamp&) const = default;
    /** Whether both name the same existing file, whatever its contents since. */
    bool isSameFileAs(const FileStamp& other) const;

    /** The file `path` names now, links followed; not existing for anything but a plain file. */
    static FileStamp of(const QString& path);
    /** The file open as `fd`. */
    static FileStamp ofOpen(int fd);
};
