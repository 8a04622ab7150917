// SPDX-License-Identifier: MIT
#include "app/helpers/WorkspaceExtras.h"

#include "platform/core/Bundle.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace WorkspaceExtras {

namespace {

QString expandingTilde(const QString &path)
{
    if (path == QLatin1String("~"))
        return QDir::homePath();
    if (path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

bool hasScheme(const QString &text)
{
    // "host:8080" and "www.example.com:81/x" look like a scheme to a URL parser; a real scheme
    // has no dot and is not followed by a port number.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):(.*)$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = scheme.match(text);
    if (!match.hasMatch())
        return false;
    if (match.captured(1).contains(QLatin1Char('.')))
        return false;
    static const QRegularExpression port(QStringLiteral("^[0-9]+(/.*)?$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    return !port.match(match.captured(2)).hasMatch();
}

bool _isApplicationAtPath(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        const QString executable = Bundle(path).executablePath();
        return !executable.isEmpty() && QFileInfo(executable).isFile() &&
               QFileInfo(executable).isExecutable();
    }
    return info.isFile() && info.isExecutable();
}

QString _isApplicationInDirectory(const QString &name, const QString &directory)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return {};
    const QString path =
        expandingTilde(directory) + QLatin1Char('/') + name + QLatin1String(".app");
    return _isApplicationAtPath(path) ? path : QString();
}

bool rkOpenFile(const QString &path, const QString &application)
{
    if (path.isEmpty() || application.isEmpty() || !QFileInfo::exists(path))
        return false;
    Workspace &workspace = Workspace::shared();
    if (workspace.openFileWithApplication(path, application))
        return true;
    for (const QString &directory :
         {QStringLiteral("~/Applications"), QStringLiteral("/Applications")}) {
        const QString bundle = _isApplicationInDirectory(application, directory);
        if (!bundle.isEmpty())
            return workspace.launchApplication(bundle, {path});
    }
    return false;
}

bool openURLString(const QString &string)
{
    const QString text = string.trimmed();
    if (text.isEmpty())
        return false;
    const QUrl url(hasScheme(text) ? text : QLatin1String("http://") + text);
    return url.isValid() && Workspace::shared().openUrl(url);
}

bool openEmailAddress(const QString &address)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return false;
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(text, QUrl::DecodedMode);
    return url.isValid() && Workspace::shared().openUrl(url);
}

} // namespace WorkspaceExtras
