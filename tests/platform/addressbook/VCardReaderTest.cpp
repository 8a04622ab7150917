// SPDX-License-Identifier: MIT
#include "addressbook/VCardReader.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kShared = QStringLiteral(BRISKO_KCONTACTS_SAMPLES_DIR "/");
const QString kData = QStringLiteral(BRISKO_TEST_DATA_DIR "/");

QList<PersonPtr> readShared(const char *name, QStringList *messages = nullptr)
{
    return VCardReader::readFile(kShared + QLatin1String(name), messages);
}

QStringList values(const QList<LabeledValue> &list)
{
    QStringList result;
    for (const LabeledValue &value : list)
        result.append(value.label + QLatin1Char('=') + value.value.toString());
    return result;
}

QList<PersonPtr> readText(const char *text, QStringList *messages = nullptr)
{
    return VCardReader::readData(QByteArray(text), QStringLiteral("/inline.vcf"), messages);
}

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

struct Golden
{
    const char *file;
    int count;
    int index;
    const char *lastName;
    const char *firstName;
    const char *organization;
    QStringList phones;
    QStringList emails;
    const char *city;
    const char *noteStart;
};

void PrintTo(const Golden &golden, std::ostream *out)
{
    *out << golden.file << " card " << golden.index;
}

class VCardGoldenTest : public ::testing::TestWithParam<Golden>
{
};

} // namespace

