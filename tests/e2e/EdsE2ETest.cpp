// SPDX-License-Identifier: MIT
// The contacts of Evolution Data Server, with the real services on a private bus and home.
#include "tests/e2e/support/AppDriver.h"
#include "tests/e2e/support/PrivateEds.h"

#include "platform/addressbook/AddressBook.h"
#include "platform/addressbook/eds/EdsAddressBookSource.h"
#include "platform/core/Bundle.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QByteArray card(const char *first, const char *last, const char *uid)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:") + uid + "\r\nN:" + last + ";" + first +
           ";;;\r\nFN:" + first + " " + last + "\r\nEND:VCARD\r\n";
}

void writeContactFile(const TemporaryHome &home, const char *name, const QByteArray &text)
{
    QDir().mkpath(home.dataHome() + QLatin1String("/contacts"));
    QFile file(home.dataHome() + QLatin1String("/contacts/") + QLatin1String(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

/// The names `Brisko --search` prints, and its standard error.
struct Query
{
    QStringList names;
    QString errors;
};

Query search(const QString &pattern, bool edsOn = true)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (edsOn)
        environment.remove(QStringLiteral("BRISKO_EDS"));
    else
        environment.insert(QStringLiteral("BRISKO_EDS"), QStringLiteral("0"));
    ChildProcess brisko(AppDriver::Brisko, {QStringLiteral("--search"), pattern}, environment);
    Query query;
    if (!brisko.waitForFinished(AppDriver::Timeout)) {
        query.errors = QStringLiteral("Brisko --search did not end in time");
        return query;
    }
    query.names = brisko.remainingOutput().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    query.errors = brisko.standardError();
    return query;
}

QStringList names(const AddressBook &book)
{
    QStringList names;
    for (const PersonPtr &person : book.people())
        names.append(person->firstName() + QLatin1Char(' ') + person->lastName());
    return names;
}

/// A home whose desktop keeps contacts in two EDS books and in a vCard folder; Bob is in all
/// three, as a CardDAV contact kept by both the desktop and vdirsyncer would be.
class EdsE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const QString reason = PrivateEds::missingReason(); !reason.isEmpty())
            GTEST_SKIP() << qPrintable(reason);
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        eds = std::make_unique<PrivateEds>();
        ASSERT_TRUE(eds->isRunning()) << "no source registry: " << qPrintable(eds->error());
        ASSERT_TRUE(
            eds->add({card("Ann", "Kowalski", "eds-ann"), card("Bob", "Kowalczyk", "shared-bob")}))
            << qPrintable(eds->error());
        work = eds->addBook("Work");
        ASSERT_FALSE(work.isEmpty()) << qPrintable(eds->error());
        ASSERT_TRUE(eds->add(
            {card("Dora", "Kowalska", "eds-dora"), card("Bob", "Kowalczyk", "shared-bob")}, work))
            << qPrintable(eds->error());
        writeContactFile(home, "shared-bob.vcf", card("Bob", "Kowalczyk", "shared-bob"));
        writeContactFile(home, "cyril.vcf", card("Cyril", "Kowalewski", "file-cyril"));
    }

    TemporaryHome home;
    std::unique_ptr<PrivateEds> eds;
    QByteArray work;
};

} // namespace

TEST_F(EdsE2ETest, TheQueryModeFindsEveryBooksContactsBesideTheFilesOnceEachUnlessSwitchedOff)
{
    const Query all = search(QStringLiteral("kowal"));
    EXPECT_EQ(all.names,
              (QStringList{QStringLiteral("Ann Kowalski"), QStringLiteral("Bob Kowalczyk"),
                           QStringLiteral("Cyril Kowalewski"), QStringLiteral("Dora Kowalska")}))
        << qPrintable(all.errors);

    const Query filesOnly = search(QStringLiteral("kowal"), false);
    EXPECT_EQ(filesOnly.names,
              (QStringList{QStringLiteral("Bob Kowalczyk"), QStringLiteral("Cyril Kowalewski")}))
        << qPrintable(filesOnly.errors);
}

TEST_F(EdsE2ETest, ContactsChangedAddedAndRemovedWhileRunningAreSeen)
{
    AddressBook book(std::make_unique<EdsAddressBookSource>(), {}, AddressBook::Loading::Now);
    ASSERT_EQ(names(book),
              (QStringList{QStringLiteral("Ann Kowalski"), QStringLiteral("Bob Kowalczyk"),
                           QStringLiteral("Cyril Kowalewski"), QStringLiteral("Dora Kowalska")}));
    QSignalSpy changes(&book, &AddressBook::databaseChangedExternally);

    ASSERT_TRUE(eds->modify(card("Ann", "Nowak", "eds-ann"))) << qPrintable(eds->error());
    ASSERT_TRUE(eds->remove("eds-dora", work)) << qPrintable(eds->error());
    ASSERT_TRUE(eds->add({card("Emil", "Kowalik", "eds-emil")}, work)) << qPrintable(eds->error());
    const QStringList expected{QStringLiteral("Ann Nowak"), QStringLiteral("Bob Kowalczyk"),
                               QStringLiteral("Cyril Kowalewski"), QStringLiteral("Emil Kowalik")};
    EXPECT_TRUE(waitUntil([&] { return names(book) == expected; }, AppDriver::Timeout))
        << "still " << qPrintable(names(book).join(QLatin1String(", ")));
    EXPECT_GE(changes.count(), 1);
}

// A desktop without EDS: a bus that cannot start it.
TEST(EdsAbsentE2ETest, TheFilesAreSearchedWithoutWaitingForIt)
{
    TemporaryHome home;
    writeContactFile(home, "cyril.vcf", card("Cyril", "Kowalewski", "file-cyril"));
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";

    const Query query = search(QStringLiteral("kowal"));
    EXPECT_EQ(query.names, QStringList{QStringLiteral("Cyril Kowalewski")})
        << qPrintable(query.errors);
    EXPECT_FALSE(query.errors.contains(QLatin1String("no answer within")))
        << "waited for the time-out: " << qPrintable(query.errors);
}
