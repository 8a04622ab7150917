// SPDX-License-Identifier: MIT
#include "app/search/PersonExtras.h"
#include "app/search/PersonCardFile.h"
#include "app/search/StringWhitespace.h"

#include "platform/addressbook/VCardReader.h"
#include "tests/support/TemporaryHome.h"

#include "platform/workspace/Workspace.h"
#include "tests/doubles/RecordingWorkspace.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

template <typename Fill>
Person person(Fill fill)
{
    Person::Fields fields;
    fill(fields);
    return Person(std::move(fields));
}

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

LabeledValue email(const char *address)
{
    return {QStringLiteral("_$!<Work>!$_"), S(address), QStringLiteral("email-0")};
}

} // namespace

TEST(PersonExtrasTest, DisplayNameOfPeople)
{
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) {
                  f.firstName = S("John");
                  f.lastName = S("Smith");
              })),
              S("John Smith"));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) { f.firstName = S("John"); })),
              S("John "));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) { f.lastName = S("Smith"); })),
              S("Smith"));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) {
                  f.firstName = S("Anna");
                  f.lastName = S("Berg");
                  f.middleName = S("Maria");
              })),
              S("Anna Maria Berg"));
    EXPECT_EQ(
        PersonExtras::displayName(person([](Person::Fields &f) { f.middleName = S("Maria"); })),
        S("Maria "));
    // Untrimmed in the display name, trimmed by the accessor.
    const Person padded = person([](Person::Fields &f) {
        f.firstName = S("  John ");
        f.lastName = S("Smith");
    });
    EXPECT_EQ(PersonExtras::displayName(padded), S("  John  Smith"));
    EXPECT_EQ(PersonExtras::firstName(padded), S("John"));
}

TEST(PersonExtrasTest, DisplayNameFallsBackToOrganizationEmailAndNoName)
{
    const Person nicknameOnly = person([](Person::Fields &f) {
        f.nickname = S("Jojo");
        f.organization = S("Acme");
        f.emails = {email("a@b.c")};
    });
    EXPECT_EQ(PersonExtras::displayName(nicknameOnly), S("Acme"));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) {
                  f.nickname = S("Jojo");
                  f.emails = {email("a@b.c")};
              })),
              S("a@b.c"));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) { f.nickname = S("Jojo"); })),
              S("No Name"));

    const Person company = person([](Person::Fields &f) {
        f.firstName = S("Claire");
        f.lastName = S("Bernard");
        f.organization = S("Librairie Côté Jardin");
        f.flags = Person::ShowAsCompany;
    });
    EXPECT_EQ(PersonExtras::displayName(company), S("Librairie Côté Jardin"));
    EXPECT_EQ(PersonExtras::displayName(person([](Person::Fields &f) {
                  f.firstName = S("Claire");
                  f.emails = {email("x@y.z"), email("second@y.z")};
                  f.flags = Person::ShowAsCompany;
              })),
              S("x@y.z"));
    EXPECT_EQ(PersonExtras::displayName(
                  person([](Person::Fields &f) { f.flags = Person::ShowAsCompany; })),
              S("No Name"));
}

TEST(PersonExtrasTest, OnlyTheShowAsBitsMakeACompany)
{
    EXPECT_TRUE(PersonExtras::isCompany(person([](Person::Fields &f) { f.flags = 1; })));
    EXPECT_TRUE(PersonExtras::isCompany(person([](Person::Fields &f) { f.flags = 9; })));
    for (int flags : {0, 2, 3, 5, 8})
        EXPECT_FALSE(PersonExtras::isCompany(person([flags](Person::Fields &f) {
            f.flags = flags;
        }))) << flags;
}

