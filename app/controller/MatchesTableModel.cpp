// SPDX-License-Identifier: MIT
#include "app/controller/MatchesTableModel.h"

#include "app/card/PropertyView.h"
#include "app/search/PersonExtras.h"

namespace {

// Rows on screen are a few dozen; the table of worked-out rows is started afresh beyond this.
constexpr qsizetype kMaxKeptRows = 512;

/// The word for a value without a label, or for a property that has none.
QString propertyWord(Person::Kind kind)
{
    switch (kind) {
    case Person::Kind::LastName:
        return MatchesTableModel::tr("name");
    case Person::Kind::Nickname:
        return MatchesTableModel::tr("nickname");
    case Person::Kind::Address:
        return MatchesTableModel::tr("address");
    case Person::Kind::Phone:
        return MatchesTableModel::tr("phone");
    case Person::Kind::Email:
        return MatchesTableModel::tr("e-mail");
    case Person::Kind::JobTitle:
        return MatchesTableModel::tr("job title");
    case Person::Kind::Organization:
        return MatchesTableModel::tr("company");
    case Person::Kind::Url:
        return MatchesTableModel::tr("web");
    default:
        return MatchesTableModel::tr("note");
    }
}

bool isLabeled(Person::Kind kind)
{
    return kind == Person::Kind::Address || kind == Person::Kind::Phone ||
           kind == Person::Kind::Email || kind == Person::Kind::Url;
}

} // namespace

MatchesTableModel::MatchesTableModel(QObject *parent)
    : QAbstractListModel(parent)
{}

void MatchesTableModel::reloadData(const QList<PersonPtr> &persons, const QString &pattern,
                                   const SearchFolding::Options &options, const FoldedNames &names)
{
    beginResetModel();
    // Names are made when a row is shown: a first keystroke can match a hundred thousand.
    _persons = persons;
    _names = names.size() == persons.size() ? names : FoldedNames();
    _words = MatchExplanation::Words(pattern, options);
    _hasDetail.assign(size_t(_persons.size()), -1);
    _rows.clear();
    endResetModel();
}

PersonPtr MatchesTableModel::personAtRow(int row) const
{
    if (row < 0 || row >= _persons.size())
        return nullptr;
    return _persons.at(row);
}

bool MatchesTableModel::rowHasDetail(int row) const
{
    if (row < 0 || row >= _persons.size() || _words.isEmpty())
        return false;
    qint8 &known = _hasDetail[size_t(row)];
    if (known < 0) {
        const bool holds = _names.isEmpty()
                               ? MatchExplanation::nameHoldsEveryWord(*_persons.at(row), _words)
                               : MatchExplanation::nameHoldsEveryWord(_names.at(row), _words);
        known = holds ? 0 : 1;
    }
    return known == 1;
}

QString MatchesTableModel::detailLine(const MatchExplanation::Detail &detail, qsizetype *valueStart)
{
    QString label = isLabeled(detail.kind) ? PropertyView::displayLabel(detail.label) : QString();
    if (label.isEmpty())
        label = propertyWord(detail.kind);
    // A labelled value reads as the card's row does ("mobile +44 …"); a property that stands
    // alone is named first ("note: …").
    const QString prefix = isLabeled(detail.kind)
                               ? QString(label + QLatin1Char(' '))
                               : tr("%1: ", "a property named before its value").arg(label);
    *valueStart = prefix.size();
    return prefix + detail.value;
}

MatchesTableModel::Row MatchesTableModel::rowAt(int row) const
{
    if (row < 0 || row >= _persons.size())
        return {};
    if (const auto kept = _rows.constFind(row); kept != _rows.constEnd())
        return *kept;
    const Person &person = *_persons.at(row);
    Row shown;
    shown.name = PersonExtras::displayName(person);
    // "No Name" is a word of ours, never what a search matched.
    if (!person.displayName(QString()).isEmpty())
        shown.nameEmphasis = MatchExplanation::emphasis(shown.name, _words);
    if (rowHasDetail(row)) {
        if (const auto detail = MatchExplanation::detail(person, _words)) {
            shown.detail = detailLine(*detail, &shown.detailValueStart);
            for (const Range &range : detail->emphasis)
                shown.detailEmphasis.append({range.start + shown.detailValueStart, range.length});
        } else {
            // What matched lies beyond what is looked through: the row keeps one line.
            _hasDetail[size_t(row)] = 0;
        }
    }
    if (_rows.size() >= kMaxKeptRows)
        _rows.clear();
    _rows.insert(row, shown);
    return shown;
}

int MatchesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(_persons.size());
}

QVariant MatchesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= _persons.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return PersonExtras::displayName(*_persons.at(index.row()));
    case Qt::ToolTipRole: {
        const Row row = rowAt(index.row());
        return row.detail.isEmpty() ? row.name : QString(row.name + QLatin1Char('\n') + row.detail);
    }
    case Qt::AccessibleDescriptionRole:
        return rowAt(index.row()).detail;
    default:
        return {};
    }
}
