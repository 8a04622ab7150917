// SPDX-License-Identifier: MIT
#include "tools/defaults/DefaultsTool.h"
#include "platform/core/PropertyList.h"
#include "platform/settings/UserDefaults.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/TemporaryHome.h"
#include "tools/defaults/FactoryDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDomain = QStringLiteral("org.example.BriskoDefaultsTool");

struct Result
{
    int code = -1;
    QString out;
    QString err;
};

class DefaultsToolTest : public ::testing::Test
{
protected:
    Result run(const QStringList &arguments)
    {
        Result result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        result.code = DefaultsTool::run(arguments, out, err);
        return result;
    }

    QVariantMap onDisk() const
    {
        return PropertyList::readFile(UserDefaults::pathForDomain(kDomain)).toMap();
    }

    TemporaryHome home;
};

} // namespace

TEST_F(DefaultsToolTest, WritesEachTypeAndReadsItBack)
{
    const std::tuple<const char *, QStringList, QVariant, const char *> cases[] = {
        {"b1", {QStringLiteral("-bool"), QStringLiteral("YES")}, true, "1"},
        {"b2", {QStringLiteral("-bool"), QStringLiteral("false")}, false, "0"},
        {"b3", {QStringLiteral("-bool"), QStringLiteral("1")}, true, "1"},
        {"i", {QStringLiteral("-int"), QStringLiteral("-42")}, qint64(-42), "-42"},
        {"f", {QStringLiteral("-float"), QStringLiteral("2.5")}, 2.5, "2.5"},
        {"s", {QStringLiteral("-string"), QStringLiteral("Zoë")}, QStringLiteral("Zoë"), "Zoë"},
        {"d",
         {QStringLiteral("-data"), QStringLiteral("00fF10")},
         QByteArray("\x00\xff\x10", 3),
         "<00ff10>"},
    };
    for (const auto &[key, typeAndValue, stored, shown] : cases) {
        const QString name = QString::fromLatin1(key);
        const Result written =
            run(QStringList{QStringLiteral("write"), kDomain, name} + typeAndValue);
        EXPECT_EQ(written.code, 0) << key << written.err.toStdString();
        EXPECT_EQ(onDisk().value(name), stored) << key;
        const Result read = run({QStringLiteral("read"), kDomain, name});
        EXPECT_EQ(read.code, 0) << key;
        EXPECT_EQ(read.out, QString::fromUtf8(shown) + QLatin1Char('\n')) << key;
    }
}

TEST_F(DefaultsToolTest, ArraysAndWholeDomainsReadAsNestedText)
{
    ASSERT_EQ(run({QStringLiteral("write"), kDomain, QStringLiteral("list"),
                   QStringLiteral("-array"), QStringLiteral("a"), QStringLiteral("b \"c\"")})
                  .code,
              0);
    EXPECT_EQ(run({QStringLiteral("read"), kDomain, QStringLiteral("list")}).out,
              QStringLiteral("(\n    \"a\",\n    \"b \\\"c\\\"\"\n)\n"));
    ASSERT_EQ(run({QStringLiteral("write"), kDomain, QStringLiteral("n"), QStringLiteral("-int"),
                   QStringLiteral("7")})
                  .code,
              0);
    EXPECT_EQ(
        run({QStringLiteral("read"), kDomain}).out,
        QStringLiteral("{\n    \"list\" = (\n        \"a\",\n        \"b \\\"c\\\"\"\n    );\n"
                       "    \"n\" = 7;\n}\n"));
}

// Any program may write the domain; what it wrote must not act on the reader's terminal.
TEST_F(DefaultsToolTest, ControlCharactersReadAsVisibleEscapes)
{
    ASSERT_EQ(run({QStringLiteral("write"), kDomain, QStringLiteral("title"),
                   QStringLiteral("-string"), QStringLiteral("\x1b]0;owned\x07 ok")})
                  .code,
              0);
    ASSERT_EQ(run({QStringLiteral("write"), kDomain, QStringLiteral("list"),
                   QStringLiteral("-array"), QStringLiteral("\x1b[2J")})
                  .code,
              0);
    EXPECT_EQ(run({QStringLiteral("read"), kDomain, QStringLiteral("title")}).out,
              QStringLiteral("\\x1b]0;owned\\x07 ok\n"));
    const QString whole = run({QStringLiteral("read"), kDomain}).out;
    EXPECT_FALSE(whole.contains(QChar(0x1b))) << qPrintable(whole);
    EXPECT_TRUE(whole.contains(QLatin1String("\\x1b[2J"))) << qPrintable(whole);
}

TEST_F(DefaultsToolTest, AbsentKeysAndDomainsExitOneWithAMessage)
{
    Result result = run({QStringLiteral("read"), kDomain});
    EXPECT_EQ(result.code, 1);
    EXPECT_FALSE(result.err.isEmpty());
    run({QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-int"),
         QStringLiteral("1")});
    result = run({QStringLiteral("read"), kDomain, QStringLiteral("other")});
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("other")));
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(run({QStringLiteral("delete"), kDomain, QStringLiteral("other")}).code, 1);
}

