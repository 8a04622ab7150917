// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/Person.h"

#include <QAbstractListModel>
#include <QList>

/// The rows of the list of matches: one display name per matching person. Like a table
/// that is asked for its rows only when reloaded, it keeps the persons of the last reload,
/// so a search that does not touch the list leaves it as it was.
class MatchesTableModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit MatchesTableModel(QObject *parent = nullptr);

    void reloadData(const QList<PersonPtr> &persons);
    PersonPtr personAtRow(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<PersonPtr> _persons;
};
