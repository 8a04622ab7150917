// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardProperty.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// "group|NAME|type,type|charset|qp b64|value", or "none".
QString described(QByteArrayView line)
{
    const std::optional<VCardProperty> p = VCardProperty::parse(line);
    if (!p)
        return QStringLiteral("none");
    QStringList types;
    for (QByteArrayView type : p->types)
        types.append(QString::fromUtf8(type));
    QStringList encodings;
    if (p->quotedPrintable)
        encodings.append(QStringLiteral("qp"));
    if (p->base64)
        encodings.append(QStringLiteral("b64"));
    return QStringList{QString::fromUtf8(p->group),      QString::fromUtf8(p->name),
                       types.join(QLatin1Char(',')),     QString::fromUtf8(p->charset),
                       encodings.join(QLatin1Char(' ')), QString::fromUtf8(p->value)}
        .join(QLatin1Char('|'));
}

} // namespace

TEST(VCardProperty, GroupNameParametersAndValueOfEveryVersionsLines)
{
    const std::pair<const char *, const char *> cases[] = {
        {"FN:Ann Smith", "|FN||||Ann Smith"},
        {"item1.EMAIL;TYPE=INTERNET,WORK:a@b.c", "item1|EMAIL|INTERNET,WORK|||a@b.c"},
        {"TEL;WORK;FAX:+1 2", "|TEL|WORK,FAX|||+1 2"},
        {"TEL;TYPE=\"cell,voice\";TYPE=pref:3", "|TEL|cell,voice,pref|||3"},
        {"NOTE;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:a=3Db", "|NOTE||ISO-8859-1|qp|a=3Db"},
        {"LABEL;QUOTED-PRINTABLE:x", "|LABEL|||qp|x"},
        {"PHOTO;ENCODING=b;TYPE=PNG:iVBO", "|PHOTO|PNG||b64|iVBO"},
        {"PHOTO;BASE64:iVBO", "|PHOTO|||b64|iVBO"},
        // Quoted parameter values may hold colons and semicolons of their own.
        {"ADR;LABEL=\"1 Main St;Town: Here\";TYPE=home:;;1 Main St", "|ADR|home|||;;1 Main St"},
        {"GEO;VALUE=\"geo:1,2\":geo:1,2", "|GEO||||geo:1,2"},
        {"  N ; TYPE = x :v:w", "|N|x|||v:w"},
        {"a.b.TEL:1", "a.b|TEL||||1"},
        {"no colon at all", "none"},
        {":value without a name", "none"},
        {"item1.:value", "none"},
    };
    for (const auto &[line, expected] : cases)
        EXPECT_EQ(described(line), QString::fromUtf8(expected)) << line;
}

TEST(VCardProperty, QuotedPrintableIsToldFromTheHeadAlone)
{
    EXPECT_TRUE(VCardProperty::isQuotedPrintableHead("NOTE;ENCODING=quoted-printable:x=\r"));
    EXPECT_TRUE(VCardProperty::isQuotedPrintableHead("LABEL;QUOTED-PRINTABLE:x"));
    EXPECT_FALSE(VCardProperty::isQuotedPrintableHead("NOTE:QUOTED-PRINTABLE="));
    EXPECT_FALSE(VCardProperty::isQuotedPrintableHead("NOTE;ENCODING=QUOTED-PRINTABLE"));
}
