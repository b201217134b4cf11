#include "core/list/FindEntry.h"

#include "core/list/SnippetList.h"

void FindEntry(const SnippetList& list, const QString& text, int& index, bool& found)
{
    const int count = list.count();
    int i = 0;
    for (; i < count; ++i) {
        found = list.entryAt(i) == text;
        if (found)
            break;
    }
    index = i;
}
