// SPDX-License-Identifier: MIT
// A minimal application around the hot key center and the X11 backend, driven line by line on
// standard input so tests can run it as its own X client:
//   add NAME KEYCODE MODIFIERS -> "added NAME true|false"
//   remove NAME                -> "removed NAME"
//   enable 0|1                 -> "enabled 0|1"
// and every press prints "pressed NAME", every keyboard mapping change "regrabbed N" with the
// number of grabs that had to be taken again.
#include "app/hotkey/HotKeyCenter.h"
#include "platform/hotkey/xcb/XcbHotKeyBackend.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void say(const QString &line)
{
    std::cout << line.toStdString() << std::endl;
}

void handle(HotKeyCenter &center, QObject &target, const QStringList &words)
{
    if (words.size() == 4 && words[0] == QLatin1String("add")) {
        const QString name = words[1];
        const KeyCombo combo(static_cast<qint16>(words[2].toInt()), words[3].toInt(nullptr, 0));
        const bool added = center.addHotKey(name, combo, &target, [name](HotKeyCenter *) {
            say(QStringLiteral("pressed ") + name);
        });
        say(QStringLiteral("added %1 %2")
                .arg(name, added ? QStringLiteral("true") : QStringLiteral("false")));
    } else if (words.size() == 2 && words[0] == QLatin1String("remove")) {
        center.removeHotKey(words[1]);
        say(QStringLiteral("removed ") + words[1]);
    } else if (words.size() == 2 && words[0] == QLatin1String("enable")) {
        center.setEnabled(words[1] == QLatin1String("1"));
        say(QStringLiteral("enabled ") + words[1]);
    } else {
        say(QStringLiteral("unknown ") + words.join(QLatin1Char(' ')));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    auto backend = std::make_unique<XcbHotKeyBackend>();
    QObject::connect(backend.get(), &XcbHotKeyBackend::grabsRenewed, &application,
                     [](int renewed) { say(QStringLiteral("regrabbed %1").arg(renewed)); });
    HotKeyCenter center(std::move(backend));
    QObject target;
    say(QStringLiteral("ready available=%1").arg(center.backend()->isAvailable() ? 1 : 0));

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            application.quit();
            return;
        }
        handle(center, target,
               QString::fromStdString(line).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    });
    return application.exec();
}
