// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBook.h"

#include "platform/addressbook/VCardReader.h"
#include "platform/core/Bundle.h"
#include "tests/doubles/ScriptedAddressBookSource.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray card(const char *name, const char *uid, const char *organization)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:") + name + "\r\nN:" + name +
           ";;;;\r\nORG:" + organization + "\r\nUID:" + uid + "\r\nEND:VCARD\r\n";
}

PersonPtr stored(const char *name, const char *uid)
{
    return VCardReader::readStoredCard(card(name, uid, "Store"), "Test store");
}

QStringList namesAndKeepers(const AddressBook &book)
{
    QStringList names;
    for (const PersonPtr &person : book.people())
        names.append(person->lastName() + QLatin1Char('/') + person->organization());
    return names;
}

/// A desktop with one vCard folder, and a contact store the test answers for.
class AddressBookStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qunsetenv("BRISKO_ADDRESS_BOOK");
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    }

    void writeCard(const QByteArray &text, const QString &name)
    {
        const QString folder = home.dataHome() + QLatin1String("/contacts");
        QDir().mkpath(folder);
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    std::unique_ptr<AddressBook> makeBook(AddressBook::Loading loading,
                                          const QStringList &paths = {})
    {
        auto source = std::make_unique<ScriptedAddressBookSource>();
        store = source.get();
        QObject::connect(source.get(), &ScriptedAddressBookSource::started, [this] { ++starts; });
        return std::make_unique<AddressBook>(std::move(source), paths, loading);
    }

    TemporaryHome home;
    // Only while the book keeps it: a book that does not want a store destroys it.
    ScriptedAddressBookSource *store = nullptr;
    int starts = 0;
};

} // namespace

TEST_F(AddressBookStoreTest, StoreContactsJoinTheFilesInNameOrderAndOneKeptInBothAppearsOnce)
{
    writeCard(card("Mills", "kept-in-both", "File"), QStringLiteral("a.vcf"));
    writeCard(card("Baker", "file-only", "File"), QStringLiteral("b.vcf"));
    // Answering only once the event loop runs: the constructor must wait for it.
    auto source = std::make_unique<ScriptedAddressBookSource>();
    ScriptedAddressBookSource *answering = source.get();
    QTimer::singleShot(0, answering, [answering] {
        answering->answer({stored("Zimmer", "store-only"), stored("Mills", "kept-in-both")});
    });
    AddressBook book(std::move(source), {}, AddressBook::Loading::Now);
    EXPECT_EQ(namesAndKeepers(book),
              (QStringList{QStringLiteral("Baker/File"), QStringLiteral("Mills/File"),
                           QStringLiteral("Zimmer/Store")}));
    EXPECT_FALSE(book.isUsingSampleBook());
}

TEST_F(AddressBookStoreTest, FilesAreSearchableBeforeTheStoreAnswersAndItsChangesFollow)
{
    writeCard(card("Baker", "file-only", "File"), QStringLiteral("b.vcf"));
    const auto book = makeBook(AddressBook::Loading::InBackground);
    book->setReloadDelay(0);
    ASSERT_TRUE(waitUntil([&] { return book->isLoaded(); })) << "the files waited for the store";
    EXPECT_EQ(namesAndKeepers(*book), QStringList{QStringLiteral("Baker/File")});
    EXPECT_EQ(starts, 1);

    QSignalSpy changes(book.get(), &AddressBook::databaseChangedExternally);
    store->answer({stored("Adams", "store-1"), stored("Zimmer", "store-2")});
    ASSERT_TRUE(waitUntil([&] { return changes.count() == 1; })) << "the answer was not seen";
    EXPECT_EQ(namesAndKeepers(*book),
              (QStringList{QStringLiteral("Adams/Store"), QStringLiteral("Baker/File"),
                           QStringLiteral("Zimmer/Store")}));

    store->answer({stored("Zimmerman", "store-2")});
    ASSERT_TRUE(waitUntil([&] { return changes.count() == 2; })) << "the change was not seen";
    EXPECT_EQ(namesAndKeepers(*book),
              (QStringList{QStringLiteral("Baker/File"), QStringLiteral("Zimmerman/Store")}));
}

TEST_F(AddressBookStoreTest, WithEmptyFoldersTheSampleBookWaitsForTheStoresAnswer)
{
    struct Case
    {
        const char *what;
        bool storeHasContacts;
    };
    for (const Case &c : {Case{"a store with contacts", true}, Case{"an empty store", false}}) {
        SCOPED_TRACE(c.what);
        const auto book = makeBook(AddressBook::Loading::InBackground);
        book->setReloadDelay(0);
        ASSERT_TRUE(waitUntil([&] { return !book->isLoading(); }));
        EXPECT_FALSE(book->isLoaded()) << "decided on the sample book before the store answered";
        if (c.storeHasContacts)
            store->answer({stored("Adams", "store-1")});
        else
            store->giveUp();
        ASSERT_TRUE(waitUntil([&] { return book->isLoaded(); }));
        EXPECT_EQ(book->isUsingSampleBook(), !c.storeHasContacts);
        EXPECT_EQ(book->people().size() == 1, c.storeHasContacts);
    }
}

TEST_F(AddressBookStoreTest, AddressBooksTheUserNamesLeaveTheStoreUnread)
{
    const QString file = home.path() + QLatin1String("/mine.vcf");
    QFile mine(file);
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write(card("Baker", "mine", "File"));
    mine.close();
    const auto named = makeBook(AddressBook::Loading::Now, {file});
    EXPECT_EQ(starts, 0);
    qputenv("BRISKO_ADDRESS_BOOK", file.toUtf8());
    const auto fromEnvironment = makeBook(AddressBook::Loading::Now);
    qunsetenv("BRISKO_ADDRESS_BOOK");
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(namesAndKeepers(*fromEnvironment), QStringList{QStringLiteral("Baker/File")});
}
