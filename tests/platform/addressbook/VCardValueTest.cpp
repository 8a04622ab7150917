// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardValue.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

VCardProperty property(QByteArrayView line)
{
    std::optional<VCardProperty> parsed = VCardProperty::parse(line);
    EXPECT_TRUE(parsed.has_value()) << line.data();
    return parsed.value_or(VCardProperty{});
}

} // namespace

TEST(VCardValue, QuotedPrintableCharsetsAndEscapesAreDecoded)
{
    const std::pair<const char *, const char *> cases[] = {
        {"N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller", "Müller"},
        {"NOTE;ENCODING=QUOTED-PRINTABLE:first=0D=0Asecond =3D soft=", "first\r\nsecond = soft"},
        {"NOTE;QUOTED-PRINTABLE;CHARSET=UTF-8:Caf=C3=A9 =ZZ", "Café =ZZ"},
        {"NOTE:one\\ntwo\\Nthree\\\\four\\,\\;\\:five\\x", "one\ntwo\nthree\\four,;:five\\x"},
        // Latin-1 or Windows-1252 bytes a card does not declare, as old programs wrote them.
        {"N:\xC7"
         "elik",
         "Çelik"},
        {"NOTE:\x93quoted\x94", "\u201Cquoted\u201D"},
        {"NOTE;CHARSET=windows-1252:\x80", "€"},
        {"NOTE;CHARSET=no-such-charset:plain", "plain"},
        {"NOTE:kept \xEF\xBF\xBD as it is", "kept \xEF\xBF\xBD as it is"},
    };
    for (const auto &[line, expected] : cases) {
        const VCardProperty p = property(line);
        EXPECT_EQ(VCardValue::decodeText(p).toString(), QString::fromUtf8(expected)) << line;
    }
    const VCardValue::Text plain = VCardValue::decodeText(property("FN:Ann Smith"));
    EXPECT_FALSE(plain.isDecoded) << "plain UTF-8 is kept as a view of the card";
}

TEST(VCardValue, StructuredValuesSplitAtUnescapedSemicolonsAndATrailingBackslashStays)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"N:Comma\\, Semi\\;colon;Ann;;;",
         {QStringLiteral("Comma, Semi;colon"), QStringLiteral("Ann"), QString(), QString(),
          QString()}},
        {"ORG:Acme\\, Inc.;Research", {QStringLiteral("Acme, Inc."), QStringLiteral("Research")}},
        // Writers that do not escape backslashes leave one at the very end of a value.
        {"N:Smith;John\\", {QStringLiteral("Smith"), QStringLiteral("John\\")}},
        {"ADR:;;Main Street 1;Springfield;;;Land\\",
         {QString(), QString(), QStringLiteral("Main Street 1"), QStringLiteral("Springfield"),
          QString(), QString(), QStringLiteral("Land\\")}},
    };
    for (const auto &[line, expected] : cases) {
        QStringList components;
        for (const VCardValue::Text &part : VCardValue::decodeComponents(property(line)))
            components.append(part.toString());
        EXPECT_EQ(components, expected) << line;
    }
}

TEST(VCardValue, TrimmingAndSchemesTreatUnicodeBlanksAsQStringDoes)
{
    const VCardProperty tel = property("TEL:  tel:+1 555\xE2\x80\x83");
    EXPECT_EQ(VCardValue::trimmed(VCardValue::decodeText(tel)).toString(),
              QStringLiteral("tel:+1 555"));
    EXPECT_EQ(
        VCardValue::withoutScheme(VCardValue::decodeText(tel), QLatin1String("tel:")).toString(),
        QStringLiteral("+1 555"));
    const VCardProperty mail = property("EMAIL:MAILTO:a@b.c");
    EXPECT_EQ(VCardValue::withoutScheme(VCardValue::decodeText(mail), QLatin1String("mailto:"))
                  .toString(),
              QStringLiteral("a@b.c"));
    EXPECT_TRUE(VCardValue::isBlank(VCardValue::decodeText(property("NOTE: \t"))));
}
