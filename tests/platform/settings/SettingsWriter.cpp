// SPDX-License-Identifier: MIT
// Test helper: writes one key of a domain again and again, each value synchronised, the way a
// second program shares the settings domain.
//   settings-writer DOMAIN KEY COUNT   writes 1..COUNT, then exits
//   settings-writer DOMAIN KEY forever writes 1, 2, 3, … until it is killed
#include "platform/settings/UserDefaults.h"

#include <QCoreApplication>

#include <cstdio>
#include <limits>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: settings-writer DOMAIN KEY COUNT|forever\n");
        return 2;
    }
    const bool forever = arguments.at(3) == QLatin1String("forever");
    const qint64 count =
        forever ? std::numeric_limits<qint64>::max() : arguments.at(3).toLongLong();
    UserDefaults defaults(arguments.at(1));
    for (qint64 value = 1; value <= count; ++value) {
        defaults.setInteger(value, arguments.at(2));
        if (!defaults.synchronize())
            return 1;
    }
    return 0;
}
