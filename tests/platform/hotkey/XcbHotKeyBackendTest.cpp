// SPDX-License-Identifier: MIT
#include "platform/hotkey/xcb/XcbHotKeyBackend.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <xcb/xproto.h>

namespace {

TEST(XcbHotKeyBackend, WithoutAnXServerItSaysSoAndRefusesEverything)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "this case needs a platform without X11 (the unit tests run offscreen)";
    XcbHotKeyBackend backend;
    EXPECT_FALSE(backend.isAvailable());
    EXPECT_TRUE(backend.unavailableReason().contains(QLatin1String("X11 (XWayland)")));
    EXPECT_EQ(backend.registerHotKey(49, 0x1800, {0x484B7943, 1}), 0u);
    backend.unregisterHotKey(1);
}

TEST(XcbHotKeyBackend, CarbonFlagsMapToTheLinuxModifiers)
{
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0x0100), XCB_MOD_MASK_4);
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0x0200), XCB_MOD_MASK_SHIFT);
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0x0800), XCB_MOD_MASK_1);
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0x1000), XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0), 0);
    // "Every flag" (-1) means all four, and nothing the lock keys use.
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(-1),
              XCB_MOD_MASK_4 | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1 | XCB_MOD_MASK_CONTROL);
    EXPECT_EQ(XcbHotKeyBackend::x11ModifiersForFlags(0x00FF | 0x0400 | 0xE000), 0);
}

} // namespace
