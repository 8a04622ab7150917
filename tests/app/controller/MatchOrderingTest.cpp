// SPDX-License-Identifier: MIT
#include "app/controller/MatchOrdering.h"

#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

namespace {

PersonPtr named(const char *id, const char *first, const char *last)
{
    Person::Fields fields;
    fields.uniqueId = QString::fromUtf8(id);
    fields.firstName = QString::fromUtf8(first);
    fields.lastName = QString::fromUtf8(last);
    return std::make_shared<const Person>(fields);
}

QStringList L(std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *name : names)
        list.append(QString::fromLatin1(name));
    return list;
}

QStringList ids(const QList<PersonPtr> &persons)
{
    QStringList result;
    for (const PersonPtr &person : persons)
        result.append(person->uniqueId());
    return result;
}

class MatchOrderingTest : public ::testing::Test
{
protected:
    QStringList order(MatchOrdering &ordering, const char *pattern = "smith")
    {
        return ids(ordering.ordered(book, QString::fromUtf8(pattern), {}));
    }

    TemporaryHome home;
    // In the address book's order; everyone's last name holds "smith".
    const QList<PersonPtr> book{named("ann", "Ann", "Smith"), named("bea", "Bea", "Smithers"),
                                named("cy", "Cy", "Smith")};
};

} // namespace

TEST_F(MatchOrderingTest, APickedPersonComesFirstAndCountsOncePerShowing)
{
    MatchOrdering ordering;
    ordering.personsChanged(book);
    EXPECT_EQ(order(ordering), L({"ann", "bea", "cy"}));
    ordering.windowShown();
    ordering.personPicked(book[2]);
    ordering.personPicked(book[2]);
    EXPECT_EQ(order(ordering), L({"cy", "ann", "bea"}));
    EXPECT_NEAR(ordering.history().score(QStringLiteral("cy"), QDateTime::currentDateTimeUtc()),
                1.0, 0.01)
        << "a second pick in one showing counted";

    // Two picks of Bea over two showings outrank Cy's one.
    ordering.personPicked(book[1]);
    ordering.windowShown();
    ordering.personPicked(book[1]);
    EXPECT_EQ(order(ordering), L({"bea", "cy", "ann"}));

    // Off: the address book's order, whatever was picked.
    ordering.setEnabled(false);
    EXPECT_EQ(order(ordering), L({"ann", "bea", "cy"}));
    ordering.setEnabled(true);

    // The same persons read again are found by their ids.
    const QList<PersonPtr> reread{named("ann", "Ann", "Smith"), named("bea", "Bea", "Smithers"),
                                  named("cy", "Cy", "Smith")};
    ordering.personsChanged(reread);
    EXPECT_EQ(ids(ordering.ordered(reread, QStringLiteral("smith"), {})), L({"bea", "cy", "ann"}));
}

TEST_F(MatchOrderingTest, PicksOfAnotherProcessCountFromTheNextShowingAndForgettingEndsAll)
{
    MatchOrdering ordering;
    ordering.personsChanged(book);
    EXPECT_EQ(order(ordering), L({"ann", "bea", "cy"}));
    {
        PickHistory other;
        ASSERT_TRUE(other.recordPick(QStringLiteral("bea")));
    }
    ordering.windowShown();
    EXPECT_EQ(order(ordering), L({"bea", "ann", "cy"}));
    // A pick here merges the other's as well: both come before the one never picked.
    ordering.personPicked(book[2]);
    EXPECT_EQ(order(ordering).last(), QStringLiteral("ann"));

    ordering.forget();
    EXPECT_EQ(order(ordering), L({"ann", "bea", "cy"}));
    EXPECT_TRUE(PickHistory().isEmpty());
}
