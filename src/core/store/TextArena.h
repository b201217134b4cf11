#pragma once

#include <QString>

/**
 * One block of memory, taken from the system at once, holding the texts of many entries back
 * to back; each entry is a QString that views its part instead of owning a copy. A full store
 * read this way costs a few large page faults instead of one small one per 4 KB of text, which
 * on some machines is most of the start-up's cost of a full store.
 *
 * The block is never given back, not even when the arena is destroyed: entries, and copies of
 * them anywhere in the program, point into it. Use it for a read that happens once per run.
 */
class TextArena
{
public:
    /** Room for `units` UTF-16 code units in all; none when the system has no such block. */
    explicit TextArena(qsizetype units);
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    /** Where a text of at most `units` code units is written next; null when it does not fit. */
    QChar* room(qsizetype units) const;

    /** The `units` code units just written at `room` as a string that views them. */
    QString keep(qsizetype units);

private:
    QChar* m_next = nullptr;
    QChar* m_end = nullptr;
};
