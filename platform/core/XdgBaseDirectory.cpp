// SPDX-License-Identifier: MIT
#include "platform/core/XdgBaseDirectory.h"

#include <QDir>

namespace {

QString baseDirectory(const char *variable, QLatin1String underHome)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment))
        return fromEnvironment;
    return QDir::homePath() + underHome;
}

} // namespace

namespace XdgBaseDirectory {

QString configHome()
{
    return baseDirectory("XDG_CONFIG_HOME", QLatin1String("/.config"));
}

QString stateHome()
{
    return baseDirectory("XDG_STATE_HOME", QLatin1String("/.local/state"));
}

} // namespace XdgBaseDirectory
