// SPDX-License-Identifier: MIT
#include "platform/core/PropertyList.h"
#include "tests/support/HostileFiles.h"

#include <QDateTime>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstring>

#include <langinfo.h>
#include <locale.h>

namespace {

QVariantMap everyKindOfValue()
{
    QVariantMap nested;
    nested.insert(QStringLiteral("ZIP"), QStringLiteral("80331"));
    return {
        {QStringLiteral("bool"), true},
        {QStringLiteral("integer"), qint64(-42)},
        {QStringLiteral("big"), qint64(1) << 40},
        {QStringLiteral("real"), 2.5},
        {QStringLiteral("string"), QStringLiteral("Zoë & <Ådne>")},
        {QStringLiteral("data"), QByteArray("\x00\x01\xff", 3)},
        {QStringLiteral("date"), QDateTime(QDate(2024, 2, 29), QTime(12, 30, 5), QTimeZone::utc())},
        {QStringLiteral("array"), QVariantList{qint64(1), QStringLiteral("two")}},
        {QStringLiteral("dictionary"), nested},
    };
}

/// A numeric locale that writes "2,5", as many users run the application under: an installed
/// one, else one built from the system's locale sources into a folder of its own.
class DecimalCommaLocale final
{
public:
    DecimalCommaLocale()
    {
        for (const char *name : {"de_DE.UTF-8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8"}) {
            if (_use(::newlocale(LC_NUMERIC_MASK, name, nullptr)))
                return;
        }
        if (!_folder.isValid())
            return;
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                         QStringLiteral("UTF-8"), _folder.filePath(QStringLiteral("de_DE.UTF-8"))});
        if (!localedef.waitForFinished(60000))
            return;
        const bool hadPath = qEnvironmentVariableIsSet("LOCPATH");
        const QByteArray savedPath = qgetenv("LOCPATH");
        qputenv("LOCPATH", QFile::encodeName(_folder.path()));
        _use(::newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", nullptr));
        if (hadPath)
            qputenv("LOCPATH", savedPath);
        else
            qunsetenv("LOCPATH");
    }
    ~DecimalCommaLocale()
    {
        if (_locale)
            ::freelocale(_locale);
    }
    DecimalCommaLocale(const DecimalCommaLocale &) = delete;
    DecimalCommaLocale &operator=(const DecimalCommaLocale &) = delete;

    bool isAvailable() const { return _locale != nullptr; }

    /// Runs `work` on this thread under the locale.
    template <typename Work>
    auto run(Work work) const
    {
        const locale_t previous = ::uselocale(_locale);
        auto result = work();
        ::uselocale(previous);
        return result;
    }

private:
    bool _use(locale_t locale)
    {
        if (locale && std::strcmp(::nl_langinfo_l(RADIXCHAR, locale), ",") == 0) {
            _locale = locale;
            return true;
        }
        if (locale)
            ::freelocale(locale);
        return false;
    }

    QTemporaryDir _folder;
    locale_t _locale = nullptr;
};

} // namespace

