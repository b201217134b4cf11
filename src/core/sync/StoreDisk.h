#pragma once

#include "core/store/StoreFile.h"

/**
 * The file operations that keeping the store in step needs: the file on disk by default, a
 * scripted file in tests of the retry and tail logic.
 */
class StoreDisk
{
public:
    virtual ~StoreDisk() = default;

    virtual FileStamp stamp(const QString& path) { return FileStamp::of(path); }
    /** `atStartUp`: the one read of a run, into memory that is never given back. */
    virtual StoreFile::Contents read(const QString& path, bool atStartUp = false)
    {
        return StoreFile::read(path, atStartUp);
    }
    virtual StoreFile::Written write(const QString& path, const QByteArray& bytes,
                                     const std::function<bool()>& beforeReplace)
    {
        return StoreFile::write(path, bytes, beforeReplace);
    }
};
