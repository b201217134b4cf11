#pragma once

#include <QByteArray>
#include <QString>

/**
 * The record of the store file and of the Write target: a double quote, the text as UTF-8
 * (a double quote inside doubled), a double quote, CR LF.
 */
class QuotedLine
{
public:
    static QByteArray encode(const QString& text);
    /** Appends the encoded line to `out` (no intermediate buffer; used when writing many lines). */
    static void appendTo(QByteArray& out, QStringView text);

    /** Room that the line of `text` needs at most: three bytes a UTF-16 unit, four around. */
    static qsizetype maxSize(QStringView text) { return 3 * text.size() + 4; }
    /** Writes the line at `out`, which has `maxSize(text)` bytes of room; returns its end. */
    static char* write(char* out, QStringView text);
};
