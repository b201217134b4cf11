#include "core/compat/TrayIconRecord.h"

#include <QtEndian>

TrayIconRecord TrayIconRecord::forWindow(std::uint32_t window, std::uint32_t icon,
                                         const QString& title)
{
    TrayIconRecord record;
    record.cbSize = Size;
    record.hIcon = icon;
    record.hWnd = window;
    record.setTip(title + QChar(0));
    record.uCallbackMessage = WmMouseMove;
    record.uFlags = NifMessage | NifIcon | NifTip;
    record.uID = 1;
    return record;
}

void TrayIconRecord::setTip(const QString& text)
{
    szTip = text.leftJustified(TipLength, QLatin1Char(' '), true);
}

QByteArray TrayIconRecord::toBytes() const
{
    QByteArray bytes(Size, '\0');
    char* out = bytes.data();
    const std::uint32_t fields[] = {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon};
    for (const std::uint32_t field : fields) {
        qToLittleEndian(field, out);
        out += sizeof(field);
    }
    // szTip always holds exactly TipLength characters; guard anyway so the record stays 88 bytes.
    const QByteArray tip = szTip.leftJustified(TipLength, QLatin1Char(' '), true).toLatin1();
    bytes.replace(out - bytes.constData(), TipLength, tip);
    return bytes;
}
