// SPDX-License-Identifier: MIT
// The vCard reader on whole files as phones, servers and other programs write them: UTF-8 with
// or without a byte-order mark, UTF-16 of either order, any line ends. What the one-shot search
// tells from a file's bytes is checked against what reading it gives.
#include "tests/fuzz/FuzzSupport.h"

#include "app/search/SearchPrefilter.h"
#include "platform/addressbook/VCardEncoding.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/addressbook/VCardSkim.h"

#include <QStringDecoder>

namespace {

// Everything a person shows, apart from what names its source (the file, the position of a
// card without UID in it).
QString describe(const Person &person)
{
    const Person::Fields f = person.fields();
    QStringList parts{f.firstName,
                      f.lastName,
                      f.middleName,
                      f.nickname,
                      f.organization,
                      f.jobTitle,
                      f.note,
                      QString::number(f.flags),
                      QString::fromLatin1(f.imageData.toBase64()),
                      QString::fromUtf8(person.storedUniqueId().toByteArray())};
    for (const QList<LabeledValue> *values : {&f.phones, &f.emails, &f.urls, &f.addresses}) {
        for (const LabeledValue &value : *values) {
            parts << value.label << value.identifier;
            if (value.value.typeId() == QMetaType::QVariantMap) {
                const QVariantMap fields = value.value.toMap();
                for (auto i = fields.begin(); i != fields.end(); ++i)
                    parts << i.key() << i.value().toString();
            } else {
                parts << value.value.toString();
            }
        }
        parts << QStringLiteral("|");
    }
    parts << (person.hasImage() ? QStringLiteral("photo") : QStringLiteral("no photo"));
    return parts.join(QLatin1Char('\x1f'));
}

QStringList describeAll(const QList<PersonPtr> &persons)
{
    QStringList all;
    for (const PersonPtr &person : persons)
        all << describe(*person);
    return all;
}

// What a person is searched by, and its id: what a piece-by-piece reading must give again.
QString searchedValues(const Person &person)
{
    QString all = person.uniqueId();
    person.forEachSearchedValue([&all](Person::Kind kind, QByteArrayView value) {
        all += QChar(u'\x1f') + QString::number(int(kind)) + QString::fromUtf8(value);
    });
    return all;
}

// The skim against reading: a clean count is what reading gives without a message, and the
// prefilter lets the text through for any word of a person's own values, and for the digits
// of its phone numbers.
void checkSkim(const QByteArray &input, const QList<PersonPtr> &persons,
               const QStringList &messages)
{
    const QByteArray text = VCardReader::normalisedText(input, VCardEncoding::detect(input));
    const int cards = VCardSkim::cleanCardCount(text);
    FUZZ_CHECK(cards < 0 || (cards == persons.size() && messages.isEmpty()),
               QStringLiteral("a clean count of %1 where reading gave %2 persons and %3 messages")
                   .arg(cards)
                   .arg(persons.size())
                   .arg(messages.size()));
    VCardSkim::Skim skim;
    VCardSkim::skim(text, skim);
    for (const PersonPtr &person : persons.mid(0, 4)) {
        person->forEachSearchedValue([&](Person::Kind kind, QByteArrayView utf8) {
            const QString value = QString::fromUtf8(utf8);
            QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(0, 3);
            QByteArray digits;
            SearchFolding::appendPhoneDigits(digits, utf8);
            if (kind == Person::Kind::Phone && digits.size() >= 3)
                words.append(QString::fromLatin1(digits.mid(1, 5)));
            for (const QString &word : std::as_const(words)) {
                for (const SearchFolding::Options options :
                     {SearchFolding::Options{false, false}, SearchFolding::Options{true, true}}) {
                    const SearchPrefilter filter(word, options);
                    if (filter.wanted({person}).isEmpty())
                        continue; // a phone word of three digits or more, without the option
                    FUZZ_CHECK(filter.mayHoldWanted(skim),
                               QStringLiteral("the prefilter turned away a file holding \"%1\"")
                                   .arg(word));
                }
            }
        });
    }
}

// A UTF-8 text read in small pieces gives the persons and messages of the whole.
void checkPieces(const QByteArray &input, const QList<PersonPtr> &persons,
                 const QStringList &messages)
{
    if (VCardEncoding::detect(input) != Person::Origin::Encoding::Utf8 || !input.contains('\n'))
        return;
    Person::Origin origin;
    origin.nativePath = "/fuzz/cards.vcf";
    VCardReader::FileInPieces pieces(origin);
    const qsizetype readSize = 1 + input.size() % 97;
    QList<PersonPtr> read;
    QStringList said;
    QByteArray buffer;
    for (qsizetype at = 0; at < input.size();) {
        buffer += input.mid(at, readSize);
        at += readSize;
        const qsizetype end =
            at < input.size() ? VCardReader::FileInPieces::pieceEnd(buffer) : buffer.size();
        read += pieces.read(QByteArrayView(buffer).first(end), &said);
        buffer.remove(0, end);
    }
    pieces.finish(&said);
    FUZZ_CHECK(said == messages, QStringLiteral("read in pieces, it said:\n%1\nread whole:\n%2")
                                     .arg(said.join(u'\n'), messages.join(u'\n')));
    QStringList whole, inPieces;
    for (const PersonPtr &person : persons)
        whole << searchedValues(*person);
    for (const PersonPtr &person : read)
        inPieces << searchedValues(*person);
    FUZZ_CHECK(inPieces == whole, QStringLiteral("read in pieces: %1 persons, read whole: %2")
                                      .arg(read.size())
                                      .arg(persons.size()));
}

bool holdsBeginLine(const QByteArray &text)
{
    return text.toUpper().contains("BEGIN:VCARD");
}

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    QStringList messages;
    const QList<PersonPtr> persons =
        VCardReader::readData(input, QStringLiteral("/fuzz/cards.vcf"), &messages);

