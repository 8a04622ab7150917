// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

/// The control channel between the application, the preference pane and brisko-ctl: every
/// control notification carries `NotificationName` and one command as its object.
namespace ControlCommands {

inline const QString NotificationName = QStringLiteral("com.ambertide.Brisko");

inline const QString ControlDidStart = QStringLiteral("ControlDidStart");
inline const QString Shutdown = QStringLiteral("Shutdown");
inline const QString Suspend = QStringLiteral("Suspend");
inline const QString Resume = QStringLiteral("Resume");
inline const QString Refresh = QStringLiteral("Refresh");
inline const QString CheckForUpdates = QStringLiteral("CheckForUpdates");
inline const QString AppDidLaunch = QStringLiteral("AppDidLaunch");
inline const QString AppDidTerminate = QStringLiteral("AppDidTerminate");
inline const QString SetTab = QStringLiteral("SetTab");
/// The pane asks the application to forget whom the user picked from its search.
inline const QString ForgetSearchHistory = QStringLiteral("ForgetSearchHistory");

inline QStringList all()
{
    return {ControlDidStart, Shutdown,     Suspend,         Resume, Refresh,
            CheckForUpdates, AppDidLaunch, AppDidTerminate, SetTab, ForgetSearchHistory};
}

} // namespace ControlCommands
