#pragma once

#include <QByteArray>
#include <QStringList>

/**
 * Reads store-file bytes into fields, one chunk at a time, so a large store never sits in
 * memory as bytes, text and entries at once. Delimiters are ASCII, so fields are split on the
 * bytes and each field is decoded on its own.
 */
class StoreReader
{
public:
    enum class Encoding
    {
        Utf8,
        Windows1252
    };

    explicit StoreReader(Encoding encoding) : m_encoding(encoding) {}

    /**
     * Appends every field that `chunk` completes to `out`; an unfinished field waits for the
     * next chunk, or is taken as it is when `atEnd`. In UTF-8 mode returns false as soon as a
     * field is not valid UTF-8 (the caller then reads again as Windows-1252).
     */
    bool feed(QByteArrayView chunk, bool atEnd, QStringList& out);

    /** Windows-1252 to text; the five undefined bytes keep their C1 code points. */
    static QString fromWindows1252(QByteArrayView bytes);

private:
    qsizetype parse(QByteArrayView buffer, bool atEnd, QStringList& out, bool& valid) const;
    QString decodeField(QByteArrayView bytes, bool& valid) const;

    Encoding m_encoding;
    QByteArray m_carry;
    bool m_atStart = true;
};
