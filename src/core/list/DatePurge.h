#pragma once

#include <QString>

class SnippetList;

/** Removes every entry equal to `todayText` (exact comparison) before the list is saved. */
class DatePurge
{
public:
    /** Returns how many entries were removed. */
    static int purge(SnippetList& list, const QString& todayText);
};
