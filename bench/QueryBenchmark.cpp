// SPDX-License-Identifier: MIT
// `Brisko --search` over generated address books next to `grep -ril` over the same files,
// each iteration running both one after the other, so that their ratio is taken under the
// same load. BRISKO_BASELINE names another Brisko program (an earlier build) to run beside
// them; BRISKO_BENCH_DIR keeps the generated books between runs.
#include "GeneratedBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

// Runs a program with its output thrown away; its wall time and peak resident memory.
Run run(const QStringList &command)
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
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
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
            // grep answers 1 when nothing matched, which is no failure here.
            result.ok = WIFEXITED(status) && WEXITSTATUS(status) <= 1;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

void compare(benchmark::State &state, const QString &book, const QString &pattern)
{
    const QString baseline = qEnvironmentVariable("BRISKO_BASELINE");
    const QStringList query = {QStringLiteral("--address-book"), book, QStringLiteral("--search"),
                               pattern};
    double brisko = 0, grep = 0, old = 0, briskoPeak = 0, grepPeak = 0, oldPeak = 0;
    for (auto _ : state) {
        const Run now = run(QStringList{GeneratedBook::briskoProgram()} + query);
        const Run floor = run({QStringLiteral("grep"), QStringLiteral("-ril"), pattern, book});
        if (!now.ok || !floor.ok) {
            state.SkipWithError("a program failed");
            return;
        }
        brisko += now.seconds;
        grep += floor.seconds;
        briskoPeak = std::max(briskoPeak, now.peakMiB);
        grepPeak = std::max(grepPeak, floor.peakMiB);
        if (!baseline.isEmpty()) {
            const Run before = run(QStringList{baseline} + query);
            old += before.seconds;
            oldPeak = std::max(oldPeak, before.peakMiB);
        }
        state.SetIterationTime(now.seconds);
    }
    const double n = double(state.iterations());
    state.counters["brisko_s"] = brisko / n;
    state.counters["grep_s"] = grep / n;
    state.counters["brisko_over_grep"] = brisko / grep;
    state.counters["brisko_peak_MiB"] = briskoPeak;
    state.counters["grep_peak_MiB"] = grepPeak;
    if (!baseline.isEmpty()) {
        state.counters["baseline_s"] = old / n;
        state.counters["baseline_over_grep"] = old / grep;
        state.counters["baseline_peak_MiB"] = oldPeak;
    }
}

void BM_SearchFolderOfOneFilePerPerson(benchmark::State &state)
{
    compare(state, GeneratedBook::folderBook(), QStringLiteral("smith"));
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
BENCHMARK(BM_SearchLargeFile)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace
