// SPDX-License-Identifier: MIT
// The one-shot search (AddressBookQuery with the pattern's filter) against the full reading
// (AddressBook and the engine): the same persons in the same order, the same messages, over
// the sample cards, a generated book of the kinds of files that hide a match from a plain byte
// search, and a desktop with a contact store and with nothing but the sample book.
#include "app/search/RKAddressBook.h"
#include "app/search/SearchPrefilter.h"

#include "app/search/PersonExtras.h"
#include "bench/GeneratedBook.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/core/Bundle.h"
#include "tests/doubles/ScriptedAddressBookSource.h"
#include "tests/support/TemporaryHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Options = SearchFolding::Options;
using StoreMaker = std::function<std::unique_ptr<AddressBookSource>()>;

const Options kEveryOption[] = {{false, false}, {true, false}, {false, true}, {true, true}};

struct Answer
{
    QStringList persons; // file and display name, in source order
    std::string messages;
    bool usingSampleBook = false;

    bool operator==(const Answer &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Answer &answer)
{
    return out << answer.persons.size()
               << " persons: " << qPrintable(answer.persons.mid(0, 8).join(QLatin1String(", ")))
               << (answer.usingSampleBook ? " (sample book)" : "") << "\nmessages:\n"
               << answer.messages;
}

QStringList described(const QList<PersonPtr> &persons)
{
    QStringList lines;
    for (const PersonPtr &person : persons)
        lines.append(person->filePath() + QLatin1Char(' ') + PersonExtras::displayName(*person));
    return lines;
}

std::unique_ptr<AddressBookSource> noStore()
{
    return nullptr;
}

// What `Brisko --search` printed before the one-shot search: the book read whole, then
// searched; messages said while reading.
class FullReading
{
public:
    FullReading(const QStringList &roots, const StoreMaker &store)
    {
        testing::internal::CaptureStderr();
        _book = std::make_unique<AddressBook>(store(), roots, AddressBook::Loading::Now,
                                              AddressBook::Order::AsRead);
        _messages = testing::internal::GetCapturedStderr();
    }

    Answer answer(const QString &pattern, Options options) const
    {
        Answer answer{{}, _messages, _book->isUsingSampleBook()};
        RKAddressBook engine(*_book);
        engine.setOptions(options);
        if (!pattern.isEmpty())
            answer.persons = described(engine.personsMatchingPattern(pattern));
        return answer;
    }

private:
    std::unique_ptr<AddressBook> _book;
    std::string _messages;
};

Answer oneLook(const QStringList &roots, const StoreMaker &store, const QString &pattern,
               Options options)
{
    Answer answer;
    testing::internal::CaptureStderr();
    const AddressBookQuery::Result result =
        AddressBookQuery::wantedPersons(roots, store(), SearchPrefilter(pattern, options));
    answer.messages = testing::internal::GetCapturedStderr();
    answer.usingSampleBook = result.usingSampleBook;
    answer.persons = described(result.persons);
    return answer;
}

void expectSameAnswers(const QStringList &roots, const QStringList &patterns,
                       const StoreMaker &store = noStore)
{
    const FullReading full(roots, store);
    for (const Options &options : kEveryOption) {
        for (const QString &pattern : patterns) {
            EXPECT_EQ(oneLook(roots, store, pattern, options), full.answer(pattern, options))
                << "pattern \"" << qPrintable(pattern) << "\", IgnoreAccents "
                << options.ignoreAccents << ", MatchPhoneDigits " << options.matchPhoneDigits;
        }
    }
}

QStringList patterns(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *pattern : list)
        result.append(QString::fromUtf8(pattern));
    return result;
}

// A card of the benchmarks' book, written the ways that hide a word from a plain byte search,
// or that reading has something to say about.
class TroubleBook
{
public:
    explicit TroubleBook(quint32 seed)
        : _random(seed)
    {}

    QByteArray file(int index)
    {
        QByteArray text = card(index);
        const int cards = chance(6) ? 2 + _random.bounded(3) : 1;
        for (int i = 1; i < cards; ++i)
            text += card(index * 10 + i);
        return encoded(text);
    }

