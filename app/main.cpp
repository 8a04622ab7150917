// SPDX-License-Identifier: MIT
#include "app/BriskoMain.h"

int main(int argc, char **argv)
{
    return runBrisko(argc, argv);
}
