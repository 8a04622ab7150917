// SPDX-License-Identifier: MIT
// Shows the search window on a real display and reports on standard output, one word a line,
// when it is up and active ("shown") and when it went away ("hidden").
#include "app/controller/AppController.h"
#include "app/controller/SearchField.h"
#include "platform/addressbook/AddressBook.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    QStringList sources;
    for (int i = 1; i < argc; ++i)
        sources.append(QString::fromLocal8Bit(argv[i]));
    AddressBook::setSourcePaths(sources);

    AppController controller;
    controller.awakeFromNib();
    controller.applicationDidFinishLaunching();
    controller.showSearchWindow();
    controller.searchField()->setText(QStringLiteral("smith"));

    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *window = controller.mainWindow();
        if (!shown && window->isVisible() && window->isActiveWindow()) {
            shown = true;
            std::puts("shown");
            std::fflush(stdout);
        } else if (shown && !window->isVisible()) {
            std::puts("hidden");
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
    });
    poll.start(50);
    QTimer::singleShot(30000, [] { QCoreApplication::exit(1); });
    return application.exec();
}