TEST(PersonExtrasTest, TrimmedAccessorsKeepAbsentValuesAbsent)
{
    const Person full = person([](Person::Fields &f) {
        f.firstName = S("\tJohn\n");
        f.lastName = S("\u00a0Smith\u2003");
        f.organization = S(" Acme  ");
        f.jobTitle = S("\r\nBoss ");
    });
    EXPECT_EQ(PersonExtras::firstName(full), S("John"));
    EXPECT_EQ(PersonExtras::lastName(full), S("Smith"));
    EXPECT_EQ(PersonExtras::companyName(full), S("Acme"));
    EXPECT_EQ(PersonExtras::jobTitle(full), S("Boss"));
    const Person empty;
    EXPECT_TRUE(PersonExtras::firstName(empty).isNull());
    EXPECT_TRUE(PersonExtras::companyName(empty).isNull());
    EXPECT_TRUE(StringWhitespace::stringByTrimmingWhiteSpaces(QString()).isNull());
    EXPECT_EQ(StringWhitespace::stringByTrimmingWhiteSpaces(S(" \u0085a b\u2028")), S("a b"));
    EXPECT_EQ(StringWhitespace::stringByTrimmingWhiteSpaces(S("   ")), QString());
}

TEST(PersonExtrasTest, OpeningHandsTheContactsProgramTheCardAlone)
{
    TemporaryHome home;
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    const auto write = [&](const QString &name, const QByteArray &text) {
        QFile file(home.path() + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        return file.fileName();
    };
    const QByteArray ann = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann\r\nEND:VCARD\r\n";
    const QByteArray bob = "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Bob\nTEL:555 0100\nEND:VCARD\n";

    // Alone in its file, the card is that file.
    const QString single = write(S("ann.vcf"), ann);
    EXPECT_TRUE(PersonExtras::openInAddressBook(*VCardReader::readFile(single).first()));
    // Shared, it is handed over as a private copy holding nothing of the other persons.
    const QString shared = write(S("family.vcf"), ann + bob);
    const PersonPtr bobRead = VCardReader::readFile(shared).last();
    EXPECT_TRUE(PersonExtras::editInAddressBook(*bobRead));
    ASSERT_EQ(workspace->requests.size(), 2);
    EXPECT_EQ(workspace->requests[0].target, single);
    const QString copy = workspace->requests[1].target;
    EXPECT_TRUE(copy.startsWith(home.runtimeDir() + S("/"))) << qPrintable(copy);
    QFile copied(copy);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), bob);
    EXPECT_EQ(copied.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);

    // Gone from its file since it was read: nothing is opened.
    write(S("family.vcf"), ann);
    EXPECT_FALSE(PersonExtras::openInAddressBook(*bobRead));
    EXPECT_EQ(workspace->requests.size(), 2);
    workspace->answer = false;
    EXPECT_FALSE(PersonExtras::openInAddressBook(*VCardReader::readFile(single).first()));
    Workspace::setShared(nullptr);
}

TEST(PersonExtrasTest, CopiesLieInAFolderOfTheUsersAloneForADay)
{
    TemporaryHome home;
    const QString folder = home.runtimeDir() + S("/brisko-cards");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                  QFileDevice::ExeOther));
    const QDateTime now = QDateTime::currentDateTime();
    const auto leave = [&](const char *name, const QDateTime &modified) {
        QFile file(folder + S("/") + S(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.flush());
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    };
    leave("Day Old.vcf", now.addSecs(-25 * 60 * 60));
    leave("Fresh.vcf", now.addSecs(-23 * 60 * 60));
    leave("Day Old.txt", now.addSecs(-25 * 60 * 60));

    QFile shared(home.path() + S("/family.vcf"));
    ASSERT_TRUE(shared.open(QIODevice::WriteOnly));
    shared.write("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n"
                 "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Bob\nEND:VCARD\n");
    shared.close();
    const QString copy =
        PersonCardFile::fileWithCardAlone(*VCardReader::readFile(shared.fileName()).last());
    EXPECT_EQ(QFileInfo(copy).absolutePath(), folder);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(folder) & others, QFileDevice::Permissions())
        << "others may look into the folder of the copies";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{S("Bob Lee.vcf"), S("Day Old.txt"), S("Fresh.vcf")}));
}