TEST_P(VCardGoldenTest, ReadsWhatAPersonSeesInTheFile)
{
    const Golden &golden = GetParam();
    QStringList messages;
    const QString path = kData + QLatin1String(golden.file);
    const QList<PersonPtr> persons = VCardReader::readFile(path, &messages);
    EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(QLatin1Char('\n')));
    ASSERT_EQ(persons.size(), golden.count);
    const Person &person = *persons[golden.index];
    EXPECT_EQ(person.lastName(), s(golden.lastName));
    EXPECT_EQ(person.firstName(), s(golden.firstName));
    EXPECT_EQ(person.organization(), s(golden.organization));
    EXPECT_EQ(values(person.phones()), golden.phones);
    EXPECT_EQ(values(person.emails()), golden.emails);
    const QString city =
        person.addresses().isEmpty()
            ? QString()
            : person.addresses().constFirst().value.toMap()[QStringLiteral("City")].toString();
    EXPECT_EQ(city, s(golden.city));
    if (*golden.noteStart)
        EXPECT_TRUE(person.note().startsWith(s(golden.noteStart))) << qPrintable(person.note());
    else
        EXPECT_TRUE(person.note().isEmpty()) << qPrintable(person.note());
    EXPECT_EQ(person.filePath(), path);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, VCardGoldenTest,
    ::testing::Values(
        Golden{"kcontacts/testfullvcard.vcf",
               1,
               0,
               "Holmes",
               "Sherlock",
               "",
               {s("_$!<Home>!$_=+44-555-555-5555;ext=5555"), s("_$!<Mobile>!$_=+44-555-555-6666"),
                s("_$!<Work>!$_=+44-555-555-7777")},
               {s("_$!<Home>!$_=sherlock.holmes@gmail.com"),
                s("_$!<Work>!$_=detective@sherlockholmes.com")},
               "London",
               ""},
        // No N at all: the formatted name stands in as the last name.
        Golden{
            "kcontacts/vcard1.vcf",
            1,
            0,
            "Frank Dawson",
            "",
            "Lotus Development Corporation",
            {s("_$!<Work>!$_=+1-919-676-9515"), s("_$!<WorkFAX>!$_=+1-919-676-9564")},
            {s("_$!<Other>!$_=Frank_Dawson@Lotus.com"), s("_$!<Other>!$_=fdawson@earthlink.net")},
            "Raleigh",
            ""},
        Golden{"kcontacts/vcard2.vcf",
               1,
               0,
               "Tim Howes",
               "",
               "Netscape Communications Corp.",
               {s("_$!<Work>!$_=+1-415-937-3419"), s("_$!<WorkFAX>!$_=+1-415-528-4164")},
               {s("_$!<Other>!$_=howes@netscape.com")},
               "Mountain View",
               ""},
        Golden{"kcontacts/vcard3.vcf",
               1,
               0,
               "geiser",
               "ian",
               "Source eXtreme",
               {},
               {s("_$!<Other>!$_=geiseri@yahoo.com")},
               "",
               ""},
        // A property line without a colon does not cost the card.
        Golden{"kcontacts/vcard4.vcf",
               1,
               0,
               "",
               "",
               "Ximian, Inc.",
               {s("_$!<Work>!$_=(617) 236-0442"), s("_$!<WorkFAX>!$_=(617) 236-8630")},
               {s("_$!<Other>!$_=hello@ximian.com")},
               "",
               "Welcome to the Ximian"},
        Golden{"kcontacts/vcard5.vcf",
               1,
               0,
               "Mustermann",
               "Heiko",
               "KDE",
               {s("_$!<Home>!$_=0351 223344"), s("_$!<Work>!$_=0351 443322"),
                s("_$!<Mobile>!$_=0173 223344")},
               {s("_$!<Other>!$_=heiko.mustermann@freenet.org"),
                s("_$!<Other>!$_=heiko8@tst.inf.tu-dresden.de")},
               "Dresden",
               "I'm a friendly note text,\nplease"},
        // Quoted-printable UTF-8 with soft line breaks in the middle of a character.
        Golden{"kcontacts/vcard10.vcf",
               5,
               3,
               "Name",
               "Surname",
               "",
               {},
               {},
               "",
               "Sprechzeiten:\nMo   8–12, 15–18\nDi"},
        Golden{
            "kcontacts/vcard10.vcf", 5, 1, "", "Broken", "", {}, {}, "Urt", "This one's URL field"},
        Golden{"kcontacts/vcard12.vcf",
               1,
               0,
               "Looking",
               "Good",
               "",
               {},
               {s("_$!<Work>!$_=goodlooking@example.com")},
               "",
               ""},
        Golden{"kcontacts/vcard15.vcf",
               1,
               0,
               "Tester",
               "Test",
               "",
               {s("_$!<Home>!$_=+1-800-123456")},
               {},
               "",
               ""},
        Golden{"kcontacts/vcard8.vcf",
               1,
               0,
               "test",
               "",
               "",
               {},
               {},
               "",
               "line one\nline two\nline three\n"},
        // A fold that splits a UTF-8 sequence, and a folded line that keeps its second blank.
        Golden{
            "kcontacts/vcard9.vcf",
            1,
            0,
            "123ㄓㄕㄖbcdeαβγδαβγδαβγδαβγδαβγδαβγδαβㄤㄓㄕㄖ",
            "",
            "",
            {},
            {},
            "",
            "Длинный комментарий на русском языке, чтобы в результате получилась строка более 70 "
            "символов."},
        Golden{"kcontacts/vcardwithitemasapplesupport.vcf",
               1,
               0,
               "",
               "SOMENAME",
               "SOME COMPANY",
               {s("_$!<Work>!$_=(111) 111-1111")},
               {},
               "CITY",
               "SOME NOTES"},
        // Quoted parameter values hold ";", ":" and "," of their own, as Apple's and vCard 4
        // writers put them.
        Golden{"vcards/quoted-parameters.vcf",
               2,
               0,
               "Appleseed",
               "Johnny",
               "Orchard Supply",
               {s("_$!<Mobile>!$_=+1 (408) 555-0100"), s("_$!<Work>!$_=+1 (408) 555-0111"),
                s("Barn=+1 (408) 555-0199")},
               {s("_$!<Home>!$_=johnny@orchard.example")},
               "Cupertino",
               "Picks in autumn"},
        Golden{"vcards/quoted-parameters.vcf",
               2,
               1,
               "Quill",
               "Ada",
               "Quill & Co.",
               {s("_$!<Mobile>!$_=+44-20-7946-0000")},
               {s("_$!<Work>!$_=ada@quill.example")},
               "London",
               "Sign with a quill"}),
    [](const ::testing::TestParamInfo<Golden> &info) {
        std::string name = info.param.file;
        name = name.substr(name.find('/') + 1);
        name = name.substr(0, name.find('.'));
        std::replace(name.begin(), name.end(), '-', '_');
        return name + "_" + std::to_string(info.param.index);
    });

