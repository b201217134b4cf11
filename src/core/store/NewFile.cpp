#include "core/store/NewFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Attempts = 100;

/** The target's name, a dot and six random letters or digits. */
QByteArray besideName(const QByteArray& target)
{
    static constexpr char Letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = target + '.';
    for (int i = 0; i < 6; ++i)
        name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
    return name;
}

} // namespace

NewFile::NewFile(const QString& target)
    : m_target(QFile::encodeName(target)),
      m_folder(QFile::encodeName(QFileInfo(target).absolutePath()))
{
}

NewFile::~NewFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    // Not renamed: nothing is left beside the target.
    if (!m_name.isEmpty())
        ::unlink(m_name.constData());
}

bool NewFile::failed()
{
    m_error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool NewFile::open()
{
    struct stat old = {};
    const bool hasTarget = ::stat(m_target.constData(), &old) == 0;
    // Without a name until it is complete, so a process killed while writing leaves nothing
    // behind; 0666 less the umask, as any new file gets.
    m_fd = ::open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // Some file systems have no nameless files: a named one, removed when not completed.
    for (int attempt = 0; m_fd < 0 && attempt < Attempts; ++attempt) {
        const QByteArray name = besideName(m_target);
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            m_name = name;
        else if (errno != EEXIST)
            return failed();
    }
    if (m_fd < 0)
        return failed();
    // The target's own permissions where it has them.
    return !hasTarget || ::fchmod(m_fd, old.st_mode & 07777) == 0 || failed();
}

bool NewFile::write(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t done = ::write(m_fd, data, size_t(left));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            if (done == 0)
                errno = ENOSPC; // a regular file takes nothing only when the disk is full
            return failed();
        }
        data += done;
        left -= done;
    }
    return true;
}

bool NewFile::flush()
{
    return ::fdatasync(m_fd) == 0 || failed();
}

bool NewFile::replace()
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; m_name.isEmpty() && attempt < Attempts; ++attempt) {
        const QByteArray name = besideName(m_target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0)
            m_name = name;
        else if (errno != EEXIST)
            return failed();
    }
    if (m_name.isEmpty() || ::rename(m_name.constData(), m_target.constData()) != 0)
        return failed();
    m_name.clear();
    return true;
}
