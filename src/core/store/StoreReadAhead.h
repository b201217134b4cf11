#pragma once

#include "core/store/StoreFile.h"

#include <QString>
#include <future>

/**
 * Reads the store on a worker thread, started before the window is built, so reading and
 * decoding a large store overlap the window's construction instead of adding to it.
 */
class StoreReadAhead
{
public:
    /** Starts reading the store at `path` at once. */
    explicit StoreReadAhead(QString path);

    QString path() const { return m_path; }

    /** What the worker read; waits for it to finish. Call once. */
    StoreFile::Contents take() { return m_contents.get(); }

private:
    QString m_path;
    std::future<StoreFile::Contents> m_contents;
};
