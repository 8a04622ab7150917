// SPDX-License-Identifier: MIT
#include "app/hotkey/HotKeyNotices.h"

#include "platform/notifications/DesktopNotifier.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

using Cause = HotKeyFailure::Cause;

struct Wording
{
    Cause cause;
    const char *summary;
    const char *note;
};

constexpr Wording wordings[] = {
    {Cause::Taken,
     QT_TRANSLATE_NOOP("HotKeyNotices", "Brisko's hot key %1 is taken by another program"),
     QT_TRANSLATE_NOOP("HotKeyNotices", "Taken by another program")},
    {Cause::NoKey,
     QT_TRANSLATE_NOOP("HotKeyNotices", "Brisko's hot key %1 has no key on this keyboard"),
     QT_TRANSLATE_NOOP("HotKeyNotices", "No such key on this keyboard")},
    {Cause::Refused,
     QT_TRANSLATE_NOOP("HotKeyNotices", "Brisko's hot key %1 was not accepted by the desktop"),
     QT_TRANSLATE_NOOP("HotKeyNotices", "Not accepted by the desktop")},
    {Cause::NoAnswer,
     QT_TRANSLATE_NOOP("HotKeyNotices",
                       "Brisko's hot key %1 is not set: the desktop did not answer"),
     QT_TRANSLATE_NOOP("HotKeyNotices", "The desktop did not answer")},
    {Cause::Unavailable,
     QT_TRANSLATE_NOOP("HotKeyNotices", "Brisko's hot key %1 cannot work in this session"),
     QT_TRANSLATE_NOOP("HotKeyNotices", "Hot keys cannot work in this session")},
};

const Wording &wordingFor(Cause cause)
{
    for (const Wording &wording : wordings) {
        if (wording.cause == cause)
            return wording;
    }
    return wordings[0];
}

QString translated(const char *text)
{
    return QCoreApplication::translate("HotKeyNotices", text);
}

void printLine(const QString &line)
{
    std::fprintf(stderr, "Brisko: %s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

} // namespace

QString HotKeyNotices::summary(const KeyCombo &combo, const HotKeyFailure &failure)
{
    return translated(wordingFor(failure.cause).summary).arg(combo.description());
}

QString HotKeyNotices::remedy(const HotKeyFailure &failure)
{
    // Another key cannot help where no hot key works at all; a shortcut of the desktop's own
    // that runs the command always can.
    if (failure.cause == Cause::Unavailable)
        return translated(QT_TRANSLATE_NOOP("HotKeyNotices",
                                            "To open Brisko from the keyboard anyway, bind the "
                                            "command \"brisko-ctl show\" to a shortcut in the "
                                            "desktop's keyboard settings."));
    return translated(QT_TRANSLATE_NOOP("HotKeyNotices",
                                        "Choose another key in Brisko's preferences, or bind the "
                                        "command \"brisko-ctl show\" to a shortcut in the "
                                        "desktop's keyboard settings."));
}

QString HotKeyNotices::splashNote(const HotKeyFailure &failure)
{
    return translated(wordingFor(failure.cause).note) + QLatin1String(". ") +
           (failure.cause == Cause::Unavailable
                ? translated(QT_TRANSLATE_NOOP("HotKeyNotices",
                                               "Bind \"brisko-ctl show\" to a desktop shortcut."))
                : translated(QT_TRANSLATE_NOOP("HotKeyNotices",
                                               "Choose another key in the preferences.")));
}

bool HotKeyNotices::registrationFailed(const KeyCombo &combo, const HotKeyFailure &failure)
{
    const QString title = summary(combo, failure);
    if (!_firstTime(title))
        return false;
    QString line = title + QLatin1Char('.');
    if (!failure.detail.isEmpty())
        line += QLatin1Char(' ') + failure.detail;
    printLine(line + QLatin1Char(' ') + remedy(failure));
    DesktopNotifier::shared().notify(title, remedy(failure));
    return true;
}

bool HotKeyNotices::gnomeShortcutWanted(const KeyCombo &combo)
{
    const QString title =
        translated(QT_TRANSLATE_NOOP("HotKeyNotices",
                                     "Brisko's hot key %1 needs GNOME's keyboard settings"))
            .arg(combo.description());
    if (!_firstTime(title))
        return false;
    const QString body =
        translated(QT_TRANSLATE_NOOP("HotKeyNotices", "This GNOME session gives programs no global "
                                                      "shortcuts. Add the key with \"Add to GNOME "
                                                      "Shortcuts\" on the General tab of Brisko's "
                                                      "preferences."));
    printLine(title + QLatin1String(". ") + body);
    DesktopNotifier::shared().notify(title, body);
    return true;
}

bool HotKeyNotices::settingUnusable(const QString &problem)
{
    if (!_firstTime(problem))
        return false;
    printLine(problem);
    return true;
}

bool HotKeyNotices::_firstTime(const QString &what)
{
    if (_told.contains(what))
        return false;
    _told.insert(what);
    return true;
}