TEST(VCardReaderTest, EverySharedSampleLoadsWithoutComplaint)
{
    const QStringList files = QDir(kShared).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_GE(files.size(), 19);
    for (const QString &file : files) {
        QStringList messages;
        const QList<PersonPtr> persons = VCardReader::readFile(kShared + file, &messages);
        EXPECT_FALSE(persons.isEmpty()) << qPrintable(file);
        EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(QLatin1Char('\n')));
        for (const PersonPtr &person : persons)
            EXPECT_FALSE(person->uniqueId().isEmpty()) << qPrintable(file);
    }
}

TEST(VCardReaderTest, PhotosGroupedLabelsAndPartsOfAddresses)
{
    for (const char *file : {"vcard12.vcf", "vcard15.vcf", "vcard5.vcf", "vcard1.vcf"})
        ASSERT_EQ(readShared(file).size(), 1) << file;
    const PersonPtr looking = readShared("vcard12.vcf").constFirst();
    EXPECT_TRUE(looking->imageData().startsWith("\x89PNG")) << "base64 photo decoded";
    const PersonPtr tester = readShared("vcard15.vcf").constFirst();
    ASSERT_EQ(tester->urls().size(), 1);
    EXPECT_EQ(tester->urls()[0].label, QStringLiteral("random_label"));
    EXPECT_EQ(tester->homePage(), QStringLiteral("http://www.example.com"));
    // A folded country ("German" + "y") and the street of a folded ADR.
    const QVariantMap home = readShared("vcard5.vcf").constFirst()->addresses()[0].value.toMap();
    EXPECT_EQ(home[QStringLiteral("Country")].toString(), QStringLiteral("Germany"));
    EXPECT_EQ(home[QStringLiteral("ZIP")].toString(), QStringLiteral("01327"));
    const QVariantMap work = readShared("vcard1.vcf").constFirst()->addresses()[0].value.toMap();
    EXPECT_EQ(work[QStringLiteral("Street")].toString(), QStringLiteral("6544 Battleford Drive"));
    EXPECT_EQ(work[QStringLiteral("State")].toString(), QStringLiteral("NC"));
}

TEST(VCardReaderTest, EncodingsAndEscapes)
{
    const QList<PersonPtr> persons = readText(
        "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=F6rg\n"
        "NOTE;ENCODING=QUOTED-PRINTABLE:first=0D=0Asecond =3D soft=\nly joined\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nN:Comma\\, Semi\\;colon;Ann;;;\nORG:Acme\\, Inc.;Research\n"
        "NOTE:one\\ntwo\\\\three\nitem1.EMAIL;TYPE=INTERNET,WORK:a@b.c\n"
        "item1.X-ABLabel:_$!<Other>!$_\nPHOTO;VALUE=uri:data:image/png;base64,iVBORw0KGgo=\n"
        "END:VCARD\n"
        "BEGIN:VCARD\nVERSION:4.0\nFN:Rozet Café\nKIND:org\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nN:;;;;\nFN:Maker Works\nORG:Maker Works GmbH\n"
        "X-ABShowAs:COMPANY\nEND:VCARD\n");
    ASSERT_EQ(persons.size(), 4);
    EXPECT_EQ(persons[0]->lastName(), s("Müller"));
    EXPECT_EQ(persons[0]->firstName(), s("Jörg"));
    EXPECT_EQ(persons[0]->note(), s("first\r\nsecond = softly joined"));
    EXPECT_EQ(persons[1]->lastName(), s("Comma, Semi;colon"));
    EXPECT_EQ(persons[1]->organization(), s("Acme, Inc."));
    EXPECT_EQ(persons[1]->note(), s("one\ntwo\\three"));
    EXPECT_EQ(values(persons[1]->emails()), QStringList{s("_$!<Other>!$_=a@b.c")});
    EXPECT_EQ(persons[1]->imageData(), QByteArray("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(persons[1]->flags(), Person::ShowAsPerson);
    EXPECT_EQ(persons[2]->flags() & Person::ShowAsMask, Person::ShowAsCompany);
    EXPECT_EQ(persons[2]->organization(), s("Rozet Café"));
    EXPECT_EQ(persons[3]->flags(), Person::ShowAsCompany);
    EXPECT_EQ(persons[3]->organization(), s("Maker Works GmbH"));
    EXPECT_EQ(persons[3]->lastName(), s("Maker Works"));
}

TEST(VCardReaderTest, ABackslashEndingAStructuredValueLosesNoPart)
{
    // Writers that do not escape backslashes leave one at the very end of a value.
    const QList<PersonPtr> persons =
        readText("BEGIN:VCARD\nVERSION:3.0\nN:Smith;John\\\nORG:Acme\\\n"
                 "ADR;TYPE=WORK:;;Main Street 1;Springfield;;;Land\\\nEND:VCARD\n");
    ASSERT_EQ(persons.size(), 1);
    EXPECT_EQ(persons[0]->lastName(), s("Smith"));
    EXPECT_EQ(persons[0]->firstName(), s("John\\"));
    EXPECT_EQ(persons[0]->organization(), s("Acme\\"));
    ASSERT_EQ(persons[0]->addresses().size(), 1);
    const QVariantMap work = persons[0]->addresses()[0].value.toMap();
    EXPECT_EQ(work[QStringLiteral("Street")].toString(), s("Main Street 1"));
    EXPECT_EQ(work[QStringLiteral("City")].toString(), s("Springfield"));
    EXPECT_EQ(work[QStringLiteral("Country")].toString(), s("Land\\"));
}

TEST(VCardReaderTest, LineEndingsByteOrderMarksAndUndeclaredLatin1GiveTheSameText)
{
    const QByteArray lf =
        "BEGIN:VCARD\nVERSION:3.0\nN:Çelik;Zoë;;;\nTEL;TYPE=CELL:+90 1\nEND:VCARD\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace("\n", "\r"); // classic Mac OS
    const QString text = QString::fromUtf8(lf);
    const QByteArray utf16LE(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray utf16BE = utf16LE;
    for (qsizetype i = 0; i + 1 < utf16BE.size(); i += 2)
        std::swap(utf16BE[i], utf16BE[i + 1]);
    const QByteArray latin1 = text.toLatin1();
    for (const QByteArray &data :
         {lf, crlf, cr, QByteArray("\xEF\xBB\xBF" + lf), QByteArray("\xFF\xFE" + utf16LE), utf16LE,
          QByteArray("\xFE\xFF" + utf16BE), utf16BE, latin1}) {
        QStringList messages;
        const QList<PersonPtr> persons =
            VCardReader::readData(data, QStringLiteral("/x.vcf"), &messages);
        EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(QLatin1Char('\n')));
        ASSERT_EQ(persons.size(), 1) << data.toHex().left(40).constData();
        EXPECT_EQ(persons[0]->lastName(), s("Çelik"));
        EXPECT_EQ(persons[0]->firstName(), s("Zoë"));
        EXPECT_EQ(values(persons[0]->phones()), QStringList{s("_$!<Mobile>!$_=+90 1")});
    }
}

TEST(VCardReaderTest, TextThatHoldsNoCardIsReportedWithFileAndLine)
{
    QStringList messages;
    EXPECT_TRUE(readText("notes about people\rbut no card\r", &messages).isEmpty());
    EXPECT_EQ(messages, QStringList{s("/inline.vcf:1: skipped a vCard that cannot be read (no "
                                      "BEGIN:VCARD line)")});
    messages.clear();
    EXPECT_TRUE(readText(" \r\n\n", &messages).isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << "a blank file holds no card, and nothing is wrong with it";
}

TEST(VCardReaderTest, APersonReadsItsOwnCardAndPhotoAgainWhileTheFileIsUnchanged)
{
    const QByteArray first = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:First;;;;\r\nEND:VCARD\r\n";
    const QByteArray second = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Second;;;;\r\n"
                              "PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgo=\r\nEND:VCARD\r\n";
    const QString text = QString::fromUtf8(first + second);
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray crOnly = first + second;
    crOnly.replace("\r\n", "\r");
    QTemporaryDir folder;
    for (const QByteArray &contents : {QByteArray(first + second), utf16, crOnly}) {
        const QString path = folder.filePath(QStringLiteral("book.vcf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        const QList<PersonPtr> persons = VCardReader::readFile(path);
        ASSERT_EQ(persons.size(), 2);
        EXPECT_EQ(persons[0]->vCardText(), first);
        EXPECT_EQ(persons[1]->vCardText(), second);
        EXPECT_FALSE(persons[0]->hasImage());
        EXPECT_TRUE(persons[1]->hasImage());
        EXPECT_EQ(persons[1]->imageData(), QByteArray("\x89PNG\r\n\x1a\n"));

        // Another program rewrote the file: its text is no longer that card's.
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(second + first + "\r\n"));
        file.close();
        EXPECT_TRUE(persons[1]->vCardText().isEmpty());
        EXPECT_TRUE(persons[1]->imageData().isEmpty());
    }
}

// Decoding a card's photo costs time on every showing of the card; one larger than any photo
// is not decoded at all.
TEST(VCardReaderTest, APhotoLargerThanAnyPhotoIsLeftUndecoded)
{
    const QByteArray png("\x89PNG\r\n\x1a\n");
    const struct
    {
        qsizetype padding;
        bool decoded;
    } cases[] = {{1024, true}, {17 * 1024 * 1024, false}};
    for (const auto &c : cases) {
        const QByteArray photo = png + QByteArray(c.padding, '\0');
        const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\n"
                                "PHOTO;ENCODING=b;TYPE=PNG:" +
                                photo.toBase64() + "\r\nEND:VCARD\r\n";
        EXPECT_EQ(VCardReader::photoOfCard(card, VCardReader::PhotoLinks::Ignored).size(),
                  c.decoded ? photo.size() : 0)
            << c.padding << " bytes";
    }
}

// Evolution keeps photos in files beside its database and links them from the card; a card
// from any other place could link any file, so only a store's links are followed.
TEST(VCardReaderTest, AStoredCardKeepsItsTextAndFollowsItsPhotoLinkWhereAFileCardDoesNot)
{
    QTemporaryDir folder;
    const QString photoPath = folder.filePath(QStringLiteral("ann photo.png"));
    QFile photo(photoPath);
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write("\x89PNG\r\n\x1a\n");
    photo.close();
    QByteArray link = QUrl::fromLocalFile(photoPath).toEncoded();
    // Folded as EDS folds it, in the middle of the link.
    link.insert(20, "\r\n ");
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:pas-id-1\r\nN:Smith;Ann;;;\r\n"
                            "PHOTO;VALUE=uri:" +
                            link + "\r\nEND:VCARD\r\n";

    QStringList messages;
    const PersonPtr stored = VCardReader::readStoredCard(card, "Store \"Personal\"", &messages);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->uniqueId(), QStringLiteral("pas-id-1"));
    EXPECT_TRUE(stored->filePath().isEmpty());
    EXPECT_EQ(stored->vCardText(), card);
    EXPECT_TRUE(stored->hasImage());
    EXPECT_EQ(stored->imageData(), QByteArray("\x89PNG\r\n\x1a\n"));

    const QList<PersonPtr> fromFile = readText(card.constData());
    ASSERT_EQ(fromFile.size(), 1);
    EXPECT_FALSE(fromFile[0]->hasImage());
    EXPECT_TRUE(fromFile[0]->imageData().isEmpty());

    EXPECT_FALSE(
        VCardReader::readStoredCard("BEGIN:VCARD\r\nN:Broken", "Store \"Personal\"", &messages));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Store \"Personal\":1:")))
        << qPrintable(messages[0]);
}

TEST(VCardReaderTest, IdsWithoutUidAreStableAndDifferByFileAndPosition)
{
    const QByteArray two = "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\nEND:VCARD\n";
    const QList<PersonPtr> first = VCardReader::readData(two, QStringLiteral("/one.vcf"));
    const QList<PersonPtr> again = VCardReader::readData(two, QStringLiteral("/one.vcf"));
    const QList<PersonPtr> other = VCardReader::readData(two, QStringLiteral("/two.vcf"));
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0]->uniqueId(), again[0]->uniqueId());
    EXPECT_NE(first[0]->uniqueId(), first[1]->uniqueId());
    EXPECT_NE(first[0]->uniqueId(), other[0]->uniqueId());
}

TEST(VCardReaderTest, BrokenCardsAreSkippedWithOneMessageEachAndTheRestKept)
{
    const QString path = QStringLiteral(BRISKO_TEST_DATA_DIR "/vcards/broken.vcf");
    QStringList messages;
    const QList<PersonPtr> persons = VCardReader::readFile(path, &messages);
    QStringList names;
    for (const PersonPtr &person : persons)
        names.append(person->lastName());
    EXPECT_EQ(names, (QStringList{s("Alpha"), s("Gamma"), s("Delta")}));
    ASSERT_EQ(messages.size(), 3) << qPrintable(messages.join(QLatin1Char('\n')));
    EXPECT_TRUE(messages[0].startsWith(path + QLatin1String(":6:"))) << qPrintable(messages[0]);
    EXPECT_TRUE(messages[1].startsWith(path + QLatin1String(":15:"))) << qPrintable(messages[1]);
    EXPECT_TRUE(messages[2].startsWith(path + QLatin1String(":26:"))) << qPrintable(messages[2]);

    QStringList missing;
    EXPECT_TRUE(VCardReader::readFile(QStringLiteral("/nonexistent/x.vcf"), &missing).isEmpty());
    EXPECT_EQ(missing.size(), 1);
}

