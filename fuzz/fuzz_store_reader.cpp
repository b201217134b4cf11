// libFuzzer target over the store reader. Every input is checked three ways:
//  - read as a store file (whole and in chunks), nothing may crash or trip a sanitizer, and
//    both ways give the same entries;
//  - writing what was read and reading it again gives the same entries: the write is a fixed
//    point;
//  - taken as a list of arbitrary texts (any valid Unicode), writing then reading gives back
//    exactly that list.

#include "core/store/StoreFormat.h"
#include "core/store/StoreReader.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "store property broken: %s\n", what);
    std::abort();
}

/** The entries of `bytes` read in chunks of `size` bytes. */
QStringList readInChunks(QByteArrayView bytes, qsizetype size)
{
    StoreReader reader;
    QStringList entries;
    qsizetype at = 0;
    do {
        const qsizetype take = qMin(size, bytes.size() - at);
        reader.feed(bytes.sliced(at, take), at + take == bytes.size(), entries);
        at += take;
    } while (at < bytes.size());
    return entries;
}

void append(QString& text, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        text.append(QChar(QChar::highSurrogate(c)));
        text.append(QChar(QChar::lowSurrogate(c)));
    } else {
        text.append(QChar(static_cast<char16_t>(c)));
    }
}

/**
 * The input as texts: 0xFF ends a text; 0xFE takes the next three bytes as a code point
 * (folded into the valid range, surrogates moved out of it); bytes below 8 are the characters
 * the format has to get right; anything else is itself (Latin-1).
 */
QStringList textsFrom(QByteArrayView bytes)
{
    static constexpr char32_t Special[8] = {U'"', U',', U'\r', U'\n', U'\0', U' ', 0xFEFF, 0x1F600};
    QStringList texts;
    QString current; // built by hand: fromUcs4 would drop a leading U+FEFF
    bool open = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        open = true;
        if (b == 0xFF) {
            texts.append(current);
            current.clear();
            open = false;
        } else if (b == 0xFE && i + 3 < bytes.size()) {
            char32_t c = 0;
            for (int k = 1; k <= 3; ++k)
                c = (c << 8) | static_cast<unsigned char>(bytes[i + k]);
            c %= 0x110000;
            if (c >= 0xD800 && c <= 0xDFFF)
                c += 0x800;
            append(current, c);
            i += 3;
        } else {
            append(current, b < 8 ? Special[b] : char32_t(b));
        }
    }
    if (open)
        texts.append(current);
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));

    const QStringList first = StoreFormat::read(bytes);
    const qsizetype chunk = size == 0 ? 1 : 1 + data[0] % 7;
    if (readInChunks(bytes, chunk) != first)
        fail("reading in chunks differs from reading whole");

    const QByteArray written = StoreFormat::serialize(first);
    if (StoreFormat::read(written) != first)
        fail("read, write, read is not a fixed point");

    const QStringList texts = textsFrom(bytes);
    if (StoreFormat::read(StoreFormat::serialize(texts)) != texts)
        fail("a written list does not read back as itself");
    return 0;
}
