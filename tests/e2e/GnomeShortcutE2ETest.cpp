// SPDX-License-Identifier: MIT
// The real application in a GNOME Wayland session without global shortcuts, with GNOME's real
// settings store (dconf) on a private bus and home.
#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/gnome/GnomeCustomShortcut.h"
#include "tests/e2e/support/AppDriver.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AppDriver;

QString binding()
{
    ChildProcess tool(QStringLiteral("gsettings"),
                      {QStringLiteral("get"),
                       QStringLiteral("org.gnome.settings-daemon.plugins.media-keys."
                                      "custom-keybinding:") +
                           GnomeCustomShortcut::Path,
                       QStringLiteral("binding")});
    return tool.waitForFinished(Timeout) ? tool.remainingOutput().trimmed() : QString();
}

TEST(GnomeShortcutE2ETest, TheApplicationTellsWhereToAddItsKeyThenKeepsTheEntryInStep)
{
    TemporaryHome home;
    QDir().mkpath(home.runtimeDir());
    ASSERT_FALSE(PrivateSessionBus::machineServiceFiles(QStringLiteral("ca.desrt.dconf")).isEmpty())
        << "dconf is not installed (package dconf-service)";
    PrivateSessionBus bus({QStringLiteral("ca.desrt.dconf")});
    ASSERT_TRUE(bus.isRunning());
    qputenv("GSETTINGS_BACKEND", "dconf");
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    qputenv("XDG_SESSION_TYPE", "wayland");
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("ShowSplash"),
                             QStringLiteral("-bool"), QStringLiteral("NO")}),
              0);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No compositor is needed for what is checked here.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("BRISKO_HOTKEY_BACKEND"), QStringLiteral("x11"));

    {
        ChildProcess app(Brisko, {}, environment);
        EXPECT_TRUE(app.waitForError(QStringLiteral("needs GNOME's keyboard settings"), Timeout))
            << qPrintable(app.standardError());
    }
    ASSERT_TRUE(GnomeCustomShortcut::install(QStringLiteral("CTRL+ALT+space"),
                                             QStringLiteral("brisko-ctl show")));
    ChildProcess app(Brisko, {}, environment);
    ASSERT_TRUE(waitUntil([] { return caughtUp(); }, Timeout)) << qPrintable(app.standardError());
    const KeyCombo controlShiftK(40, KeyCombo::controlKey | KeyCombo::shiftKey);
    ASSERT_EQ(run(Defaults, {QStringLiteral("write"), Domain, QStringLiteral("HotKey"),
                             QStringLiteral("-data"),
                             QString::fromLatin1(controlShiftK.archivedData().toHex())}),
              0);
    ASSERT_TRUE(command(QStringLiteral("Refresh")));
    EXPECT_EQ(binding(), QStringLiteral("'<Control><Shift>k'"));
    EXPECT_FALSE(app.standardError().contains(QLatin1String("needs GNOME's keyboard settings")))
        << "told again once the entry was there";
    qunsetenv("GSETTINGS_BACKEND");
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("XDG_SESSION_TYPE");
}

} // namespace
