// SPDX-License-Identifier: MIT
// The application launched on a private X server and session bus with a large address book:
// how soon its hot key is taken and "AppDidLaunch" is posted, how soon a press 0.2 s after
// the start shows the search window, what it holds in memory once the contacts are in, and
// how long a ping waits behind a flood of "Refresh". BRISKO_BASELINE names another Brisko
// program to launch the same way; BRISKO_BENCH_DIR keeps the generated books between runs.
#include "bench/GeneratedBook.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/e2e/support/TestProcesses.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Whether a window named "Brisko" is mapped on the display: the search window.
bool searchWindowShown(xcb_connection_t *connection, xcb_window_t root)
{
    bool shown = false;
    xcb_query_tree_reply_t *tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !shown; ++i) {
        xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, children[i]), nullptr);
        const bool mapped = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!mapped)
            continue;
        xcb_get_property_reply_t *name = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, children[i], XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 64),
            nullptr);
        shown = name && xcb_get_property_value_length(name) == 6 &&
                std::memcmp(xcb_get_property_value(name), "Brisko", 6) == 0;
        std::free(name);
    }
    std::free(tree);
    return shown;
}

qint64 statusKiB(qint64 pid, const char *field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Session
{
    PrivateSessionBus bus;
    PrivateDisplay display;
};

Session &session()
{
    static Session shared;
    return shared;
}

void launch(benchmark::State &state, const QString &program, const QString &book)
{
    Session &s = session();
    if (!s.bus.isRunning() || !s.display.isRunning()) {
        state.SkipWithError("no private bus or X server");
        return;
    }
    xcb_connection_t *connection =
        xcb_connect(s.display.display().toLocal8Bit().constData(), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    DistributedNotificationCenter center;
    double grabbed = 0, launched = 0, pressToShown = 0, contactsIn = 0, rss = 0, peak = 0, ping = 0;
    int lostPresses = 0;
    for (auto _ : state) {
        QTemporaryDir home;
        QProcessEnvironment environment = s.display.environment();
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(name), home.path());
        environment.insert(QStringLiteral("BRISKO_ADDRESS_BOOK"), book);
        environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                           QStringLiteral("brisko.launch.info=true"));
        QFile settings(home.path() + QStringLiteral("/com.ambertide.Brisko.plist"));
        settings.open(QIODevice::WriteOnly);
        settings.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">"
                       "<dict><key>ShowSplash</key><false/></dict></plist>\n");
        settings.close();

        double hotKeyAt = -1, launchedAt = -1, shownAt = -1, contactsAt = -1, pressedAt = -1;
        QElapsedTimer clock;
        QObject context;
        center.addObserver(&context, ControlCommands::NotificationName,
                           ControlCommands::AppDidLaunch, [&](const DistributedNotification &) {
                               if (launchedAt < 0)
                                   launchedAt = double(clock.nsecsElapsed()) / 1e6;
                           });
        center.flush();
        QProcess app;
        app.setProcessEnvironment(environment);
        QByteArray errors;
        QObject::connect(&app, &QProcess::readyReadStandardError, [&] {
            errors += app.readAllStandardError();
            const double now = double(clock.nsecsElapsed()) / 1e6;
            if (hotKeyAt < 0 && errors.contains("hot key registered"))
                hotKeyAt = now;
            if (contactsAt < 0 && errors.contains("contacts in"))
                contactsAt = now;
        });
        clock.start();
        app.start(program, QStringList());

        // The user presses the hot key 0.2 s after the start.
        while (clock.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Measured from before xdotool starts, so the figure includes xdotool's own start.
        pressedAt = double(clock.nsecsElapsed()) / 1e6;
        s.display.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")});
        while (clock.elapsed() < 15000 && (shownAt < 0 || launchedAt < 0)) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (shownAt < 0 && searchWindowShown(connection, root))
                shownAt = double(clock.nsecsElapsed()) / 1e6;
        }
        // Once the contacts are in (the earlier program says nothing: its launch waits for
        // them), the memory it keeps.
        while (clock.elapsed() < 60000 && contactsAt < 0 && hotKeyAt >= 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(500);
        rss = std::max(rss, double(statusKiB(app.processId(), "VmRSS:")) / 1024.0);
        peak = std::max(peak, double(statusKiB(app.processId(), "VmHWM:")) / 1024.0);

        // A flood of Refresh, then a ping: how long the ping waits.
        bool answered = false;
        for (int i = 0; i < 5000; ++i)
            center.postNotification(ControlCommands::NotificationName, ControlCommands::Refresh);
        center.flush();
        QElapsedTimer pingClock;
        pingClock.start();
        center.addObserver(&context, ControlCommands::NotificationName,
                           ControlCommands::AppDidLaunch,
                           [&](const DistributedNotification &) { answered = true; });
        center.postNotification(ControlCommands::NotificationName,
                                ControlCommands::ControlDidStart);
        while (!answered && pingClock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        ping = std::max(ping, double(pingClock.nsecsElapsed()) / 1e6);

        center.postNotification(ControlCommands::NotificationName, ControlCommands::Shutdown);
        center.flush();
        if (!app.waitForFinished(10000)) {
            app.kill();
            app.waitForFinished(5000);
        }
        center.removeObservers(&context);

        grabbed += hotKeyAt;
        launched += launchedAt;
        contactsIn += contactsAt;
        if (shownAt < 0)
            ++lostPresses;
        else
            pressToShown += shownAt - pressedAt;
        state.SetIterationTime(launchedAt / 1000.0);
    }
    xcb_disconnect(connection);
    const double n = double(state.iterations());
    state.counters["start_to_hot_key_ms"] = grabbed / n;
    state.counters["start_to_AppDidLaunch_ms"] = launched / n;
    state.counters["start_to_contacts_in_ms"] = contactsIn / n;
    state.counters["press_at_200ms_to_window_ms"] =
        lostPresses == int(n) ? -1 : pressToShown / (n - lostPresses);
    state.counters["presses_lost"] = lostPresses;
    state.counters["rss_MiB"] = rss;
    state.counters["peak_rss_MiB"] = peak;
    state.counters["ping_after_5000_refresh_ms"] = ping;
}

void BM_LaunchWithFolder(benchmark::State &state)
{
    launch(state, GeneratedBook::briskoProgram(), GeneratedBook::folderBook());
}

void BM_LaunchWithLargeFile(benchmark::State &state)
{
    const QString book = GeneratedBook::fileBook();
    launch(state, GeneratedBook::briskoProgram(), book);
    state.counters["file_MiB"] = double(QFileInfo(book).size()) / (1 << 20);
}

void BM_BaselineLaunchWithFolder(benchmark::State &state)
{
    const QString baseline = qEnvironmentVariable("BRISKO_BASELINE");
    if (baseline.isEmpty()) {
        state.SkipWithError("BRISKO_BASELINE names no program");
        return;
    }
    launch(state, baseline, GeneratedBook::folderBook());
}

BENCHMARK(BM_LaunchWithFolder)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineLaunchWithFolder)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaunchWithLargeFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
