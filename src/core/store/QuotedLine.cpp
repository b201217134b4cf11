#include "core/store/QuotedLine.h"

#include <QStringEncoder>
#include <cstring>

QByteArray QuotedLine::encode(const QString& text)
{
    QByteArray out;
    appendTo(out, text);
    return out;
}

void QuotedLine::appendTo(QByteArray& out, QStringView text)
{
    const qsizetype size = out.size();
    out.resize(size + maxSize(text));
    char* const end = write(out.data() + size, text);
    out.resize(end - out.constData());
}

char* QuotedLine::write(char* out, QStringView text)
{
    *out++ = '"';
    char* const start = out;
    char* end = nullptr;
    // Most entries are ASCII: narrowed unit by unit, in loops the compiler vectorises.
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    char16_t seen = 0;
    for (qsizetype i = 0; i < size; ++i)
        seen |= units[i];
    if (seen < 0x80) {
        for (qsizetype i = 0; i < size; ++i)
            out[i] = static_cast<char>(units[i]);
        end = out + size;
    } else {
        QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
        end = encoder.appendToBuffer(out, text);
    }
    // 0x22 never occurs inside a multi-byte UTF-8 sequence, so doubling bytes is safe.
    qsizetype quotes = 0;
    for (const char* p = start;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(end - p)));
        if (p == nullptr)
            break;
        ++quotes;
    }
    if (quotes > 0) {
        // Spread the bytes to the right, back to front, writing each quote twice.
        char* src = end;
        end += quotes;
        char* dst = end;
        while (src != start) {
            const char c = *--src;
            *--dst = c;
            if (c == '"')
                *--dst = c;
        }
    }
    std::memcpy(end, "\"\r\n", 3);
    return end + 3;
}
