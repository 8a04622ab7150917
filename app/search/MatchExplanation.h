// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/SearchFolding.h"
#include "platform/addressbook/Person.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

/// Why a person matched a typed pattern, told the way the list of matches shows it: the parts
/// of the name the words matched, and, when a word matched something else, that value. Worked
/// out for the rows on screen, never for every match of a keystroke.
namespace MatchExplanation {

/// A stretch of a shown text, in UTF-16 units.
struct Range
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const Range &) const = default;
};

/// The distinct words of a pattern, folded as the search folds them.
class Words final
{
public:
    struct Word
    {
        QByteArray text;
        /// The digits a phone number must hold, for a word that is a phone number.
        QByteArray digits;
    };

    Words() = default;
    Words(QStringView pattern, const SearchFolding::Options &options);

    const std::vector<Word> &words() const { return _words; }
    const SearchFolding::Options &options() const { return _options; }
    bool isEmpty() const { return _words.empty(); }

private:
    std::vector<Word> _words;
    SearchFolding::Options _options;
};

/// Appends the folded form of the name the list shows for `person` (see
/// Person::displayName()), or nothing for a person without any name; the parts are joined by
/// blanks, which no typed word holds.
void appendFoldedName(QByteArray &out, const Person &person, bool ignoreAccents);

/// Whether the shown name holds every word, so that nothing else needs telling. Cheap
/// enough to ask for every row of the list: it folds the name alone.
bool nameHoldsEveryWord(const Person &person, const Words &words);
/// The same for a name folded already.
bool nameHoldsEveryWord(QByteArrayView foldedName, const Words &words);

/// The stretches of `text` the words match, in order, overlapping ones joined.
QList<Range> emphasis(QStringView text, const Words &words);

/// A value of the person that holds a word the shown name does not.
struct Detail
{
    /// Phone, Email, Url, Address, Nickname, JobTitle, Organization or Note; LastName stands
    /// for the person's name parts when the list shows another name (a company's card).
    Person::Kind kind = Person::Kind::Note;
    /// The stored label of a phone number, e-mail, web or postal address ("_$!<Mobile>!$_").
    QString label;
    /// The value on one line; a long one cut to the part around what matched, with "…".
    QString value;
    QList<Range> emphasis;

    bool operator==(const Detail &) const = default;
};

/// Values longer than this are cut around their first match.
inline constexpr qsizetype kMaxDetailCharacters = 120;
/// How much of a cut value is kept before its first match.
inline constexpr qsizetype kContextBefore = 20;

/// The first value, in the order search looks at the properties, that holds the first word
/// the shown name lacks; none when the name holds every word.
std::optional<Detail> detail(const Person &person, const Words &words);

} // namespace MatchExplanation
