#pragma once

#include <QString>
#include <QStringList>

class SnippetList;

/**
 * The command line's --add, --remove and --list on a snippet list, with the rules of the Add
 * and Remove targets: exact match, no empty text, no second copy, nothing past a full list.
 */
class ListCommand
{
public:
    enum class Kind
    {
        Add,
        Remove,
        List,
    };

    struct Result
    {
        bool changed = false;
        /** "Text added" or "Text removed" when changed; else why not, as one line. */
        QString message;
        /** The status line's words for a refusal, where the window has some. */
        QString statusMessage;
    };

    /** Appends `text` unless it is empty, already listed or the list is full. */
    static Result add(SnippetList& list, const QString& text);
    /** Removes the first entry that is exactly `text`. */
    static Result remove(SnippetList& list, const QString& text);
    /** `add` or `remove`; `List` changes nothing. */
    static Result apply(Kind kind, SnippetList& list, const QString& text);
    /** The entries as the store holds them: those equal to `leaveOut` (the date) are not. */
    static QStringList entries(const SnippetList& list, const QString& leaveOut);

    static constexpr const char* Added = "Text added";
    static constexpr const char* Removed = "Text removed";
};
