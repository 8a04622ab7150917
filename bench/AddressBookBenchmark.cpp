// SPDX-License-Identifier: MIT
// Loading and searching generated address books of 1,000 to 100,000 persons written as a
// folder of vCards, next to the floor: one plain scan of the same persons' text.
#include "addressbook/AddressBook.h"
#include "search/RKAddressBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include <sys/resource.h>

namespace {

const char *const kFirstNames[] = {
    "Amélie",  "Jürgen",    "José",   "Małgorzata", "Søren", "Yuki",     "Siobhán", "Eleni",
    "João",    "Anastasia", "Ayşe",   "Lan",        "Lars",  "John",     "Chinedu", "Layla",
    "Min-jun", "Aino",      "Giulia", "Pieter",     "Tomáš", "Thandiwe", "Björk",   "Fatima",
    "Olivia",  "Mateo",     "Zoë",    "Noah",       "Priya", "Wei",      "Kofi",    "Ingrid"};
const char *const kLastNames[] = {
    "Lefèvre",      "Müller", "Núñez",   "Kowalska", "Øvergård", "Tanaka",    "O'Brien",
    "Papadopoulos", "Silva",  "Ivanova", "Şahin",    "Nguyễn",   "Johansson", "Smith",
    "Okafor",       "Haddad", "Kim",     "Virtanen", "Rossi",    "Berg",      "Dvořák",
    "Mahlangu",     "García", "Ahmed",   "Brown",    "Martin",   "Schmidt",   "Novák",
    "Yilmaz",       "Chen",   "Mensah",  "Larsen"};
const char *const kCities[] = {"Paris",  "Berlin", "Madrid", "Gdańsk",   "Bergen", "Tokyo",
                               "Dublin", "Athens", "Lisboa", "Helsinki", "Roma",   "Praha"};
const char *const kCountries[] = {"France",  "Germany", "Spain",    "Poland",  "Norway", "Japan",
                                  "Ireland", "Greece",  "Portugal", "Finland", "Italy",  "Czechia"};
const char *const kNotes[] = {"Met at the conference in the spring.",
                              "Prefers e-mail to phone calls.", "Birthday in March.",
                              "Orders every Tuesday; call before noon."};

// The surname typed one character at a time in the benchmarks; present in the generated
// book through a share of the persons.
const QString kTypedSurname = QStringLiteral("kowals");
const QString kTwoWords = QStringLiteral("jo sm");

QByteArray generatedCard(QRandomGenerator &random, int index)
{
    auto pick = [&](const auto &list) {
        return QByteArray(list[random.bounded(int(std::size(list)))]);
    };
    QByteArray card =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:bench-" + QByteArray::number(index) + "\r\n";
    const QByteArray first = pick(kFirstNames), last = pick(kLastNames);
    card += "N:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last + "\r\n";
    const int phones = 1 + random.bounded(3);
    static const char *const phoneTypes[] = {"CELL", "HOME", "WORK"};
    for (int i = 0; i < phones; ++i)
        card += QByteArray("TEL;TYPE=") + phoneTypes[i] + ":+" +
                QByteArray::number(10 + random.bounded(89)) + " " +
                QByteArray::number(random.bounded(100000000, 999999999)) + "\r\n";
    const int emails = 1 + random.bounded(2);
    for (int i = 0; i < emails; ++i)
        card += "EMAIL;TYPE=INTERNET:" + first.toLower() + "." + QByteArray::number(index) +
                (i ? "@work.example" : "@mail.example") + "\r\n";
    const int city = random.bounded(int(std::size(kCities)));
    card += "ADR;TYPE=HOME:;;" + QByteArray::number(1 + random.bounded(200)) + " Main Street;" +
            kCities[city] + ";;" + QByteArray::number(10000 + random.bounded(89999)) + ";" +
            kCountries[city] + "\r\n";
    if (random.bounded(4) == 0)
        card += "NOTE:" + pick(kNotes) + "\r\n";
    if (random.bounded(5) == 0)
        card += "ORG:" + pick(kLastNames) + " & Partners\r\nTITLE:Manager\r\n";
    return card + "END:VCARD\r\n";
}

struct Book
{
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<AddressBook> addressBook;
    QList<QString> plainTexts; // each person's searched values, joined (for the floor)
    QString allText;           // the same, one buffer
};

// One generated folder per size, shared by all benchmarks of that size (one file per
// person, as KDE's contacts folder keeps them).
Book &book(int persons)
{
    static std::map<int, Book> books;
    auto it = books.find(persons);
    if (it != books.end())
        return it->second;
    Book &b = books[persons];
    b.folder = std::make_unique<QTemporaryDir>();
    QRandomGenerator random{quint32(persons)};
    for (int i = 0; i < persons; ++i) {
        QFile file(b.folder->path() + QStringLiteral("/%1.vcf").arg(i, 6, 10, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly))
            file.write(generatedCard(random, i));
    }
    b.addressBook = std::make_unique<AddressBook>(QStringList{b.folder->path()});
    for (const PersonPtr &p : b.addressBook->people()) {
        QStringList values = {p->lastName(), p->firstName(), p->middleName(), p->nickname()};
        for (const LabeledValue &a : p->addresses())
            for (const QVariant &v : a.value.toMap())
                values.append(v.toString());
        for (const LabeledValue &v : p->phones() + p->emails())
            values.append(v.value.toString());
        values << p->jobTitle() << p->organization() << p->homePage() << p->note();
        b.plainTexts.append(values.join(QChar(u'\0')));
    }
    b.allText = b.plainTexts.join(QChar(u'\0'));
    return b;
}

void reportMemory(benchmark::State &state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024.0;
}

void BM_LoadFolder(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    for (auto _ : state) {
        auto loaded = std::make_unique<AddressBook>(QStringList{b.folder->path()});
        benchmark::DoNotOptimize(loaded->people().size());
        // Freeing the persons is not part of loading them.
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
    state.counters["persons"] = double(b.addressBook->people().size());
    reportMemory(state);
}

// The engine's first search after a change builds its folded index once.
void BM_IndexAndFirstKeystroke(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    for (auto _ : state) {
        RKAddressBook engine(*b.addressBook);
        benchmark::DoNotOptimize(engine.personsMatchingPattern(QStringLiteral("k")).size());
    }
}

void BM_FirstKeystroke(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.updateIndex();
    for (auto _ : state) {
        engine.clearCache();
        benchmark::DoNotOptimize(engine.personsMatchingPattern(QStringLiteral("k")).size());
    }
}

// Each further keystroke of a six-letter surname, the cache holding the previous ones.
void BM_TypingSurname(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.updateIndex();
    qsizetype matches = 0;
    for (auto _ : state) {
        state.PauseTiming();
        engine.clearCache();
        engine.personsMatchingPattern(kTypedSurname.left(1));
        state.ResumeTiming();
        for (qsizetype n = 2; n <= kTypedSurname.size(); ++n)
            matches = engine.personsMatchingPattern(kTypedSurname.left(n)).size();
    }
    state.counters["keystrokes"] = double(kTypedSurname.size() - 1);
    state.counters["matches"] = double(matches);
}

void BM_TwoWordPattern(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.updateIndex();
    qsizetype matches = 0;
    for (auto _ : state) {
        engine.clearCache();
        matches = engine.personsMatchingPattern(kTwoWords).size();
    }
    state.counters["matches"] = double(matches);
}

void BM_BackspaceFromCache(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    for (qsizetype n = 1; n <= kTypedSurname.size(); ++n)
        engine.personsMatchingPattern(kTypedSurname.left(n));
    const QString shorter = kTypedSurname.chopped(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.personsMatchingPattern(shorter).size());
}

// The floor: one plain pass over every person's text for the same one-character word, with
// nothing cached and nothing allocated; once per person (as a search must answer per person)
// and once over a single buffer.
void BM_FloorScanPerPerson(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    const QString word = QStringLiteral("k");
    for (auto _ : state) {
        qsizetype hits = 0;
        for (const QString &text : std::as_const(b.plainTexts))
            hits += QStringView(text).contains(word) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    reportMemory(state);
}

// The floor of the typing benchmark: one plain scan of everyone for each of its words.
void BM_FloorTypingSurname(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    for (auto _ : state) {
        qsizetype hits = 0;
        for (qsizetype n = 2; n <= kTypedSurname.size(); ++n) {
            const QStringView word = QStringView(kTypedSurname).left(n);
            for (const QString &text : std::as_const(b.plainTexts))
                hits += QStringView(text).contains(word) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
}

void BM_FloorTwoWords(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    for (auto _ : state) {
        qsizetype hits = 0;
        for (const QString &text : std::as_const(b.plainTexts))
            hits += QStringView(text).contains(u"jo") && QStringView(text).contains(u"sm") ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
}

void BM_FloorScanCaseInsensitive(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    const QString word = QStringLiteral("k");
    for (auto _ : state) {
        qsizetype hits = 0;
        for (const QString &text : std::as_const(b.plainTexts))
            hits += text.contains(word, Qt::CaseInsensitive) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
}

void BM_FloorScanOneBuffer(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    const QString word = QStringLiteral("k");
    for (auto _ : state)
        benchmark::DoNotOptimize(QStringView(b.allText).count(word));
}

#define BRISKO_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_LoadFolder) BRISKO_SIZES->Iterations(3);
BENCHMARK(BM_IndexAndFirstKeystroke) BRISKO_SIZES;
BENCHMARK(BM_FirstKeystroke) BRISKO_SIZES;
BENCHMARK(BM_TypingSurname) BRISKO_SIZES;
BENCHMARK(BM_TwoWordPattern) BRISKO_SIZES;
BENCHMARK(BM_BackspaceFromCache) BRISKO_SIZES;
BENCHMARK(BM_FloorScanPerPerson) BRISKO_SIZES;
BENCHMARK(BM_FloorTypingSurname) BRISKO_SIZES;
BENCHMARK(BM_FloorTwoWords) BRISKO_SIZES;
BENCHMARK(BM_FloorScanCaseInsensitive) BRISKO_SIZES;
BENCHMARK(BM_FloorScanOneBuffer) BRISKO_SIZES;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
