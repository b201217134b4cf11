#include "core/store/TextArena.h"

#include <cstdint>
#include <sys/mman.h>

namespace {
/** The size of a large page on x86-64 and AArch64; a block of at least this is aligned to it. */
constexpr std::size_t LargePage = std::size_t(2) * 1024 * 1024;
} // namespace

TextArena::TextArena(qsizetype units)
{
    if (units <= 0)
        return;
    const std::size_t bytes = std::size_t(units) * sizeof(QChar);
    const std::size_t slack = bytes >= LargePage ? LargePage : 0;
    void* block =
        ::mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return;
    auto at = reinterpret_cast<std::uintptr_t>(block);
    if (slack > 0) {
        at = (at + LargePage - 1) & ~std::uintptr_t(LargePage - 1);
#ifdef MADV_HUGEPAGE
        // Only advice: where large pages are off, small ones are used as anywhere else.
        ::madvise(reinterpret_cast<void*>(at), bytes, MADV_HUGEPAGE);
#endif
    }
    m_next = reinterpret_cast<QChar*>(at);
    m_end = m_next + units;
}

QChar* TextArena::room(qsizetype units) const
{
    return m_next && units <= m_end - m_next ? m_next : nullptr;
}

QString TextArena::keep(qsizetype units)
{
    const QString text = QString::fromRawData(m_next, units);
    m_next += units;
    return text;
}
