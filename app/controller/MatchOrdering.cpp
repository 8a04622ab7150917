// SPDX-License-Identifier: MIT
#include "app/controller/MatchOrdering.h"

#include <algorithm>

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
    _resolvedIds.clear();
    const QHash<QString, double> scores = _history.scores(_resolvedAt);
    if (scores.isEmpty() || !_find)
        return;
    const QStringList ids = scores.keys();
    for (const PersonPtr &person : _find(QSet<QString>(ids.begin(), ids.end()))) {
        const QString id = person->uniqueId();
        _scores.insert(person.get(), scores.value(id));
        _resolvedIds.insert(id.toUtf8(), person.get());
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
    const qsizetype before = _history.scores(QDateTime::currentDateTimeUtc()).size();
    _history.recordPick(id);
    if (!_resolved)
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QHash<QString, double> scores = _history.scores(now);
    // The pick merged what other processes wrote since: persons new to the history must be
    // looked for among all; otherwise only the scores of those already known change.
    const bool onlyThisOneIsNew =
        scores.size() <= before + 1 &&
        std::all_of(scores.keyBegin(), scores.keyEnd(), [&](const QString &key) {
            return key == id || _resolvedIds.contains(key.toUtf8());
        });
    if (!onlyThisOneIsNew) {
        _resolved = false;
        return;
    }
    const QByteArray key = id.toUtf8();
    _resolvedIds.insert(key, person.get());
    _scores.clear();
    for (auto score = scores.cbegin(); score != scores.cend(); ++score) {
        if (const Person *known = _resolvedIds.value(score.key().toUtf8()))
            _scores.insert(known, *score);
    }
}

void MatchOrdering::forget()
{
    _history.forget();
    _scores.clear();
    _resolvedIds.clear();
    _resolved = true;
    _pickedSinceShown.clear();
}
