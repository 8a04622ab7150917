// SPDX-License-Identifier: MIT
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kFixtures = QStringLiteral(BRISKO_TEST_DATA_DIR "/controller");

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs the program as a user would from a terminal without a display, with `settings` (the
/// body of a property list's dictionary) stored in its settings domain.
ProgramRun runBrisko(const QStringList &arguments, const QByteArray &settings = {})
{
    TemporaryHome home;
    if (!settings.isEmpty()) {
        QDir().mkpath(home.configHome());
        QFile file(home.configHome() + QStringLiteral("/com.ambertide.Brisko.plist"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
                   settings + "</dict></plist>\n");
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "BRISKO_ADDRESS_BOOK",
                             "BRISKO_MAIN_BUNDLE"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko"), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << "Brisko did not finish within 30 s: " << qPrintable(process.errorString());
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(QueryMode, PrintsEveryMatchOfTheWholePatternInAddressBookOrder)
{
    // By display name, whatever file each person came from.
    const ProgramRun run = runBrisko({QStringLiteral("--address-book"), kFixtures,
                                      QStringLiteral("--search"), QStringLiteral("an")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, QStringLiteral("Ann Smith\nAnna Smithers\nJoan Baker\n"));

    const ProgramRun words = runBrisko({QStringLiteral("--address-book"), kFixtures,
                                        QStringLiteral("--search"), QStringLiteral("jo smi")});
    EXPECT_EQ(words.exitCode, 0) << qPrintable(words.err);
    EXPECT_EQ(words.out, QStringLiteral("John Quincy Smith\n"));
}

TEST(QueryMode, NamesCompaniesAndKeepsAccents)
{
    const ProgramRun company = runBrisko({QStringLiteral("--address-book"), kFixtures,
                                          QStringLiteral("--search"), QStringLiteral("quill")});
    EXPECT_EQ(company.exitCode, 0) << qPrintable(company.err);
    EXPECT_EQ(company.out, QStringLiteral("Quillfeather Books\n"));

    const ProgramRun accented = runBrisko({QStringLiteral("--address-book"), kFixtures,
                                           QStringLiteral("--search"), QStringLiteral("ZOË")});
    EXPECT_EQ(accented.exitCode, 0) << qPrintable(accented.err);
    EXPECT_EQ(accented.out, QStringLiteral("Zoë Zephyrine\n"));
}

TEST(QueryMode, ReadsTheSearchOptionsFromTheSettings)
{
    const QStringList zoe = {QStringLiteral("--address-book"), kFixtures,
                             QStringLiteral("--search"), QStringLiteral("zoe")};
    EXPECT_EQ(runBrisko(zoe).out, QString()) << "accents count unless the user says otherwise";
    const ProgramRun run = runBrisko(zoe, "<key>IgnoreAccents</key><true/>");
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, QStringLiteral("Zoë Zephyrine\n"));
    const ProgramRun phone = runBrisko({QStringLiteral("--address-book"), kFixtures,
                                        QStringLiteral("--search"), QStringLiteral("7946-0011")},
                                       "<key>MatchPhoneDigits</key><true/>");
    EXPECT_EQ(phone.out, QStringLiteral("Ann Smith\n")) << qPrintable(phone.err);
}

TEST(QueryMode, SeveralAddressBooksAreAllRead)
{
    const ProgramRun run =
        runBrisko({QStringLiteral("--address-book"), kFixtures + QStringLiteral("/people.vcf"),
                   QStringLiteral("--address-book"), kFixtures + QStringLiteral("/more.vcf"),
                   QStringLiteral("--search"), QStringLiteral("an")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out, QStringLiteral("Ann Smith\nAnna Smithers\nJoan Baker\n"));
}

// Contact data comes from anywhere; an escape sequence in a name must not reach the terminal,
// nor a character that makes the line read other than it is.
TEST(QueryMode, ControlAndBidirectionalCharactersInNamesArePrintedAsVisibleEscapes)
{
    QTemporaryDir folder;
    const QString book = folder.filePath(QStringLiteral("hostile.vcf"));
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Mallory;Eve\x1b[2J\x1b]0\\;owned\x07;;;\r\n"
               "END:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\n"
               "ORG:Tab\tEve Co\xc2\x9b\x7f exe.\xe2\x80\xaetxt\xe2\x81\xa6\r\n"
               "X-ABShowAs:COMPANY\r\nEND:VCARD\r\n");
    file.close();

    const ProgramRun run = runBrisko({QStringLiteral("--address-book"), book,
                                      QStringLiteral("--search"), QStringLiteral("eve")});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.out.toStdString(), "Eve\\x1b[2J\\x1b]0;owned\\x07 Mallory\n"
                                     "Tab\tEve Co\\x9b\\x7f exe.\\u202etxt\\u2066\n");
}

TEST(QueryMode, NoMatchAndEmptyPatternPrintNothing)
{
    for (const QString &pattern : {QStringLiteral("xyzzy"), QString(), QStringLiteral("   ")}) {
        const ProgramRun run = runBrisko(
            {QStringLiteral("--address-book"), kFixtures, QStringLiteral("--search"), pattern});
        EXPECT_EQ(run.exitCode, 0) << qPrintable(pattern) << ": " << qPrintable(run.err);
        EXPECT_TRUE(run.out.isEmpty()) << qPrintable(pattern) << ": " << qPrintable(run.out);
    }
}

TEST(QueryMode, BadCommandLinesAreRefusedWithAMessage)
{
    const ProgramRun missing = runBrisko({QStringLiteral("--address-book"),
                                          kFixtures + QStringLiteral("/no-such-book.vcf"),
                                          QStringLiteral("--search"), QStringLiteral("an")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains(QStringLiteral("no-such-book.vcf")))
        << qPrintable(missing.err);

    const ProgramRun noValue = runBrisko({QStringLiteral("--search")});
    EXPECT_NE(noValue.exitCode, 0);
    EXPECT_FALSE(noValue.err.isEmpty());

    const ProgramRun unknown = runBrisko(
        {QStringLiteral("--search"), QStringLiteral("an"), QStringLiteral("--frobnicate")});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("frobnicate"))) << qPrintable(unknown.err);
}
