#pragma once

#include <QString>

class SnippetList;

/**
 * Exact, case-sensitive linear search; the first match wins.
 * `index` is always written: the first match, or the count when nothing matched.
 * `found` is written only when the list is not empty.
 */
void FindEntry(const SnippetList& list, const QString& text, int& index, bool& found);
