// SPDX-License-Identifier: MIT
#include "app/chrome/FramelessWindow.h"
#include "app/chrome/WindowExtras.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Window alpha is kept in 1/255 steps by Qt.
constexpr qreal AlphaTolerance = 1.0 / 255;

// Records the alpha at every paint, which is how a fade shows its steps on screen.
class PaintRecordingWindow final : public FramelessWindow
{
public:
    std::vector<qreal> paintedAlphas;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        paintedAlphas.push_back(windowOpacity());
        FramelessWindow::paintEvent(event);
    }
};

} // namespace

TEST(WindowFade, StepsFromTheStartValueToTheTargetRepaintingEachStep)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    window.paintedAlphas.clear();

    WindowExtras::fadeFromAlpha(&window, 0.2, 1.0, 4, 0.0);

    ASSERT_EQ(window.paintedAlphas.size(), 4u);
    const qreal expected[] = {0.4, 0.6, 0.8, 1.0};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(window.paintedAlphas[i], expected[i], AlphaTolerance) << "step " << i + 1;
}

TEST(WindowFade, DownwardFadeAndNoStepsAtAll)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    window.paintedAlphas.clear();

    WindowExtras::fadeFromAlpha(&window, 1.0, 0.0, 2, 0.0);
    ASSERT_EQ(window.paintedAlphas.size(), 2u);
    EXPECT_NEAR(window.paintedAlphas[0], 0.5, AlphaTolerance);
    EXPECT_NEAR(window.paintedAlphas[1], 0.0, AlphaTolerance);

    window.setWindowOpacity(0.7);
    window.paintedAlphas.clear();
    WindowExtras::fadeFromAlpha(&window, 0.2, 1.0, 0, 0.0);
    WindowExtras::fadeFromAlpha(&window, 0.2, 1.0, -3, 0.0);
    EXPECT_TRUE(window.paintedAlphas.empty());
    EXPECT_NEAR(window.windowOpacity(), 0.7, AlphaTolerance);
}

TEST(WindowFade, FadeToAlphaStartsFromTheCurrentAlpha)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.setWindowOpacity(0.5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    window.paintedAlphas.clear();

    WindowExtras::fadeToAlpha(&window, 1.0, 2, 0.0);
    ASSERT_EQ(window.paintedAlphas.size(), 2u);
    EXPECT_NEAR(window.paintedAlphas[0], 0.75, AlphaTolerance);
    EXPECT_NEAR(window.paintedAlphas[1], 1.0, AlphaTolerance);
}

TEST(WindowFade, FadeInShowsAHiddenWindowFromLowAlphaUpToItsOwn)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.setWindowOpacity(0.8);

    WindowExtras::fadeIn(&window);

    EXPECT_TRUE(window.isVisible());
    EXPECT_NEAR(window.windowOpacity(), 0.8, AlphaTolerance);
    ASSERT_GE(window.paintedAlphas.size(), 8u);
    // The standard fade climbs in eight steps from 0.1.
    const auto last8 =
        std::vector<qreal>(window.paintedAlphas.end() - 8, window.paintedAlphas.end());
    EXPECT_NEAR(last8.front(), 0.1 + (0.8 - 0.1) / 8, AlphaTolerance);
    EXPECT_NEAR(last8.back(), 0.8, AlphaTolerance);
    for (size_t i = 1; i < last8.size(); ++i)
        EXPECT_GT(last8[i], last8[i - 1]);
}

TEST(WindowFade, FadeOutHidesAndRestoresTheAlphaForTheNextFadeIn)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.setWindowOpacity(0.9);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    window.paintedAlphas.clear();

    WindowExtras::fadeOut(&window);

    EXPECT_FALSE(window.isVisible());
    EXPECT_NEAR(window.windowOpacity(), 0.9, AlphaTolerance);
    ASSERT_EQ(window.paintedAlphas.size(), 8u);
    EXPECT_NEAR(window.paintedAlphas.back(), WindowExtras::FadeLowAlpha, AlphaTolerance);

    window.paintedAlphas.clear();
    WindowExtras::fadeIn(&window);
    ASSERT_FALSE(window.paintedAlphas.empty());
    EXPECT_LT(window.paintedAlphas.front(), 0.25);
    EXPECT_NEAR(window.windowOpacity(), 0.9, AlphaTolerance);
}

TEST(WindowFade, FadeInOnAVisibleAndFadeOutOnAHiddenWindowChangeNothing)
{
    PaintRecordingWindow window;
    window.resize(100, 50);
    window.setWindowOpacity(0.6);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "window never exposed";
    window.paintedAlphas.clear();

    WindowExtras::fadeIn(&window);
    EXPECT_TRUE(window.paintedAlphas.empty());
    EXPECT_NEAR(window.windowOpacity(), 0.6, AlphaTolerance);

    window.hide();
    window.setWindowOpacity(0.3);
    WindowExtras::fadeOut(&window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_NEAR(window.windowOpacity(), 0.3, AlphaTolerance);

    WindowExtras::fadeIn(nullptr);
    WindowExtras::fadeOut(nullptr);
    WindowExtras::fadeToAlpha(nullptr, 1.0);
}

// What waits in the event loop (a flood of hot key presses from the desktop portal) must not
// run in the middle of a fade or a move, where it would start the next fade inside this one.
TEST(WindowFade, FadesAndMovesDeliverNoEventsOnTheirWay)
{
    const struct
    {
        const char *name;
        std::function<void(QWidget *)> step;
    } cases[] = {
        {"fade in", [](QWidget *w) { WindowExtras::fadeIn(w); }},
        {"fade to alpha", [](QWidget *w) { WindowExtras::fadeToAlpha(w, 0.5, 4, 0.0); }},
        {"move",
         [](QWidget *w) { WindowExtras::centerWithSize(w, QSizeF(w->width() + 40, 90), 10); }},
        {"fade out", [](QWidget *w) { WindowExtras::fadeOut(w); }},
    };
    PaintRecordingWindow window;
    window.resize(100, 50);
    int posted = 0;
    int timed = 0;
    for (const auto &c : cases) {
        QMetaObject::invokeMethod(
            &window, [&posted] { ++posted; }, Qt::QueuedConnection);
        QTimer::singleShot(1, &window, [&timed] { ++timed; });
        const int expected = posted + 1;
        c.step(&window);
        EXPECT_EQ(posted + timed, 2 * (expected - 1)) << c.name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return posted == expected && timed == expected; }))
            << c.name;
    }
    EXPECT_FALSE(window.paintedAlphas.empty()) << "the steps were not painted";
}

