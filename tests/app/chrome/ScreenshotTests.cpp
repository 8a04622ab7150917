// SPDX-License-Identifier: MIT
// Renders the window chrome the way it looks on a desktop and saves the pictures, so a person
// can judge them. Run under Xvfb with QT_QPA_PLATFORM=xcb; BRISKO_SCREENSHOT_DIR says where the
// PNGs go (the build tree when unset).
#include "chrome/FramelessWindow.h"
#include "chrome/LargeTypeWindow.h"
#include "chrome/SplashWindow.h"
#include "chrome/WindowAppearance.h"

#include <QDir>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString screenshotDir()
{
    const QString configured = qEnvironmentVariable("BRISKO_SCREENSHOT_DIR");
    const QString dir =
        configured.isEmpty() ? QStringLiteral(BRISKO_BINARY_DIR "/screenshots") : configured;
    QDir().mkpath(dir);
    return dir;
}

// A desktop-like backdrop, so translucency and the rounded corners show in the picture.
QImage onBackdrop(const QImage &window, int margin = 40)
{
    QImage backdrop(window.size() / window.devicePixelRatio() + QSize(2 * margin, 2 * margin),
                    QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&backdrop);
    QLinearGradient gradient(0, 0, backdrop.width(), backdrop.height());
    gradient.setColorAt(0, QColor(38, 84, 124));
    gradient.setColorAt(1, QColor(150, 90, 160));
    painter.fillRect(backdrop.rect(), gradient);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 6));
    for (int x = -backdrop.height(); x < backdrop.width(); x += 48)
        painter.drawLine(x, backdrop.height(), x + backdrop.height(), 0);
    painter.drawImage(QPoint(margin, margin), window);
    return backdrop;
}

QImage grabbed(QWidget &window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void save(const QImage &image, const QString &name)
{
    const QString path = screenshotDir() + QLatin1Char('/') + name;
    ASSERT_TRUE(image.save(path)) << "could not write " << path.toStdString();
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
    splash.showSplash(QStringLiteral("\u2303\u2325Space"));
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
