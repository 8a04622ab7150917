// SPDX-License-Identifier: MIT
// `Brisko --search` over generated address books next to `rg -il` (ripgrep) and `grep -ril`
// over the same files, each iteration running them one after the other, so that their ratios
// are taken under the same load. BRISKO_BASELINE names another Brisko program (an earlier
// build) to run beside them; BRISKO_BENCH_DIR keeps the generated books between runs.
#include "bench/GeneratedBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Run
{
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs a program with its output thrown away, or written to `output`; its wall time and peak
// resident memory.
Run run(const QStringList &command, const QByteArray &output = "/dev/null")
{
    std::vector<QByteArray> arguments;
    for (const QString &argument : command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    Run result;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            result.seconds = double(clock.nsecsElapsed()) / 1e9;
            result.peakMiB = double(usage.ru_maxrss) / 1024.0;
            // grep and rg answer 1 when nothing matched, which is no failure here.
            result.ok = WIFEXITED(status) && WEXITSTATUS(status) <= 1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

QByteArray readAll(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The mean wall time and the highest peak of one program's runs.
struct Tally
{
    double seconds = 0;
    double peakMiB = 0;
    int runs = 0;

    bool add(const Run &run)
    {
        seconds += run.seconds;
        peakMiB = std::max(peakMiB, run.peakMiB);
        ++runs;
        return run.ok;
    }
    double mean() const { return runs ? seconds / runs : 0; }
};

void compare(benchmark::State &state, const QString &book, const QString &pattern)
{
    const QString baseline = qEnvironmentVariable("BRISKO_BASELINE");
    if (QStandardPaths::findExecutable(QStringLiteral("rg")).isEmpty()) {
        state.SkipWithError("ripgrep is not installed (apt-get install ripgrep)");
        return;
    }
    const QStringList query = {QStringLiteral("--address-book"), book, QStringLiteral("--search"),
                               pattern};
    // With a baseline, both answers are kept: the same matches must come out.
    QTemporaryDir outputs;
    const QByteArray nowOutput = QFile::encodeName(outputs.filePath(QStringLiteral("now")));
    const QByteArray oldOutput = QFile::encodeName(outputs.filePath(QStringLiteral("old")));
    const QStringList rgCommand = {QStringLiteral("rg"), QStringLiteral("-il"), pattern, book};
    const QStringList grepCommand = {QStringLiteral("grep"), QStringLiteral("-ril"), pattern, book};
    // Once each before timing: the first to run would otherwise pay for filling the caches.
    run(QStringList{GeneratedBook::briskoProgram()} + query);
    run(rgCommand);
    run(grepCommand);
    if (!baseline.isEmpty())
        run(QStringList{baseline} + query);
    Tally brisko, rg, grep, old;
    for (auto _ : state) {
        const Run now = run(QStringList{GeneratedBook::briskoProgram()} + query, nowOutput);
        const bool ok =
            brisko.add(now) && rg.add(run(rgCommand)) && grep.add(run(grepCommand)) &&
            (baseline.isEmpty() || old.add(run(QStringList{baseline} + query, oldOutput)));
        if (!ok) {
            state.SkipWithError("a program failed");
            return;
        }
        if (!baseline.isEmpty() && readAll(nowOutput) != readAll(oldOutput)) {
            state.SkipWithError("the baseline printed other matches");
            return;
        }
        state.SetIterationTime(now.seconds);
    }
    state.counters["brisko_s"] = brisko.mean();
    state.counters["rg_s"] = rg.mean();
    state.counters["grep_s"] = grep.mean();
    state.counters["brisko_over_rg"] = brisko.mean() / rg.mean();
    state.counters["brisko_over_grep"] = brisko.mean() / grep.mean();
    state.counters["matches"] = double(readAll(nowOutput).count('\n'));
    state.counters["brisko_peak_MiB"] = brisko.peakMiB;
    state.counters["rg_peak_MiB"] = rg.peakMiB;
    state.counters["grep_peak_MiB"] = grep.peakMiB;
    if (!baseline.isEmpty()) {
        state.counters["baseline_s"] = old.mean();
        state.counters["baseline_over_rg"] = old.mean() / rg.mean();
        state.counters["baseline_peak_MiB"] = old.peakMiB;
    }
}

void BM_SearchFolderOfOneFilePerPerson(benchmark::State &state)
{
    compare(state, GeneratedBook::folderBook(), QStringLiteral("smith"));
}

// A fifth of the files folded, in quoted-printable or in UTF-16.
void BM_SearchMixedFolder(benchmark::State &state)
{
    compare(state, GeneratedBook::mixedFolderBook(), QStringLiteral("smith"));
}

void BM_SearchLargeFile(benchmark::State &state)
{
    const QString book = GeneratedBook::fileBook();
    compare(state, book, QStringLiteral("smith"));
    state.counters["file_MiB"] = double(QFileInfo(book).size()) / (1 << 20);
}

BENCHMARK(BM_SearchFolderOfOneFilePerPerson)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchMixedFolder)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLargeFile)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
