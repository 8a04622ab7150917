// SPDX-License-Identifier: MIT
#include "tools/defaults/DefaultsTool.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return DefaultsTool::run(arguments, out, err);
}