// A 1920 × 1080 primary screen with a 25-pixel panel along its top edge.
const QRect Screen(0, 0, 1920, 1080);
const QRect Visible(0, 25, 1920, 1055);

TEST(WindowPlacement, CentreWithSizeLeavesSeventyPercentOfTheFreeHeightBelow)
{
    const QRect frame = WindowExtras::frameCenteredWithSize(Visible, Screen.height(), QSize(10, 10),
                                                            QSizeF(300, 62), 10);
    EXPECT_EQ(frame.size(), QSize(300, 62));
    EXPECT_EQ(frame.x(), 810);
    // Free height 993: round(695.1) = 695 below, so the window's bottom edge is 695 above the
    // screen's bottom and 298 remain above it.
    EXPECT_EQ(Screen.height() - (frame.y() + frame.height()), 695);
    EXPECT_EQ(frame.y() - Visible.y(), 298);
}

TEST(WindowPlacement, SizeIsCappedToTheFreeAreaAndWidthZeroKeepsTheCurrentWidth)
{
    const QRect tall = WindowExtras::frameCenteredWithSize(Visible, Screen.height(),
                                                           QSize(400, 100), QSizeF(0, 5000), 10);
    EXPECT_EQ(tall.height(), 1055 - 20);
    EXPECT_EQ(tall.width(), 400);
    EXPECT_EQ(tall.x(), 760);
    EXPECT_EQ(tall.top(), 25 + 6); // 30 % of the 20 pixels left free
    EXPECT_EQ(tall.bottom() + 1, 1080 - 14);

    // Large fonts on a small screen: a wider window is narrowed to stay on the screen.
    const QRect wide = WindowExtras::frameCenteredWithSize(Visible, Screen.height(), QSize(1, 1),
                                                           QSizeF(2000, 100), 10);
    EXPECT_EQ(wide.width(), 1920 - 20);
    EXPECT_EQ(wide.x(), 10);
}

TEST(WindowPlacement, SecondScreenBesideThePrimary)
{
    // Visible area of a 1280 × 1024 screen right of the primary, its top aligned with it.
    const QRect second(1920, 0, 1280, 1024);
    const QRect frame = WindowExtras::frameCenteredWithSize(second, Screen.height(), QSize(1, 1),
                                                            QSizeF(400, 413), 10);
    EXPECT_EQ(frame.x(), 1920 + 440);
    // Free height 611: round(427.7) = 428 below the window, 183 above.
    EXPECT_EQ(frame.top(), 183);
    EXPECT_EQ(1024 - (frame.bottom() + 1), 428);
}

TEST(WindowPlacement, HeightFactorMeasuresFromThePrimaryScreenBottom)
{
    const QRect frame =
        WindowExtras::frameCenteredWithHeightFactor(Visible, Screen.height(), QSize(300, 100), 0.5);
    EXPECT_EQ(frame.size(), QSize(300, 100));
    EXPECT_EQ(frame.x(), 810);
    // round((1055 - 100) × 0.5) = 478 (half away from zero), ignoring the panel's 25 pixels.
    EXPECT_EQ(1080 - (frame.bottom() + 1), 478);
}

TEST(WindowPlacement, OffTopParksTheWindowWithOneRowShowing)
{
    const QRect frame = WindowExtras::frameOffTop(Screen, Screen.height(), QSize(301, 100));
    EXPECT_EQ(frame.size(), QSize(301, 100));
    EXPECT_EQ(frame.x(), 810); // round(809.5)
    EXPECT_EQ(frame.bottom(), 0);
}

TEST(WindowPlacement, AppliesToARealWindowOnItsScreen)
{
    FramelessWindow window;
    window.resize(200, 80);
    QScreen *screen = window.screen();
    ASSERT_NE(screen, nullptr);
    const QRect visible = screen->availableGeometry();

    WindowExtras::centerWithSize(&window, QSizeF(300, 62), 10);
    EXPECT_EQ(window.size(), QSize(300, 62));
    EXPECT_EQ(window.x(), visible.x() + (visible.width() - 300) / 2);
    EXPECT_LT(window.y() - visible.y(), visible.bottom() - window.geometry().bottom());

    window.show();
    WindowExtras::centerWithHeight(&window, 100, 10);
    EXPECT_EQ(window.size(), QSize(300, 100));

    WindowExtras::centerOffTopAnimate(&window, true);
    EXPECT_EQ(window.geometry().bottom(), screen->geometry().top());
}
