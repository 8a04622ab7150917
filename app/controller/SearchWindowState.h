// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QList>

#include <optional>

/// What the search window is doing, as one value: the current result and the person picked in
/// it, the window's form, whether the application holds the focus, and how many alerts are
/// open. The controller asks it what a key press or a change of focus means and tells it what
/// happened; it touches no window.
class SearchWindowState final
{
public:
    /// The current result; std::nullopt while the search field is empty.
    const std::optional<QList<PersonPtr>> &matchingPersons() const { return _matchingPersons; }
    void setMatchingPersons(std::optional<QList<PersonPtr>> persons);
    int matchCount() const;
    /// The person in row `row` of the result; none for a row it does not have.
    PersonPtr personAt(int row) const;

    int currentPersonIndex() const { return _currentPersonIndex; }
    bool isShowingPerson() const { return _showingPerson; }
    bool matchesTableIsVisible() const { return _matchesTableIsVisible; }

    /// The window expands to the card.
    void cardShown() { _showingPerson = true; }
    /// The window collapses to the field and the status line.
    void collapsed() { _showingPerson = false; }
    /// The card shows the result's first person.
    void firstPersonShown() { _currentPersonIndex = 0; }
    void matchesTableShown(bool visible) { _matchesTableIsVisible = visible; }
    /// The list's selection moved to `row` (-1 for none).
    void selectionChanged(int row) { _currentPersonIndex = row; }

    /// Whether the arrow keys walk the list: only while it shows beside the card.
    bool walksTheList() const { return _showingPerson && _matchesTableIsVisible; }
    /// Whether Return leaves the card alone: the person picked in the list stays.
    bool isChoosingFromTheList() const { return walksTheList() && matchCount() > 1; }
    /// The row above the current one, the last from the first; the current row when there
    /// is no match. An index beyond the end of a shorter result goes to its last row.
    int moveUp();
    /// The row below the current one, the first from the last.
    int moveDown();

    /// The window was brought up.
    void shown() { _activeSinceShown = _applicationActive; }
    void becameActive();
    void becameInactive() { _applicationActive = false; }
    /// Whether a loss of focus, looked at once the event loop has turned, means the user left:
    /// not while focus passes between our own windows, and not for a window that never had the
    /// focus since it was brought up (the loss is one from before).
    bool shouldResignHide() const;
    /// Between one window of ours going and the next coming, no window has the focus; the loss
    /// of it meanwhile is not the user leaving.
    void windowSwitchBegan() { ++_windowSwitches; }
    void windowSwitchEnded() { --_windowSwitches; }

    /// True once, for the first index of the contacts: what was typed while they loaded is
    /// searched then.
    bool takeFirstIndex();

    int openAlerts() const { return _openAlerts; }
    bool hasOpenAlert() const { return _openAlerts > 0; }
    void alertOpened() { ++_openAlerts; }
    void alertClosed() { --_openAlerts; }

private:
    std::optional<QList<PersonPtr>> _matchingPersons;
    int _currentPersonIndex = 0;
    bool _showingPerson = false;
    bool _matchesTableIsVisible = true;
    bool _applicationActive = false;
    int _windowSwitches = 0;
    /// Whether the application had the focus since the search window was last brought up.
    bool _activeSinceShown = false;
    bool _searchWhenIndexIsIn = true;
    int _openAlerts = 0;
};
