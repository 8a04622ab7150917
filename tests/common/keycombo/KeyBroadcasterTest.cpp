// SPDX-License-Identifier: MIT
#include "common/keycombo/KeyBroadcaster.h"
#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/KeyCodeTable.h"
#include "platform/notifications/NotificationCenter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

constexpr qint64 Cmd = PaneKeyCombo::cmdKey;
constexpr qint64 Shift = PaneKeyCombo::shiftKey;
constexpr qint64 Option = PaneKeyCombo::optionKey;
constexpr qint64 Control = PaneKeyCombo::controlKey;

struct Heard
{
    int keyCode;
    qint64 modifiers;
    bool operator==(const Heard &) const = default;
};

/// A key capture button holding the focus of a window, next to another button, and what it
/// announces.
class KeyBroadcasterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(broadcaster = new KeyBroadcaster);
        layout->addWidget(new QPushButton(QStringLiteral("Next")));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        broadcaster->setFocus();
        NotificationCenter::defaultCenter().addObserver(
            &context, KeyBroadcasterKeyEvent, [this](const Notification &notification) {
                EXPECT_EQ(notification.object, broadcaster);
                heard.append(
                    {notification.userInfo.value(QStringLiteral("KeyCode")).toInt(),
                     notification.userInfo.value(QStringLiteral("Modifiers")).toLongLong()});
            });
    }

    /// An event for the key at `keyCode`, named by its scan code as an X server or a Wayland
    /// compositor names it.
    void send(QEvent::Type type, int keyCode, Qt::KeyboardModifiers modifiers,
              int qtKey = Qt::Key_unknown, bool autoRepeat = false)
    {
        const auto scanCode = KeyCodeTable::evdevScanCodeForVirtualKeyCode(keyCode);
        ASSERT_TRUE(scanCode.has_value()) << keyCode;
        QKeyEvent event(type, qtKey, modifiers, quint32(*scanCode + KeyCodeTable::X11EvdevOffset),
                        0, 0, QString(), autoRepeat);
        QApplication::sendEvent(broadcaster, &event);
    }

    QWidget window;
    KeyBroadcaster *broadcaster = nullptr;
    QObject context;
    QList<Heard> heard;
};

TEST(KeyBroadcasterModifiers, TranslateToTheStoredFlags)
{
    struct Case
    {
        Qt::KeyboardModifiers qt;
        qint64 carbon;
    };
    const Case cases[] = {
        {Qt::NoModifier, 0},
        {Qt::MetaModifier, Cmd},
        {Qt::AltModifier, Option},
        {Qt::ControlModifier, Control},
        {Qt::ShiftModifier, Shift},
        {Qt::MetaModifier | Qt::ShiftModifier, 0x0300},
        {Qt::MetaModifier | Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier, 0x1B00},
        // The keypad and the group switch are no part of a combination.
        {Qt::KeypadModifier, 0},
        {Qt::KeypadModifier | Qt::ControlModifier, Control},
        {Qt::GroupSwitchModifier | Qt::AltModifier, Option},
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeyBroadcaster::cocoaToCarbonModifiers(c.qt), c.carbon) << c.qt.toInt();
}

TEST_F(KeyBroadcasterTest, EachPressIsAnnouncedOnceByItsPosition)
{
    send(QEvent::KeyPress, 49, Qt::MetaModifier | Qt::ShiftModifier);
    send(QEvent::KeyRelease, 49, Qt::MetaModifier | Qt::ShiftModifier);
    send(QEvent::KeyPress, 40, Qt::NoModifier);
    send(QEvent::KeyPress, 40, Qt::NoModifier, Qt::Key_K, true);
    send(QEvent::KeyPress, 96, Qt::KeypadModifier);
    // Modifiers and locks pressed alone.
    send(QEvent::KeyPress, 56, Qt::ShiftModifier, Qt::Key_Shift);
    send(QEvent::KeyPress, 55, Qt::MetaModifier, Qt::Key_Super_L);
    send(QEvent::KeyPress, 57, Qt::NoModifier, Qt::Key_CapsLock);
    send(QEvent::KeyPress, 71, Qt::NoModifier, Qt::Key_NumLock);
    EXPECT_EQ(heard, (QList<Heard>{{49, 0x0300}, {40, 0}, {96, 0}}));
}

TEST_F(KeyBroadcasterTest, ShortcutsAndNavigationKeysAreRecordedNotActedOn)
{
    int triggered = 0;
    for (const QKeySequence &shortcut :
         {QKeySequence(QStringLiteral("Ctrl+Q")), QKeySequence(QStringLiteral("Ctrl+W")),
          QKeySequence(QStringLiteral("Alt+F4")), QKeySequence(QStringLiteral("Return"))}) {
        auto *action = new QAction(&window);
        action->setShortcut(shortcut);
        QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
        window.addAction(action);
    }
    const QSignalSpy clicked(broadcaster, &QAbstractButton::clicked);
    QTest::keyClick(broadcaster, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(broadcaster, Qt::Key_W, Qt::ControlModifier);
    QTest::keyClick(broadcaster, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(broadcaster, Qt::Key_Return);
    QTest::keyClick(broadcaster, Qt::Key_Tab);
    QTest::keyClick(broadcaster, Qt::Key_Space);
    EXPECT_EQ(triggered, 0) << "a shortcut of the window fired";
    EXPECT_EQ(clicked.count(), 0) << "Space clicked the button";
    EXPECT_EQ(QApplication::focusWidget(), broadcaster) << "Tab moved the focus away";
}

} // namespace
