// SPDX-License-Identifier: MIT
#include "controller/MatchesTableModel.h"

#include "search/PersonExtras.h"

MatchesTableModel::MatchesTableModel(QObject *parent)
    : QAbstractListModel(parent)
{}

void MatchesTableModel::reloadData(const QList<PersonPtr> &persons)
{
    beginResetModel();
    _persons = persons;
    _displayNames.clear();
    _displayNames.reserve(persons.size());
    for (const PersonPtr &person : persons)
        _displayNames.append(PersonExtras::displayName(*person));
    endResetModel();
}

PersonPtr MatchesTableModel::personAtRow(int row) const
{
    if (row < 0 || row >= _persons.size())
        return nullptr;
    return _persons.at(row);
}

int MatchesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(_persons.size());
}

QVariant MatchesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= _displayNames.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return _displayNames.at(index.row());
    return {};
}
