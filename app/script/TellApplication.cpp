// SPDX-License-Identifier: MIT
#include "app/script/TellApplication.h"

#include "app/script/RKAppleScript.h"
#include "app/script/ShellQuote.h"

#include <QUrl>

namespace TellApplication {

namespace {

struct Driver
{
    QString application;
    QString program;
    // A host that keeps running once started must not be ended with the script that
    // started it, nor hold the script's output open.
    bool detached;
};

const Driver *driverFor(const QString &application)
{
    static const Driver kDrivers[] = {
        {QStringLiteral("System Preferences"), preferencesHostProgram(), true},
        {QStringLiteral("Skype"), QStringLiteral("xdg-open"), false},
    };
    for (const Driver &driver : kDrivers) {
        if (driver.application == application)
            return &driver;
    }
    return nullptr;
}

} // namespace

QString preferencesHostProgram()
{
    return QStringLiteral("brisko-preferences");
}

QString showPaneOption()
{
    return QStringLiteral("--show-pane");
}

QString paneIdentifier()
{
    return QStringLiteral("com.ambertide.BriskoPane");
}

QString commandForApplication(const QString &application)
{
    const Driver *driver = driverFor(application);
    return driver ? driver->program : QString();
}

QString tellApplicationScript(const QString &application, const QString &script)
{
    const Driver *driver = driverFor(application);
    if (!driver)
        return {};
    const QString program = ShellQuote::quoted(driver->program);
    QString text = QLatin1String("application() {\n");
    text += QLatin1String("    command -v ") + program +
            QLatin1String(" >/dev/null 2>&1 || { echo ") +
            ShellQuote::quoted(driver->program + QLatin1String(": not found")) +
            QLatin1String(" >&2; return 127; }\n");
    if (driver->detached)
        text += QLatin1String("    setsid -f ") + program +
                QLatin1String(" \"$@\" </dev/null >/dev/null 2>&1\n");
    else
        text += QLatin1String("    ") + program + QLatin1String(" \"$@\"\n");
    text += QLatin1String("}\n");
    text += script;
    return text;
}

std::optional<QString> _tellApplication(const QString &application, const QString &script)
{
    const QString text = tellApplicationScript(application, script);
    if (text.isEmpty())
        return std::nullopt;
    return RKAppleScript::sharedInstance().executeScript(text, nullptr, kTimeoutSeconds);
}

QString openPreferencePaneScript(const QString &identifier)
{
    return QLatin1String("application ") + ShellQuote::commandLine({showPaneOption(), identifier}) +
           QLatin1Char('\n');
}

QString skypeCallScript(const QString &number)
{
    // Detached: when Skype is not running yet, xdg-open may run it in the foreground, and the
    // application would wait for the whole call.
    // Encoded, so a "?", "&" or "#" in a number from a contact cannot add to the call request.
    const QString address = QLatin1String("skype:") +
                            QString::fromLatin1(QUrl::toPercentEncoding(number, "+")) +
                            QLatin1String("?call");
    return QLatin1String("setsid -f ") +
           ShellQuote::commandLine({QStringLiteral("xdg-open"), address}) +
           QLatin1String(" </dev/null >/dev/null 2>&1\n");
}

std::optional<QString> dialWithSkype(const QString &number)
{
    return RKAppleScript::sharedInstance().executeScript(skypeCallScript(number));
}

} // namespace TellApplication