TEST(PropertyList, XmlRoundTripKeepsEveryKindOfValue)
{
    const QVariantMap original = everyKindOfValue();
    const QVariant back = PropertyList::fromData(PropertyList::toXml(original));
    ASSERT_TRUE(back.isValid());
    const QVariantMap map = back.toMap();
    EXPECT_EQ(map.value(QStringLiteral("bool")).toBool(), true);
    EXPECT_EQ(map.value(QStringLiteral("integer")).toLongLong(), -42);
    EXPECT_EQ(map.value(QStringLiteral("big")).toLongLong(), qint64(1) << 40);
    EXPECT_DOUBLE_EQ(map.value(QStringLiteral("real")).toDouble(), 2.5);
    EXPECT_EQ(map.value(QStringLiteral("string")).toString(), QStringLiteral("Zoë & <Ådne>"));
    EXPECT_EQ(map.value(QStringLiteral("data")).toByteArray(), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(map.value(QStringLiteral("date")).toDateTime(),
              original.value(QStringLiteral("date")).toDateTime());
    EXPECT_EQ(map.value(QStringLiteral("array")).toList().size(), 2);
    EXPECT_EQ(map.value(QStringLiteral("dictionary")).toMap().value(QStringLiteral("ZIP")),
              QVariant(QStringLiteral("80331")));
}

// The application runs under the user's locale; a settings file must read the same there, or
// the next synchronise writes the damaged numbers back for every process.
TEST(PropertyList, RealsReadAndWriteTheSameUnderADecimalCommaLocale)
{
    const DecimalCommaLocale comma;
    if (!comma.isAvailable())
        GTEST_SKIP() << "no locale with a decimal comma is installed or can be built here";
    const QVariantMap reals{{QStringLiteral("half"), 2.5},
                            {QStringLiteral("negative"), -0.125},
                            {QStringLiteral("huge"), 1.25e300}};
    const auto expectReals = [](const QVariant &value, const char *how) {
        const QVariantMap map = value.toMap();
        EXPECT_DOUBLE_EQ(map.value(QStringLiteral("half")).toDouble(), 2.5) << how;
        EXPECT_DOUBLE_EQ(map.value(QStringLiteral("negative")).toDouble(), -0.125) << how;
        EXPECT_DOUBLE_EQ(map.value(QStringLiteral("huge")).toDouble(), 1.25e300) << how;
    };

    const QByteArray written = PropertyList::toXml(reals);
    expectReals(comma.run([&] { return PropertyList::fromData(written); }),
                "written in C, read under the comma locale");
    const QByteArray writtenThere = comma.run([&] { return PropertyList::toXml(reals); });
    expectReals(PropertyList::fromData(writtenThere), "written under the comma locale, read in C");
}

TEST(PropertyList, ReadsBinaryPropertyLists)
{
    // bplist00 with a dictionary {"a": 1}, written by the other desktop's tools.
    const QByteArray binary = QByteArray::fromHex(
        "62706c6973743030d1010251611001080b0d000000000000010100000000000000030000000000000000"
        "000000000000000f");
    const QVariant value = PropertyList::fromData(binary);
    ASSERT_TRUE(value.isValid());
    EXPECT_EQ(value.toMap().value(QStringLiteral("a")).toLongLong(), 1);
}

TEST(PropertyList, GarbageIsNoPropertyList)
{
    QString error;
    EXPECT_FALSE(PropertyList::fromData(QByteArray("<plist><dict><key>a</key>"), &error).isValid());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PropertyList::fromData(QByteArray()).isValid());
    EXPECT_FALSE(PropertyList::fromData(QByteArray("bplist00\x01\x02", 10)).isValid());
}

// Settings files are read at every start: a hostile one must be refused, not crash or hang
// the reader each time.
TEST(PropertyList, HostileFilesAreRefused)
{
    const struct
    {
        const char *what;
        QByteArray data;
        bool readable;
    } cases[] = {
        {"XML, 200 levels", HostileFiles::nestedXmlList(200), true},
        {"XML, 35000 levels", HostileFiles::nestedXmlList(35000), false},
        {"binary, 200 levels", HostileFiles::nestedBinaryList(200, 1), true},
        {"binary, 35000 levels", HostileFiles::nestedBinaryList(35000, 1), false},
        {"binary, 10 levels each referring twice to the next",
         HostileFiles::nestedBinaryList(10, 2), true},
        {"binary, 40 levels each referring twice to the next",
         HostileFiles::nestedBinaryList(40, 2), false},
        {"binary, an array holding itself", HostileFiles::nestedBinaryList(1, 1, true), false},
        // libplist's string accessor asserts on these, which ended the process.
        {"XML, a string holding a NUL",
         QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><string>a\0b</string></plist>",
                    70),
         false},
        {"binary, a UTF-16 string holding a NUL",
         QByteArray::fromHex("62706c69737430306300e40000006208000000000000010100000000000000010000"
                             "000000000000000000000000000f"),
         false},
        {"binary, a UTF-16 key holding a NUL",
         QByteArray::fromHex(
             "62706c6973743030d101026300e4000000621001080b12000000000000010100000000"
             "0000000300000000000000000000000000000014"),
         false},
        {"binary, a date 1.8e18 years before 2001",
         QByteArray::fromHex("62706c697374303033c536a4f1410000000800000000000001010000000000000001"
                             "00000000000000000000000000000011"),
         false},
    };
    for (const auto &[what, data, readable] : cases) {
        QString error;
        const QVariant value = PropertyList::fromData(data, &error);
        EXPECT_EQ(value.isValid(), readable) << what << ": " << error.toStdString();
        EXPECT_EQ(error.isEmpty(), readable) << what;
    }
}

TEST(PropertyList, ValuesWithoutPropertyListFormAreRefused)
{
    EXPECT_TRUE(PropertyList::toXml(QVariant()).isEmpty());
    EXPECT_TRUE(PropertyList::toXml(QVariantList{QVariant::fromValue(QPoint(1, 2))}).isEmpty());
}

TEST(PropertyList, FilesAreWrittenAsXmlAndReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("domain.plist"));
    ASSERT_TRUE(PropertyList::writeFile(everyKindOfValue(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("<?xml"));
    EXPECT_EQ(PropertyList::readFile(path).toMap().value(QStringLiteral("integer")).toLongLong(),
              -42);
    QString error;
    EXPECT_FALSE(PropertyList::readFile(dir.filePath(QStringLiteral("absent")), &error).isValid());
    EXPECT_FALSE(error.isEmpty());
}
