#include "core/list/DatePurge.h"

#include "core/list/SnippetList.h"

int DatePurge::purge(SnippetList& list, const QString& todayText)
{
    if (todayText.isEmpty())
        return 0;
    int removed = 0;
    // Walking backwards keeps the positions still to be examined in place after a removal,
    // so runs of equal entries are removed completely.
    for (int i = list.count() - 1; i >= 0; --i) {
        if (list.entryAt(i) == todayText) {
            list.removeAt(i);
            ++removed;
        }
    }
    return removed;
}
