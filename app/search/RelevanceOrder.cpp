// SPDX-License-Identifier: MIT
#include "app/search/RelevanceOrder.h"

#include "app/search/MatchExplanation.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <vector>

namespace RelevanceOrder {

namespace {

// Whether the character that ends just before byte `at` of UTF-8 `text` separates words.
bool separatesWords(QByteArrayView text, qsizetype at)
{
    qsizetype start = at - 1;
    while (start > 0 && (uchar(text[start]) & 0xC0) == 0x80)
        --start;
    const uchar lead = uchar(text[start]);
    if (lead < 0x80)
        return !QChar::isLetterOrNumber(lead);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t cp = lead & (0x3F >> extra);
    for (qsizetype k = start + 1; k < at; ++k)
        cp = (cp << 6) | (uchar(text[k]) & 0x3F);
    return !QChar::isLetterOrNumber(cp) && QChar::category(cp) != QChar::Mark_NonSpacing;
}

NameMatch nameMatchIn(QByteArrayView name, QByteArrayView word)
{
    if (word.isEmpty())
        return NameMatch::Elsewhere;
    if (name.startsWith(word))
        return NameMatch::Start;
    for (qsizetype at = name.indexOf(word, 1); at > 0; at = name.indexOf(word, at + 1)) {
        if (separatesWords(name, at))
            return NameMatch::WordStart;
    }
    return NameMatch::Elsewhere;
}

} // namespace

NameMatch nameMatch(const Person &person, QByteArrayView foldedWord, bool ignoreAccents)
{
    // Asked for every match of a keystroke: the buffer keeps its room between persons.
    thread_local QByteArray name;
    name.resize(0);
    MatchExplanation::appendFoldedName(name, person, ignoreAccents);
    return nameMatchIn(name, foldedWord);
}

std::vector<qsizetype> order(const QList<PersonPtr> &matches, const FoldedNames &names,
                             QStringView pattern, const SearchFolding::Options &options,
                             const PickScores &picks)
{
    if (matches.size() < 2)
        return {};
    QByteArray first;
    for (QStringView word : pattern.tokenize(u' ', Qt::SkipEmptyParts)) {
        first = SearchFolding::folded(word, options.ignoreAccents);
        break;
    }
    const bool haveNames = names.size() == matches.size();

    // One rank per match, then one stable pass per rank: no comparison sort except among
    // the few picked persons.
    enum Rank : quint8
    {
        Picked,
        Start,
        WordStart,
        Elsewhere,
        RankCount
    };
    std::vector<quint8> ranks(size_t(matches.size()));
    std::array<qsizetype, RankCount> counts{};
    std::vector<std::pair<double, qsizetype>> picked;
    for (qsizetype i = 0; i < matches.size(); ++i) {
        quint8 rank = Elsewhere;
        const auto score = picks.isEmpty() ? picks.constEnd() : picks.constFind(matches[i].get());
        if (score != picks.constEnd()) {
            rank = Picked;
            picked.emplace_back(*score, i);
        } else if (!first.isEmpty()) {
            const NameMatch match = haveNames
                                        ? nameMatchIn(names.at(i), first)
                                        : nameMatch(*matches[i], first, options.ignoreAccents);
            rank = match == NameMatch::Start       ? Start
                   : match == NameMatch::WordStart ? WordStart
                                                   : Elsewhere;
        }
        ranks[size_t(i)] = rank;
        ++counts[rank];
    }
    // Already in order when all share one rank, or the ranks never go down.
    if (std::is_sorted(ranks.begin(), ranks.end()) && picked.size() < 2)
        return {};

    std::vector<qsizetype> positions;
    positions.reserve(size_t(matches.size()));
    std::stable_sort(picked.begin(), picked.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (const auto &[score, i] : picked)
        positions.push_back(i);
    for (quint8 rank = Start; rank < RankCount; ++rank) {
        if (counts[rank] == 0)
            continue;
        for (qsizetype i = 0; i < matches.size(); ++i) {
            if (ranks[size_t(i)] == rank)
                positions.push_back(i);
        }
    }
    return positions;
}

QList<PersonPtr> inOrder(const QList<PersonPtr> &matches, const std::vector<qsizetype> &positions)
{
    if (positions.empty())
        return matches;
    QList<PersonPtr> result;
    result.reserve(matches.size());
    for (const qsizetype i : positions)
        result.append(matches[i]);
    return result;
}

QList<PersonPtr> ordered(const QList<PersonPtr> &matches, QStringView pattern,
                         const SearchFolding::Options &options, const PickScores &picks)
{
    return inOrder(matches, order(matches, FoldedNames(), pattern, options, picks));
}

} // namespace RelevanceOrder
