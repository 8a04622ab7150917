// SPDX-License-Identifier: MIT
#include "app/notifications/ControlNotifications.h"

#include "app/hotkey/HotKeyCenter.h"

#include <QTimer>

ControlNotificationTarget::~ControlNotificationTarget() = default;

ControlNotifications::ControlNotifications(ControlNotificationTarget &target,
                                           HotKeyCenter *hotKeyCenter,
                                           DistributedNotificationCenter *notificationCenter,
                                           QObject *parent)
    : QObject(parent)
    , _target(target)
    , _hotKeyCenter(hotKeyCenter ? hotKeyCenter : HotKeyCenter::sharedCenter())
    , _notificationCenter(notificationCenter ? notificationCenter
                                             : &DistributedNotificationCenter::defaultCenter())
{}

void ControlNotifications::registerObservers()
{
    if (_registered)
        return;
    _registered = true;
    using Handler = void (ControlNotifications::*)(const DistributedNotification &);
    const std::pair<QString, Handler> table[] = {
        {ControlCommands::Shutdown, &ControlNotifications::shutdownWithNotification},
        {ControlCommands::ControlDidStart, &ControlNotifications::controlDidStartWithNotification},
        {ControlCommands::Suspend, &ControlNotifications::suspendWithNotification},
        {ControlCommands::Resume, &ControlNotifications::resumeWithNotification},
        {ControlCommands::Refresh, &ControlNotifications::refreshWithNotification},
        {ControlCommands::CheckForUpdates, &ControlNotifications::checkForUpdatesWithNotification},
        {ControlCommands::ForgetSearchHistory,
         &ControlNotifications::forgetSearchHistoryWithNotification},
    };
    // One observer per command, so a command outside the table or under another name reaches
    // no handler at all.
    for (const auto &[command, handler] : table) {
        _notificationCenter->addObserver(
            this, ControlCommands::NotificationName, command,
            [this, handler](const DistributedNotification &n) { (this->*handler)(n); });
    }
    // Observers must be in place on the bus before "AppDidLaunch" tells anyone to send.
    _notificationCenter->flush();
}

void ControlNotifications::applicationDidFinishLaunching()
{
    registerObservers();
    _postNotificationObject(ControlCommands::AppDidLaunch);
}

void ControlNotifications::applicationWillTerminate()
{
    _postNotificationObject(ControlCommands::AppDidTerminate);
    // Without this the message can still sit in the connection's queue when the process ends.
    _notificationCenter->flush();
}

bool ControlNotifications::_postNotificationObject(const QString &command)
{
    return _notificationCenter->postNotification(ControlCommands::NotificationName, command);
}

bool ControlNotifications::_postNotificationObject(const QString &command,
                                                   const QVariantMap &userInfo)
{
    return _notificationCenter->postNotification(ControlCommands::NotificationName, command,
                                                 userInfo);
}

void ControlNotifications::shutdownWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _target.terminate();
}

void ControlNotifications::controlDidStartWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _postNotificationObject(ControlCommands::AppDidLaunch);
}

void ControlNotifications::suspendWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _hotKeyCenter->setEnabled(false);
}

void ControlNotifications::resumeWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _hotKeyCenter->setEnabled(true);
}

void ControlNotifications::refreshWithNotification(const DistributedNotification &)
{
    // A pane (or a script) may send thousands at once: reading the settings and registering
    // the hot key again for each would hold the application for seconds, and only the last
    // state matters. Commands after it still see it carried out, in order.
    if (_refreshPending)
        return;
    _refreshPending = true;
    QTimer::singleShot(0, this, &ControlNotifications::_applyPendingRefresh);
}

void ControlNotifications::_applyPendingRefresh()
{
    if (!_refreshPending)
        return;
    _refreshPending = false;
    _target.synchronizeUserDefaults();
    _target.preferenceDidChange();
}

void ControlNotifications::checkForUpdatesWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _target.activateIgnoringOtherApps();
    _target.checkForUpdates();
}

void ControlNotifications::forgetSearchHistoryWithNotification(const DistributedNotification &)
{
    _applyPendingRefresh();
    _target.forgetSearchHistory();
}