// Only looking, the tool says what is wrong and leaves the file to the programs that own it.
TEST_F(DefaultsToolTest, ReadingAFileItCannotReadSaysWhyExitsOneAndMovesNothing)
{
    const QString path = UserDefaults::pathForDomain(kDomain);
    const auto writeBytes = [&path](const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const struct
    {
        const char *what;
        std::function<bool()> make;
    } cases[] = {
        {"not a property list", [&] { return writeBytes("<plist><dict><key>k</key>"); }},
        {"nested 35000 levels", [&] { return writeBytes(HostileFiles::nestedXmlList(35000)); }},
        {"a folder", [&] { return QDir().mkdir(path); }},
        {"a named pipe", [&] { return ::mkfifo(QFile::encodeName(path), 0600) == 0; }},
        {"not readable for its user",
         [&] {
             return ::geteuid() != 0 && writeBytes("<plist/>") &&
                    ::chmod(QFile::encodeName(path), 0) == 0;
         }},
    };
    for (const auto &[what, make] : cases) {
        SCOPED_TRACE(what);
        if (!make()) {
            EXPECT_EQ(::geteuid(), 0u) << "could not make the file";
            continue; // the superuser reads every file
        }
        for (const QStringList &arguments :
             {QStringList{QStringLiteral("read"), kDomain},
              QStringList{QStringLiteral("read"), kDomain, QStringLiteral("k")}}) {
            const Result result = run(arguments);
            EXPECT_EQ(result.code, 1) << qPrintable(result.out);
            EXPECT_TRUE(result.out.isEmpty()) << qPrintable(result.out);
            EXPECT_TRUE(result.err.contains(path)) << qPrintable(result.err);
        }
        const QStringList left =
            QDir(home.configHome())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
        EXPECT_EQ(left, QStringList{QFileInfo(path).fileName()}) << qPrintable(left.join(u' '));
        ASSERT_TRUE(QDir(home.configHome()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(home.configHome()));
    }
}

TEST_F(DefaultsToolTest, DeleteRemovesAKeyOrTheWholeDomain)
{
    run({QStringLiteral("write"), kDomain, QStringLiteral("a"), QStringLiteral("-int"),
         QStringLiteral("1")});
    run({QStringLiteral("write"), kDomain, QStringLiteral("b"), QStringLiteral("-int"),
         QStringLiteral("2")});
    EXPECT_EQ(run({QStringLiteral("delete"), kDomain, QStringLiteral("a")}).code, 0);
    EXPECT_EQ(onDisk().keys(), QStringList{QStringLiteral("b")});
    EXPECT_EQ(run({QStringLiteral("delete"), kDomain}).code, 0);
    EXPECT_TRUE(onDisk().isEmpty());
}

TEST_F(DefaultsToolTest, BadArgumentsPrintUsageExitTwoAndWriteNothing)
{
    const QStringList bad[] = {
        {},
        {QStringLiteral("frobnicate")},
        {QStringLiteral("read")},
        {QStringLiteral("read"), kDomain, QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("read"), QStringLiteral("../escape")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-int")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-int"),
         QStringLiteral("12x")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-int"),
         QStringLiteral("1"), QStringLiteral("2")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-bool"),
         QStringLiteral("maybe")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-float"),
         QStringLiteral("inf")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-data"),
         QStringLiteral("abc")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-data"),
         QStringLiteral("zz")},
        {QStringLiteral("write"), kDomain, QStringLiteral("k"), QStringLiteral("-date"),
         QStringLiteral("1")},
        {QStringLiteral("write"), kDomain, QString(), QStringLiteral("-int"), QStringLiteral("1")},
        {QStringLiteral("write"), QStringLiteral(".hidden"), QStringLiteral("k"),
         QStringLiteral("-int"), QStringLiteral("1")},
        {QStringLiteral("delete")},
    };
    for (const QStringList &arguments : bad) {
        const Result result = run(arguments);
        EXPECT_EQ(result.code, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage:")));
    }
    EXPECT_FALSE(QFileInfo::exists(UserDefaults::pathForDomain(kDomain)));
    EXPECT_FALSE(QFileInfo::exists(home.path() + QStringLiteral("/escape.plist")));

    // The first line names what is wrong: an unknown type is no bad value.
    const QString unknownType = run({QStringLiteral("write"), kDomain, QStringLiteral("k"),
                                     QStringLiteral("-weird"), QStringLiteral("1")})
                                    .err.section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(unknownType.contains(QStringLiteral("\"-weird\"")) &&
                unknownType.contains(QStringLiteral("-array")))
        << qPrintable(unknownType);
}

TEST_F(DefaultsToolTest, TheProgramSharesTheStoreWithTheLibrary)
{
    const QString program = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-defaults");
    QProcess tool;
    tool.start(program, {QStringLiteral("write"), kDomain, QStringLiteral("HideAdvert"),
                         QStringLiteral("-bool"), QStringLiteral("YES")});
    ASSERT_TRUE(tool.waitForFinished(30000)) << "brisko-defaults did not finish";
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(UserDefaults(kDomain).boolForKey(QStringLiteral("HideAdvert")));

    tool.start(program, {QStringLiteral("read"), kDomain, QStringLiteral("Missing")});
    ASSERT_TRUE(tool.waitForFinished(30000)) << "brisko-defaults did not finish";
    EXPECT_EQ(tool.exitCode(), 1);
}

TEST(FactoryDefaultsResource, IsWhatTheGeneratorWrites)
{
    const QString resource =
        QStringLiteral(BRISKO_TEST_DATA_DIR "/../../resources/FactoryDefaults.plist");
    EXPECT_EQ(PropertyList::readFile(resource).toMap(), FactoryDefaults::values())
        << "regenerate it with brisko-make-factory-defaults";
}
