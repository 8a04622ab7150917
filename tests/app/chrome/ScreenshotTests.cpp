// SPDX-License-Identifier: MIT
// Renders the window chrome the way it looks on a desktop and saves the pictures, so a person
// can judge them. Run under Xvfb with QT_QPA_PLATFORM=xcb (see Screenshot.h for where they go).
#include "app/chrome/FramelessWindow.h"
#include "app/chrome/LargeTypeWindow.h"
#include "app/chrome/SplashWindow.h"
#include "app/chrome/WindowAppearance.h"
#include "tests/support/Screenshot.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Screenshot::grabbed;
using Screenshot::onBackdrop;

void save(const QImage &image, const QString &name)
{
    ASSERT_TRUE(Screenshot::save(image, name)) << "could not write " << name.toStdString();
}

} // namespace

TEST(ChromeScreenshots, RoundedPanel)
{
    FramelessWindow window;
    WindowAppearance::applySearchWindowAppearance(&window);
    auto *label = new QLabel(QStringLiteral("Brisko"), &window);
    label->setGeometry(16, 20, 200, 22);
    window.resize(300, 62);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "panel never exposed";

    const QImage image = grabbed(window);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "rounded corner must be see-through";
    EXPECT_GT(qAlpha(image.pixel(150, 31)), 200);
    save(onBackdrop(image), QStringLiteral("frameless-panel.png"));
}

TEST(ChromeScreenshots, Splash)
{
    SplashWindow splash;
    splash.showSplash(QStringLiteral("Ctrl+Alt+Space"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash)) << "splash never exposed";
    save(onBackdrop(grabbed(splash)), QStringLiteral("splash.png"));
}

TEST(ChromeScreenshots, LargeType)
{
    LargeTypeWindow window;
    WindowAppearance::applyLargeTypeAppearance(&window, QColor(0, 0, 0, 200));
    window.setForegroundColorProvider([] { return QColor(Qt::white); });
    window.setDisplayString(QStringLiteral("+1 (555) 010-4477"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "large type never exposed";
    save(onBackdrop(grabbed(window)), QStringLiteral("large-type.png"));

    window.setDisplayString(QStringLiteral("1 Infinite Loop\nCupertino CA 95014\nUSA"));
    save(onBackdrop(grabbed(window)), QStringLiteral("large-type-address.png"));
}
