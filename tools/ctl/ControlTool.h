// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QTextStream>

class DistributedNotificationCenter;

/// brisko-ctl: talks to a running Brisko over its control notifications.
///   post COMMAND [KEY=VALUE…]  posts a control notification, the pairs as user info
///   monitor                    prints every control notification, one per line, until stopped
///   ping                       posts "ControlDidStart"; exit 0 when "AppDidLaunch" answers
///                              within two seconds, 1 otherwise
///   show                       brings the running Brisko's search window up, as a second
///                              launch does (for a desktop shortcut where no hot key works);
///                              exit 1 when Brisko does not run
/// Needs a QCoreApplication. Exit codes: 0 success, 1 failure, 2 usage error.
namespace ControlTool {

inline constexpr int PingTimeoutMs = 2000;
inline constexpr int ShowTimeoutMs = 3000;
/// The session bus name the running application owns.
inline const QString InstanceName = QStringLiteral("com.ambertide.Brisko");

int run(const QStringList &arguments, QTextStream &out, QTextStream &err,
        DistributedNotificationCenter &center);

/// One line of the monitor: the command, then " key=value" for each user info entry in key
/// order; a command, key or value that is not a plain word is written as JSON, control
/// characters as \u escapes.
QString describe(const QString &command, const QVariantMap &userInfo);

} // namespace ControlTool
