// SPDX-License-Identifier: MIT
#include "core/PropertyList.h"

#include <QDateTime>
#include <QPoint>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

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
