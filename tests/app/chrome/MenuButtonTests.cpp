// SPDX-License-Identifier: MIT
#include "app/chrome/MenuButton.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(MenuButtonTest, MenuItemsInOrderWithoutShortcuts)
{
    MenuButton button;
    QStringList titles;
    for (QAction *action : button.contextMenu()->actions()) {
        titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("About Brisko"), QStringLiteral("-"),
                                   QStringLiteral("Preferences"), QStringLiteral("Help"),
                                   QStringLiteral("-"), QStringLiteral("Quit Brisko")}));
    EXPECT_EQ(button.contextMenu(), button.contextMenu()) << "built once";
}

TEST(MenuButtonTest, ItemsReachTheirSignals)
{
    MenuButton button;
    QSignalSpy about(&button, &MenuButton::showAbout);
    QSignalSpy preferences(&button, &MenuButton::showPreference);
    QSignalSpy help(&button, &MenuButton::showHelp);
    QSignalSpy terminate(&button, &MenuButton::terminate);
    const QList<QAction *> actions = button.contextMenu()->actions();
    actions[0]->trigger();
    actions[2]->trigger();
    actions[2]->trigger();
    actions[3]->trigger();
    EXPECT_EQ(about.count(), 1);
    EXPECT_EQ(preferences.count(), 2);
    EXPECT_EQ(help.count(), 1);
    EXPECT_EQ(terminate.count(), 0);
    actions[5]->trigger();
    EXPECT_EQ(terminate.count(), 1);
}

TEST(MenuButtonTest, HoverTurnsTheStateOnAndOff)
{
    MenuButton button;
    EXPECT_FALSE(button.isChecked());
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isChecked());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isChecked());
}

TEST(MenuButtonTest, ClickPopsUpTheMenuAndStateIsOffAfterItCloses)
{
    QWidget window;
    auto *button = new MenuButton(&window);
    button->resize(24, 24);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(button, &enter);
    ASSERT_TRUE(button->isChecked());

    bool menuSeen = false;
    QDeadlineTimer deadline(10000);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuSeen = popup == button->contextMenu();
            popup->close();
        } else if (deadline.hasExpired()) {
            button->contextMenu()->close();
        }
    });
    poll.start(10);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    poll.stop();

    EXPECT_TRUE(menuSeen) << "the menu never popped up within 10 seconds";
    EXPECT_FALSE(button->isChecked()) << "state must be off once the menu is closed";
}

TEST(MenuButtonTest, TheKeyboardOpensTheMenuUnderTheButtonWithItsFirstItemChosen)
{
    QWidget window;
    auto *button = new MenuButton(&window);
    button->setGeometry(40, 10, 24, 24);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(button->toolTip().contains(QStringLiteral("F10")));
    EXPECT_EQ(button->accessibleDescription(), QStringLiteral("F10"));

    QMenu *menu = button->contextMenu();
    QString chosen;
    QPoint at;
    bool lit = false;
    QDeadlineTimer deadline(10000);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QApplication::activePopupWidget() == menu && menu->activeAction()) {
            chosen = menu->activeAction()->text();
            at = menu->pos();
            lit = button->isChecked();
            QTest::keyClick(menu, Qt::Key_Escape);
        } else if (deadline.hasExpired()) {
            menu->close();
        }
    });
    poll.start(10);
    button->popUpMenuFromKeyboard();
    poll.stop();

    EXPECT_EQ(chosen, QStringLiteral("About Brisko")) << "no item chosen within 10 seconds";
    EXPECT_EQ(at, button->mapToGlobal(QPoint(0, button->height())));
    EXPECT_TRUE(lit) << "the button is lit while its menu is open";
    EXPECT_FALSE(button->isChecked());
}