    // A file larger than any the search reads whole.
    QByteArray largeFile(int first)
    {
        QByteArray text;
        for (int i = 0; text.size() < 1100 * 1024; ++i)
            text += card(first + i);
        return text;
    }

private:
    bool chance(int percent) { return int(_random.bounded(100)) < percent; }

    QByteArray card(int index)
    {
        const QByteArray uid = chance(3) && !_uids.isEmpty()
                                   ? _uids[_random.bounded(int(_uids.size()))]
                                   : GeneratedBook::uuid(_random);
        _uids.append(uid);
        QByteArray text = GeneratedBook::card(_random, index, uid);
        if (chance(5))
            text.replace("Smith", chance(50) ? "\xc5\xbfmith" : "\xef\xbc\xb3mith"); // ſ, Ｓ
        if (chance(4))
            text.replace("Müller", "M\xc3\xbc\\,ller");
        if (chance(10))
            text.replace(" Main Street;", " Main\\, Street\\nApt 4;");
        if (chance(3))
            text.replace("\r\nNOTE:", "\r\nNOTE:C:\\\\temp\\q\t");
        if (chance(3))
            text.replace("\r\nN:", "\r\nFN:Quill Company\r\nKIND:org\r\nN:;;;;\r\nX-N:");
        if (chance(10))
            text = quotedPrintable(text);
        if (chance(20))
            text = folded(text);
        if (chance(2))
            text.replace("BEGIN:VCARD", "begin:vcard").replace("END:VCARD", "End:VCard");
        if (chance(2))
            text.replace("END:VCARD\r\n", ""); // never ended
        if (chance(1))
            text.replace("\r\nN:", QByteArray(QByteArray("\r\nN:Nul\0", 8) + "l;"));
        return text;
    }

    // Values of a few properties as quoted-printable, with soft line breaks.
    QByteArray quotedPrintable(const QByteArray &text)
    {
        QByteArray out;
        for (const QByteArray &line : text.split('\n')) {
            if (line.isEmpty())
                continue;
            const qsizetype colon = line.indexOf(':');
            if (!(line.startsWith("N:") || line.startsWith("NOTE:") || line.startsWith("ORG:"))) {
                out += line + '\n';
                continue;
            }
            out += line.first(colon) + ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:";
            int width = 0;
            for (const char c : line.sliced(colon + 1).chopped(1)) {
                if (uchar(c) >= 0x80 || c == '=' || chance(10))
                    out += '=' + QByteArray(1, c).toHex().toUpper();
                else
                    out += c;
                if (++width % 9 == 0)
                    out += "=\r\n";
            }
            out += "\r\n";
        }
        return out;
    }

    // Lines cut anywhere, inside words and characters too, and continued after a blank.
    QByteArray folded(const QByteArray &text)
    {
        QByteArray out;
        for (const QByteArray &line : text.split('\n')) {
            if (line.isEmpty())
                continue;
            QByteArray rest = line;
            while (rest.size() > 8 && chance(60)) {
                const int at = 1 + _random.bounded(int(rest.size()) - 2);
                out += rest.first(at) + (chance(50) ? "\r\n " : chance(50) ? "\r\n\t" : "\n\n ");
                rest = rest.sliced(at);
            }
            out += rest + '\n';
        }
        return out;
    }

    QByteArray encoded(const QByteArray &text)
    {
        const int kind = _random.bounded(100);
        if (kind < 4)
            return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)
                .encode(QString::fromUtf8(text));
        if (kind < 6)
            return QStringEncoder(QStringConverter::Utf16BE).encode(QString::fromUtf8(text));
        if (kind < 8)
            return "\xEF\xBB\xBF" + text;
        if (kind < 11)
            return QString::fromUtf8(text).toLatin1(); // no charset said
        if (kind < 13) {
            QByteArray latin = QString::fromUtf8(text).toLatin1();
            return latin.replace("\r\nN:", "\r\nN;CHARSET=ISO-8859-1:");
        }
        if (kind < 16)
            return QByteArray(text).replace("\r\n", "\n");
        if (kind < 18)
            return QByteArray(text).replace("\r\n", "\r");
        if (kind < 19)
            return "No card here, only words: Smith, Müller.\n";
        return text;
    }

    QRandomGenerator _random;
    QList<QByteArray> _uids;
};

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(bytes);
}

} // namespace

