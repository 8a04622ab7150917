// SPDX-License-Identifier: MIT
// Loading and searching generated address books of 1,000 to 100,000 persons written as a
// folder of vCards, next to the floor: one plain scan of the same persons' text.
#include "app/controller/MatchOrdering.h"
#include "app/controller/MatchesTableModel.h"
#include "app/search/RKAddressBook.h"
#include "app/search/RelevanceOrder.h"
#include "bench/GeneratedBook.h"
#include "platform/addressbook/AddressBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

// The surname typed one character at a time in the benchmarks; present in the generated
// book through a share of the persons.
const QString kTypedSurname = QStringLiteral("kowals");
const QString kTwoWords = QStringLiteral("jo sm");

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
            file.write(GeneratedBook::card(random, i, "bench-" + QByteArray::number(i)));
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

// range(1) of the search benchmarks: 0 both options off, 1 IgnoreAccents, 2 MatchPhoneDigits,
// 3 both on.
RKAddressBook::Options optionsOf(const benchmark::State &state)
{
    const int64_t bits = state.range(1);
    return {(bits & 1) != 0, (bits & 2) != 0};
}

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
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
        engine.setOptions(optionsOf(state));
        benchmark::DoNotOptimize(engine.personsMatchingPattern(QStringLiteral("k")).size());
    }
}

void BM_FirstKeystroke(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
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
    engine.setOptions(optionsOf(state));
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

// A phone number typed digit by digit, the way MatchPhoneDigits is used.
void BM_TypingPhoneNumber(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
    engine.updateIndex();
    const QString number = QStringLiteral("(555)-12");
    for (auto _ : state) {
        engine.clearCache();
        for (qsizetype n = 1; n <= number.size(); ++n)
            benchmark::DoNotOptimize(engine.personsMatchingPattern(number.left(n)).size());
    }
}

// Text pasted into the field: thousands of words, then the same word thousands of times.
void BM_PastedWords(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
    engine.updateIndex();
    QStringList distinct;
    QRandomGenerator random(3);
    for (int i = 0; i < 3000; ++i)
        distinct.append(QString::number(random.bounded(100, 100000)));
    const QString pasted = distinct.join(QLatin1Char(' '));
    const QString repeated = QStringLiteral("smith ").repeated(3000);
    for (auto _ : state) {
        engine.clearCache();
        benchmark::DoNotOptimize(engine.personsMatchingPattern(pasted).size());
        benchmark::DoNotOptimize(engine.personsMatchingPattern(repeated).size());
    }
    state.counters["words"] = 6000;
}

// What one person costs to keep: persons and search index, as resident memory.
void BM_ResidentPerPerson(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    for (auto _ : state) {
        const qint64 before = residentBytes();
        auto loaded = std::make_unique<AddressBook>(QStringList{b.folder->path()});
        RKAddressBook engine(*loaded);
        engine.updateIndex();
        state.counters["bytes_per_person"] =
            double(residentBytes() - before) / double(loaded->people().size());
    }
}

// A large single-file address book changed by another program: the read, the swap and the
// new index happen while the main thread keeps ticking every millisecond; the longest gap
// between two ticks is how long the window would not answer.
void BM_ReloadLargeFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.vcf"));
    const qint64 bytes = GeneratedBook::writeFile(path, state.range(0) << 20, 7);
    AddressBook addressBook({path}, AddressBook::Loading::Now);
    RKAddressBook engine(addressBook);
    engine.updateIndex();
    QObject::connect(&addressBook, &AddressBook::databaseChangedExternally, &engine,
                     &RKAddressBook::updateIndexInBackground);
    double longestGap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(GeneratedBook::card(*QRandomGenerator::global(), 0, "late"));
        file.close();
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0;
        bool indexIn = false;
        QObject context;
        QObject::connect(&engine, &RKAddressBook::indexChanged, &context, [&] { indexIn = true; });
        addressBook.reloadInBackground();
        while (!indexIn) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            const qint64 now = clock.nsecsElapsed();
            longestGap = std::max(longestGap, double(now - lastTick) / 1e6);
            lastTick = now;
        }
        benchmark::DoNotOptimize(engine.personsMatchingPattern(QStringLiteral("late")).size());
    }
    state.counters["file_MiB"] = double(bytes) / (1 << 20);
    state.counters["persons"] = double(addressBook.people().size());
    state.counters["longest_main_thread_gap_ms"] = longestGap;
    reportMemory(state);
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

// Ordering by relevance, on top of the search: one look at each match's name. range(1) as for
// the search; every 2,000th person of the book counts as picked.
RelevanceOrder::PickScores picksOf(const Book &b)
{
    RelevanceOrder::PickScores picks;
    const QList<PersonPtr> people = b.addressBook->people();
    for (qsizetype i = 0; i < people.size(); i += 2000)
        picks.insert(people[i].get(), 1.0 + double(i % 7));
    return picks;
}

