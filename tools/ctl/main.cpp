// SPDX-License-Identifier: MIT
#include "tools/ctl/ControlTool.h"

#include "platform/notifications/DistributedNotificationCenter.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return ControlTool::run(application.arguments().mid(1), out, err,
                            DistributedNotificationCenter::defaultCenter());
}
