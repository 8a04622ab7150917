// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardReader.h"

#include "tests/platform/addressbook/PersonDump.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

const QString kShared = QStringLiteral(BRISKO_KCONTACTS_SAMPLES_DIR "/");
const QString kData = QStringLiteral(BRISKO_TEST_DATA_DIR "/");

QList<PersonPtr> readText(const char *text, QStringList *messages = nullptr)
{
    return VCardReader::readData(QByteArray(text), QStringLiteral("/inline.vcf"), messages);
}

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// Every sample card under tests/data, by its path there.
std::vector<std::string> samples()
{
    std::vector<std::string> files;
    QDirIterator it(kData, {QStringLiteral("*.vcf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.push_back(QDir(kData).relativeFilePath(it.next()).toStdString());
    std::sort(files.begin(), files.end());
    return files;
}

class VCardSampleTest : public ::testing::TestWithParam<std::string>
{
};

} // namespace

// The expected file beside each sample is written by running this test with
// BRISKO_WRITE_EXPECTED=1; read it against the card before committing it.
TEST_P(VCardSampleTest, ReadsWhatItsExpectedFileSays)
{
    const QString sample = QString::fromStdString(GetParam());
    const QString path = kData + sample;
    QStringList messages;
    const QList<PersonPtr> persons = VCardReader::readFile(path, &messages);
    for (const PersonPtr &person : persons)
        EXPECT_EQ(person->filePath(), path);
    const QString dump = PersonDump::dump(persons, messages, kData);
    QFile expected(path + QLatin1String(".expected"));
    if (qEnvironmentVariableIsSet("BRISKO_WRITE_EXPECTED")) {
        ASSERT_TRUE(expected.open(QIODevice::WriteOnly | QIODevice::Truncate));
        expected.write(dump.toUtf8());
        GTEST_SKIP() << "wrote " << qPrintable(expected.fileName());
    }
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly))
        << qPrintable(expected.fileName()) << " is missing: every sample has its expected file";
    EXPECT_EQ(dump.toStdString(), QString::fromUtf8(expected.readAll()).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Samples, VCardSampleTest, ::testing::ValuesIn(samples()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             std::string name = info.param.substr(0, info.param.rfind('.'));
                             for (char &c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

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

TEST(VCardReaderTest, CardsTurnedAwayBuildNoPersonButKeepTheOthersIdsAndTheMessages)
{
    const QByteArray three = "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\nEND:VCARD\n"
                             "BEGIN:VCARD\nFN:C\nBEGIN:VCARD\nFN:D\nEND:VCARD\n";
    QStringList allMessages, someMessages;
    const QList<PersonPtr> all = VCardReader::readFileContents(three, {}, nullptr, &allMessages);
    QStringList seen;
    const QList<PersonPtr> some = VCardReader::readFileContents(
        three, {}, nullptr, &someMessages, [&seen](QByteArrayView card) {
            seen.append(QString::fromUtf8(card));
            return !card.contains("FN:A");
        });
    ASSERT_EQ(all.size(), 3);
    ASSERT_EQ(some.size(), 2);
    EXPECT_EQ(some[0]->uniqueId(), all[1]->uniqueId());
    EXPECT_EQ(some[1]->uniqueId(), all[2]->uniqueId());
    EXPECT_EQ(someMessages, allMessages);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("BEGIN:VCARD\nFN:A\nEND:VCARD\n"),
                                 QStringLiteral("BEGIN:VCARD\nFN:B\nEND:VCARD\n"),
                                 QStringLiteral("BEGIN:VCARD\nFN:D\nEND:VCARD\n")}));
}

TEST(VCardReaderTest, AFileReadInPiecesGivesThePersonsAndMessagesOfTheWhole)
{
    static const char raw[] = "BEGIN:VCARD\r\nFN:A\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:B\r\n"
                              "BEGIN:VCARD\r\nN:C;;;;\r\nNOTE:long\r\n  folded\r\n  END:VCARD\r\n"
                              "between\r\nbegin:vcard\r\nFN:D\0\r\nEnd:VCard\r\nBEGIN:VCARD\r\n"
                              "FN:E\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:F\r\n";
    const QByteArray text(raw, sizeof(raw) - 1);
    QStringList wholeMessages;
    const QList<PersonPtr> whole = VCardReader::readFileContents(text, {}, nullptr, &wholeMessages);
    ASSERT_EQ(whole.size(), 3);
    ASSERT_EQ(wholeMessages.size(), 3);
    // However small the reads, each piece ends where pieceEnd() says.
    for (const qsizetype readSize : {7, 30, 1000}) {
        VCardReader::FileInPieces pieces({});
        QList<PersonPtr> persons;
        QStringList messages;
        QByteArray buffer;
        for (qsizetype at = 0; at < text.size();) {
            buffer += text.mid(at, readSize);
            at += readSize;
            const qsizetype end =
                at < text.size() ? VCardReader::FileInPieces::pieceEnd(buffer) : buffer.size();
            persons += pieces.read(QByteArrayView(buffer).first(end), &messages);
            buffer.remove(0, end);
        }
        pieces.finish(&messages);
        EXPECT_EQ(messages, wholeMessages) << readSize;
        ASSERT_EQ(persons.size(), whole.size()) << readSize;
        for (qsizetype i = 0; i < persons.size(); ++i)
            EXPECT_EQ(persons[i]->uniqueId(), whole[i]->uniqueId()) << readSize;
    }
    const struct
    {
        QByteArray text;
        qsizetype end;
    } ends[] = {
        {"BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B", 27},
        {"\r\n  end:vcard \r\nBEGIN", 16},
        {"\nBEGIN:VCARD\nNOTE:END:VCARD\n", 0},
        {"END:VCARD", 0},
    };
    for (const auto &e : ends)
        EXPECT_EQ(VCardReader::FileInPieces::pieceEnd(e.text), e.end) << e.text.constData();

    QStringList none;
    VCardReader::FileInPieces nothing({});
    nothing.read("no card here\n", &none);
    nothing.finish(&none);
    EXPECT_EQ(none.size(), 1);
}

// The cards of a file that cannot be read are in vcards/broken.vcf and its expected file.
TEST(VCardReaderTest, AFileThatCannotBeOpenedGivesOneMessageAndNoPersons)
{
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
