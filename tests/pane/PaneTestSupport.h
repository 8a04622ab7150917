// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyBroadcaster.h"
#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/KeyCodeTable.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

/// One private session bus for the whole binary: the pane's notification centre connects
/// once per process and keeps its bus.
class PaneTestEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
        // The pane's key names come from its bundle, as its module arranges when loaded.
        PaneKeyComboBuild::setBundle(Bundle(QStringLiteral(BRISKO_PANE_BUNDLE_PATH)));
    }
    // Everything posted must have left before the bus goes.
    void TearDown() override
    {
        DistributedNotificationCenter::defaultCenter().flush();
        bus.reset();
    }

    std::unique_ptr<PrivateSessionBus> bus;
};

/// The control notifications the session bus carries, as another process would hear them.
class ControlRecorder final
{
public:
    ControlRecorder()
    {
        _center.addObserver(&_context, ControlCommands::NotificationName, QString(),
                            [this](const DistributedNotification &n) { _heard.append(n.object); });
        _center.flush();
    }

    /// Every command posted by this process so far, in order; what is posted later cannot
    /// sneak in, since the process's own marker comes after.
    QStringList settled()
    {
        const QString marker = QStringLiteral("marker-%1").arg(++_markers);
        DistributedNotificationCenter::defaultCenter().postNotification(
            ControlCommands::NotificationName, marker);
        EXPECT_TRUE(waitUntil([&] { return _heard.contains(marker); }))
            << "the bus did not carry the marker back";
        QStringList heard = _heard;
        _heard.clear();
        heard.removeAll(marker);
        return heard;
    }

private:
    DistributedNotificationCenter _center;
    QObject _context;
    QStringList _heard;
    int _markers = 0;
};

/// What an alert showed and whether it was a sheet on a window.
struct AlertAnswer
{
    bool seen = false;
    QString text;
    QString informativeText;
    QStringList buttons;
    bool windowModal = false;
};

/// Presses the button titled `button` in the next alert, once it is up.
inline void answerNextAlert(const QString &button, AlertAnswer *answer)
{
    answerNextModal<QMessageBox>([button, answer](QMessageBox *alert) {
        answer->seen = true;
        answer->text = alert->text();
        answer->informativeText = alert->informativeText();
        answer->windowModal = alert->windowModality() == Qt::WindowModal;
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *candidate : alert->buttons()) {
            answer->buttons.append(candidate->text());
            if (candidate->text() == button)
                chosen = candidate;
        }
        if (chosen)
            chosen->click();
        else
            alert->reject();
    });
}

/// Calls `play` with the hot key recorder's window once it is up.
inline void whenRecorderIsUp(const std::function<void(QDialog *recorder)> &play)
{
    answerNextModal<QDialog>(play, QStringLiteral("KeyComboPanel"));
}

/// A key press reaching the recorder's key capture button, the key named by its scan code as
/// the X server names it.
inline void pressInRecorder(QDialog *recorder, int keyCode, Qt::KeyboardModifiers modifiers = {})
{
    auto *capture = recorder->findChild<KeyBroadcaster *>(QStringLiteral("keyBroadcaster"));
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(recorder->focusWidget(), capture)
        << "the key capture button lacks the keyboard focus";
    const auto scanCode = KeyCodeTable::evdevScanCodeForVirtualKeyCode(keyCode);
    ASSERT_TRUE(scanCode.has_value()) << keyCode;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers,
                    quint32(*scanCode + KeyCodeTable::X11EvdevOffset), 0, 0);
    QApplication::sendEvent(capture, &press);
}

/// A recording workspace installed for the life of the object.
class InstalledWorkspace final
{
public:
    InstalledWorkspace()
    {
        auto workspace = std::make_unique<RecordingWorkspace>();
        _workspace = workspace.get();
        Workspace::setShared(std::move(workspace));
    }
    ~InstalledWorkspace() { Workspace::setShared(nullptr); }
    RecordingWorkspace *operator->() const { return _workspace; }
    RecordingWorkspace &operator*() const { return *_workspace; }

private:
    RecordingWorkspace *_workspace;
};
