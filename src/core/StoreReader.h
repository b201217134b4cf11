#pragma once

#include <QByteArray>
#include <QStringList>

/**
 * Reads store-file bytes into fields, one chunk at a time, so a large store never sits in
 * memory as bytes, text and entries at once. Delimiters are ASCII, so fields are split on the
 * bytes and each field is decoded on its own: UTF-8 when its bytes are valid UTF-8, otherwise
 * Windows-1252. A file that mixes both (a line pasted from an old editor) keeps every entry.
 */
class StoreReader
{
public:
    /**
     * Appends every field that `chunk` completes to `out`; an unfinished field waits for the
     * next chunk, or is taken as it is when `atEnd`.
     */
    void feed(QByteArrayView chunk, bool atEnd, QStringList& out);

    /**
     * Appends every field that `buffer` completes to `out` and returns how many bytes they
     * took. The caller passes the rest again at the front of the next call, followed by more
     * bytes, so a file read into one buffer is never copied.
     */
    qsizetype consume(QByteArrayView buffer, bool atEnd, QStringList& out);

private:
    /** One field's bytes to text: UTF-8 when valid, otherwise Windows-1252. */
    static QString decodeField(QByteArrayView bytes);
    /** Windows-1252 to text; the five undefined bytes keep their C1 code points. */
    static QString fromWindows1252(QByteArrayView bytes);

    qsizetype parse(QByteArrayView buffer, bool atEnd, QStringList& out);

    /** What `feed` has kept of an unfinished field. */
    QByteArray m_carry;
    /** Where the search for the closing quote of the unfinished field goes on, from its start. */
    qsizetype m_resume = 0;
    /** Whether that field has a doubled quote before `m_resume`. */
    bool m_resumeDoubled = false;
    bool m_atStart = true;
};
