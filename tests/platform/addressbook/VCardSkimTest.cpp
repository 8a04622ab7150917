// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardSkim.h"

#include "platform/addressbook/VCardReader.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(VCardSkim, ACleanCountIsWhatReadingGivesWithoutAMessage)
{
    const struct
    {
        const char *what;
        QByteArray text;
        int cards;
    } cases[] = {
        {"one card, CR LF", "BEGIN:VCARD\r\nFN:Ann\r\nEND:VCARD\r\n", 1},
        {"two cards, LF, text between", "BEGIN:VCARD\nFN:A\nEND:VCARD\nx\nbegin:vcard\nend:vcard",
         2},
        {"CR alone", "BEGIN:VCARD\rFN:Ann\rEND:VCARD\r", 1},
        {"a value naming vcard", "BEGIN:VCARD\nNOTE:vcard\nURL:x:VCARD\nEND:VCARD\n", 1},
        {"nothing", "", 0},
        {"blanks", " \r\n\t\n", 0},
        {"no card", "FN:Ann\n", -1},
        {"no END", "BEGIN:VCARD\nFN:Ann\n", -1},
        {"BEGIN inside a card", "BEGIN:VCARD\nBEGIN:VCARD\nEND:VCARD\n", -1},
        {"NUL", QByteArray("BEGIN:VCARD\nFN:A") + '\0' + "\nEND:VCARD\n", -1},
        {"marker inside a value", "BEGIN:VCARD\nNOTE:END:VCARD\nEND:VCARD\n", -1},
        {"marker with a blank", "BEGIN:VCARD \nEND:VCARD\n", -1},
        {"CR inside a line", "BEGIN:VCARD\r\r\nEND:VCARD\n", -1},
    };
    for (const auto &c : cases) {
        const int count = VCardSkim::cleanCardCount(c.text);
        EXPECT_EQ(count, c.cards) << c.what;
        if (count < 0)
            continue;
        QStringList messages;
        EXPECT_EQ(VCardReader::readData(c.text, QStringLiteral("t.vcf"), &messages).size(), count)
            << c.what;
        EXPECT_TRUE(messages.isEmpty()) << c.what << ": " << qPrintable(messages.join(u'\n'));
    }
}

TEST(VCardSkim, CondensedTextLosesBreaksBlanksAndBackslashesAndIsPlainOnlyForValuesAsTheyStand)
{
    VCardSkim::Skim skim;
    VCardSkim::skim("BEGIN:VCARD\r\nNOTE:Hello\\, W\r\n orld\\n\tMüller\r\nEND:VCARD\r\n", skim);
    EXPECT_EQ(skim.condensed, QByteArray("begin:vcardnote:hello,worldnmüllerend:vcard"));
    EXPECT_TRUE(skim.plain);
    EXPECT_FALSE(skim.ascii);

    const struct
    {
        const char *what;
        QByteArray text;
        bool plain;
    } cases[] = {
        {"ASCII", "N:Smith;Ann\n", true},
        {"quoted-printable", "N;ENCODING=QUOTED-PRINTABLE:M=C3=BCller\n", false},
        {"quoted-printable, folded in the marker", "N;QUOTED-PRI\n NTABLE:M=C3=BCller\n", false},
        {"a charset", "N;CHARSET=ISO-8859-1:M\xfcller\n", false},
        {"Latin-1 undeclared", "N:M\xfcller\n", false},
        {"a character cut by a fold", "N:M\xc3\n \xbcller\n", false},
    };
    for (const auto &c : cases) {
        VCardSkim::skim(c.text, skim);
        EXPECT_EQ(skim.plain, c.plain) << c.what;
    }
}

TEST(VCardSkim, DigitsStayTogetherWithinAValueAcrossFoldsAndEmptyLines)
{
    QByteArray digits;
    VCardSkim::appendDigitsByLine(digits, "TEL:+44 7700\r\n 900123\r\nTEL:55\r\n\r\n 5\r\nX:1");
    EXPECT_EQ(digits, QByteArray("447700900123\0"
                                 "555\0"
                                 "1\0",
                                 19));
}