TEST(VCardReaderTest, TruncatedMutatedAndRandomBytesNeverCrash)
{
    QRandomGenerator random(20240611);
    const QStringList files = QDir(kShared).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    for (const QString &file : files) {
        QFile input(kShared + file);
        ASSERT_TRUE(input.open(QIODevice::ReadOnly));
        const QByteArray data = input.readAll();
        for (qsizetype cut = 0; cut < data.size(); cut += 1 + data.size() / 97)
            VCardReader::readData(data.left(cut), file);
        for (int round = 0; round < 20; ++round) {
            QByteArray mutated = data;
            for (int flips = 0; flips < 8; ++flips)
                mutated[random.bounded(int(mutated.size()))] = char(random.bounded(256));
            const QList<PersonPtr> persons = VCardReader::readData(mutated, file);
            for (const PersonPtr &person : persons) {
                EXPECT_FALSE(person->uniqueId().isEmpty());
                person->imageData();
                person->addresses();
                EXPECT_TRUE(person->vCardText().trimmed().toUpper().startsWith("BEGIN:VCARD"));
            }
        }
    }
    static const char alphabet[] = "BEGIN:VCARD\r\nEND;=:\\,; \t=0AQUOTED-PRINTABLE\xC3\xFF\0";
    for (int round = 0; round < 300; ++round) {
        QByteArray noise(random.bounded(2000), '\0');
        for (char &c : noise)
            c = round % 2 ? char(random.bounded(256))
                          : alphabet[random.bounded(int(sizeof alphabet - 1))];
        VCardReader::readData(QByteArray("BEGIN:VCARD\n") + noise, QStringLiteral("/noise"));
    }
}
