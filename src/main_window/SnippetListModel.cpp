#include "main_window/SnippetListModel.h"

#include <utility>

int SnippetListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant SnippetListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_entries.at(index.row());
    return {};
}

int SnippetListModel::count() const
{
    return static_cast<int>(m_entries.size());
}

QString SnippetListModel::entryAt(int index) const
{
    return m_entries.value(index);
}

void SnippetListModel::append(const QString& text)
{
    beginInsertRows(QModelIndex(), count(), count());
    m_entries.append(text);
    endInsertRows();
}

void SnippetListModel::appendAll(QStringList texts)
{
    if (texts.isEmpty())
        return;
    // One reset instead of one insert per entry: views re-read the model once.
    beginResetModel();
    if (m_entries.size() < texts.size()) {
        // The few entries listed so far go in front of the many new ones, so a full store is
        // taken over as it is rather than copied entry by entry at start-up.
        for (qsizetype i = m_entries.size(); i-- > 0;)
            texts.prepend(std::move(m_entries[i]));
        m_entries = std::move(texts);
    } else {
        m_entries.append(texts);
    }
    endResetModel();
}

void SnippetListModel::removeAt(int index)
{
    if (index < 0 || index >= count())
        return;
    beginRemoveRows(QModelIndex(), index, index);
    m_entries.removeAt(index);
    endRemoveRows();
}

void SnippetListModel::replaceAll(const QStringList& texts)
{
    beginResetModel();
    m_entries = texts;
    endResetModel();
}
