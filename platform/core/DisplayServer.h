// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Which of Qt's platforms Brisko's windows use. In a Wayland session with XWayland, Brisko
/// and its preferences run as X11 clients: Qt 6.4's Wayland plug-in cannot keep a window above
/// the others, keep it out of the taskbar or set its opacity (xdg-shell has no such requests),
/// nor hold the keyboard while the hot key recorder listens, while KWin honours all of these
/// for X11 windows and focuses the window the hot key shows just as well. Measured on KWin 5.27
/// (see ARCHITECTURE.md). `QT_QPA_PLATFORM` or `-platform` set by the user still win.
namespace DisplayServer {

struct Session
{
    /// QT_QPA_PLATFORM as the user set it.
    QString requestedPlatform;
    /// Whether `-platform` is on the command line.
    bool platformArgument = false;
    /// XDG_SESSION_TYPE.
    QString sessionType;
    bool hasWaylandDisplay = false;
    bool hasX11Display = false;
};

/// The Qt platform to ask for in `session`, or empty to leave Qt's own choice.
QString platformFor(const Session &session);

/// Reads the session from the environment and `argv`, and asks Qt for the chosen platform.
/// Call before the QGuiApplication exists; call `forgetChoice` once it does, so programs
/// Brisko starts (a browser, the preferences) make their own choice.
void choosePlatform(int argc, char **argv);
void forgetChoice();

} // namespace DisplayServer
