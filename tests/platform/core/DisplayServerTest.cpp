// SPDX-License-Identifier: MIT
#include "platform/core/DisplayServer.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayServer, AWaylandSessionWithXWaylandRunsBriskoAsAnX11ClientUnlessTheUserChose)
{
    using DisplayServer::Session;
    const struct
    {
        Session session;
        const char *platform;
    } cases[] = {
        {{{}, false, QStringLiteral("wayland"), true, true}, "xcb"},
        // A session that did not say its type, but whose compositor is there.
        {{{}, false, {}, true, true}, "xcb"},
        // No XWayland: the Wayland plug-in it is.
        {{{}, false, QStringLiteral("wayland"), true, false}, ""},
        {{{}, false, QStringLiteral("x11"), false, true}, ""},
        {{QStringLiteral("wayland"), false, QStringLiteral("wayland"), true, true}, ""},
        {{{}, true, QStringLiteral("wayland"), true, true}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DisplayServer::platformFor(c.session), QLatin1String(c.platform))
            << qPrintable(c.session.sessionType) << " wayland=" << c.session.hasWaylandDisplay
            << " x11=" << c.session.hasX11Display << " requested "
            << qPrintable(c.session.requestedPlatform) << " argument "
            << c.session.platformArgument;
}

} // namespace
