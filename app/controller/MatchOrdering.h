// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/PickHistory.h"
#include "app/search/RelevanceOrder.h"
#include "platform/addressbook/Person.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

/// The order of the list of matches, and what it learns from the user: it keeps the pick
/// history, knows which persons of the searched contacts were picked, and, while ordering by
/// relevance is on, orders each result with RelevanceOrder. Off, a result keeps the address
/// book's order (by name).
class MatchOrdering final
{
public:
    explicit MatchOrdering(const QString &historyPath = PickHistoryFile::path());

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

    /// `matches` of `pattern`, in the address book's order, in the order the list shows.
    /// `names`, the matches' folded names when at hand, is put in the same order.
    QList<PersonPtr> ordered(const QList<PersonPtr> &matches, const QString &pattern,
                             const SearchFolding::Options &options, FoldedNames *names = nullptr);

    /// Finds the searched persons of the given ids.
    using PersonFinder = std::function<QList<PersonPtr>(const QSet<QString> &ids)>;
    /// Results now come from other persons (a new search index is in); `find` finds them.
    void personsChanged(PersonFinder find);
    /// The same for results made of `persons`, looked through one by one.
    void personsChanged(const QList<PersonPtr> &persons);
    /// The search window was brought up: from now on each person counts one pick again, and
    /// what another process added to the history is read.
    void windowShown();
    /// The user chose `person`: opened its card or acted on one of its rows. Counts once per
    /// showing of the window.
    void personPicked(const PersonPtr &person);
    /// Forgets every pick.
    void forget();

    const PickHistory &history() const { return _history; }
    /// The picked persons among the searched ones, with their scores.
    const RelevanceOrder::PickScores &pickScores();

private:
    void _resolve();

    bool _enabled = true;
    PickHistory _history;
    PersonFinder _find;
    RelevanceOrder::PickScores _scores;
    // Whether the scores are still the history's.
    bool _resolved = false;
    QDateTime _resolvedAt;
    QSet<QString> _pickedSinceShown;
};
