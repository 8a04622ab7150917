// SPDX-License-Identifier: MIT
#include "app/controller/SearchWindowState.h"

void SearchWindowState::setMatchingPersons(std::optional<QList<PersonPtr>> persons)
{
    _matchingPersons = std::move(persons);
}

int SearchWindowState::matchCount() const
{
    return _matchingPersons ? int(_matchingPersons->size()) : 0;
}

PersonPtr SearchWindowState::personAt(int row) const
{
    // No selected row (-1) must not pick a person, nor must a row of a stale list.
    const bool inRange = row >= 0 && row < matchCount();
    return inRange ? _matchingPersons->at(row) : nullptr;
}

int SearchWindowState::moveUp()
{
    const int count = matchCount();
    if (count == 0)
        return _currentPersonIndex;
    --_currentPersonIndex;
    // Also mends an index left beyond the end of a shorter result.
    if (_currentPersonIndex < 0 || _currentPersonIndex >= count)
        _currentPersonIndex = count - 1;
    return _currentPersonIndex;
}

int SearchWindowState::moveDown()
{
    const int count = matchCount();
    if (count == 0)
        return _currentPersonIndex;
    ++_currentPersonIndex;
    if (_currentPersonIndex >= count || _currentPersonIndex < 0)
        _currentPersonIndex = 0;
    return _currentPersonIndex;
}

void SearchWindowState::becameActive()
{
    _applicationActive = true;
    _activeSinceShown = true;
}

bool SearchWindowState::shouldResignHide() const
{
    return !_applicationActive && _windowSwitches == 0 && _activeSinceShown;
}

bool SearchWindowState::takeFirstIndex()
{
    const bool first = _searchWhenIndexIsIn;
    _searchWhenIndexIsIn = false;
    return first;
}
