// SPDX-License-Identifier: MIT
// Large type on a desktop of two screens of different sizes, the second one smaller.
#include "app/chrome/LargeTypeWindow.h"

#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Before the shared main creates the application: its screens come from the platform's
// configuration, where the offscreen platform makes the first by name the primary one.
[[maybe_unused]] const bool twoScreens =
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" BRISKO_SOURCE_DIR "/tests/app/chrome/TwoScreens.json");

bool fits(const QSizeF &extent, const QSize &screen)
{
    return extent.width() <= screen.width() * 0.85 && extent.height() <= screen.height() * 0.85;
}

} // namespace

TEST(LargeTypeScreens, TheTextIsSizedForTheScreenItAppearsOn)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "the platform did not read " BRISKO_SOURCE_DIR
                                    "/tests/app/chrome/TwoScreens.json";
    QScreen *small = std::min(screens.at(0), screens.at(1), [](QScreen *a, QScreen *b) {
        return a->size().width() < b->size().width();
    });
    ASSERT_NE(small, QGuiApplication::primaryScreen()) << "the smaller screen must be the second";
    const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    // Digits enough to be too wide for the small screen at the largest size.
    QString text = QStringLiteral("5");
    while (fits(LargeTypeWindow::sizeOfString(text, family, 80), small->size()))
        text += QLatin1Char('5');
    ASSERT_TRUE(fits(LargeTypeWindow::sizeOfString(text, family, 80),
                     QGuiApplication::primaryScreen()->size()))
        << qPrintable(text) << " is " << LargeTypeWindow::sizeOfString(text, family, 80).width()
        << " x " << LargeTypeWindow::sizeOfString(text, family, 80).height() << "; screens "
        << QGuiApplication::primaryScreen()->size().width() << " x "
        << QGuiApplication::primaryScreen()->size().height() << ", " << small->size().width()
        << " x " << small->size().height();

    QCursor::setPos(small->geometry().center());
    LargeTypeWindow window;
    window.setDisplayString(text);
    window.show();
    EXPECT_EQ(window.screen(), small);
    EXPECT_TRUE(small->geometry().contains(window.geometry()))
        << "placed at " << window.geometry().x() << ", " << window.geometry().y() << " size "
        << window.width() << " x " << window.height();
    EXPECT_TRUE(fits(window.largeTypeView()->displayString().size(), small->size()))
        << "set at " << window.largeTypeView()->displayString().font.pixelSize() << " px";
}
