// SPDX-License-Identifier: MIT
#include "app/helpers/StringQuote.h"

#include <gtest/gtest.h>

namespace {

using namespace StringQuote;

TEST(StringQuote, AccentsAreStrippedAndSpecialLettersSpelledOut)
{
    // U followed by a combining diaeresis, as decomposed text arrives.
    EXPECT_EQ(stringByStrippingAccents(QStringLiteral("U\u0308ber")), QStringLiteral("Uber"));
    EXPECT_EQ(stringByStrippingAccents(QStringLiteral("\u00DCber Stra\u00DFe")),
              QStringLiteral("Uber Strasse"));
    EXPECT_EQ(stringByStrippingAccents(QStringLiteral("K\u00F8benhavn \u00C6r\u00F8 \u00D8")),
              QStringLiteral("Kobenhavn AEro O"));
    EXPECT_EQ(stringByStrippingAccents(QStringLiteral("\uFB01le \u0141\u00F3d\u017A")),
              QStringLiteral("file Lodz"));
    // Letters of other scripts are kept as they are.
    EXPECT_EQ(stringByStrippingAccents(QStringLiteral("\u041C\u043E\u0441\u043A\u0432\u0430")),
              QStringLiteral("\u041C\u043E\u0441\u043A\u0432\u0430"));
}

TEST(StringQuote, LegalizedStringsAreAsciiWithOnlyTheKeptPunctuation)
{
    EXPECT_EQ(stringByConvertingToASCII(QStringLiteral("a\u4E2Db\U0001F600c")),
              QStringLiteral("a?b?c"));
    EXPECT_EQ(stringByReplacingUnsupportedCharacters(QStringLiteral("a/b:c*d #$?&@^[]_.-()+")),
              QStringLiteral("a_b_c_d #$?&@^[]_.-()+"));
    EXPECT_EQ(legalizedString(QStringLiteral("Caf\u00E9/M\u00FCnchen: \u041C")),
              QStringLiteral("Cafe_Munchen_ ?"));
}

TEST(StringQuote, QuotingUsesLowerCaseHexOnTheLegalizedText)
{
    EXPECT_EQ(quotedString(QStringLiteral("a b?")), QStringLiteral("a%20b%3f"));
    // A percent sign does not survive legalizing, so every escape in the result is ours.
    EXPECT_EQ(quotedString(QStringLiteral("100% #$&@^[]")),
              QStringLiteral("100_%20%23%24%26%40%5e%5b%5d"));
    EXPECT_EQ(quotedString(QStringLiteral("_.-()+")), QStringLiteral("_.-()+"));
}

TEST(StringQuote, ShorteningKeepsTheExtensionAndNeverFails)
{
    const QString stem = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    const QString withExtension = stem.left(35) + QLatin1String(".abcd");
    ASSERT_EQ(withExtension.size(), 40);
    EXPECT_EQ(stringByShorteningTo30(withExtension), stem.left(25) + QLatin1String(".abcd"));

    const QString noDot = stem + QLatin1String("ABCD");
    ASSERT_EQ(noDot.size(), 40);
    EXPECT_EQ(stringByShorteningTo30(noDot), noDot.left(29));
    EXPECT_EQ(stringByShorteningTo30(stem.left(30)), stem.left(30));

    const QString longExtension = QLatin1String("a.") + stem + stem;
    EXPECT_EQ(stringByShorteningTo30(longExtension), longExtension.left(29));
    const QString dotInFolder = QLatin1String("folder.d/") + stem;
    EXPECT_EQ(stringByShorteningTo30(dotInFolder), dotInFolder.left(29));
    EXPECT_EQ(stringByShorteningTo30(stem + QLatin1Char('.')), stem.left(29));

    // A character outside the basic plane is never cut in half.
    const QString emoji = stem.left(28) + QStringLiteral("\U0001F600\U0001F600") + stem;
    const QString shortened = stringByShorteningTo30(emoji);
    EXPECT_EQ(shortened, stem.left(28));
}

} // namespace
