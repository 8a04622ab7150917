// SPDX-License-Identifier: MIT
#include "app/controller/MatchOrdering.h"

namespace {

// Scores fall below what counts as a pick as time goes by; a process running for weeks looks
// them up again now and then.
constexpr qint64 kResolveAgainAfterSeconds = 24 * 60 * 60;

} // namespace

MatchOrdering::MatchOrdering(const QString &historyPath)
    : _history(historyPath)
{}

QList<PersonPtr> MatchOrdering::ordered(const QList<PersonPtr> &matches, const QString &pattern,
                                        const SearchFolding::Options &options, FoldedNames *names)
{
    if (!_enabled)
        return matches;
    const std::vector<qsizetype> positions = RelevanceOrder::order(
        matches, names ? *names : FoldedNames(), pattern, options, pickScores());
    if (positions.empty())
        return matches;
    if (names && names->size() == matches.size())
        *names = names->reordered(positions);
    return RelevanceOrder::inOrder(matches, positions);
}

const RelevanceOrder::PickScores &MatchOrdering::pickScores()
{
    if (!_resolved)
        _resolve();
    return _scores;
}

void MatchOrdering::_resolve()
{
    _resolved = true;
    _resolvedAt = QDateTime::currentDateTimeUtc();
    _scores.clear();
    const QHash<QString, double> scores = _history.scores(_resolvedAt);
    if (scores.isEmpty() || !_find)
        return;
    const QStringList ids = scores.keys();
    for (const PersonPtr &person : _find(QSet<QString>(ids.begin(), ids.end()))) {
        _scores.insert(person.get(), scores.value(person->uniqueId()));
    }
}

void MatchOrdering::personsChanged(PersonFinder find)
{
    _find = std::move(find);
    // Looked up now, as the contacts come in, rather than when the list next shows.
    _resolve();
}

void MatchOrdering::personsChanged(const QList<PersonPtr> &persons)
{
    personsChanged([persons](const QSet<QString> &ids) {
        QList<PersonPtr> found;
        for (const PersonPtr &person : persons) {
            if (ids.contains(person->uniqueId()))
                found.append(person);
        }
        return found;
    });
}

void MatchOrdering::windowShown()
{
    _pickedSinceShown.clear();
    const bool stale =
        _resolvedAt.isValid() &&
        _resolvedAt.secsTo(QDateTime::currentDateTimeUtc()) > kResolveAgainAfterSeconds;
    if (_history.reloadIfChanged() || stale)
        _resolved = false;
}

void MatchOrdering::personPicked(const PersonPtr &person)
{
    if (!person)
        return;
    const QString id = person->uniqueId();
    if (_pickedSinceShown.contains(id))
        return;
    _pickedSinceShown.insert(id);
    // The pick also merged what other processes wrote since, so the scores are looked up
    // again when the list next shows: a lookup by id costs about a millisecond, and picks
    // come a few times a showing at most.
    _history.recordPick(id);
    _resolved = false;
}

void MatchOrdering::forget()
{
    _history.forget();
    _scores.clear();
    _resolved = true;
    _pickedSinceShown.clear();
}
