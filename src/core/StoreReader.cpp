#include "StoreReader.h"

#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isDelimiter(char c)
{
    return c == ',' || c == '\r' || c == '\n';
}

qsizetype findDelimiter(QByteArrayView buffer, qsizetype from)
{
    const qsizetype n = buffer.size();
    for (qsizetype i = from; i < n; ++i) {
        if (isDelimiter(buffer[i]))
            return i;
    }
    return -1;
}

} // namespace

QString StoreReader::fromWindows1252(QByteArrayView bytes)
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

QString StoreReader::decodeField(QByteArrayView bytes, bool& valid) const
{
    if (m_encoding == Encoding::Windows1252)
        return fromWindows1252(bytes);
    if (!bytes.isValidUtf8()) {
        valid = false;
        return {};
    }
    return QString::fromUtf8(bytes);
}

bool StoreReader::feed(QByteArrayView chunk, bool atEnd, QStringList& out)
{
    if (m_atStart) {
        // A byte-order mark belongs to the encoding, not to the first entry.
        m_carry.append(chunk.data(), chunk.size());
        if (m_carry.size() < 3 && !atEnd)
            return true;
        m_atStart = false;
        if (m_encoding == Encoding::Utf8 && m_carry.startsWith("\xEF\xBB\xBF"))
            m_carry.remove(0, 3);
        chunk = {};
    }
    QByteArrayView buffer = chunk;
    if (!m_carry.isEmpty()) {
        m_carry.append(chunk.data(), chunk.size());
        buffer = m_carry;
    }
    bool valid = true;
    const qsizetype used = parse(buffer, atEnd, out, valid);
    if (!valid)
        return false;
    if (buffer.data() == m_carry.constData())
        m_carry.remove(0, used);
    else
        m_carry = buffer.sliced(used).toByteArray();
    return true;
}

qsizetype StoreReader::parse(QByteArrayView buffer, bool atEnd, QStringList& out, bool& valid) const
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
            ++i;
            const qsizetype contentStart = i;
            QByteArray unescaped; // only a field with "" inside needs a copy
            bool doubled = false;
            qsizetype contentEnd = n;
            bool closed = false;
            for (;;) {
                const qsizetype quote = buffer.indexOf('"', i);
                if (quote < 0 || (quote + 1 == n && !atEnd)) {
                    if (!atEnd)
                        return fieldStart;
                    // No closing quote: the rest of the file is the last field.
                    contentEnd = n;
                    break;
                }
                if (quote + 1 < n && buffer[quote + 1] == '"') {
                    unescaped.append(buffer.sliced(i, quote + 1 - i));
                    doubled = true;
                    i = quote + 2;
                    continue;
                }
                contentEnd = quote;
                closed = true;
                break;
            }
            if (doubled) {
                unescaped.append(buffer.sliced(i, contentEnd - i));
                field = decodeField(unescaped, valid);
            } else {
                field = decodeField(buffer.sliced(contentStart, contentEnd - contentStart), valid);
            }
            if (closed) {
                // Anything between the closing quote and the delimiter is not part of the field.
                const qsizetype delimiter = findDelimiter(buffer, contentEnd + 1);
                if (delimiter < 0 && !atEnd)
                    return fieldStart;
                i = delimiter < 0 ? n : delimiter;
            } else {
                i = n;
            }
        } else {
            const qsizetype delimiter = findDelimiter(buffer, i);
            if (delimiter < 0 && !atEnd)
                return fieldStart;
            const qsizetype end = delimiter < 0 ? n : delimiter;
            field = decodeField(buffer.sliced(i, end - i), valid);
            i = end;
        }
        if (!valid)
            return fieldStart;
        if (i < n) {
            const char delimiter = buffer[i++];
            if (delimiter == '\r') {
                if (i == n && !atEnd)
                    return fieldStart; // a line feed may follow in the next chunk
                if (i < n && buffer[i] == '\n')
                    ++i;
            }
        }
        out.append(std::move(field));
    }
    return i;
}
