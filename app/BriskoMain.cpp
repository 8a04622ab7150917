// SPDX-License-Identifier: MIT
#include "BriskoMain.h"

#include <QApplication>

int runBrisko(int argc, char **argv)
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Brisko"));
    application.setOrganizationDomain(QStringLiteral("ambertide.com"));
    // A background application: closing a window never ends it.
    application.setQuitOnLastWindowClosed(false);
    return application.exec();
}