void BM_RelevanceOrderFirstKeystroke(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
    engine.updateIndex();
    const QString pattern = QStringLiteral("k");
    const QList<PersonPtr> matches = engine.personsMatchingPattern(pattern);
    const RelevanceOrder::PickScores picks = picksOf(b);
    // As the controller does: the names from the index, the order, the list in it.
    for (auto _ : state) {
        const FoldedNames names = engine.foldedNamesOf(pattern);
        const std::vector<qsizetype> positions =
            RelevanceOrder::order(matches, names, pattern, engine.options(), picks);
        benchmark::DoNotOptimize(RelevanceOrder::inOrder(matches, positions).size());
        benchmark::DoNotOptimize(names.reordered(positions).size());
    }
    state.counters["matches"] = double(matches.size());
}

// The orders of the five further keystrokes of "kowals", from their searches' results.
void BM_RelevanceOrderTypingSurname(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
    engine.updateIndex();
    std::vector<std::pair<QString, QList<PersonPtr>>> results;
    for (qsizetype length = 2; length <= kTypedSurname.size(); ++length) {
        const QString pattern = kTypedSurname.left(length);
        results.emplace_back(pattern, engine.personsMatchingPattern(pattern));
    }
    const RelevanceOrder::PickScores picks = picksOf(b);
    for (auto _ : state) {
        for (const auto &[pattern, matches] : results) {
            // The surname's prefixes are all in the engine's cache, as while typing.
            const FoldedNames names = engine.foldedNamesOf(pattern);
            const std::vector<qsizetype> positions =
                RelevanceOrder::order(matches, names, pattern, engine.options(), picks);
            benchmark::DoNotOptimize(RelevanceOrder::inOrder(matches, positions).size());
        }
    }
}

// Finding the picked persons among all, once per new index: a history of 50 persons.
void BM_FindPickedPersons(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/pick-history.json");
    {
        PickHistory history(path);
        const QList<PersonPtr> people = b.addressBook->people();
        for (qsizetype i = 0; i < people.size() && i < 50 * 1000; i += 1000)
            history.recordPick(people[i]->uniqueId());
    }
    MatchOrdering ordering(path);
    RKAddressBook engine(*b.addressBook);
    engine.updateIndex();
    for (auto _ : state) {
        ordering.personsChanged(
            [&engine](const QSet<QString> &ids) { return engine.indexedPersonsWithIds(ids); });
        benchmark::DoNotOptimize(ordering.pickScores().size());
    }
    state.counters["picked"] = double(ordering.pickScores().size());
}

// What laying out the list of a first keystroke asks of each row: whether it has a second line.
void BM_ListRowsOfFirstKeystroke(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    RKAddressBook engine(*b.addressBook);
    engine.setOptions(optionsOf(state));
    engine.updateIndex();
    const QList<PersonPtr> matches = engine.personsMatchingPattern(QStringLiteral("k"));
    MatchesTableModel model;
    int twoLines = 0;
    for (auto _ : state) {
        model.reloadData(matches, QStringLiteral("k"), engine.options(),
                         engine.foldedNamesOf(QStringLiteral("k")));
        twoLines = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            twoLines += model.rowHasDetail(row);
        benchmark::DoNotOptimize(twoLines);
    }
    state.counters["matches"] = double(matches.size());
    state.counters["two_lines"] = double(twoLines);
}

void BM_FloorScanOneBuffer(benchmark::State &state)
{
    Book &b = book(int(state.range(0)));
    const QString word = QStringLiteral("k");
    for (auto _ : state)
        benchmark::DoNotOptimize(QStringView(b.allText).count(word));
}

#define BRISKO_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
// Every size with both options off and both on; each option alone at the largest size.
#define BRISKO_SIZES_AND_OPTIONS                                                                   \
    ->ArgsProduct({{1000, 10000, 100000}, {0, 3}})                                                 \
        ->Args({100000, 1})                                                                        \
        ->Args({100000, 2})                                                                        \
        ->Unit(benchmark::kMillisecond)

BENCHMARK(BM_ResidentPerPerson)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFolder) BRISKO_SIZES->Iterations(3);
BENCHMARK(BM_IndexAndFirstKeystroke) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_FirstKeystroke) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_TypingSurname) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_TypingPhoneNumber)
    ->Args({100000, 0})
    ->Args({100000, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoWordPattern) BRISKO_SIZES;
BENCHMARK(BM_PastedWords)->Args({100000, 0})->Args({100000, 3})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackspaceFromCache) BRISKO_SIZES;
BENCHMARK(BM_FloorScanPerPerson) BRISKO_SIZES;
BENCHMARK(BM_FloorTypingSurname) BRISKO_SIZES;
BENCHMARK(BM_FloorTwoWords) BRISKO_SIZES;
BENCHMARK(BM_FloorScanCaseInsensitive) BRISKO_SIZES;
BENCHMARK(BM_FloorScanOneBuffer) BRISKO_SIZES;
BENCHMARK(BM_RelevanceOrderFirstKeystroke) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_RelevanceOrderTypingSurname) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_ListRowsOfFirstKeystroke) BRISKO_SIZES_AND_OPTIONS;
BENCHMARK(BM_FindPickedPersons) BRISKO_SIZES;
// Megabytes of vCard text; last, as its file is the largest thing in memory.
BENCHMARK(BM_ReloadLargeFile)->Arg(200)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
