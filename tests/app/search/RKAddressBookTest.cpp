// SPDX-License-Identifier: MIT
#include "app/search/RKAddressBook.h"

#include "app/search/MatchExplanation.h"

#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct Card
{
    const char *uid;
    const char *text; // the properties between BEGIN and END
};

// Persons in the address book's own order; names repeat on purpose.
const Card kCards[] = {
    {"p1", "N:Smith;John;;;\nEMAIL:john@example.com\nTEL;TYPE=CELL:+1 555 0100"},
    {"p2", "N:Jones;Anna;;;\nEMAIL:anna.smythe@example.org\nNOTE:Loves jazz\\nand tea"},
    {"p3", "N:Smith;Joanna;;;\nNICKNAME:Jojo\nTITLE:Harbour master"},
    {"p4", "N:Ångström;Åsa;Quenby;;\nADR;TYPE=HOME:;;Kungsgatan 7;Uppsala;;753 21;Sweden"},
    {"p5", "N:Ölmez;Smaragd;;;\nORG:Zephyr "
           "Works\nURL:https://zephyr.example\nURL:https://second.example"},
    {"p6", "N:Smith;John;;;\nEMAIL:other.john@example.net"},
    {"p7",
     "ORG:Nordlicht GmbH\nX-ABShowAs:COMPANY\nADR;TYPE=WORK:;;Hafenstraße 1;Kiel;;24103;Germany"},
    {"p8", "N:Straße;Jörg;;;\nNOTE:tab\there and non\u00a0breaking"},
};

QByteArray vcard(const Card &card)
{
    return QByteArray("BEGIN:VCARD\nVERSION:3.0\nUID:") + card.uid + "\n" + card.text +
           "\nEND:VCARD\n";
}

QStringList ids(const QList<PersonPtr> &persons)
{
    QStringList result;
    for (const PersonPtr &person : persons)
        result.append(person->uniqueId());
    return result;
}

QStringList S(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *item : list)
        result.append(QString::fromUtf8(item));
    return result;
}

