#include "core/store/StoreReader.h"

#include "core/store/TextArena.h"

#include <array>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

/** Position of `c` in `buffer` at or after `from`, or -1. */
qsizetype find(QByteArrayView buffer, char c, qsizetype from)
{
    if (from >= buffer.size())
        return -1;
    const auto* hit = static_cast<const char*>(
        std::memchr(buffer.data() + from, c, static_cast<size_t>(buffer.size() - from)));
    return hit ? hit - buffer.data() : -1;
}

/** The first comma, CR or LF at or after `from`, or -1. */
qsizetype findDelimiter(QByteArrayView buffer, qsizetype from)
{
    const qsizetype n = buffer.size();
    for (qsizetype i = from; i < n; ++i) {
        const char c = buffer[i];
        if (c == ',' || c == '\r' || c == '\n')
            return i;
    }
    return -1;
}

/** A quoted field's content with every doubled quote read as one. */
QByteArray unescape(QByteArrayView content)
{
    QByteArray out;
    out.reserve(content.size());
    qsizetype from = 0;
    for (qsizetype quote = find(content, '"', 0); quote >= 0; quote = find(content, '"', from)) {
        out.append(content.sliced(from, quote + 1 - from));
        from = quote + 2; // the second quote of the pair
    }
    if (from < content.size())
        out.append(content.sliced(from));
    return out;
}

} // namespace

QChar* StoreReader::fromWindows1252(QByteArrayView bytes, QChar* out)
{
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(Cp1252High[b - 0x80u])
                                          : QChar(static_cast<char16_t>(b));
    }
    return out;
}

QString StoreReader::decodeField(QByteArrayView bytes)
{
    const bool utf8 = bytes.isValidUtf8();
    // Either encoding gives at most one code unit per byte.
    if (QChar* out = m_arena && !bytes.isEmpty() ? m_arena->room(bytes.size()) : nullptr) {
        const QChar* end = utf8 ? m_utf8.appendToBuffer(out, bytes) : fromWindows1252(bytes, out);
        return m_arena->keep(end - out);
    }
    if (!utf8) {
        QString text(bytes.size(), Qt::Uninitialized);
        fromWindows1252(bytes, text.data());
        return text;
    }
    return m_utf8(bytes);
}

void StoreReader::feed(QByteArrayView chunk, bool atEnd, QStringList& out)
{
    if (m_carry.isEmpty()) {
        m_carry = chunk.sliced(consume(chunk, atEnd, out)).toByteArray();
        return;
    }
    m_carry.append(chunk.data(), chunk.size());
    m_carry.remove(0, consume(m_carry, atEnd, out));
}

qsizetype StoreReader::consume(QByteArrayView buffer, bool atEnd, QStringList& out)
{
    qsizetype bom = 0;
    if (m_atStart) {
        // A byte-order mark belongs to the encoding, not to the first entry.
        if (buffer.size() < 3 && !atEnd)
            return 0;
        m_atStart = false;
        if (buffer.startsWith("\xEF\xBB\xBF"))
            bom = 3;
    }
    return bom + parse(buffer.sliced(bom), atEnd, out);
}

qsizetype StoreReader::parse(QByteArrayView buffer, bool atEnd, QStringList& out)
{
    const qsizetype n = buffer.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype fieldStart = i;
        while (i < n && buffer[i] == ' ')
            ++i;
        if (i == n && !atEnd)
            return fieldStart;
        QString field;
        if (i < n && buffer[i] == '"') {
            const qsizetype contentStart = i + 1;
            // Find the closing quote: the first one that is not half of a doubled pair.
            qsizetype from = qMax(contentStart, fieldStart + m_resume);
            qsizetype quote = -1;
            bool doubled = m_resume > 0 && m_resumeDoubled;
            for (;;) {
                quote = find(buffer, '"', from);
                if (quote < 0 || quote + 1 < n || atEnd) {
                    if (quote >= 0 && quote + 1 < n && buffer[quote + 1] == '"') {
                        doubled = true;
                        from = quote + 2;
                        continue;
                    }
                    break;
                }
                // A quote as the last byte may be the first of a pair: wait for the next chunk.
                m_resume = quote - fieldStart;
                m_resumeDoubled = doubled;
                return fieldStart;
            }
            if (quote < 0 && !atEnd) {
                m_resume = n - fieldStart;
                m_resumeDoubled = doubled;
                return fieldStart;
            }
            // No closing quote: the rest of the file is the last field.
            const qsizetype contentEnd = quote < 0 ? n : quote;
            qsizetype end = n;
            if (quote >= 0) {
                // Anything between the closing quote and the delimiter is not part of the field.
                const qsizetype delimiter = findDelimiter(buffer, quote + 1);
                if (delimiter < 0 && !atEnd) {
                    m_resume = quote - fieldStart;
                    m_resumeDoubled = doubled;
                    return fieldStart;
                }
                end = delimiter < 0 ? n : delimiter;
            }
            const QByteArrayView content = buffer.sliced(contentStart, contentEnd - contentStart);
            field = doubled ? decodeField(unescape(content)) : decodeField(content);
            i = end;
        } else {
            const qsizetype delimiter = findDelimiter(buffer, i);
            if (delimiter < 0 && !atEnd)
                return fieldStart;
            const qsizetype end = delimiter < 0 ? n : delimiter;
            field = decodeField(buffer.sliced(i, end - i));
            i = end;
        }
        if (i < n) {
            const char delimiter = buffer[i++];
            if (delimiter == '\r') {
                if (i == n && !atEnd) {
                    m_resume = 0;
                    return fieldStart; // a line feed may follow in the next chunk
                }
                if (i < n && buffer[i] == '\n')
                    ++i;
            }
        }
        m_resume = 0;
        out.append(std::move(field));
    }
    return i;
}
