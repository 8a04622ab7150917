// SPDX-License-Identifier: MIT
#include "app/search/SearchPrefilter.h"

#include "app/search/RKAddressBook.h"

#include <QStringView>

#include <cstring>

namespace {

bool contains(QByteArrayView text, QByteArrayView needle)
{
    return ::memmem(text.data(), size_t(text.size()), needle.data(), size_t(needle.size()));
}

// The condensed text folded as the engine folds values. Its ASCII is in lower case already,
// which folding leaves as it is; only the stretches of other characters are folded.
void fold(QByteArray &out, QByteArrayView condensed, bool ignoreAccents)
{
    out.resize(0);
    const char *data = condensed.data();
    const qsizetype size = condensed.size();
    qsizetype i = 0;
    while (i < size) {
        qsizetype end = i;
        while (end < size && uchar(data[end]) < 0x80)
            ++end;
        out.append(data + i, end - i);
        i = end;
        while (end < size && uchar(data[end]) >= 0x80)
            ++end;
        if (end > i)
            SearchFolding::appendFolded(out, QByteArrayView(data + i, end - i), ignoreAccents);
        i = end;
    }
}

} // namespace

SearchPrefilter::SearchPrefilter(const QString &pattern, const SearchFolding::Options &options)
    : _pattern(pattern)
    , _options(options)
{
    _matchesNobody = true;
    for (QStringView word : QStringView(pattern).tokenize(u' ', Qt::SkipEmptyParts)) {
        _matchesNobody = false;
        Word needle{SearchFolding::folded(word, options.ignoreAccents), {}};
        // A word that folds to nothing (accents alone) is contained in everyone.
        if (needle.text.isEmpty())
            continue;
        bool decisive = true;
        for (const char c : std::as_const(needle.text))
            decisive = decisive && !VCardSkim::isLeftOut(c);
        if (!decisive)
            continue;
        if (options.matchPhoneDigits)
            needle.digits = SearchFolding::phoneDigitsOfWord(word);
        _words.push_back(std::move(needle));
    }
}

bool SearchPrefilter::mayHoldWanted(const VCardSkim::Skim &skim) const
{
    if (_matchesNobody)
        return false;
    if (_words.empty() || !skim.plain)
        return true;
    // Kept from file to file, with the room they grew to.
    thread_local QByteArray folded, digits;
    QByteArrayView text = skim.condensed;
    if (!skim.ascii) {
        fold(folded, text, _options.ignoreAccents);
        text = folded;
    }
    bool digitsMade = false;
    for (const Word &word : _words) {
        if (contains(text, word.text))
            continue;
        if (word.digits.isEmpty())
            return false;
        if (!digitsMade) {
            digits.resize(0);
            VCardSkim::appendDigitsByLine(digits, skim.text);
            digitsMade = true;
        }
        if (!contains(digits, word.digits))
            return false;
    }
    return true;
}

QList<PersonPtr> SearchPrefilter::wanted(const QList<PersonPtr> &persons) const
{
    return RKAddressBook::personsMatchingPattern(_pattern, persons, _options);
}
