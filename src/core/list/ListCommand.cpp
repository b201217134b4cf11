#include "core/list/ListCommand.h"

#include "core/list/FindEntry.h"
#include "core/list/SnippetList.h"

namespace {

ListCommand::Result refused(const char* why, const QString& statusMessage = QString())
{
    return {false, QString::fromLatin1(why), statusMessage};
}

} // namespace

ListCommand::Result ListCommand::add(SnippetList& list, const QString& text)
{
    if (text.isEmpty())
        return refused("the text is empty");
    int index = 0;
    bool found = false;
    FindEntry(list, text, index, found);
    if (found)
        return refused("the text is already in the list");
    if (list.count() >= SnippetList::MaxEntries)
        return refused("the list is full", QStringLiteral("List is full"));
    list.append(text);
    return {true, QString::fromLatin1(Added), QString()};
}

ListCommand::Result ListCommand::remove(SnippetList& list, const QString& text)
{
    if (text.isEmpty())
        return refused("the text is empty");
    int index = 0;
    bool found = false;
    FindEntry(list, text, index, found);
    if (!found)
        return refused("the text is not in the list");
    list.removeAt(index);
    return {true, QString::fromLatin1(Removed), QString()};
}

ListCommand::Result ListCommand::apply(Kind kind, SnippetList& list, const QString& text)
{
    switch (kind) {
    case Kind::Add:
        return add(list, text);
    case Kind::Remove:
        return remove(list, text);
    case Kind::List:
        break;
    }
    return {};
}

QStringList ListCommand::entries(const SnippetList& list, const QString& leaveOut)
{
    QStringList entries;
    entries.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) {
        QString entry = list.entryAt(i);
        if (entry != leaveOut)
            entries.append(std::move(entry));
    }
    return entries;
}
