// SPDX-License-Identifier: MIT
#include "platform/addressbook/SourceMerge.h"

#include "platform/addressbook/VCardReader.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

QByteArray card(const char *organization, const char *uid)
{
    QByteArray text =
        QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Same;;;;\r\nORG:") + organization + "\r\n";
    if (*uid)
        text += QByteArray("UID:") + uid + "\r\n";
    return text + "END:VCARD\r\n";
}

void addFile(AddressBookFiles &table, const char *path, const QByteArray &cards)
{
    Person::Origin origin;
    origin.nativePath = path;
    std::shared_ptr<const Person::Origin> shared;
    const QList<PersonPtr> persons =
        VCardReader::readFileContents(cards, std::move(origin), &shared);
    table.files.push_back({shared, table.persons.size(), persons.size()});
    table.persons.append(persons);
}

} // namespace

TEST(SourceMerge, RepeatedIdsInFilesBecomeUniqueAndTheStoresCopiesOfFileContactsAreLeftOut)
{
    AddressBookFiles table;
    addFile(table, "/first.vcf", card("First", "same-id") + card("NoUid", ""));
    addFile(table, "/second.vcf", card("Second", "same-id") + card("Kept", "kept"));
    const QList<PersonPtr> store = {
        VCardReader::readStoredCard(card("KeptInStore", "kept"), "Store"),
        VCardReader::readStoredCard(card("InTwoBooks", "store-only"), "Store"),
        VCardReader::readStoredCard(card("InTwoBooksAgain", "store-only"), "Store"),
        VCardReader::readStoredCard(card("StoreNoUid", ""), "Store"),
    };
    const QList<PersonPtr> people = SourceMerge::merged(table, store);
    QStringList organizations;
    QSet<QString> ids;
    for (const PersonPtr &person : people) {
        organizations.append(person->organization());
        ids.insert(person->uniqueId());
    }
    EXPECT_EQ(organizations,
              (QStringList{QStringLiteral("First"), QStringLiteral("NoUid"),
                           QStringLiteral("Second"), QStringLiteral("Kept"),
                           QStringLiteral("InTwoBooks"), QStringLiteral("StoreNoUid")}));
    EXPECT_EQ(ids.size(), people.size()) << "two persons share an id";
    ASSERT_EQ(people.size(), 6);
    EXPECT_EQ(people[0]->uniqueId(), QStringLiteral("same-id"));
    EXPECT_TRUE(people[2]->uniqueId().startsWith(QLatin1String("same-id#")))
        << qPrintable(people[2]->uniqueId());
    EXPECT_EQ(people[3].get(), table.persons[3].get()) << "a person with its own id is not copied";
}
