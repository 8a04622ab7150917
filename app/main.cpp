// SPDX-License-Identifier: MIT
#include "BriskoMain.h"

int main(int argc, char **argv)
{
    return runBrisko(argc, argv);
}
