// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/support/TestProcesses.h"

#include <QRect>

/// What end-to-end tests of the real application share: where its programs are, and how to
/// drive them and look at what they show.
namespace AppDriver {

inline constexpr int Timeout = 15000;
inline const QString Brisko = QStringLiteral(BRISKO_APP_BUNDLE_PATH "/Contents/Linux/Brisko");
inline const QString Ctl = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-ctl");
inline const QString Defaults = QStringLiteral(BRISKO_BINARY_DIR "/bin/brisko-defaults");
inline const QString Domain = QStringLiteral("com.ambertide.Brisko");

/// Runs a tool to its end; its exit code, or -1 when it did not end in time.
inline int run(const QString &program, const QStringList &arguments)
{
    ChildProcess tool(program, arguments);
    return tool.waitForFinished(Timeout) ? tool.exitCode() : -1;
}

/// Posts a control command and waits until the application has carried it out: it handles
/// notifications in the order the bus received them, so the answer to a later ping comes
/// after.
inline bool command(const QString &command)
{
    return run(Ctl, {QStringLiteral("post"), command}) == 0 &&
           run(Ctl, {QStringLiteral("ping")}) == 0;
}

/// Whether the application still answers, once it has handled what reached it before: it
/// answers a ping only after the notifications and key presses that came in earlier.
inline bool caughtUp()
{
    return run(Ctl, {QStringLiteral("ping")}) == 0;
}

/// The visible window named `name`, or nothing.
inline QString visibleWindow(const PrivateDisplay &display, const QString &name)
{
    return display
        .xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')})
        .value_or(QString())
        .section(QLatin1Char('\n'), 0, 0);
}

inline bool searchWindowVisible(const PrivateDisplay &display)
{
    return !visibleWindow(display, QStringLiteral("Brisko")).isEmpty();
}

/// Where `window` lies on the screen, as xdotool reports it; empty when it cannot.
inline QRect windowGeometry(const PrivateDisplay &display, const QString &window)
{
    const auto shell = display.xdotoolOutput(
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    if (!shell)
        return {};
    const auto value = [&](const char *key) {
        for (const QString &line : shell->split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String(key) + QLatin1Char('=')))
                return line.section(QLatin1Char('='), 1).toInt();
        }
        return 0;
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

} // namespace AppDriver
