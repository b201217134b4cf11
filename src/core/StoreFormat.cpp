#include "StoreFormat.h"

#include "QuotedLine.h"
#include "StoreReader.h"

QString StoreFormat::decode(const QByteArray& bytes)
{
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    // The same test the store reader makes, so both agree on what counts as UTF-8.
    if (body.isValidUtf8())
        return QString::fromUtf8(body);
    // Legacy files were written in the ANSI code page; decode all bytes, a BOM-like prefix
    // included, so nothing is dropped.
    return StoreReader::fromWindows1252(bytes);
}

QStringList StoreFormat::parse(QStringView text)
{
    return read(text.toUtf8());
}

QStringList StoreFormat::read(QByteArrayView bytes)
{
    QStringList fields;
    StoreReader reader;
    reader.feed(bytes, true, fields);
    return fields;
}

QByteArray StoreFormat::serialize(const QStringList& entries, const QString& leaveOut)
{
    // Room for the worst case, filled in one pass; pages never written cost no memory.
    qsizetype room = 0;
    for (const QString& entry : entries)
        room += QuotedLine::maxSize(entry);
    QByteArray out(room, Qt::Uninitialized);
    char* const begin = out.data();
    char* end = begin;
    const bool skip = !leaveOut.isEmpty();
    for (const QString& entry : entries) {
        if (skip && entry == leaveOut)
            continue;
        end = QuotedLine::write(end, entry);
    }
    out.truncate(end - begin);
    return out;
}
