// SPDX-License-Identifier: MIT
#include "support/TestProcesses.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int Timeout = 10000;
constexpr xcb_keysym_t SpaceKeysym = 0x20;
constexpr xcb_keysym_t NumLockKeysym = 0xff7f;
const QString ProbePath = QStringLiteral(BRISKO_BINARY_DIR "/tests/e2e/brisko-hotkey-probe");
// Space with control and option, as the center stores it.
const QString AddControlOptionSpace = QStringLiteral("add HotKey 49 0x1800");

/// A second X client that competes with the probe for the same key.
class RivalClient final
{
public:
    explicit RivalClient(const QString &display)
    {
        _connection = xcb_connect(display.toUtf8().constData(), nullptr);
        if (xcb_connection_has_error(_connection))
            return;
        _root = xcb_setup_roots_iterator(xcb_get_setup(_connection)).data->root;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(_connection);
        if (xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, SpaceKeysym)) {
            _space = codes[0];
            std::free(codes);
        }
        xcb_key_symbols_free(symbols);
    }
    ~RivalClient() { xcb_disconnect(_connection); }

    bool isConnected() const { return !xcb_connection_has_error(_connection) && _space != 0; }

    /// Grabs space with these X modifiers; false when the server refuses.
    bool grabSpace(uint16_t modifiers)
    {
        xcb_generic_error_t *error = xcb_request_check(
            _connection, xcb_grab_key_checked(_connection, 1, _root, modifiers, _space,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void ungrabSpace(uint16_t modifiers)
    {
        xcb_request_check(_connection,
                          xcb_ungrab_key_checked(_connection, _space, _root, modifiers));
    }

    /// Sets the modifier mapping to what it already is: every client is told the keyboard
    /// changed, although nothing did (as when another keyboard device starts typing).
    bool rewriteModifierMapping()
    {
        xcb_get_modifier_mapping_reply_t *mapping = xcb_get_modifier_mapping_reply(
            _connection, xcb_get_modifier_mapping(_connection), nullptr);
        if (!mapping)
            return false;
        xcb_set_modifier_mapping_reply_t *reply = xcb_set_modifier_mapping_reply(
            _connection,
            xcb_set_modifier_mapping(_connection, mapping->keycodes_per_modifier,
                                     xcb_get_modifier_mapping_keycodes(mapping)),
            nullptr);
        std::free(mapping);
        const bool done = reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
        std::free(reply);
        return done;
    }

    /// Moves Num Lock from whichever modifier holds it to `modifier` (0-7); false when the
    /// server refuses or Num Lock has no key.
    bool moveNumLockTo(int modifier)
    {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(_connection);
        xcb_keycode_t *numLock = xcb_key_symbols_get_keycode(symbols, NumLockKeysym);
        xcb_key_symbols_free(symbols);
        if (!numLock)
            return false;
        const xcb_keycode_t numLockKey = numLock[0];
        std::free(numLock);
        xcb_get_modifier_mapping_reply_t *mapping = xcb_get_modifier_mapping_reply(
            _connection, xcb_get_modifier_mapping(_connection), nullptr);
        if (!mapping)
            return false;
        int perModifier = mapping->keycodes_per_modifier;
        std::vector<xcb_keycode_t> keys(xcb_get_modifier_mapping_keycodes(mapping),
                                        xcb_get_modifier_mapping_keycodes(mapping) +
                                            8 * perModifier);
        std::free(mapping);
        for (xcb_keycode_t &key : keys) {
            if (key == numLockKey)
                key = 0;
        }
        // Room for the key in its new row: widen every row by one when it is full.
        const auto row = keys.begin() + modifier * perModifier;
        auto slot = std::find(row, row + perModifier, 0);
        if (slot == row + perModifier) {
            std::vector<xcb_keycode_t> wider;
            for (int m = 0; m < 8; ++m) {
                wider.insert(wider.end(), keys.begin() + m * perModifier,
                             keys.begin() + (m + 1) * perModifier);
                wider.push_back(0);
            }
            keys = wider;
            ++perModifier;
            slot = keys.begin() + modifier * perModifier + perModifier - 1;
        }
        *slot = numLockKey;
        xcb_set_modifier_mapping_reply_t *reply = xcb_set_modifier_mapping_reply(
            _connection, xcb_set_modifier_mapping(_connection, perModifier, keys.data()), nullptr);
        const bool done = reply && reply->status == XCB_MAPPING_STATUS_SUCCESS;
        std::free(reply);
        return done;
    }

private:
    xcb_connection_t *_connection = nullptr;
    xcb_window_t _root = 0;
    xcb_keycode_t _space = 0;
};

constexpr uint16_t ControlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

class HotKeyE2ETest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = std::make_unique<PrivateDisplay>();
        ASSERT_TRUE(display->isRunning()) << "Xvfb did not report a display within 15 s";
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
