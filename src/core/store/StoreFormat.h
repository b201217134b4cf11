#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/** Decoding and field parsing of store files (pure functions, no file access). */
class StoreFormat
{
public:
    /**
     * The entries of a whole store file's bytes, each decoded on its own (see StoreReader).
     * Blanks before a field are skipped; a quoted field runs to the closing quote (a doubled
     * quote inside reads as one quote); an unquoted field runs to the next comma or line end;
     * CR LF, a lone LF or a lone CR end a line. A quoted field that meets the end of the bytes
     * keeps its text as the last entry.
     */
    static QStringList read(QByteArrayView bytes);

    /** One quoted line per entry, skipping entries equal to `leaveOut` when it is not empty. */
    static QByteArray serialize(const QStringList& entries, const QString& leaveOut = QString());
};
