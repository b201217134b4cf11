#include "core/store/HeldFile.h"

#include <unistd.h>

HeldFile::~HeldFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray HeldFile::readFrom(qint64 offset) const
{
    QByteArray bytes;
    if (m_fd < 0)
        return bytes;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::pread(m_fd, chunk, sizeof chunk, static_cast<off_t>(offset));
        if (got <= 0)
            return bytes;
        bytes.append(chunk, got);
        offset += got;
    }
}
