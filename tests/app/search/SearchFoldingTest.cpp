// SPDX-License-Identifier: MIT
#include "app/search/SearchFolding.h"

#include <gtest/gtest.h>

namespace {

struct Folding
{
    const char *text;
    const char *caseFolded;
    const char *withoutAccents;
};

const Folding kFoldings[] = {
    {"Müller", "müller", "muller"},
    {"ZÜRICH", "zürich", "zurich"},
    {"Straße", "straße", "strasse"},
    {"STRASSE", "strasse", "strasse"},
    {"ŁÓDŹ", "łódź", "lodz"},
    {"Søren Ærø", "søren ærø", "soren aero"},
    {"Œuvre", "œuvre", "oeuvre"},
    {"Đorđe", "đorđe", "dorde"},
    {"Işık", "işık", "isik"},
    {"e\u0301cole", "e\u0301cole", "ecole"}, // an accent written as a mark of its own
    {"ﬁle", "ﬁle", "file"},                  // a ligature
    {"ＦＵＬＬ", "ｆｕｌｌ", "full"},        // full-width letters
    {"Ελληνικά", "ελληνικά", "ελληνικα"},
    {"Ёлка", "ёлка", "елка"},
    {"김민준", "김민준", "김민준"}, // Hangul syllables stay whole
    {"𝐀b", "𝐀b", "ab"},             // outside the basic plane
};

} // namespace

TEST(SearchFoldingTest, ValuesAndTypedWordsFoldAlikeWithAndWithoutAccents)
{
    for (const Folding &f : kFoldings) {
        const QString text = QString::fromUtf8(f.text);
        for (const bool ignoreAccents : {false, true}) {
            const QByteArray expected = ignoreAccents ? f.withoutAccents : f.caseFolded;
            QByteArray value;
            SearchFolding::appendFolded(value, text.toUtf8(), ignoreAccents);
            EXPECT_EQ(value, expected) << f.text << (ignoreAccents ? " without accents" : "");
            EXPECT_EQ(SearchFolding::folded(text, ignoreAccents), expected) << f.text;
        }
    }
}

TEST(SearchFoldingTest, ANulCannotSeparateValuesInsideOne)
{
    QByteArray value;
    SearchFolding::appendFolded(value, QByteArrayView("a\0b", 3), false);
    EXPECT_EQ(value, QByteArray("a\xEF\xBF\xBD"
                                "b"));
    EXPECT_EQ(SearchFolding::folded(QStringView(u"a\0b", 3), true), value);
}

TEST(SearchFoldingTest, PhoneWordsAreDigitsAndPunctuationWithAtLeastThreeDigits)
{
    const std::pair<const char *, const char *> cases[] = {
        {"5550134", "5550134"},
        {"(555)0134", "5550134"},
        {"555-0134", "5550134"},
        {"+1.555/0134", "15550134"},
        {"1-2-3", "123"},
        {"12", ""},
        {"+(1)", ""},
        {"555a", ""},
        {"555 0134", ""},
        {"٥٥٥", ""},
        {"", ""},
    };
    for (const auto &[word, digits] : cases)
        EXPECT_EQ(SearchFolding::phoneDigitsOfWord(QString::fromUtf8(word)), QByteArray(digits))
            << word;
    QByteArray number;
    SearchFolding::appendPhoneDigits(number, "+1 (555) 01-34");
    EXPECT_EQ(number, QByteArray("15550134"));
}
