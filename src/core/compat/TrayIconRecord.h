#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

/** The notification-area icon record, laid out as the 88-byte single-byte form. */
struct TrayIconRecord
{
    static constexpr int Size = 88;
    static constexpr int TipLength = 64;
    static constexpr std::uint32_t NifMessage = 1;
    static constexpr std::uint32_t NifIcon = 2;
    static constexpr std::uint32_t NifTip = 4;
    static constexpr std::uint32_t WmMouseMove = 512;

    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    /** Always 64 characters: the text left-aligned, blanks after it, cut at 64. */
    QString szTip = QString(TipLength, QLatin1Char(' '));

    /**
     * The program's record: size, icon, window, the title and one NUL as tip, the mouse-move
     * callback, message + icon + tip flags, and identifier 1 (filled in that order).
     */
    static TrayIconRecord forWindow(std::uint32_t window, std::uint32_t icon, const QString& title);

    /** Left-aligned assignment into the fixed 64-character field. */
    void setTip(const QString& text);
    /** The 88 bytes, little-endian, the tip as Latin-1. */
    QByteArray toBytes() const;
};
