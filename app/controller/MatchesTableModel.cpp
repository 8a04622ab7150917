// SPDX-License-Identifier: MIT
#include "controller/MatchesTableModel.h"

#include "search/PersonExtras.h"

MatchesTableModel::MatchesTableModel(QObject *parent)
    : QAbstractListModel(parent)
{}

void MatchesTableModel::reloadData(const QList<PersonPtr> &persons)
{
    beginResetModel();
    // Names are made when a row is shown: a first keystroke can match a hundred thousand.
    _persons = persons;
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
    if (!index.isValid() || index.row() >= _persons.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return PersonExtras::displayName(*_persons.at(index.row()));
    return {};
}