    // Cards begin only with a BEGIN:VCARD line; text without one is nobody.
    if (!persons.isEmpty()) {
        bool anyEncoding = false;
        for (auto encoding : {Person::Origin::Encoding::Utf8, Person::Origin::Encoding::Utf8WithBom,
                              Person::Origin::Encoding::Utf16LE, Person::Origin::Encoding::Utf16BE})
            anyEncoding =
                anyEncoding || holdsBeginLine(VCardReader::normalisedText(input, encoding));
        FUZZ_CHECK(
            anyEncoding,
            QStringLiteral("%1 persons from text without a BEGIN:VCARD line").arg(persons.size()));
    }

    checkSkim(input, persons, messages);
    checkPieces(input, persons, messages);

    for (const PersonPtr &person : persons) {
        // A card read twice gives the same person: its own text, read alone, holds it again.
        const QByteArray card = person->vCardText();
        FUZZ_CHECK(!card.isEmpty(), QStringLiteral("a person read from memory lost its card"));
        const QList<PersonPtr> again = VCardReader::readData(card, QStringLiteral("/fuzz/one.vcf"));
        FUZZ_CHECK(again.size() == 1,
                   QStringLiteral("its card alone gave %1 persons").arg(again.size()));
        FUZZ_CHECK(describe(*again.constFirst()) == describe(*person),
                   QStringLiteral("its card alone gave another person:\n  %1\n  %2")
                       .arg(describe(*person), describe(*again.constFirst())));
        FUZZ_CHECK(VCardReader::photoOfCard(card) == person->imageData(),
                   QStringLiteral("the card's photo differs from the person's"));
        const PersonPtr stored = VCardReader::readStoredCard(card, "fuzz-store");
        FUZZ_CHECK(stored, QStringLiteral("a readable card is refused from a store"));
    }

    // The same text as UTF-16 of either order, with its byte-order mark, holds the same persons.
    const QByteArray text = VCardReader::normalisedText(input, Person::Origin::Encoding::Utf8);
    if (!input.startsWith("\xEF\xBB\xBF") && !input.startsWith("\xFF\xFE") &&
        !input.startsWith("\xFE\xFF") && !input.contains('\0')) {
        // Stateless: a sequence cut off at the end is an error, not left for more input.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = decoder.decode(text);
        if (!decoder.hasError()) {
            const QStringList expected = describeAll(persons);
            for (auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
                const QList<PersonPtr> wide = VCardReader::readData(
                    utf16(decoded, encoding), QStringLiteral("/fuzz/wide.vcf"));
                FUZZ_CHECK(describeAll(wide) == expected,
                           QStringLiteral("UTF-16 gave %1 persons where UTF-8 gave %2")
                               .arg(wide.size())
                               .arg(persons.size()));
            }
        }
    }
    return 0;
}
