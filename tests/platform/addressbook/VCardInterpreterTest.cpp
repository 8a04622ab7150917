// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardInterpreter.h"

#include "platform/addressbook/VCardScanner.h"

#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>

namespace {

// The person of the one card in `text`.
Person interpret(const char *text)
{
    VCardScanner scanner;
    Person::Builder builder;
    int cards = 0;
    scanner.scan(
        QByteArrayView(text),
        [&](const VCardScanner::Card &card) {
            ++cards;
            VCardInterpreter(card.properties, VCardReader::PhotoLinks::Ignored).fill(builder);
        },
        [](int line, const char *reason, bool) { ADD_FAILURE() << line << ": " << reason; });
    EXPECT_EQ(cards, 1);
    return builder.build();
}

QStringList values(const QList<LabeledValue> &list)
{
    QStringList result;
    for (const LabeledValue &value : list)
        result.append(value.label + QLatin1Char('=') + value.value.toString());
    return result;
}

} // namespace

TEST(VCardInterpreter, TypesAndGroupedLabelsLabelTheValues)
{
    const Person person =
        interpret("BEGIN:VCARD\nTEL;TYPE=WORK,FAX:1\nTEL;FAX:2\nTEL;TYPE=cell:3\nTEL;TYPE=pager:4\n"
                  "TEL;TYPE=main:5\nTEL;TYPE=iphone:6\nTEL;TYPE=home:7\nTEL:tel:8\nTEL: \n"
                  "item1.TEL:9\nitem1.X-ABLabel:Barn\nitem2.EMAIL;TYPE=INTERNET,WORK:a@b.c\n"
                  "item2.X-ABLabel:_$!<Other>!$_\nEMAIL;TYPE=home:mailto:d@e.f\nEMAIL:g@h.i\n"
                  "URL:http://home.example\nURL;TYPE=work:http://work.example\nEND:VCARD\n");
    EXPECT_EQ(values(person.phones()),
              (QStringList{QStringLiteral("_$!<WorkFAX>!$_=1"), QStringLiteral("_$!<HomeFAX>!$_=2"),
                           QStringLiteral("_$!<Mobile>!$_=3"), QStringLiteral("_$!<Pager>!$_=4"),
                           QStringLiteral("_$!<Main>!$_=5"), QStringLiteral("iPhone=6"),
                           QStringLiteral("_$!<Home>!$_=7"), QStringLiteral("_$!<Other>!$_=8"),
                           QStringLiteral("Barn=9")}));
    EXPECT_EQ(values(person.emails()), (QStringList{QStringLiteral("_$!<Other>!$_=a@b.c"),
                                                    QStringLiteral("_$!<Home>!$_=d@e.f"),
                                                    QStringLiteral("_$!<Other>!$_=g@h.i")}));
    EXPECT_EQ(values(person.urls()),
              (QStringList{QStringLiteral("_$!<HomePage>!$_=http://home.example"),
                           QStringLiteral("_$!<Work>!$_=http://work.example")}));
}

TEST(VCardInterpreter, CompaniesAndCardsWithTheFormattedNameAlone)
{
    struct Case
    {
        const char *card;
        bool company;
        const char *lastName;
        const char *organization;
    };
    const Case cases[] = {
        {"BEGIN:VCARD\nVERSION:4.0\nFN:Rozet Café\nKIND:org\nEND:VCARD\n", true, "Rozet Café",
         "Rozet Café"},
        {"BEGIN:VCARD\nN:;;;;\nFN:Maker Works\nORG:Maker Works GmbH\nX-ABShowAs:COMPANY\n"
         "END:VCARD\n",
         true, "Maker Works", "Maker Works GmbH"},
        {"BEGIN:VCARD\nFN:Frank Dawson\nORG:Lotus;Research\nEND:VCARD\n", false, "Frank Dawson",
         "Lotus"},
        {"BEGIN:VCARD\nN:Smith;Ann;;;\nFN:Someone Else\nKIND:individual\nEND:VCARD\n", false,
         "Smith", ""},
    };
    for (const Case &c : cases) {
        const Person person = interpret(c.card);
        EXPECT_EQ((person.flags() & Person::ShowAsMask) == Person::ShowAsCompany, c.company)
            << c.card;
        EXPECT_EQ(person.lastName(), QString::fromUtf8(c.lastName)) << c.card;
        EXPECT_EQ(person.organization(), QString::fromUtf8(c.organization)) << c.card;
    }
}

TEST(VCardInterpreter, AddressesTakeTheirExtraLinesAndALabelStandsInOnlyWithoutOne)
{
    const Person structured =
        interpret("BEGIN:VCARD\nADR;TYPE=work:PO Box 7;Suite 2;1 Main St;Town;ST;12345;Land\n"
                  "LABEL:1 Main St\\nTown\nADR:;;;;;;\nEND:VCARD\n");
    ASSERT_EQ(structured.addresses().size(), 1) << "an empty ADR is no address";
    const QVariantMap work = structured.addresses()[0].value.toMap();
    EXPECT_EQ(structured.addresses()[0].label, QStringLiteral("_$!<Work>!$_"));
    EXPECT_EQ(work[QStringLiteral("Street")].toString(),
              QStringLiteral("1 Main St\nSuite 2\nPO Box 7"));
    EXPECT_EQ(work[QStringLiteral("ZIP")].toString(), QStringLiteral("12345"));

    const Person labelOnly =
        interpret("BEGIN:VCARD\nLABEL;TYPE=home:1 Main St\\nTown\nEND:VCARD\n");
    ASSERT_EQ(labelOnly.addresses().size(), 1);
    EXPECT_EQ(labelOnly.addresses()[0].label, QStringLiteral("_$!<Other>!$_"));
    EXPECT_EQ(labelOnly.addresses()[0].value.toMap()[QStringLiteral("Street")].toString(),
              QStringLiteral("1 Main St\nTown"));
}

TEST(VCardInterpreter, APhotoOrLogoIsNotedWithoutBeingDecoded)
{
    EXPECT_TRUE(interpret("BEGIN:VCARD\nPHOTO;ENCODING=b:iVBO\nEND:VCARD\n").hasImage());
    EXPECT_TRUE(interpret("BEGIN:VCARD\nLOGO:data:image/png;base64,iVBO\nEND:VCARD\n").hasImage());
    EXPECT_FALSE(interpret("BEGIN:VCARD\nPHOTO;VALUE=uri:https://x/p.png\nEND:VCARD\n").hasImage());
}