class RKAddressBookTest : public ::testing::Test
{
protected:
    RKAddressBookTest()
    {
        QFile file(home.path() + QLatin1String("/book.vcf"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        for (const Card &card : kCards)
            file.write(vcard(card));
        file.close();
        book = std::make_unique<AddressBook>(QStringList{file.fileName()});
        engine = std::make_unique<RKAddressBook>(*book);
    }

    QStringList find(const char *pattern)
    {
        return ids(engine->personsMatchingPattern(QString::fromUtf8(pattern)));
    }

    /// The persons with these ids, in the address book's order (by display name).
    QStringList S(std::initializer_list<const char *> list) const
    {
        const QStringList wanted = ::S(list);
        QStringList result;
        for (const QString &id : ids(book->people())) {
            if (wanted.contains(id))
                result.append(id);
        }
        return result;
    }

    TemporaryHome home;
    std::unique_ptr<AddressBook> book;
    std::unique_ptr<RKAddressBook> engine;
};

} // namespace

TEST_F(RKAddressBookTest, CaseInsensitiveMatchWithSeparateCaseSensitiveCacheKeys)
{
    const quint64 before = engine->personsExamined();
    const QList<PersonPtr> lower = engine->personsMatchingPattern(QStringLiteral("an"));
    const quint64 afterLower = engine->personsExamined();
    const QList<PersonPtr> upper = engine->personsMatchingPattern(QStringLiteral("An"));
    EXPECT_GT(engine->personsExamined(), afterLower) << "\"An\" must not be answered from \"an\"";
    EXPECT_GT(afterLower, before);
    EXPECT_EQ(ids(lower), ids(upper));
    EXPECT_EQ(ids(lower), S({"p2", "p3", "p4", "p7", "p8"}));
    // A repeated pattern is a cache hit: nothing examined, the same list object.
    const quint64 settled = engine->personsExamined();
    const QList<PersonPtr> again = engine->personsMatchingPattern(QStringLiteral("An"));
    EXPECT_EQ(engine->personsExamined(), settled);
    EXPECT_TRUE(again.isSharedWith(upper));
}

TEST_F(RKAddressBookTest, EveryWordMustMatchSomePropertyInOrder)
{
    // "jo" in a first or last name, "sm" in a last name or an e-mail address.
    EXPECT_EQ(find("jo sm"), S({"p1", "p2", "p3", "p6"}));
    EXPECT_EQ(find("sm jo"), S({"p1", "p2", "p3", "p6"}));
    EXPECT_EQ(find("anna smythe"), S({"p2"}));
    EXPECT_EQ(find("john smith"), S({"p1", "p6"}));
    EXPECT_EQ(find("jo zz"), S({"p2"})) << "\"zz\" only in the note";
    EXPECT_EQ(find("jo qq"), QStringList());
}

TEST_F(RKAddressBookTest, BlanksCutWordsAndOtherWhiteSpaceBelongsToThem)
{
    EXPECT_EQ(find("jo "), find("jo"));
    EXPECT_EQ(find("  jo"), find("jo"));
    EXPECT_EQ(find("jo    sm"), find("jo sm"));
    EXPECT_EQ(find("   "), QStringList());
    EXPECT_EQ(find("   j"), find("j")) << "blanks alone must not narrow what follows";
    EXPECT_EQ(find(" "), QStringList());
    EXPECT_EQ(find("tab\there"), S({"p8"}));
    EXPECT_EQ(find("tab"), S({"p8"}));
    EXPECT_EQ(find("non\u00a0breaking"), S({"p8"}));
    EXPECT_EQ(find("non breaking"), S({"p8"}));
    // A word never spans two values of a person.
    EXPECT_EQ(find("smithjohn"), QStringList());
}

TEST_F(RKAddressBookTest, WordsFoundInEveryLesserProperty)
{
    EXPECT_EQ(find("jazz"), S({"p2"}));           // note
    EXPECT_EQ(find("and tea"), S({"p2"}));        // note, second line
    EXPECT_EQ(find("jojo"), S({"p3"}));           // nickname
    EXPECT_EQ(find("quenby"), S({"p4"}));         // middle name
    EXPECT_EQ(find("harbour"), S({"p3"}));        // job title
    EXPECT_EQ(find("uppsala"), S({"p4"}));        // city
    EXPECT_EQ(find("753 21"), S({"p4"}));         // postal code, two words
    EXPECT_EQ(find("sweden"), S({"p4"}));         // country
    EXPECT_EQ(find("kungsgatan"), S({"p4"}));     // street
    EXPECT_EQ(find("0100"), S({"p1"}));           // phone
    EXPECT_EQ(find("zephyr.example"), S({"p5"})); // home page
    EXPECT_EQ(find("second.example"), QStringList()) << "only the home page is searched";
    EXPECT_EQ(find("nordlicht"), S({"p7"})); // organization
    EXPECT_EQ(find("home"), QStringList()) << "labels are not searched";
}

TEST_F(RKAddressBookTest, UnicodeCaseFoldingWithoutAccentFolding)
{
    EXPECT_EQ(find("ångström"), S({"p4"}));
    EXPECT_EQ(find("ÅSA"), S({"p4"}));
    EXPECT_EQ(find("angstrom"), QStringList());
    EXPECT_EQ(find("ÖLMEZ"), S({"p5"}));
    EXPECT_EQ(find("STRASSE"), QStringList()) << "no full case folding of ß";
    EXPECT_EQ(find("STRAßE"), S({"p7", "p8"}));
}

TEST_F(RKAddressBookTest, TypingNarrowsFromThePreviousResult)
{
    const qsizetype everyone = book->people().size();
    quint64 examined = engine->personsExamined();
    EXPECT_EQ(find("s").size(), everyone);
    EXPECT_EQ(engine->personsExamined() - examined, quint64(everyone));

    examined = engine->personsExamined();
    EXPECT_EQ(find("sm"), S({"p1", "p2", "p3", "p5", "p6"}));
    EXPECT_EQ(engine->personsExamined() - examined, quint64(everyone)) << "the result of \"s\"";

    examined = engine->personsExamined();
    EXPECT_EQ(find("smi"), S({"p1", "p3", "p6"}));
    EXPECT_EQ(engine->personsExamined() - examined, 5u) << "only the result of \"sm\"";

    // Backspace: answered from the cache.
    examined = engine->personsExamined();
    EXPECT_EQ(find("sm"), S({"p1", "p2", "p3", "p5", "p6"}));
    EXPECT_EQ(engine->personsExamined(), examined);

    // Not an extension of a cached pattern: everyone again.
    examined = engine->personsExamined();
    find("mi");
    EXPECT_EQ(engine->personsExamined() - examined, quint64(everyone));
}

TEST_F(RKAddressBookTest, ClearCacheAndExternalChangesSearchEveryoneAgain)
{
    find("s");
    find("sm");
    engine->clearCache();
    quint64 examined = engine->personsExamined();
    find("smi");
    EXPECT_EQ(engine->personsExamined() - examined, quint64(book->people().size()));

    // Another program adds a Smith; the watcher reloads and the engine sees the new person.
    book->setReloadDelay(20);
    QSignalSpy changed(book.get(), &AddressBook::databaseChangedExternally);
    QObject::connect(book.get(), &AddressBook::databaseChangedExternally, engine.get(),
                     &RKAddressBook::clearCache);
    QFile file(home.path() + QLatin1String("/book.vcf"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(vcard({"p9", "N:Smithers;Waylon;;;"}));
    file.close();
    ASSERT_TRUE(changed.wait(5000)) << "the edit was not noticed within 5 s";
    examined = engine->personsExamined();
    EXPECT_EQ(find("smit"), S({"p1", "p3", "p6", "p9"}));
    EXPECT_EQ(engine->personsExamined() - examined, quint64(book->people().size()));
}

TEST_F(RKAddressBookTest, AnIndexBuiltInTheBackgroundReplacesTheOldOneAndItsCacheWhole)
{
    EXPECT_EQ(find("smi"), S({"p1", "p3", "p6"}));
    QFile file(home.path() + QLatin1String("/book.vcf"));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(vcard({"p9", "N:Smithers;Waylon;;;"}));
    file.close();
    book->reload();
    QSignalSpy indexChanged(engine.get(), &RKAddressBook::indexChanged);
    engine->updateIndexInBackground();
    EXPECT_FALSE(engine->isIndexCurrent());
    // Until the new index is in, the old one answers, narrowing from its own results.
    const quint64 examined = engine->personsExamined();
    EXPECT_EQ(find("smit"), S({"p1", "p3", "p6"}));
    EXPECT_EQ(engine->personsExamined() - examined, 3u);

    ASSERT_TRUE(indexChanged.wait(5000)) << "the index was not built within 5 s";
    EXPECT_TRUE(engine->isIndexCurrent());
    const quint64 before = engine->personsExamined();
    EXPECT_EQ(find("smit"), S({"p1", "p3", "p6", "p9"}));
    EXPECT_EQ(engine->personsExamined() - before, quint64(book->people().size()))
        << "a result of the old index was used";
}

TEST_F(RKAddressBookTest, AgreesWithQtCaseInsensitiveContainsOnRandomPatterns)
{
    // The reference: every word contained, case-insensitively as Qt compares, in one of the
    // searched values.
    auto reference = [&](const QString &pattern) {
        const QStringList words = pattern.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QStringList result;
        if (words.isEmpty())
            return result;
        for (const PersonPtr &person : book->people()) {
            QStringList values = {person->lastName(), person->firstName(), person->middleName(),
                                  person->nickname(), person->jobTitle(),  person->organization(),
                                  person->homePage(), person->note()};
            for (const LabeledValue &v : person->phones() + person->emails())
                values.append(v.value.toString());
            for (const LabeledValue &v : person->addresses())
                for (const QVariant &field : v.value.toMap())
                    values.append(field.toString());
            bool all = true;
            for (const QString &word : words) {
                bool any = false;
                for (const QString &value : std::as_const(values))
                    any = any || value.contains(word, Qt::CaseInsensitive);
                all = all && any;
            }
            if (all)
                result.append(person->uniqueId());
        }
        return result;
    };
    const QString alphabet = QString::fromUtf8("smithjoanÅÖöåße .@1");
    QRandomGenerator random(7);
    for (int round = 0; round < 400; ++round) {
        QString pattern;
        const int length = 1 + random.bounded(6);
        for (int i = 0; i < length; ++i) {
            pattern.append(alphabet[random.bounded(int(alphabet.size()))]);
            // Typed one unit at a time, as the search field does; a one-off search of the
            // same persons, without the cache, agrees.
            EXPECT_EQ(ids(engine->personsMatchingPattern(pattern)), reference(pattern))
                << qPrintable(pattern);
            EXPECT_EQ(ids(RKAddressBook::personsMatchingPattern(pattern, book->people(), {})),
                      reference(pattern))
                << qPrintable(pattern);
        }
        if (round % 50 == 0)
            engine->clearCache();
    }
}

TEST(RKAddressBookEmptyTest, AnEmptyAddressBookMatchesNothing)
{
    TemporaryHome home;
    const QString folder = home.path() + QLatin1String("/empty");
    QDir().mkpath(folder);
    AddressBook book({folder});
    ASSERT_TRUE(book.people().isEmpty());
    RKAddressBook engine(book);
    for (const char *pattern : {"a", "an", "an b", " "})
        EXPECT_TRUE(engine.personsMatchingPattern(QString::fromUtf8(pattern)).isEmpty());
}

TEST_F(RKAddressBookTest, IgnoringAccentsFindsLettersWithoutThemAndKeepsCaseIgnored)
{
    struct Case
    {
        const char *pattern;
        QStringList found;
        bool foundWithAccents; // by the default search too
    };
    const Case cases[] = {
        {"angstrom", S({"p4"}), false},
        {"ASA QUENBY", S({"p4"}), false},
        {"olmez", S({"p5"}), false},
        {"jorg", S({"p8"}), false},
        {"strasse", S({"p7", "p8"}), false},
        {"STRAßE", S({"p7", "p8"}), true},
        {"sm", S({"p1", "p2", "p3", "p5", "p6"}), true},
    };
    for (const Case &c : cases) {
        engine->setOptions({});
        const QStringList exact = find(c.pattern);
        engine->setOptions({true, false});
        EXPECT_EQ(find(c.pattern), c.found) << c.pattern;
        EXPECT_EQ(exact == c.found, c.foundWithAccents) << c.pattern;
    }
}

TEST_F(RKAddressBookTest, PhoneDigitsMatchNumbersWrittenAnyWayOnlyWhenAskedFor)
{
    // p1's phone is "+1 555 0100".
    for (const char *pattern : {"5550100", "(555)0100", "555-0100", "1.555.0100", "+15550100"}) {
        engine->setOptions({});
        EXPECT_EQ(find(pattern), QStringList()) << pattern;
        engine->setOptions({false, true});
        EXPECT_EQ(find(pattern), S({"p1"})) << pattern;
        engine->setOptions({true, true});
        EXPECT_EQ(find(pattern), S({"p1"})) << pattern;
    }
    engine->setOptions({false, true});
    EXPECT_EQ(find("john 5550100"), S({"p1"})) << "a phone word joins the other words";
    EXPECT_EQ(find("55501"), S({"p1"})) << "any run of the number's digits";
    EXPECT_EQ(find("0100a"), QStringList()) << "a letter makes it no phone number";
}

TEST(RKAddressBookNarrowingTest, TypingAnswersAsAFullSearchWouldUnderEveryOption)
{
    TemporaryHome home;
    const QString path = home.path() + QLatin1String("/phones.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const char *const cards[] = {
        "N:Dvořák;Zoë;;;\nTEL:1 2 3 4",    "N:Smith;Ann;;;\nTEL:12-34",
        "N:Süß;Åsa;;;\nTEL:+1 (555) 0134", "N:Strasse;Ole;;;\nTEL:555.01.34\nNOTE:12 sa",
        "N:Zapata;Sam;;;\nNOTE:(555)",
    };
    for (const char *card : cards)
        file.write(QByteArray("BEGIN:VCARD\nVERSION:3.0\n") + card + "\nEND:VCARD\n");
    file.close();
    AddressBook book({path});
    const QString alphabet = QString::fromUtf8("12345 -()+.aåoßsz");
    for (const RKAddressBook::Options options :
         {RKAddressBook::Options{false, false}, RKAddressBook::Options{true, false},
          RKAddressBook::Options{false, true}, RKAddressBook::Options{true, true}}) {
        RKAddressBook typed(book), fresh(book);
        typed.setOptions(options);
        fresh.setOptions(options);
        auto typeAndCompare = [&](const QString &text) {
            for (qsizetype length = 1; length <= text.size(); ++length) {
                const QString pattern = text.left(length);
                fresh.clearCache();
                EXPECT_EQ(ids(typed.personsMatchingPattern(pattern)),
                          ids(fresh.personsMatchingPattern(pattern)))
                    << qPrintable(pattern) << " accents " << options.ignoreAccents << " digits "
                    << options.matchPhoneDigits;
            }
        };
        // "12" is no phone number, "123" is one: Dvořák's "1 2 3 4" joins.
        for (const char *text : {"123", "12-3 z", "(555)0134", "ås süß", "55 5"}) {
            typed.clearCache();
            typeAndCompare(QString::fromUtf8(text));
        }
        QRandomGenerator random(11);
        for (int round = 0; round < 300; ++round) {
            QString text;
            for (int i = 0, length = 1 + random.bounded(7); i < length; ++i)
                text.append(alphabet[random.bounded(int(alphabet.size()))]);
            if (round % 40 == 0)
                typed.clearCache();
            typeAndCompare(text);
        }
    }
}

TEST_F(RKAddressBookTest, RepeatedWordsCountOnce)
{
    EXPECT_EQ(find("smith SMITH smith jo"), find("smith jo"));
    EXPECT_EQ(find("jo jo jo"), find("jo"));
}

TEST_F(RKAddressBookTest, EachAnswerComesWithItsPersonsFoldedNames)
{
    for (const bool ignoreAccents : {false, true}) {
        engine->setOptions({ignoreAccents, false});
        for (const char *pattern : {"s", "sm", "smi", "a", "an", "nordlicht"}) {
            SCOPED_TRACE(pattern);
            const QString text = QString::fromUtf8(pattern);
            const QList<PersonPtr> persons = engine->personsMatchingPattern(text);
            const FoldedNames names = engine->foldedNamesOf(text);
            ASSERT_EQ(names.size(), persons.size());
            for (qsizetype i = 0; i < persons.size(); ++i) {
                QByteArray expected;
                MatchExplanation::appendFoldedName(expected, *persons[i], ignoreAccents);
                EXPECT_EQ(names.at(i).toByteArray(), expected);
            }
        }
    }
    // Folded another way than the next words would be: none.
    engine->personsMatchingPattern(QStringLiteral("jo"));
    engine->setOptions({false, false});
    EXPECT_TRUE(engine->foldedNamesOf(QStringLiteral("jo")).isEmpty());
    EXPECT_TRUE(engine->foldedNamesOf(QStringLiteral("never searched")).isEmpty());
}

TEST_F(RKAddressBookTest, PersonsAreFoundByTheirIds)
{
    engine->updateIndex();
    const QSet<QString> wanted{QStringLiteral("p3"), QStringLiteral("p7"), QStringLiteral("p9")};
    EXPECT_EQ(ids(engine->indexedPersonsWithIds(wanted)), S({"p3", "p7"}));
    EXPECT_TRUE(engine->indexedPersonsWithIds({}).isEmpty());
}
