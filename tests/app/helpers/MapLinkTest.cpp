// SPDX-License-Identifier: MIT
#include "app/helpers/MapLink.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

QString query(const QVariantMap &address)
{
    const QUrl url = MapLink::googleURLWithAddress(address);
    const QString prefix =
        QLatin1String("http://") + MapLink::mapHost() + QLatin1String("/maps?q=");
    const QString text = url.toString(QUrl::FullyEncoded);
    EXPECT_TRUE(text.startsWith(prefix)) << qPrintable(text);
    return text.mid(prefix.size());
}

TEST(MapLink, FiveDigitZipLeavesTheCityOut)
{
    const QVariantMap address{{QStringLiteral("Street"), QStringLiteral("1 Infinite Loop")},
                              {QStringLiteral("City"), QStringLiteral("Cupertino")},
                              {QStringLiteral("State"), QStringLiteral("CA")},
                              {QStringLiteral("ZIP"), QStringLiteral("95014")},
                              {QStringLiteral("Country"), QStringLiteral("USA")}};
    EXPECT_EQ(query(address), QStringLiteral("1+Infinite+Loop+CA+95014"));
    QVariantMap noState = address;
    noState.insert(QStringLiteral("State"), QString());
    EXPECT_EQ(query(noState), QStringLiteral("1+Infinite+Loop+95014"));
    noState.insert(QStringLiteral("State"), QStringLiteral("C"));
    EXPECT_EQ(query(noState), QStringLiteral("1+Infinite+Loop+95014"));
}

TEST(MapLink, ShortZipUsesEveryPartAndTheCountryWhenPresent)
{
    QVariantMap address{{QStringLiteral("Street"), QStringLiteral("Rue de Lausanne 12")},
                        {QStringLiteral("City"), QStringLiteral("Gen\u00E8ve")},
                        {QStringLiteral("State"), QStringLiteral("GE")},
                        {QStringLiteral("ZIP"), QStringLiteral("1201")}};
    EXPECT_EQ(query(address), QStringLiteral("Rue+de+Lausanne+12+Geneve+GE+1201"));
    address.insert(QStringLiteral("Country"), QStringLiteral("Switzerland"));
    EXPECT_EQ(query(address), QStringLiteral("Rue+de+Lausanne+12+Geneve+GE+1201+Switzerland"));
    EXPECT_EQ(query({}), QStringLiteral("+++"));
}

TEST(MapLink, LinesHashesAndSpecialLettersAreRewritten)
{
    const QVariantMap address{
        {QStringLiteral("Street"), QStringLiteral("Gro\u00DFe U\u0308lmenstra\u00DFe 5\nApt #4")},
        {QStringLiteral("City"), QStringLiteral("K\u00F8ge")},
        {QStringLiteral("State"), QStringLiteral("")},
        {QStringLiteral("ZIP"), QStringLiteral("")},
        {QStringLiteral("Country"), QStringLiteral("Tom & Jerry's, A/B")}};
    EXPECT_EQ(query(address),
              QStringLiteral("Grosse+Ulmenstrasse+5+Apt+%234+Koge+++Tom+%26+Jerry's,+A/B"));
    const QVariantMap windowsLines{{QStringLiteral("Street"), QStringLiteral("A\r\nB\rC")}};
    EXPECT_EQ(query(windowsLines), QStringLiteral("A+B+C+++"));
}

TEST(MapLink, CompatibilityBlanksAndSignsAreRewrittenLikeTheirPlainForms)
{
    // No-break and ideographic spaces are blanks, and a full-width number sign is a "#": none
    // may reach the link raw, where a space breaks it and "#" cuts the query short.
    const QVariantMap address{
        {QStringLiteral("Street"), QStringLiteral("1\u00A0Infinite Loop \uFF034")},
        {QStringLiteral("City"), QStringLiteral("Shin\u3000Osaka")},
        {QStringLiteral("ZIP"), QStringLiteral("5300")}};
    EXPECT_EQ(query(address), QStringLiteral("1+Infinite+Loop+%234+Shin+Osaka++5300"));
}

TEST(MapLink, CharactersThatWouldSplitOrSpoilTheQueryAreEncoded)
{
    const QVariantMap moscow{{QStringLiteral("City"), QStringLiteral("\u041C\u043E")}};
    EXPECT_EQ(query(moscow), QStringLiteral("+%D0%9C%D0%BE++"));
    // Each of these once cut the query short, added a parameter or gave no link at all.
    const QVariantMap hostile{
        {QStringLiteral("Street"), QStringLiteral("50% \"Old\" Mill\t+1&x=y")},
        {QStringLiteral("ZIP"), QStringLiteral("12345")}};
    const QUrl url = MapLink::googleURLWithAddress(hostile);
    ASSERT_FALSE(url.isEmpty());
    EXPECT_EQ(query(hostile), QStringLiteral("50%25+%22Old%22+Mill%09%2B1%26x=y+12345"));
    EXPECT_EQ(QUrlQuery(url).queryItems(QUrl::FullyDecoded).size(), 1);
}

} // namespace
