// SPDX-License-Identifier: MIT
#include "app/search/SearchPrefilter.h"

#include "platform/addressbook/VCardEncoding.h"
#include "platform/addressbook/VCardReader.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

using Options = SearchFolding::Options;

QByteArray card(const char *properties)
{
    return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\n") + properties + "\r\nEND:VCARD\r\n";
}

QByteArray utf16(const QByteArray &utf8, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(QString::fromUtf8(utf8));
}

// The filter's answer for a file, as the one-shot search asks it: of the file's text as the
// reader sees it.
bool passes(const QByteArray &file, const QString &pattern, Options options)
{
    const QByteArray text = VCardReader::normalisedText(file, VCardEncoding::detect(file));
    VCardSkim::Skim skim;
    VCardSkim::skim(text, skim);
    return SearchPrefilter(pattern, options).mayHoldWanted(skim);
}

bool engineMatches(const QByteArray &file, const QString &pattern, Options options)
{
    const QList<PersonPtr> persons = VCardReader::readData(file, QStringLiteral("/t.vcf"));
    return !SearchPrefilter(pattern, options).wanted(persons).isEmpty();
}

const Options kPlain{false, false}, kAccents{true, false}, kDigits{false, true};

} // namespace

// Each row says whether the engine finds someone in the file and whether the filter lets the
// file through; a file the engine finds someone in must always come through.
TEST(SearchPrefilter, PassesEveryFileTheEngineMatchesAndTurnsAwayOnlyWhatItCannot)
{
    const struct
    {
        const char *what;
        QByteArray file;
        const char *pattern;
        Options options;
        bool matches;
        bool passes;
    } cases[] = {
        {"a word folded across lines", card("N:Sm\r\n ith;Ann;;;"), "smith", kPlain, true, true},
        {"folded with a tab, empty line between", card("N:Jo\r\n\r\n\tnes;Ann"), "jones", kPlain,
         true, true},
        {"quoted-printable", card("N;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;Hans"), "müller", kPlain,
         true, true},
        {"quoted-printable, an ASCII letter encoded", card("NOTE;QUOTED-PRINTABLE:=53mith"),
         "smith", kPlain, true, true},
        {"UTF-16 with a byte-order mark", utf16(card("N:Ørsted;Hans"), QStringConverter::Utf16LE),
         "ørsted", kPlain, true, true},
        {"UTF-16, big-endian", utf16(card("FN:Zoë Quill"), QStringConverter::Utf16BE), "zoë",
         kPlain, true, true},
        {"an escaped comma inside the word", card("ADR:;;Main St\\,Apt 4;Kiel;;;"), "st,apt",
         kPlain, true, true},
        {"an escaped line break", card("NOTE:first\\nsecond"), "second", kPlain, true, true},
        {"accents, ignored", card("N:Müller;Zoë"), "muller zoe", kAccents, true, true},
        {"accents, counted", card("N:Müller;Zoë"), "muller", kPlain, false, false},
        {"a letter folding to ASCII (Kelvin sign)", card("N:\u212Aim;Lee"), "kim", kPlain, true,
         true},
        {"a ligature without accents", card("ORG:O\uFB03ce Ltd"), "office", kAccents, true, true},
        {"a charset", card("N;CHARSET=ISO-8859-1:M\xfcller"), "müller", kPlain, true, true},
        {"Latin-1 without a charset", card("N:M\xfcller"), "müller", kPlain, true, true},
        {"a character cut by a fold", card("N:M\xc3\r\n \xbcller"), "müller", kPlain, true, true},
        {"phone digits across separators", card("TEL:+44 7700 900123"), "7700900", kDigits, true,
         true},
        {"phone digits across a fold", card("TEL:+44 77\r\n 00 900123"), "(7700) 900", kDigits,
         true, true},
        {"phone digits, not asked for", card("TEL:+44 7700-900123"), "7700900", kPlain, false,
         false},
        {"phone digits of two numbers", card("TEL:7700\r\nTEL:900123"), "7700900", kDigits, false,
         false},
        {"a word with a tab", card("NOTE:a\tb"), "a\tb", kPlain, true, true},
        {"a word with a backslash", card("NOTE:C:\\\\temp"), "c:\\temp", kPlain, true, true},
        {"FN standing in for a missing name", card("FN:Quill & Co\r\nN:;;;;"), "quill", kPlain,
         true, true},
        {"a word in no card", card("N:Smith;Ann"), "jones", kPlain, false, false},
        {"one of two words missing", card("N:Smith;Ann"), "smith zzz", kPlain, false, false},
        {"blanks only", card("N:Smith;Ann"), "   ", kPlain, false, false},
        {"no pattern", card("N:Smith;Ann"), "", kPlain, false, false},
    };
    for (const auto &c : cases) {
        const QString pattern = QString::fromUtf8(c.pattern);
        EXPECT_EQ(engineMatches(c.file, pattern, c.options), c.matches) << c.what;
        EXPECT_EQ(passes(c.file, pattern, c.options), c.passes) << c.what;
    }
}
