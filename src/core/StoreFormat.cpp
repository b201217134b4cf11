#include "StoreFormat.h"

#include "QuotedLine.h"

#include <QStringDecoder>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it leaves undefined keep
// their C1 code points so that re-saving such a file loses nothing.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *dst++ = (b >= 0x80 && b <= 0x9F) ? QChar(Cp1252High[b - 0x80u])
                                          : QChar(static_cast<char16_t>(b));
    }
    return out;
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isDelimiter(QChar c)
{
    return c == u',' || isLineEnd(c);
}

} // namespace

QString StoreFormat::decode(const QByteArray& bytes)
{
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        body = body.sliced(3);
    // Stateless: a sequence cut off at the end counts as an error instead of being held back.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    // Legacy files were written in the ANSI code page; decode all bytes, a BOM-like prefix
    // included, so nothing is dropped.
    return decodeWindows1252(bytes);
}

QStringList StoreFormat::parse(QStringView text)
{
    QStringList fields;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && text[i] == u' ')
            ++i;
        QString field;
        if (i < n && text[i] == u'"') {
            ++i;
            for (;;) {
                const qsizetype quote = text.indexOf(u'"', i);
                const qsizetype end = quote < 0 ? n : quote;
                // Most fields have no doubled quote: take them in one piece.
                if (field.isNull())
                    field = text.sliced(i, end - i).toString();
                else
                    field += text.sliced(i, end - i);
                if (quote < 0) {
                    // No closing quote: the rest of the text is the last field.
                    i = n;
                    break;
                }
                i = quote + 1;
                if (i < n && text[i] == u'"') {
                    field += u'"';
                    ++i;
                    continue;
                }
                break;
            }
            // Anything between the closing quote and the delimiter is not part of the field.
            while (i < n && !isDelimiter(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && !isDelimiter(text[i]))
                ++i;
            field = text.sliced(start, i - start).toString();
        }
        if (i < n) {
            const QChar delimiter = text[i++];
            if (delimiter == u'\r' && i < n && text[i] == u'\n')
                ++i;
        }
        fields.append(std::move(field));
    }
    return fields;
}

QByteArray StoreFormat::serialize(const QStringList& entries, const QString& leaveOut)
{
    qsizetype estimate = 0;
    for (const QString& entry : entries)
        estimate += entry.size() + 4;
    QByteArray out;
    out.reserve(estimate + estimate / 8);
    const bool skip = !leaveOut.isEmpty();
    for (const QString& entry : entries) {
        if (skip && entry == leaveOut)
            continue;
        QuotedLine::appendTo(out, entry);
    }
    return out;
}
