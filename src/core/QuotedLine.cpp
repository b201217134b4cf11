#include "QuotedLine.h"

QByteArray QuotedLine::encode(const QString& text)
{
    QByteArray out;
    appendTo(out, text);
    return out;
}

void QuotedLine::appendTo(QByteArray& out, QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    out.append('"');
    // 0x22 never occurs inside a multi-byte UTF-8 sequence, so doubling bytes is safe.
    qsizetype start = 0;
    for (qsizetype quote = utf8.indexOf('"'); quote >= 0; quote = utf8.indexOf('"', start)) {
        out.append(utf8.constData() + start, quote + 1 - start);
        out.append('"');
        start = quote + 1;
    }
    out.append(utf8.constData() + start, utf8.size() - start);
    out.append("\"\r\n", 3);
}
