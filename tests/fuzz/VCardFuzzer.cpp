// SPDX-License-Identifier: MIT
// The vCard reader on whole files as phones, servers and other programs write them: UTF-8 with
// or without a byte-order mark, UTF-16 of either order, any line ends.
#include "tests/fuzz/FuzzSupport.h"

#include "platform/addressbook/VCardReader.h"

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
