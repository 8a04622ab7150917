// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardEncoding.h"

#include <QString>

#include <gtest/gtest.h>

#include <utility>

using Encoding = Person::Origin::Encoding;

TEST(VCardEncoding, ByteOrderMarksAndTheNulsOfUtf16TellTheEncodingAndEachGivesTheSameText)
{
    const QByteArray utf8 = "BEGIN:VCARD\nVERSION:3.0\nN:\xC3\x87"
                            "elik;Zo\xC3\xAB;;;\nEND:VCARD\n";
    const QString text = QString::fromUtf8(utf8);
    const QByteArray utf16LE(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray utf16BE = utf16LE;
    for (qsizetype i = 0; i + 1 < utf16BE.size(); i += 2)
        std::swap(utf16BE[i], utf16BE[i + 1]);
    struct Case
    {
        const char *what;
        QByteArray data;
        Encoding encoding;
    };
    const Case cases[] = {
        {"UTF-8", utf8, Encoding::Utf8},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, Encoding::Utf8WithBom},
        {"UTF-16 LE with its mark", "\xFF\xFE" + utf16LE, Encoding::Utf16LE},
        {"UTF-16 LE", utf16LE, Encoding::Utf16LE},
        {"UTF-16 BE with its mark", "\xFE\xFF" + utf16BE, Encoding::Utf16BE},
        {"UTF-16 BE", utf16BE, Encoding::Utf16BE},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(VCardEncoding::detect(c.data), c.encoding) << c.what;
        EXPECT_EQ(VCardEncoding::normalisedText(c.data, c.encoding), utf8) << c.what;
    }
    // Undeclared Latin-1 is left to the values, which decode it one by one.
    EXPECT_EQ(VCardEncoding::detect(text.toLatin1()), Encoding::Utf8);
    EXPECT_EQ(VCardEncoding::detect(QByteArray("A\0B", 3)), Encoding::Utf8) << "too short to tell";
}
