#include "core/store/StoreFormat.h"

#include "core/store/QuotedLine.h"
#include "core/store/StoreReader.h"

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
