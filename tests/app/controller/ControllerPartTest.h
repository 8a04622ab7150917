// SPDX-License-Identifier: MIT
#pragma once

#include "app/controller/ControllerHost.h"
#include "app/controller/UpdateCheck.h"
#include "app/update/VersionChecker.h"
#include "common/SettingsKeys.h"
#include "platform/core/Bundle.h"
#include "platform/settings/UserDefaults.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TemporaryHome.h"

#include <QDate>

#include <gtest/gtest.h>

/// A controller for its parts to report to: counts the alerts they open and the activations
/// they ask for, and answers with the hot key it is given.
class RecordingControllerHost final : public ControllerHost
{
public:
    bool hasOpenAlert() const override { return openAlerts > 0; }
    void alertWillOpen() override
    {
        ++openAlerts;
        ++alertsOpened;
    }
    void alertDidEnd() override { --openAlerts; }
    void activateApplication() override { ++activations; }
    KeyCombo activationHotKey() const override { return hotKey; }
    std::optional<HotKeyFailure> activationHotKeyFailure() const override { return failure; }

    int openAlerts = 0;
    int alertsOpened = 0;
    int activations = 0;
    KeyCombo hotKey;
    std::optional<HotKeyFailure> failure;
};

/// A part of the controller tried alone: a host to report to, an update check asking a loopback
/// site, and the settings in a temporary home.
class ControllerPartTest : public ::testing::Test
{
protected:
    // The standard settings keep what they read for the whole process: one home for all.
    static void SetUpTestSuite()
    {
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        home = new TemporaryHome;
    }
    static void TearDownTestSuite()
    {
        delete home;
        home = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(site.isListening()); }
    void TearDown() override
    {
        for (const QString &key : {DefAutoVersionCheck, DefNextCheckVersionDay})
            defaults.removeObjectForKey(key);
    }

    /// An automatic check is asked for, and due on the pinned day.
    void makeLaunchCheckDue()
    {
        check.versionChecker().setToday(pinned);
        defaults.setBool(true, DefAutoVersionCheck);
        defaults.setInteger(VersionChecker::dayNumber(pinned), DefNextCheckVersionDay);
    }

    static inline TemporaryHome *home = nullptr;
    LoopbackHttpServer site;
    RecordingControllerHost host;
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const QDate pinned{2026, 12, 8};
    UpdateCheck check{host, QString::fromLatin1(site.address().mid(7)), QStringLiteral("Brisko"),
                      0x403, 7};
};
