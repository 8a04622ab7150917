// SPDX-License-Identifier: MIT
#include "app/helpers/StringExtras.h"

#include <gtest/gtest.h>

namespace {

using namespace StringExtras;

TEST(StringExtras, RemovingCharactersLeavesThePhoneNumbersDigits)
{
    EXPECT_EQ(
        stringByRemovingCharactersInSet(QStringLiteral("(555) 123-4567"), QStringLiteral("() -")),
        QStringLiteral("5551234567"));
    EXPECT_EQ(stringByRemovingCharactersInSet(QString(), QStringLiteral("() -")), QString());
}

TEST(StringExtras, ExcessCharactersAreDroppedAtTheStartAndShortenedInRuns)
{
    EXPECT_EQ(
        stringByRemovingExcessCharactersInSet(QStringLiteral("  two  words "), whitespaceSet()),
        QStringLiteral("two words "));
    EXPECT_EQ(stringByRemovingExcessCharactersInSet(QStringLiteral("a\t \tb"), whitespaceSet()),
              QStringLiteral("a\tb"));
    EXPECT_EQ(stringByRemovingExcessCharactersInSet(QStringLiteral("   "), whitespaceSet()),
              QString());
    EXPECT_EQ(
        stringByRemovingExcessCharactersInSet(QStringLiteral("a\u00A0\u3000\nb"), whitespaceSet()),
        QStringLiteral("a\u00A0\nb"));
}

TEST(StringExtras, ContainmentTreatsEmptyPartsAsContained)
{
    EXPECT_TRUE(containsString(QString(), QString(), false));
    EXPECT_TRUE(containsString(QStringLiteral("abc"), QString(), true));
    EXPECT_TRUE(containsString(QStringLiteral("Brisko"), QStringLiteral("RIS"), true));
    EXPECT_FALSE(containsString(QStringLiteral("Brisko"), QStringLiteral("RIS"), false));
    EXPECT_FALSE(containsString(QString(), QStringLiteral("a"), true));

    EXPECT_TRUE(containsStrings(QStringLiteral("anything"), {}, false));
    EXPECT_TRUE(containsStrings(QStringLiteral("Ann Lee"),
                                {QStringLiteral("ann"), QStringLiteral("LEE")}, true));
    EXPECT_FALSE(containsStrings(QStringLiteral("Ann Lee"),
                                 {QStringLiteral("ann"), QStringLiteral("Bo")}, true));
}

TEST(StringExtras, ReplacingCoversTheWholeStringAndIgnoresAnEmptyTarget)
{
    EXPECT_EQ(stringByReplacingOccurrencesOfString(QStringLiteral("a-b-c"), QStringLiteral("-"),
                                                   QStringLiteral("+")),
              QStringLiteral("a+b+c"));
    EXPECT_EQ(stringByReplacingOccurrencesOfString(QStringLiteral("aXbx"), QStringLiteral("x"),
                                                   QStringLiteral("_"), Qt::CaseInsensitive),
              QStringLiteral("a_b_"));
    EXPECT_EQ(
        stringByReplacingOccurrencesOfString(QStringLiteral("abc"), QString(), QStringLiteral("_")),
        QStringLiteral("abc"));
}

TEST(StringExtras, HexVersionPrintsEachDigitAndALargeMajorInFull)
{
    EXPECT_EQ(stringFromHexVersion(0x403), QStringLiteral("4.0.3"));
    EXPECT_EQ(stringFromHexVersion(0x1203), QStringLiteral("18.0.3"));
    EXPECT_EQ(stringFromHexVersion(0), QStringLiteral("0.0.0"));
}

} // namespace
