// SPDX-License-Identifier: MIT
#pragma once

#include "support/TestProcesses.h"

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

inline bool searchWindowVisible(const PrivateDisplay &display)
{
    ChildProcess search(QStringLiteral("xdotool"),
                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), QStringLiteral("^Brisko$")},
                        display.environment());
    return search.waitForFinished(Timeout) && search.exitCode() == 0;
}

} // namespace AppDriver
