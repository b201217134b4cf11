#pragma once

#include <QString>
#include <QStringList>

/** The ordered snippet list: positions from 0, appended at the end, never sorted. */
class SnippetList
{
public:
    /** The list never holds more entries than a signed 16-bit count can name. */
    static constexpr int MaxEntries = 32767;

    virtual ~SnippetList() = default;

    /** Number of entries. */
    virtual int count() const = 0;
    /** Entry at a position; a position outside the list reads as the empty text. */
    virtual QString entryAt(int index) const = 0;
    /** Appends one entry at the end. */
    virtual void append(const QString& text) = 0;
    /**
     * Appends many entries at the end in one step (one model reset for a view). Pass a list
     * that is no longer needed by moving it: a list may then keep its storage instead of
     * copying it.
     */
    virtual void appendAll(QStringList texts) = 0;
    /** Removes the entry at a position; later entries move up by one. Out of range: nothing. */
    virtual void removeAt(int index) = 0;
    /** Every entry in list order. */
    virtual QStringList allEntries() const
    {
        QStringList entries;
        entries.reserve(count());
        for (int i = 0; i < count(); ++i)
            entries.append(entryAt(i));
        return entries;
    }
    /** Replaces every entry with `texts` (a view re-reads the list once). */
    virtual void replaceAll(const QStringList& texts)
    {
        for (int i = count() - 1; i >= 0; --i)
            removeAt(i);
        appendAll(texts);
    }

    SnippetList() = default;
    SnippetList(const SnippetList&) = delete;
    SnippetList& operator=(const SnippetList&) = delete;
};
