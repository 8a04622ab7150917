// SPDX-License-Identifier: MIT
#pragma once

#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

class HotKeyCenter;

/// What control notifications ask of the application. The application controller implements
/// it; each operation is one step of a handler, in the order the handler calls them.
class ControlNotificationTarget
{
public:
    virtual ~ControlNotificationTarget();

    /// "Shutdown": asks the application to terminate through its normal path, which
    /// synchronises the settings and posts "AppDidTerminate".
    virtual void terminate() = 0;
    /// "Refresh", first step: reads what the pane wrote into the settings domain.
    virtual void synchronizeUserDefaults() = 0;
    /// "Refresh", second step: re-applies the settings (hot key, colours, advert line).
    virtual void preferenceDidChange() = 0;
    /// "CheckForUpdates", first step: brings the application to the front.
    virtual void activateIgnoringOtherApps() = 0;
    /// "CheckForUpdates", second step: runs the update check with its alert.
    virtual void checkForUpdates() = 0;
    /// "ForgetSearchHistory": forgets whom the user picked from the search.
    virtual void forgetSearchHistory() = 0;
};

/// The application's side of the control channel: its observers and their handlers, and the
/// announcements it posts. "Suspend" and "Resume" switch the hot key center off and on.
class ControlNotifications final : public QObject
{
    Q_OBJECT
public:
    /// Null centers mean the process-wide ones.
    explicit ControlNotifications(ControlNotificationTarget &target,
                                  HotKeyCenter *hotKeyCenter = nullptr,
                                  DistributedNotificationCenter *notificationCenter = nullptr,
                                  QObject *parent = nullptr);

    /// Registers the observers of "Shutdown", "ControlDidStart", "Suspend", "Resume",
    /// "Refresh", "CheckForUpdates" and "ForgetSearchHistory"; they stay until this object
    /// ends. Registering twice changes nothing.
    void registerObservers();

    /// The end of the launch: observers first, then "AppDidLaunch", so that whoever hears the
    /// announcement can already send commands.
    void applicationDidFinishLaunching();
    /// Posts "AppDidTerminate" and waits (bounded) until the bus has it, as the process is
    /// about to end.
    void applicationWillTerminate();

    /// Posts the control notification `command` without (or with) user info.
    bool _postNotificationObject(const QString &command);
    bool _postNotificationObject(const QString &command, const QVariantMap &userInfo);

    void shutdownWithNotification(const DistributedNotification &notification);
    void controlDidStartWithNotification(const DistributedNotification &notification);
    void suspendWithNotification(const DistributedNotification &notification);
    void resumeWithNotification(const DistributedNotification &notification);
    void refreshWithNotification(const DistributedNotification &notification);
    void checkForUpdatesWithNotification(const DistributedNotification &notification);
    void forgetSearchHistoryWithNotification(const DistributedNotification &notification);

    DistributedNotificationCenter *notificationCenter() const { return _notificationCenter; }

private:
    /// Carries out a "Refresh" that is waiting, before a later command or on its own.
    void _applyPendingRefresh();

    ControlNotificationTarget &_target;
    HotKeyCenter *_hotKeyCenter;
    DistributedNotificationCenter *_notificationCenter;
    bool _registered = false;
    bool _refreshPending = false;
};
