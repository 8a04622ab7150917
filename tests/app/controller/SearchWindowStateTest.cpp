// SPDX-License-Identifier: MIT
#include "app/controller/SearchWindowState.h"

#include <gtest/gtest.h>

namespace {

std::optional<QList<PersonPtr>> persons(int count)
{
    QList<PersonPtr> list;
    for (int i = 0; i < count; ++i)
        list.append(std::make_shared<Person>());
    return list;
}

/// A state showing the card beside the list of `count` matches, at row `current`.
SearchWindowState walkingTheList(int count, int current)
{
    SearchWindowState state;
    state.setMatchingPersons(persons(count));
    state.cardShown();
    state.matchesTableShown(true);
    state.selectionChanged(current);
    return state;
}

TEST(SearchWindowState, TheArrowsWrapAroundAndMendAnIndexBeyondAShorterResult)
{
    const struct
    {
        int count;
        int current;
        int up;
        int down;
    } cases[] = {
        {3, 0, 2, 1},
        {3, 1, 0, 2},
        {3, 2, 1, 0},
        {1, 0, 0, 0},
        // Left beyond the end of a result that shrank, or at no row at all.
        {2, 5, 1, 0},
        {2, -1, 1, 0},
        // No match: nowhere to go.
        {0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " matches at " << c.current);
        SearchWindowState up = walkingTheList(c.count, c.current);
        EXPECT_EQ(up.moveUp(), c.up);
        EXPECT_EQ(up.currentPersonIndex(), c.up);
        SearchWindowState down = walkingTheList(c.count, c.current);
        EXPECT_EQ(down.moveDown(), c.down);
        EXPECT_EQ(down.currentPersonIndex(), c.down);
    }
}

TEST(SearchWindowState, TheListIsWalkedOnlyBesideTheCardAndReturnKeepsAPickFromSeveral)
{
    const struct
    {
        bool showingPerson;
        bool tableVisible;
        int count;
        bool walks;
        bool choosing;
    } cases[] = {
        {false, true, 3, false, false},
        {true, false, 1, false, false},
        {true, true, 1, true, false},
        {true, true, 3, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.showingPerson << c.tableVisible << c.count);
        SearchWindowState state = walkingTheList(c.count, 0);
        if (!c.showingPerson)
            state.collapsed();
        state.matchesTableShown(c.tableVisible);
        EXPECT_EQ(state.walksTheList(), c.walks);
        EXPECT_EQ(state.isChoosingFromTheList(), c.choosing);
    }
}

TEST(SearchWindowState, ALossOfFocusHidesOnlyAWindowThatHadItAndNotBetweenOurOwnWindows)
{
    using Step = void (*)(SearchWindowState &);
    const Step shown = [](SearchWindowState &s) { s.shown(); };
    const Step active = [](SearchWindowState &s) { s.becameActive(); };
    const Step inactive = [](SearchWindowState &s) { s.becameInactive(); };
    const Step switchBegan = [](SearchWindowState &s) { s.windowSwitchBegan(); };
    const Step switchEnded = [](SearchWindowState &s) { s.windowSwitchEnded(); };
    const struct
    {
        const char *what;
        std::vector<Step> steps;
        bool hides;
    } cases[] = {
        {"the user left", {shown, active, inactive}, true},
        {"a loss from before the window came back", {active, inactive, shown, inactive}, false},
        {"shown while active, then left", {active, shown, inactive}, true},
        {"active again before the event loop turned", {shown, active, inactive, active}, false},
        {"between two of our windows", {shown, active, switchBegan, inactive}, false},
        {"nested switches",
         {shown, active, switchBegan, switchBegan, switchEnded, inactive},
         false},
        {"after the switch", {shown, active, switchBegan, switchEnded, inactive}, true},
    };
    for (const auto &c : cases) {
        SearchWindowState state;
        for (const Step step : c.steps)
            step(state);
        EXPECT_EQ(state.shouldResignHide(), c.hides) << c.what;
    }
}

TEST(SearchWindowState, KeepsTheResultTheCardAndTheOpenAlerts)
{
    SearchWindowState state;
    EXPECT_FALSE(state.matchingPersons().has_value());
    EXPECT_EQ(state.matchCount(), 0);
    EXPECT_TRUE(state.matchesTableIsVisible());
    EXPECT_FALSE(state.isShowingPerson());

    const std::optional<QList<PersonPtr>> three = persons(3);
    state.setMatchingPersons(three);
    EXPECT_EQ(state.matchCount(), 3);
    EXPECT_EQ(state.personAt(2), three->at(2));
    for (const int row : {-1, 3})
        EXPECT_EQ(state.personAt(row), nullptr) << row;

    state.cardShown();
    state.selectionChanged(2);
    state.firstPersonShown();
    EXPECT_TRUE(state.isShowingPerson());
    EXPECT_EQ(state.currentPersonIndex(), 0);
    state.collapsed();
    EXPECT_FALSE(state.isShowingPerson());

    state.alertOpened();
    state.alertOpened();
    state.alertClosed();
    EXPECT_TRUE(state.hasOpenAlert());
    EXPECT_EQ(state.openAlerts(), 1);
    state.alertClosed();
    EXPECT_FALSE(state.hasOpenAlert());

    EXPECT_TRUE(state.takeFirstIndex()) << "what was typed meanwhile waits for the first index";
    EXPECT_FALSE(state.takeFirstIndex()) << "later indexes search nothing by themselves";
}

} // namespace
