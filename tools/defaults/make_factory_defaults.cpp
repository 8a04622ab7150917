// SPDX-License-Identifier: MIT
#include "platform/core/PropertyList.h"
#include "tools/defaults/FactoryDefaults.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: brisko-make-factory-defaults OUTPUT.plist\n");
        return 2;
    }
    QString error;
    if (!PropertyList::writeFile(FactoryDefaults::values(), QString::fromLocal8Bit(argv[1]),
                                 &error)) {
        std::fprintf(stderr, "brisko-make-factory-defaults: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
