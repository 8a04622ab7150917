// SPDX-License-Identifier: MIT
#include "app/search/RelevanceOrder.h"

#include <QVariantMap>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Contact
{
    const char *id;
    const char *first;
    const char *middle;
    const char *last;
    const char *organization = nullptr;
    const char *street = nullptr;
    const char *note = nullptr;
    bool company = false;
};

PersonPtr personOf(const Contact &contact)
{
    Person::Fields fields;
    fields.uniqueId = QString::fromUtf8(contact.id);
    fields.firstName = QString::fromUtf8(contact.first);
    fields.middleName = QString::fromUtf8(contact.middle);
    fields.lastName = QString::fromUtf8(contact.last);
    fields.organization = QString::fromUtf8(contact.organization);
    fields.note = QString::fromUtf8(contact.note);
    if (contact.street)
        fields.addresses.append(
            {QStringLiteral("_$!<Home>!$_"),
             QVariantMap{{QStringLiteral("Street"), QString::fromUtf8(contact.street)}},
             {}});
    if (contact.company)
        fields.flags = Person::ShowAsCompany;
    return std::make_shared<const Person>(fields);
}

/// A book in its own order, by name, as results come.
class Book
{
public:
    explicit Book(std::initializer_list<Contact> contacts)
    {
        for (const Contact &contact : contacts)
            persons.append(personOf(contact));
    }

    std::vector<std::string> order(const char *pattern,
                                   const std::map<std::string, double> &picks = {},
                                   SearchFolding::Options options = {}) const
    {
        RelevanceOrder::PickScores scores;
        for (const PersonPtr &person : persons) {
            const auto pick = picks.find(person->uniqueId().toStdString());
            if (pick != picks.end())
                scores.insert(person.get(), pick->second);
        }
        std::vector<std::string> ids;
        for (const PersonPtr &person :
             RelevanceOrder::ordered(persons, QString::fromUtf8(pattern), options, scores))
            ids.push_back(person->uniqueId().toStdString());
        return ids;
    }

    QList<PersonPtr> persons;
};

// Everyone holds "an" somewhere: a name's start, a word of it, inside it, or a street.
const Book kBook{
    {"andover", "", "", "", "Andover Books", nullptr, nullptr, true},
    {"anna", "Anna", "", "Berg"},
    {"dan", "Dan", "", "Brown", nullptr, nullptr, "Kowalski's neighbour"},
    {"hannah", "Hannah", "", "Jones"},
    {"joanna", "Joanna", "", "Smith"},
    {"lianne", "Li-Anne", "", "Wu"},
    {"mary", "Mary", "Ann", "Lee"},
    {"zoe", "Zoe", "", "Quinn", nullptr, "Andover Lane"},
};

} // namespace

TEST(RelevanceOrderTest, PicksFirstThenNameStartThenWordStartThenTheRestEachByName)
{
    using Ids = std::vector<std::string>;
    const Ids byRelevance = {"andover", "anna", "lianne", "mary", "dan", "hannah", "joanna", "zoe"};
    const struct
    {
        const char *pattern;
        std::map<std::string, double> picks;
        Ids expected;
    } cases[] = {
        {"an", {}, byRelevance},
        // Only the first word ranks; case and blanks do not count.
        {"  AN kowalski", {}, byRelevance},
        {"an",
         {{"joanna", 1.0}},
         {"joanna", "andover", "anna", "lianne", "mary", "dan", "hannah", "zoe"}},
        // The higher score first, however the names go.
        {"an",
         {{"zoe", 0.5}, {"dan", 2.0}},
         {"dan", "zoe", "andover", "anna", "lianne", "mary", "hannah", "joanna"}},
        // Equal scores keep the names' order.
        {"an",
         {{"hannah", 1.0}, {"dan", 1.0}},
         {"dan", "hannah", "andover", "anna", "lianne", "mary", "joanna", "zoe"}},
        // A word after a hyphen or a blank starts a word; the middle name is part of the name.
        {"ann", {}, {"anna", "lianne", "mary", "andover", "dan", "hannah", "joanna", "zoe"}},
        {"brown", {}, {"dan", "andover", "anna", "hannah", "joanna", "lianne", "mary", "zoe"}},
        // Matched elsewhere only: the book's own order.
        {"kowalski", {}, {"andover", "anna", "dan", "hannah", "joanna", "lianne", "mary", "zoe"}},
        {"kowalski",
         {{"mary", 0.2}},
         {"mary", "andover", "anna", "dan", "hannah", "joanna", "lianne", "zoe"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(kBook.order(c.pattern, c.picks), c.expected);
    }
}

TEST(RelevanceOrderTest, NamesAreComparedAsTheSearchFoldsThem)
{
    const Book book{
        {"lasse", "Lasse", "", "Åberg"},
        {"asa", "Åsa", "", "Ek"},
        {"oscar", "Oscar", "", "Asplund"},
    };
    EXPECT_EQ(book.order("as"), (std::vector<std::string>{"oscar", "lasse", "asa"}));
    EXPECT_EQ(book.order("as", {}, {true, false}),
              (std::vector<std::string>{"asa", "oscar", "lasse"}));
    EXPECT_EQ(book.order("ÅB"), (std::vector<std::string>{"lasse", "asa", "oscar"}));
}

TEST(RelevanceOrderTest, ResultsOfOneRankComeBackAsTheyWere)
{
    const QList<PersonPtr> &persons = kBook.persons;
    EXPECT_TRUE(
        RelevanceOrder::ordered(persons, QStringLiteral("kowalski"), {}, {}).isSharedWith(persons));
    EXPECT_TRUE(RelevanceOrder::ordered({}, QStringLiteral("an"), {}, {}).isEmpty());
}
