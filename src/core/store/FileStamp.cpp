#include "core/store/FileStamp.h"

#include <QFile>
#include <sys/stat.h>

namespace {

FileStamp fromStat(const struct stat& st)
{
    // Anything but a file (a folder in its place) holds no entries to merge; the save reports it.
    if (!S_ISREG(st.st_mode))
        return {};
    return {true, static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

} // namespace

FileStamp FileStamp::of(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? fromStat(st) : FileStamp{};
}

FileStamp FileStamp::ofOpen(int fd)
{
    struct stat st
    {
    };
    return ::fstat(fd, &st) == 0 ? fromStat(st) : FileStamp{};
}

bool FileStamp::isSameFileAs(const FileStamp& other) const
{
    return exists && other.exists && device == other.device && inode == other.inode;
}
