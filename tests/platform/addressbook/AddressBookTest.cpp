// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBook.h"

#include "platform/core/Bundle.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(data);
}

// Every card has the same name, so the address book keeps them in source order and the
// organization tells them apart.
QByteArray card(const char *label)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Same;;;;\r\nORG:") + label +
           "\r\nEND:VCARD\r\n";
}

QStringList sourceLabels(const AddressBook &book)
{
    QStringList names;
    for (const PersonPtr &person : book.people())
        names.append(person->organization());
    return names;
}

class AddressBookTest : public ::testing::Test
{
protected:
    void SetUp() override { qunsetenv("BRISKO_ADDRESS_BOOK"); }
    void TearDown() override { qunsetenv("BRISKO_ADDRESS_BOOK"); }

    TemporaryHome home;
};

} // namespace

TEST_F(AddressBookTest, SampleBookStandsInForAnEmptyDesktop)
{
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    AddressBook book;
    EXPECT_TRUE(book.isUsingSampleBook());
    EXPECT_GE(book.people().size(), 25);
    bool company = false, photo = false;
    for (const PersonPtr &person : book.people()) {
        company = company || (person->flags() & Person::ShowAsMask) == Person::ShowAsCompany;
        photo = photo || !person->imageData().isEmpty();
    }
    EXPECT_TRUE(company);
    EXPECT_TRUE(photo);
}

TEST_F(AddressBookTest, WatcherSeesFilesAddedEditedAndRemoved)
{
    const QString root = home.path() + QLatin1String("/book");
    writeFile(root + QLatin1String("/a.vcf"), card("Anders"));
    AddressBook book({root});
    book.setReloadDelay(50);
    QSignalSpy changed(&book, &AddressBook::databaseChangedExternally);
    const quint64 generation = book.generation();

    writeFile(root + QLatin1String("/b.vcf"), card("Berg"));
    ASSERT_TRUE(changed.wait(5000)) << "an added file was not noticed within 5 s";
    EXPECT_EQ(sourceLabels(book), (QStringList{QStringLiteral("Anders"), QStringLiteral("Berg")}));
    EXPECT_GT(book.generation(), generation);

    writeFile(root + QLatin1String("/a.vcf"), card("Andersson"));
    ASSERT_TRUE(changed.wait(5000)) << "an edited file was not noticed within 5 s";
    EXPECT_EQ(sourceLabels(book),
              (QStringList{QStringLiteral("Andersson"), QStringLiteral("Berg")}));

    ASSERT_TRUE(QFile::remove(root + QLatin1String("/b.vcf")));
    ASSERT_TRUE(changed.wait(5000)) << "a removed file was not noticed within 5 s";
    EXPECT_EQ(sourceLabels(book), QStringList{QStringLiteral("Andersson")});
}

TEST_F(AddressBookTest, ReloadWithoutChangesKeepsThePersonsAndStaysQuiet)
{
    const QString root = home.path() + QLatin1String("/book");
    writeFile(root + QLatin1String("/a.vcf"), card("Anders"));
    AddressBook book({root});
    QSignalSpy changed(&book, &AddressBook::databaseChangedExternally);
    const QList<PersonPtr> before = book.people();
    book.reload();
    EXPECT_EQ(changed.count(), 0);
    ASSERT_EQ(book.people().size(), 1);
    EXPECT_EQ(book.people()[0].get(), before[0].get()) << "unchanged files are not read again";
}

TEST_F(AddressBookTest, PersonsFollowTheirNamesAsTheLocaleSortsThemAndEqualNamesKeepTheirPlace)
{
    const QString path = home.path() + QLatin1String("/book.vcf");
    QByteArray cards;
    const char *const names[][2] = {{"Berg", "Åsa"},  {"Lind", "anna"}, {"Ek", "Zed"},
                                    {"Lind", "Anna"}, {"", ""},         {"Ek", "Bo"}};
    for (int i = 0; i < 6; ++i) {
        cards += "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + QByteArray::number(i + 1) +
                 "\r\nN:" + names[i][0] + ";" + names[i][1] + ";;;\r\n";
        if (i == 4)
            cards += "ORG:Ärlig AB\r\nX-ABShowAs:COMPANY\r\n";
        cards += "END:VCARD\r\n";
    }
    writeFile(path, cards);
    struct Case
    {
        const char *locale;
        const char *order; // by UID
    };
    // Swedish puts Å and Ä after Z; "anna" and "Anna" are equal names either way.
    const Case cases[] = {
        {"en_US", "2 4 5 1 6 3"},
        {"sv_SE", "2 4 6 3 1 5"},
    };
    const QLocale saved;
    for (const Case &c : cases) {
        QLocale::setDefault(QLocale(QString::fromLatin1(c.locale)));
        AddressBook book({path});
        QStringList order;
        for (const PersonPtr &person : book.people())
            order.append(person->uniqueId());
        EXPECT_EQ(order.join(QLatin1Char(' ')), QLatin1String(c.order)) << c.locale;
    }
    QLocale::setDefault(saved);
}

TEST_F(AddressBookTest, LoadsAwayFromItsThreadAndSwapsEachResultInWhole)
{
    const QString root = home.path() + QLatin1String("/book");
    writeFile(root + QLatin1String("/a.vcf"), card("Anders"));
    // Holds each load at its start until the test lets it go.
    QSemaphore started, go;
    AddressBook::setLoadStartObserver([&] {
        started.release();
        go.acquire();
    });
    auto cleanup = qScopeGuard([] { AddressBook::setLoadStartObserver({}); });

    AddressBook book({root}, AddressBook::Loading::InBackground);
    QSignalSpy loaded(&book, &AddressBook::loaded);
    QSignalSpy changed(&book, &AddressBook::databaseChangedExternally);
    ASSERT_TRUE(started.tryAcquire(1, 5000)) << "the load did not start within 5 s";
    EXPECT_FALSE(book.isLoaded());
    EXPECT_TRUE(book.isLoading());
    EXPECT_TRUE(book.people().isEmpty());
    go.release();
    ASSERT_TRUE(loaded.wait(5000)) << "the load did not finish within 5 s";
    EXPECT_EQ(sourceLabels(book), QStringList{QStringLiteral("Anders")});
    EXPECT_EQ(changed.count(), 0) << "the first load is no change made by another program";

    writeFile(root + QLatin1String("/b.vcf"), card("Berg"));
    book.reloadInBackground();
    ASSERT_TRUE(started.tryAcquire(1, 5000)) << "the reload did not start within 5 s";
    // A second request while one runs is carried out after it.
    book.reloadInBackground();
    EXPECT_EQ(sourceLabels(book), QStringList{QStringLiteral("Anders")})
        << "the old persons stay until the new ones are in";
    go.release(2);
    ASSERT_TRUE(changed.wait(5000)) << "the reload did not finish within 5 s";
    EXPECT_EQ(sourceLabels(book), (QStringList{QStringLiteral("Anders"), QStringLiteral("Berg")}));
    book.waitForLoad();
    EXPECT_FALSE(book.isLoading());
    EXPECT_EQ(loaded.count(), 1);
}
