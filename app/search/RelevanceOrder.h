// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/FoldedNames.h"
#include "app/search/SearchFolding.h"
#include "platform/addressbook/Person.h"

#include <QHash>
#include <QList>
#include <QStringView>

#include <vector>

/// The order of a result when matches are ordered by relevance: the persons the user picked
/// recently and often first (highest score first), then those whose shown name starts with the
/// first typed word, then those with a word of the name starting with it, then the rest; within
/// each, the result's own order (by name). The result itself is never searched again: the
/// cost is one look at each match's name.
namespace RelevanceOrder {

/// How the first word meets the name the list shows.
enum class NameMatch
{
    Start,
    WordStart,
    Elsewhere,
};

/// `foldedWord` as SearchFolding folds it; a name's words begin after any character that is
/// not a letter or a digit (blanks, hyphens, apostrophes, dots).
NameMatch nameMatch(const Person &person, QByteArrayView foldedWord, bool ignoreAccents);

/// Pick scores by person; persons not in it were not picked.
using PickScores = QHash<const Person *, double>;

/// The positions of `matches` (in the address book's order) in the order of relevance for
/// `pattern`; empty when that is the order they are in. `names` are the matches' folded shown
/// names when at hand (as many as matches); without them each name is folded from its person.
std::vector<qsizetype> order(const QList<PersonPtr> &matches, const FoldedNames &names,
                             QStringView pattern, const SearchFolding::Options &options,
                             const PickScores &picks);

/// `matches` in the order of relevance for `pattern`.
QList<PersonPtr> ordered(const QList<PersonPtr> &matches, QStringView pattern,
                         const SearchFolding::Options &options, const PickScores &picks);
/// The same from positions order() gave.
QList<PersonPtr> inOrder(const QList<PersonPtr> &matches, const std::vector<qsizetype> &positions);

} // namespace RelevanceOrder
