// SPDX-License-Identifier: MIT
#include "platform/addressbook/KhardConfiguration.h"

#include "platform/addressbook/ShellPath.h"

#include <QDir>
#include <QFile>

namespace KhardConfiguration {

QStringList addressBookPaths(const QByteArray &contents)
{
    QStringList paths;
    bool inAddressBooks = false;
    // Lines end as khard (Python) ends them: at CR LF, LF or a CR alone. Qt's text mode would
    // drop a lone CR and join its two lines.
    QString text = QString::fromUtf8(contents);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("[[")))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            inAddressBooks =
                trimmed.compare(QLatin1String("[addressbooks]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inAddressBooks || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (equals < 0 || trimmed.left(equals).trimmed() != QLatin1String("path"))
            continue;
        QString value = trimmed.mid(equals + 1).trimmed();
        if (value.size() >= 2 &&
            (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        // A path of only an unset variable names no folder; read as "" it would be the
        // current one.
        const QString path = value.isEmpty() ? QString() : ShellPath::expanded(value);
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

QString filePath()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString home =
        configured.isEmpty() ? QDir::homePath() + QLatin1String("/.config") : configured;
    return home + QLatin1String("/khard/khard.conf");
}

QStringList userAddressBookPaths()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return addressBookPaths(file.readAll());
}

} // namespace KhardConfiguration
