// SPDX-License-Identifier: MIT
#include "platform/hotkey/gnome/GnomeCustomShortcut.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString MediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString UserEntry =
    QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/");

/// What gsettings says, as the user would read it.
QString gsettings(const QStringList &arguments)
{
    ChildProcess tool(QStringLiteral("gsettings"), arguments);
    return tool.waitForFinished(10000) && tool.exitCode() == 0 ? tool.remainingOutput().trimmed()
                                                               : QStringLiteral("(failed)");
}

QString entry(const QString &path, const QString &key)
{
    return gsettings(
        {QStringLiteral("get"), MediaKeys + QStringLiteral(".custom-keybinding:") + path, key});
}

/// GNOME's real settings store: dconf's service on a private bus that can start nothing else,
/// writing into a temporary home.
class GnomeCustomShortcutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("GSETTINGS_BACKEND", "dconf");
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        ASSERT_FALSE(
            PrivateSessionBus::machineServiceFiles(QStringLiteral("ca.desrt.dconf")).isEmpty())
            << "dconf is not installed (package dconf-service)";
        bus = std::make_unique<PrivateSessionBus>(QStringList{QStringLiteral("ca.desrt.dconf")});
        ASSERT_TRUE(bus->isRunning());
    }
    void TearDown() override
    {
        bus.reset();
        qunsetenv("GSETTINGS_BACKEND");
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    TemporaryHome home;
    std::unique_ptr<PrivateSessionBus> bus;
};

TEST_F(GnomeCustomShortcutTest, BriskosEntryIsAddedBesideTheUsersOwnAndFollowsANewKey)
{
    QDir().mkpath(home.runtimeDir());
    ASSERT_TRUE(GnomeCustomShortcut::isAvailable());
    // A shortcut of the user's own, which must come through untouched.
    const QString userSchema = MediaKeys + QStringLiteral(".custom-keybinding:") + UserEntry;
    gsettings(
        {QStringLiteral("set"), userSchema, QStringLiteral("name"), QStringLiteral("Terminal")});
    gsettings(
        {QStringLiteral("set"), userSchema, QStringLiteral("binding"), QStringLiteral("<Super>t")});
    gsettings({QStringLiteral("set"), MediaKeys, QStringLiteral("custom-keybindings"),
               QStringLiteral("['%1']").arg(UserEntry)});
    EXPECT_FALSE(GnomeCustomShortcut::isInstalled());
    EXPECT_FALSE(GnomeCustomShortcut::update(QStringLiteral("CTRL+ALT+space")))
        << "an entry that was never added was changed";

    ASSERT_TRUE(GnomeCustomShortcut::install(QStringLiteral("CTRL+ALT+space"),
                                             QStringLiteral("brisko-ctl show")));
    EXPECT_EQ(gsettings({QStringLiteral("get"), MediaKeys, QStringLiteral("custom-keybindings")}),
              QStringLiteral("['%1', '%2']").arg(UserEntry, GnomeCustomShortcut::Path));
    EXPECT_EQ(entry(GnomeCustomShortcut::Path, QStringLiteral("name")),
              QStringLiteral("'Show Brisko'"));
    EXPECT_EQ(entry(GnomeCustomShortcut::Path, QStringLiteral("command")),
              QStringLiteral("'brisko-ctl show'"));
    EXPECT_EQ(entry(GnomeCustomShortcut::Path, QStringLiteral("binding")),
              QStringLiteral("'<Control><Alt>space'"));

    ASSERT_TRUE(GnomeCustomShortcut::update(QStringLiteral("SHIFT+LOGO+k")));
    EXPECT_EQ(entry(GnomeCustomShortcut::Path, QStringLiteral("binding")),
              QStringLiteral("'<Shift><Super>k'"));
    // Adding again keeps one entry.
    ASSERT_TRUE(GnomeCustomShortcut::install(QStringLiteral("CTRL+ALT+space"),
                                             QStringLiteral("brisko-ctl show")));
    EXPECT_EQ(gsettings({QStringLiteral("get"), MediaKeys, QStringLiteral("custom-keybindings")}),
              QStringLiteral("['%1', '%2']").arg(UserEntry, GnomeCustomShortcut::Path));
    EXPECT_EQ(entry(UserEntry, QStringLiteral("binding")), QStringLiteral("'<Super>t'"));
    EXPECT_EQ(entry(UserEntry, QStringLiteral("name")), QStringLiteral("'Terminal'"));
}

TEST(GnomeCustomShortcutText, StringArraysAndBindingsReadAndWriteAsGsettingsDoes)
{
    const struct
    {
        const char *text;
        std::optional<QStringList> strings;
    } arrays[] = {
        {"@as []", QStringList()},
        {"['/a/']", QStringList{QStringLiteral("/a/")}},
        {"['/a/', \"/b'c/\"]", QStringList{QStringLiteral("/a/"), QStringLiteral("/b'c/")}},
        {"['it\\'s']", QStringList{QStringLiteral("it's")}},
        {"['/a/' '/b/']", std::nullopt},
        {"['/a/", std::nullopt},
        {"nothing", std::nullopt},
    };
    for (const auto &c : arrays)
        EXPECT_EQ(GnomeCustomShortcut::parseStringArray(QString::fromUtf8(c.text)), c.strings)
            << c.text;
    const QStringList strings{QStringLiteral("/a/"), QStringLiteral("it's \\ here")};
    EXPECT_EQ(
        GnomeCustomShortcut::parseStringArray(GnomeCustomShortcut::formatStringArray(strings)),
        strings);
    EXPECT_EQ(GnomeCustomShortcut::bindingFor(QStringLiteral("CTRL+ALT+SHIFT+LOGO+F1")),
              QStringLiteral("<Control><Alt><Shift><Super>F1"));
    EXPECT_EQ(GnomeCustomShortcut::bindingFor(QString()), QString());
}

} // namespace
