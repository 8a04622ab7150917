// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/FoldedNames.h"
#include "app/search/MatchExplanation.h"
#include "platform/addressbook/Person.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <vector>

/// The rows of the list of matches: one display name per matching person, and, when the
/// typed words matched something other than the name, a second line with that value. Like a
/// table that is asked for its rows only when reloaded, it keeps the persons of the last
/// reload, so a search that does not touch the list leaves it as it was.
///
/// What a row says is worked out when the row is first shown; the list asks every row only
/// whether it has a second line (rowHasDetail()), which looks at the name alone.
class MatchesTableModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using Range = MatchExplanation::Range;

    /// What a row shows.
    struct Row
    {
        QString name;
        /// What the words matched in the name.
        QList<Range> nameEmphasis;
        /// "mobile +44 7700 900123", "note: prefers calls after noon"; empty for none.
        QString detail;
        /// What the words matched in the detail (never in its label).
        QList<Range> detailEmphasis;
        /// Where the value begins in the detail, after its label.
        qsizetype detailValueStart = 0;
    };

    explicit MatchesTableModel(QObject *parent = nullptr);

    /// `pattern` and `options` are the search's, which the rows explain; `names` the persons'
    /// folded names, when at hand.
    void reloadData(const QList<PersonPtr> &persons, const QString &pattern = QString(),
                    const SearchFolding::Options &options = {},
                    const FoldedNames &names = FoldedNames());
    PersonPtr personAtRow(int row) const;

    /// The index the names were read from is going: rows not laid out yet read their
    /// persons' names instead.
    void dropFoldedNames() { _names = FoldedNames(); }

    /// Whether the row shows a second line.
    bool rowHasDetail(int row) const;
    /// What the row shows; an empty row for a row the model does not have.
    Row rowAt(int row) const;

    /// The second line for `detail`: the label as the card shows it and the value.
    /// `valueStart` receives where the value begins in it.
    static QString detailLine(const MatchExplanation::Detail &detail, qsizetype *valueStart);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QList<PersonPtr> _persons;
    FoldedNames _names;
    MatchExplanation::Words _words;
    // Per row: -1 not yet known, else whether it has a second line.
    mutable std::vector<qint8> _hasDetail;
    // The rows worked out so far; only those on screen are ever asked for.
    mutable QHash<int, Row> _rows;
};
