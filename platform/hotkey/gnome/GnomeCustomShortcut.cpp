// SPDX-License-Identifier: MIT
#include "platform/hotkey/gnome/GnomeCustomShortcut.h"

#include <QProcess>

namespace {

const QString MediaKeys = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString CustomKeybindings = QStringLiteral("custom-keybindings");

QString entrySchema()
{
    return MediaKeys + QStringLiteral(".custom-keybinding:") + GnomeCustomShortcut::Path;
}

/// What `gsettings` printed, or nothing when it failed or did not end in time.
std::optional<QString> gsettings(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("gsettings"), arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

std::optional<QStringList> entries()
{
    const auto list = gsettings({QStringLiteral("get"), MediaKeys, CustomKeybindings});
    return list ? GnomeCustomShortcut::parseStringArray(*list) : std::nullopt;
}

bool set(const QString &schema, const QString &key, const QString &value)
{
    return gsettings({QStringLiteral("set"), schema, key, value}).has_value();
}

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace

bool GnomeCustomShortcut::isAvailable()
{
    const bool gnome = qEnvironmentVariable("XDG_CURRENT_DESKTOP")
                           .split(QLatin1Char(':'))
                           .contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
    return gnome && gsettings({QStringLiteral("list-keys"), entrySchema()}).has_value();
}

bool GnomeCustomShortcut::isInstalled()
{
    const auto list = entries();
    return list && list->contains(Path);
}

bool GnomeCustomShortcut::install(const QString &trigger, const QString &command)
{
    const QString binding = bindingFor(trigger);
    auto list = entries();
    if (binding.isEmpty() || !list)
        return false;
    // The entry is complete before GNOME is told it exists, so it never runs half written.
    if (!set(entrySchema(), QStringLiteral("name"), QStringLiteral("Show Brisko")) ||
        !set(entrySchema(), QStringLiteral("command"), command) ||
        !set(entrySchema(), QStringLiteral("binding"), binding))
        return false;
    if (list->contains(Path))
        return true;
    list->append(Path);
    return set(MediaKeys, CustomKeybindings, formatStringArray(*list));
}

bool GnomeCustomShortcut::update(const QString &trigger)
{
    const QString binding = bindingFor(trigger);
    if (binding.isEmpty() || !isInstalled())
        return false;
    return set(entrySchema(), QStringLiteral("binding"), binding);
}

QString GnomeCustomShortcut::bindingFor(const QString &trigger)
{
    static const struct
    {
        const char *portal;
        const char *gnome;
    } modifiers[] = {
        {"CTRL", "<Control>"},
        {"ALT", "<Alt>"},
        {"SHIFT", "<Shift>"},
        {"LOGO", "<Super>"},
    };
    QStringList parts = trigger.split(QLatin1Char('+'));
    const QString key = parts.takeLast();
    if (key.isEmpty())
        return {};
    QString binding;
    for (const auto &modifier : modifiers) {
        if (parts.contains(QLatin1String(modifier.portal)))
            binding += QLatin1String(modifier.gnome);
    }
    return binding + key;
}

std::optional<QStringList> GnomeCustomShortcut::parseStringArray(const QString &text)
{
    QString rest = text.trimmed();
    if (rest.startsWith(QLatin1String("@as ")))
        rest = rest.mid(4).trimmed();
    if (!rest.startsWith(QLatin1Char('[')) || !rest.endsWith(QLatin1Char(']')))
        return std::nullopt;
    QStringList strings;
    int i = 1;
    const int end = int(rest.size()) - 1;
    const auto skipBlanks = [&] {
        while (i < end && rest.at(i).isSpace())
            ++i;
    };
    skipBlanks();
    while (i < end) {
        const QChar quote = rest.at(i);
        if (quote != QLatin1Char('\'') && quote != QLatin1Char('"'))
            return std::nullopt;
        QString value;
        for (++i; i < end && rest.at(i) != quote; ++i) {
            if (rest.at(i) == QLatin1Char('\\') && i + 1 < end)
                ++i;
            value += rest.at(i);
        }
        if (i >= end)
            return std::nullopt;
        strings.append(value);
        ++i;
        skipBlanks();
        if (i < end && rest.at(i) != QLatin1Char(','))
            return std::nullopt;
        ++i;
        skipBlanks();
    }
    return strings;
}

QString GnomeCustomShortcut::formatStringArray(const QStringList &strings)
{
    if (strings.isEmpty())
        return QStringLiteral("@as []");
    QStringList items;
    for (const QString &string : strings)
        items.append(quoted(string));
    return QLatin1Char('[') + items.join(QLatin1String(", ")) + QLatin1Char(']');
}