// The desktop picks the handler by the name's extension: a browser would open lonely.html.
TEST(PersonExtrasTest, ACardAloneInAFileNotNamedAsACardIsHandedOverAsACopy)
{
    TemporaryHome home;
    const QByteArray ann = "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n";
    const struct
    {
        const char *name;
        bool itself;
    } cases[] = {{"lonely.html", false},
                 {"lonely.txt", false},
                 {"lonely.VCF", true},
                 {"lonely.vcard", true}};
    for (const auto &c : cases) {
        QFile file(home.path() + S("/") + S(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(ann) == ann.size());
        file.close();
        const QString handed =
            PersonCardFile::fileWithCardAlone(*VCardReader::readFile(file.fileName()).first());
        if (c.itself) {
            EXPECT_EQ(handed, file.fileName()) << c.name;
        } else {
            EXPECT_TRUE(handed.startsWith(PersonCardFile::copiesFolder() + S("/")) &&
                        handed.endsWith(S(".vcf")))
                << c.name << ": " << qPrintable(handed);
        }
    }
}

namespace {

const QByteArray kBobsCard = "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Bob\nEND:VCARD\n";

/// Bob, who shares his file with Ann, so he is handed over as a copy.
PersonPtr bobOfASharedFile(const TemporaryHome &home)
{
    QFile shared(home.path() + S("/family.vcf"));
    EXPECT_TRUE(shared.open(QIODevice::WriteOnly));
    shared.write("BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n" + kBobsCard);
    shared.close();
    return VCardReader::readFile(shared.fileName()).last();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(PersonExtrasTest, ACopyThatCannotBeMadeSaysWhy)
{
    TemporaryHome home;
    // Where the folder of copies would be, a plain file.
    QFile blocker(home.runtimeDir() + S("/brisko-cards"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const PersonPtr bob = bobOfASharedFile(home);
    static QString said;
    said.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &text) { said += text; });
    const bool opened = PersonExtras::openInAddressBook(*bob);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(said.contains(blocker.fileName())) << qPrintable(said);
    EXPECT_FALSE(said.contains(QLatin1String("no longer"))) << qPrintable(said);
}

// Anyone who can write the runtime folder's links could otherwise have Brisko delete, change
// or overwrite files elsewhere: old cards in a folder of theirs, or ~/.bashrc.
TEST(PersonExtrasTest, TheFolderOfCopiesAndItsCopiesFollowNoLink)
{
    TemporaryHome home;
    const PersonPtr bob = bobOfASharedFile(home);
    const QString folder = home.runtimeDir() + S("/brisko-cards");
    const QString elsewhere = home.path() + S("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QFileDevice::Permissions open = QFile::permissions(elsewhere);
    QFile old(elsewhere + S("/Old.vcf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("x") == 1 && old.flush());
    ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-2),
                                QFileDevice::FileModificationTime));
    old.close();
    ASSERT_TRUE(QFile::link(elsewhere, folder));
    QString problem;
    EXPECT_EQ(PersonCardFile::fileWithCardAlone(*bob, &problem), QString());
    EXPECT_TRUE(problem.contains(folder) && problem.contains(S("link"))) << qPrintable(problem);
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files), QStringList{S("Old.vcf")});
    EXPECT_EQ(QFile::permissions(elsewhere), open);

    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString bashrc = home.path() + S("/.bashrc");
    QFile profile(bashrc);
    ASSERT_TRUE(profile.open(QIODevice::WriteOnly) && profile.write("alias ll='ls -l'\n") > 0);
    profile.close();
    ASSERT_TRUE(QFile::link(bashrc, folder + S("/Bob Lee.vcf")));
    const QString copy = PersonCardFile::fileWithCardAlone(*bob, &problem);
    EXPECT_EQ(copy, folder + S("/Bob Lee.vcf")) << qPrintable(problem);
    EXPECT_FALSE(QFileInfo(copy).isSymLink());
    EXPECT_EQ(contents(copy), kBobsCard);
    EXPECT_EQ(contents(bashrc), QByteArray("alias ll='ls -l'\n"));

    // A folder someone else made in its place (only root can make one here).
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 4711, 4711), 0);
        EXPECT_EQ(PersonCardFile::fileWithCardAlone(*bob, &problem), QString());
        EXPECT_TRUE(problem.contains(S("someone else"))) << qPrintable(problem);
    }
}
