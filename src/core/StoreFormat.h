#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/** Decoding and field parsing of store files (pure functions, no file access). */
class StoreFormat
{
public:
    /** UTF-8 when the bytes are valid UTF-8 (a leading BOM is skipped), otherwise Windows-1252. */
    static QString decode(const QByteArray& bytes);

    /**
     * Splits decoded text into fields: blanks before a field are skipped; a quoted field runs to
     * the closing quote (a doubled quote inside reads as one quote); an unquoted field runs to the
     * next comma or line end; CR LF, a lone LF or a lone CR end a line. A quoted field that meets
     * the end of the text keeps its text as the last entry.
     */
    static QStringList parse(QStringView text);

    /** The entries of a whole store file's bytes, each decoded on its own (see StoreReader). */
    static QStringList read(QByteArrayView bytes);

    /** One quoted line per entry, skipping entries equal to `leaveOut` when it is not empty. */
    static QByteArray serialize(const QStringList& entries, const QString& leaveOut = QString());
};
