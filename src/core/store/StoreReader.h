#pragma once

#include <QByteArray>
#include <QStringDecoder>
#include <QStringList>

class TextArena;

/**
 * Reads store-file bytes into fields, one chunk at a time, so a large store never sits in
 * memory as bytes, text and entries at once. Delimiters are ASCII, so fields are split on the
 * bytes and each field is decoded on its own: UTF-8 when its bytes are valid UTF-8, otherwise
 * Windows-1252. A file that mixes both (a line pasted from an old editor) keeps every entry.
 */
class StoreReader
{
public:
    /** With an `arena`, the fields' texts go into it while it has room (see TextArena). */
    explicit StoreReader(TextArena* arena = nullptr) : m_arena(arena) {}

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

    /** For bytes from within a file, such as lines appended to it: they hold no byte-order mark. */
    void startWithin() { m_atStart = false; }

private:
    /** One field's bytes to text: UTF-8 when valid, otherwise Windows-1252. */
    QString decodeField(QByteArrayView bytes);
    /** Windows-1252 to text at `out`, one code unit per byte; the five undefined bytes keep
     * their C1 code points. Returns the end of what was written. */
    static QChar* fromWindows1252(QByteArrayView bytes, QChar* out);

    qsizetype parse(QByteArrayView buffer, bool atEnd, QStringList& out);

    /** What `feed` has kept of an unfinished field. */
    QByteArray m_carry;
    /** Where the search for the closing quote of the unfinished field goes on, from its start. */
    qsizetype m_resume = 0;
    /** Whether that field has a doubled quote before `m_resume`. */
    bool m_resumeDoubled = false;
    bool m_atStart = true;
    TextArena* m_arena;
    /** Unlike fromUtf8, keeps a leading U+FEFF, which inside the file is part of the entry. */
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                    QStringDecoder::Flag::Stateless};
};
