// SPDX-License-Identifier: MIT
#include "platform/core/DisplayServer.h"

#include <cstring>

namespace DisplayServer {

namespace {

bool chosen = false;

} // namespace

QString platformFor(const Session &session)
{
    if (!session.requestedPlatform.isEmpty() || session.platformArgument)
        return {};
    const bool wayland =
        session.hasWaylandDisplay || session.sessionType == QLatin1String("wayland");
    return wayland && session.hasX11Display ? QStringLiteral("xcb") : QString();
}

void choosePlatform(int argc, char **argv)
{
    Session session;
    session.requestedPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            session.platformArgument = true;
    }
    session.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    session.hasWaylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    session.hasX11Display = !qEnvironmentVariableIsEmpty("DISPLAY");
    const QString platform = platformFor(session);
    if (platform.isEmpty())
        return;
    qputenv("QT_QPA_PLATFORM", platform.toLatin1());
    chosen = true;
}

void forgetChoice()
{
    if (chosen)
        qunsetenv("QT_QPA_PLATFORM");
    chosen = false;
}

} // namespace DisplayServer
