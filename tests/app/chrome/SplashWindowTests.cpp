// SPDX-License-Identifier: MIT
#include "app/chrome/RoundedRectView.h"
#include "app/chrome/SplashWindow.h"
#include "app/chrome/WindowAppearance.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

namespace {

// Fires the pending fade-out now instead of after four seconds.
void fireFadeOut(SplashWindow &splash)
{
    QTimer &timer = splash.fadeOutTimer();
    ASSERT_TRUE(timer.isActive());
    timer.start(0);
    ASSERT_TRUE(waitUntil([&] { return !timer.isActive(); }))
        << "fade-out timer did not fire within 10 seconds";
}

} // namespace

TEST(SplashWindowTest, ShowsTheHotKeyTextAndFadesOutWhenItsTimeIsUp)
{
    SplashWindow splash;
    splash.showSplash(QStringLiteral("Super+Space"));
    EXPECT_EQ(splash.text(), QStringLiteral("Activation hot key: Super+Space"));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.backgroundView()->backgroundColor().alpha(), 0);
    EXPECT_TRUE(splash.fadeOutTimer().isActive());
    EXPECT_EQ(splash.fadeOutTimer().interval(), 4000);
    EXPECT_GT(splash.width(), 100);

    fireFadeOut(splash);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_NEAR(splash.windowOpacity(), 1.0, 1.0 / 255);
}

TEST(SplashWindowTest, ANoteGoesUnderTheTextAndTheWindowMakesRoomForIt)
{
    SplashWindow splash;
    splash.showSplash(QStringLiteral("Ctrl+Alt+Space"));
    const QRect plain = splash.geometry();
    // A note may arrive after the splash is up, when the desktop answers late.
    splash.setNote(QStringLiteral("Hot keys cannot work in this session. Bind \"brisko-ctl "
                                  "show\" to a shortcut in the desktop's keyboard settings."));
    EXPECT_GT(splash.height(), plain.height());
    EXPECT_GT(splash.width(), plain.width());
    EXPECT_NEAR(splash.geometry().center().x(), plain.center().x(), 1);
    EXPECT_EQ(splash.text(), QStringLiteral("Activation hot key: Ctrl+Alt+Space"));
    // The next splash starts without the last one's note.
    splash.showSplash(QStringLiteral("Ctrl+Alt+Space"));
    EXPECT_TRUE(splash.note().isEmpty());
    EXPECT_EQ(splash.size(), plain.size());
}

TEST(SplashWindowTest, HiddenEarlyStaysHiddenWhenTheTimerFires)
{
    SplashWindow splash;
    splash.showSplash(QStringLiteral("F1"));
    splash.hide();
    const qreal alpha = splash.windowOpacity();
    fireFadeOut(splash);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_DOUBLE_EQ(splash.windowOpacity(), alpha);
}
