// SPDX-License-Identifier: MIT
// Loading 10,000 contacts from Evolution Data Server next to loading the same cards as
// 10,000 files, in one run. The services are the real ones, on a private bus with a private
// home under BRISKO_BENCH_DIR (kept between runs, as adding the contacts takes a while).
#include "bench/GeneratedBook.h"
#include "tests/e2e/support/PrivateEds.h"

#include "platform/addressbook/AddressBook.h"
#include "platform/addressbook/eds/EdsAddressBookSource.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kPersons = 10000;

struct Setup
{
    QString files;
    std::unique_ptr<PrivateEds> eds;
    QString failure;
};

Setup &setup()
{
    static Setup setup = [] {
        Setup s;
        const QString home = GeneratedBook::benchFolder() + QStringLiteral("/eds-home");
        for (const char *folder : {".config", ".local/share", ".cache", ".run"})
            QDir().mkpath(home + QLatin1Char('/') + QLatin1String(folder));
        QFile::setPermissions(home + QStringLiteral("/.run"), QFileDevice::ReadOwner |
                                                                  QFileDevice::WriteOwner |
                                                                  QFileDevice::ExeOwner);
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
        qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", (home + QStringLiteral("/.run")).toUtf8());
        if (const QString missing = PrivateEds::missingReason(); !missing.isEmpty()) {
            s.failure = missing;
            return s;
        }
        s.eds = std::make_unique<PrivateEds>();
        if (!s.eds->isRunning()) {
            s.failure = QStringLiteral("no source registry: ") + s.eds->error();
            return s;
        }
        // The same cards, made from the same seed, as files and in the built-in book.
        s.files = GeneratedBook::benchFolder() + QStringLiteral("/folder-10000");
        const QString complete = home + QStringLiteral("/.complete");
        if (!QFileInfo::exists(complete)) {
            QDir(s.files).removeRecursively();
            GeneratedBook::writeFolder(s.files, kPersons, 21);
            QRandomGenerator random(21);
            QList<QByteArray> batch;
            for (int i = 0; i < kPersons; ++i) {
                const QByteArray uid = GeneratedBook::uuid(random);
                batch.append(GeneratedBook::card(random, i, uid));
                if (batch.size() == 500 || i == kPersons - 1) {
                    if (!s.eds->add(batch)) {
                        s.failure = QStringLiteral("adding contacts: ") + s.eds->error();
                        return s;
                    }
                    batch.clear();
                }
            }
            QFile(complete).open(QIODevice::WriteOnly);
        }
        return s;
    }();
    return setup;
}

// Times `load` (which answers the address book it made) and reports how many persons it read.
template <typename Load>
void measureLoads(benchmark::State &state, Load load)
{
    Setup &s = setup();
    if (!s.failure.isEmpty()) {
        state.SkipWithError(qPrintable(s.failure));
        return;
    }
    qsizetype persons = 0;
    for (auto _ : state) {
        std::unique_ptr<AddressBook> loaded = load(s);
        persons = loaded->people().size();
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
    state.counters["persons"] = double(persons);
}

void BM_LoadFromEds(benchmark::State &state)
{
    // From connecting to the registry to every person read and sorted; no vCard folder in
    // this home, so the store is all there is.
    measureLoads(state, [](const Setup &) {
        return std::make_unique<AddressBook>(std::make_unique<EdsAddressBookSource>(60000),
                                             QStringList{}, AddressBook::Loading::Now);
    });
}

void BM_LoadSameCardsAsFiles(benchmark::State &state)
{
    measureLoads(
        state, [](const Setup &s) { return std::make_unique<AddressBook>(QStringList{s.files}); });
}

// Alternating, so both see the same load on the machine.
BENCHMARK(BM_LoadFromEds)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSameCardsAsFiles)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromEds)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSameCardsAsFiles)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
