#pragma once

#include "core/list/SnippetList.h"

#include <utility>

/** A snippet list over a QStringList, for work on the list without a window. */
class PlainSnippetList : public SnippetList
{
public:
    explicit PlainSnippetList(QStringList entries = {}) : m_entries(std::move(entries)) {}

    int count() const override { return static_cast<int>(m_entries.size()); }
    QString entryAt(int index) const override { return m_entries.value(index); }
    void append(const QString& text) override { m_entries.append(text); }
    void appendAll(QStringList texts) override { m_entries.append(std::move(texts)); }
    void removeAt(int index) override
    {
        if (index >= 0 && index < m_entries.size())
            m_entries.removeAt(index);
    }
    QStringList allEntries() const override { return m_entries; }
    const QStringList& entries() const { return m_entries; }

private:
    QStringList m_entries;
};