TEST(QueryEquivalence, TheSampleCardsGiveWhatTheFullReadingGives)
{
    expectSameAnswers({QStringLiteral(BRISKO_TEST_DATA_DIR)},
                      patterns({"an", "smith", "jo sm", "ZOË", "zoe", "quill", "7946-0011", "555",
                                "straße", "e", "xyzzy", "   ", ""}));
}

TEST(QueryEquivalence, AGeneratedBookOfEveryKindOfFileGivesWhatTheFullReadingGives)
{
    QTemporaryDir folder;
    TroubleBook book(25);
    for (int i = 0; i < 2000; ++i)
        write(folder.filePath(QStringLiteral("%1/%2.vcf").arg(i % 4).arg(i)), book.file(i));
    expectSameAnswers({folder.path()},
                      patterns({"smith", "ſmith", "müller", "muller", "m\\,", "zoe", "jo sm",
                                "main,", "streetnapt", "c:\\temp", "quill", "nul", "44 1",
                                "partners manager", "ss", "xyzzy"}));
}

TEST(QueryEquivalence, FilesTooLargeToReadWholeGiveWhatTheFullReadingGives)
{
    QTemporaryDir folder;
    TroubleBook book(26);
    write(folder.filePath(QStringLiteral("large.vcf")), book.largeFile(0));
    write(folder.filePath(QStringLiteral("large-lf-bom.vcf")),
          "\xEF\xBB\xBF" + book.largeFile(100000).replace("\r\n", "\n"));
    expectSameAnswers({folder.path()}, patterns({"smith", "müller", "zoe", "nul", "44 1", "e"}));
}

TEST(QueryEquivalence, AStoreBesideTheFilesAndTheSampleBookGiveWhatTheFullReadingGives)
{
    TemporaryHome home;
    qunsetenv("BRISKO_ADDRESS_BOOK");
    Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
    const QStringList searched = patterns({"smith", "store", "kept", "e"});
    // Nothing but the sample book: no files, no contacts in the store.
    expectSameAnswers({}, searched, noStore);
    expectSameAnswers({}, searched, [] {
        auto store = std::make_unique<ScriptedAddressBookSource>();
        QTimer::singleShot(0, store.get(), [s = store.get()] { s->answer({}); });
        return store;
    });

    auto card = [](const char *name, const char *uid) -> QByteArray {
        return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nN:") + name + ";;;;\r\nUID:" + uid +
               "\r\nEND:VCARD\r\n";
    };
    const QString contacts = home.dataHome() + QLatin1String("/contacts");
    write(contacts + QLatin1String("/a.vcf"), card("Smith Kept", "kept-in-both"));
    write(contacts + QLatin1String("/b.vcf"), card("Other", "copied"));
    write(contacts + QLatin1String("/c.vcf"), card("Smith Copy", "copied"));
    write(contacts + QLatin1String("/d.vcf"), card("Folded", "fold\r\n ed-uid"));
    // The id the merge gives the second card of UID "copied", which a store contact carries.
    const QByteArray unique =
        "copied#" +
        QCryptographicHash::hash(QFile::encodeName(contacts + QLatin1String("/c.vcf")),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(8) +
        "-0";
    const StoreMaker store = [&card, &unique] {
        auto source = std::make_unique<ScriptedAddressBookSource>();
        QList<PersonPtr> persons;
        for (const auto &[name, uid] :
             {std::pair("Store Smith", "store-only"), std::pair("Store Kept", "kept-in-both"),
              std::pair("Store Folded", "folded-uid"), std::pair("Store Copy", "copied"),
              std::pair("Store Twice", "store-only"),
              std::pair("Store Unique", unique.constData())})
            persons.append(VCardReader::readStoredCard(card(name, uid), "Test store"));
        QTimer::singleShot(0, source.get(), [s = source.get(), persons] { s->answer(persons); });
        return source;
    };
    expectSameAnswers({}, searched, store);
    // Every other contact of the store is one a file has, or the store itself had before.
    EXPECT_EQ(oneLook({}, store, QStringLiteral("store"), {}).persons,
              QStringList{QStringLiteral(" Store Smith")});
}
