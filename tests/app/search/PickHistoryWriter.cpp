// SPDX-License-Identifier: MIT
// Test helper: counts picks in a search history again and again, the way a second Brisko
// shares the file.
//   pick-history-writer PATH COUNT ID...   picks each ID once per round, COUNT rounds
#include "app/search/PickHistory.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: pick-history-writer PATH COUNT ID...\n");
        return 2;
    }
    PickHistory history(arguments.at(1));
    const int count = arguments.at(2).toInt();
    for (int round = 0; round < count; ++round) {
        for (qsizetype i = 3; i < arguments.size(); ++i) {
            if (!history.recordPick(arguments.at(i)))
                return 1;
        }
    }
    return 0;
}
