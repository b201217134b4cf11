#pragma once

#include "core/list/SnippetList.h"

#include <QAbstractListModel>

/** The snippet list as the combo box's model: the list itself, not a copy of it. */
class SnippetListModel : public QAbstractListModel, public SnippetList
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const override;
    QString entryAt(int index) const override;
    void append(const QString& text) override;
    void appendAll(QStringList texts) override;
    void removeAt(int index) override;
    void replaceAll(const QStringList& texts) override;
    QStringList allEntries() const override { return m_entries; }

    /** Every entry in list order. */
    const QStringList& entries() const { return m_entries; }

private:
    QStringList m_entries;
};
