// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardScanner.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct Scanned
{
    QStringList cards;  // per card, its properties as "NAME=value" joined by " | "
    QStringList broken; // "line: reason (ended)"
};

Scanned scan(const QByteArray &text)
{
    Scanned result;
    VCardScanner scanner;
    scanner.scan(
        text,
        [&](const VCardScanner::Card &card) {
            QStringList properties;
            for (const VCardProperty &p : card.properties)
                properties.append(QString::fromUtf8(p.name) + QLatin1Char('=') +
                                  QString::fromUtf8(p.value));
            result.cards.append(properties.join(QLatin1String(" | ")));
            const QByteArray cardText = text.mid(card.begin, card.end - card.begin).toUpper();
            EXPECT_TRUE(cardText.startsWith("BEGIN:VCARD") &&
                        cardText.trimmed().endsWith("END:VCARD"));
        },
        [&](int line, const char *reason, bool ended) {
            result.broken.append(QStringLiteral("%1: %2%3")
                                     .arg(line)
                                     .arg(QLatin1String(reason))
                                     .arg(ended ? QLatin1String(" (ended)") : QLatin1String()));
        });
    return result;
}

} // namespace

TEST(VCardScanner, EveryLineEndAndEveryKindOfFoldGiveTheSameProperties)
{
    const QByteArray lf =
        "BEGIN:VCARD\nVERSION:3.0\nN:Smith;Ann;;;\nNOTE:folded \n with a blank\n"
        "\tand a tab\nLABEL;ENCODING=QUOTED-PRINTABLE:soft=\nly joined\nEND:VCARD\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace("\n", "\r"); // classic Mac OS
    const QString expected = QStringLiteral("VERSION=3.0 | N=Smith;Ann;;; | NOTE=folded with a "
                                            "blankand a tab | LABEL=softly joined");
    for (const QByteArray &text : {lf, crlf, cr}) {
        const Scanned scanned = scan(text);
        EXPECT_EQ(scanned.cards, QStringList{expected}) << text.toHex().left(40).constData();
        EXPECT_TRUE(scanned.broken.isEmpty());
    }
}

TEST(VCardScanner, ACardThatCannotBeReadIsReportedByItsFirstLineAndTheOthersAreKept)
{
    static const char text[] = "text between cards\nBEGIN:VCARD\nN:First\nEND:VCARD\n"
                               "BEGIN:VCARD\nN:Unended\n"
                               "BEGIN:VCARD\nN:Bin\0ary\nEND:VCARD\n"
                               "begin:vcard\nN:Last\nend:vcard\n"
                               "BEGIN:VCARD\nN:Cut off";
    const Scanned scanned = scan(QByteArray(text, sizeof text - 1));
    EXPECT_EQ(scanned.cards, (QStringList{QStringLiteral("N=First"), QStringLiteral("N=Last")}));
    EXPECT_EQ(scanned.broken,
              (QStringList{QStringLiteral("5: no END:VCARD before the next card"),
                           QStringLiteral("7: binary data (ended)"),
                           QStringLiteral("13: no END:VCARD before the end of the file")}));
}
