// SPDX-License-Identifier: MIT
#include "tests/e2e/support/RivalClient.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Timeout = 10000;
const QString ProbePath = QStringLiteral(BRISKO_BINARY_DIR "/tests/e2e/brisko-hotkey-probe");
// Space with control and option, as the center stores it.
const QString AddControlOptionSpace = QStringLiteral("add HotKey 49 0x1800");

constexpr uint16_t ControlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

class HotKeyE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start a session bus";
        display = std::make_unique<PrivateDisplay>();
        ASSERT_TRUE(display->isRunning()) << qPrintable(display->problem());
        probe = std::make_unique<ChildProcess>(ProbePath, QStringList(), display->environment());
        ASSERT_TRUE(probe->started()) << "could not start " << qPrintable(ProbePath);
        ASSERT_TRUE(probe->waitForLine(QStringLiteral("ready available=1"), Timeout))
            << "the probe did not come up on " << qPrintable(display->display()) << ": "
            << qPrintable(probe->standardError());
    }

    void command(const QString &line, const QString &answer)
    {
        probe->writeLine(line);
        ASSERT_TRUE(probe->waitForLine(answer, Timeout))
            << "no \"" << qPrintable(answer) << "\" after \"" << qPrintable(line) << "\"";
    }

    void expectPressDelivered(const char *why)
    {
        ASSERT_TRUE(display->xdotool({QStringLiteral("key"), QStringLiteral("ctrl+alt+space")}))
            << "xdotool failed";
        QStringList before;
        EXPECT_TRUE(probe->waitForLine(QStringLiteral("pressed HotKey"), Timeout, &before))
            << "no press reached the center " << why
            << "; saw: " << qPrintable(before.join(QLatin1String(" | ")));
    }

    TemporaryHome home;
    PrivateSessionBus bus;
    std::unique_ptr<PrivateDisplay> display;
    std::unique_ptr<ChildProcess> probe;
};

TEST_F(HotKeyE2ETest, GrabbedCombinationDeliversPressesToTheCenter)
{
    command(AddControlOptionSpace, QStringLiteral("added HotKey true"));
    expectPressDelivered("for control+option+space");
    expectPressDelivered("for a second press");
}

TEST_F(HotKeyE2ETest, NumLockAndCapsLockDoNotStopTheHotKey)
{
    command(AddControlOptionSpace, QStringLiteral("added HotKey true"));
    ASSERT_TRUE(display->xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")}));
    expectPressDelivered("with Num Lock on");
    ASSERT_TRUE(display->xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")}));
    expectPressDelivered("with Num Lock and Caps Lock on");
}

TEST_F(HotKeyE2ETest, KeyboardMappingChangeRenewsTheGrabs)
{
    command(AddControlOptionSpace, QStringLiteral("added HotKey true"));
    RivalClient rival(display->display());
    ASSERT_TRUE(rival.isConnected());
    // Num Lock on another modifier than the usual Mod2: only grabs renewed for the new
    // modifier still catch the combination while Num Lock is on.
    ASSERT_TRUE(rival.moveNumLockTo(XCB_MAP_INDEX_3)) << "the X server refused the new mapping";
    ASSERT_TRUE(probe->waitForLine(QStringLiteral("regrabbed 1"), Timeout))
        << "the probe did not renew its grabs after the mapping change";
    ASSERT_TRUE(display->xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")}));
    expectPressDelivered("with Num Lock on Mod3");
}

TEST_F(HotKeyE2ETest, AMappingNotifyWithoutChangeKeepsTheGrabs)
{
    // Giving the key back and taking it again would open a gap in which a press is lost.
    command(AddControlOptionSpace, QStringLiteral("added HotKey true"));
    RivalClient rival(display->display());
    ASSERT_TRUE(rival.isConnected());
    ASSERT_TRUE(rival.rewriteModifierMapping()) << "the X server refused the mapping";
    ASSERT_TRUE(probe->waitForLine(QStringLiteral("regrabbed 0"), Timeout))
        << "the probe renewed grabs that still fitted the keyboard";
    expectPressDelivered("after the unchanged mapping");
}

TEST_F(HotKeyE2ETest, SwitchingOffReleasesTheKeyAndSwitchingOnTakesItBack)
{
    command(AddControlOptionSpace, QStringLiteral("added HotKey true"));
    RivalClient rival(display->display());
    ASSERT_TRUE(rival.isConnected());
    EXPECT_FALSE(rival.grabSpace(ControlAlt)) << "the probe's grab is not in place";

    command(QStringLiteral("enable 0"), QStringLiteral("enabled 0"));
    ASSERT_TRUE(rival.grabSpace(ControlAlt)) << "switching off left the key grabbed";
    rival.ungrabSpace(ControlAlt);

    command(QStringLiteral("enable 1"), QStringLiteral("enabled 1"));
    expectPressDelivered("after switching on again");
}

TEST_F(HotKeyE2ETest, GrabHeldByAnotherClientFailsTheRegistrationUntilRetried)
{
    RivalClient rival(display->display());
    ASSERT_TRUE(rival.isConnected());
    ASSERT_TRUE(rival.grabSpace(ControlAlt));

    command(AddControlOptionSpace, QStringLiteral("added HotKey false"));

    rival.ungrabSpace(ControlAlt);
    command(QStringLiteral("enable 1"), QStringLiteral("enabled 1"));
    expectPressDelivered("after the other client let go and the center was switched on");
}

TEST_F(HotKeyE2ETest, RefusedVariantUndoesTheVariantsAlreadyGrabbed)
{
    // The rival holds only the Caps Lock variant, so the probe's plain grab succeeds first and
    // must be given back when the later variant is refused.
    RivalClient rival(display->display());
    ASSERT_TRUE(rival.isConnected());
    ASSERT_TRUE(rival.grabSpace(ControlAlt | XCB_MOD_MASK_LOCK));

    command(AddControlOptionSpace, QStringLiteral("added HotKey false"));
    EXPECT_TRUE(rival.grabSpace(ControlAlt)) << "the plain variant stayed grabbed";
}

} // namespace
