#pragma once

#include <QByteArray>

/**
 * A store file kept open after it was read or written. A writer that opened the file before
 * another one replaced it under its name still appends to it; those bytes are read from here.
 */
class HeldFile
{
public:
    /** Takes over `fd` (-1: nothing held) and closes it when destroyed. */
    explicit HeldFile(int fd = -1) : m_fd(fd) {}
    virtual ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    /** Everything the file holds from `offset` on; empty when it holds no more. */
    virtual QByteArray readFrom(qint64 offset) const;

private:
    int m_fd;
};
