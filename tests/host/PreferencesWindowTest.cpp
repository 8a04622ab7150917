// SPDX-License-Identifier: MIT
#include "host/PreferencesWindow.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

// Large fonts on a small screen make a pane larger than the screen: the window keeps to the
// free area and the pane scrolls, while a pane that fits gets all the room it asks for.
TEST(PreferencesWindow, APaneLargerThanTheScreenScrollsInAWindowThatFits)
{
    PreferencesWindow window;
    const QSize free = window.screen()->availableGeometry().size();
    auto *small = new QWidget;
    small->setMinimumSize(300, 200);
    window.setPaneView(small, QStringLiteral("Small"));
    EXPECT_GE(window.width(), 300);
    EXPECT_GE(window.height(), 200);

    auto *large = new QWidget;
    large->setMinimumSize(free.width() + 400, free.height() + 300);
    window.setPaneView(large, QStringLiteral("Large"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_LT(window.width(), free.width());
    EXPECT_LT(window.height(), free.height());
    const auto *area = window.findChild<QScrollArea *>();
    ASSERT_NE(area, nullptr);
    EXPECT_GE(area->horizontalScrollBar()->maximum(), 400);
    EXPECT_GE(area->verticalScrollBar()->maximum(), 300);
    EXPECT_TRUE(small->isHidden()) << "the pane shown before is kept out of sight";
    EXPECT_EQ(small->window(), &window) << "and kept";
}
