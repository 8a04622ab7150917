// SPDX-License-Identifier: MIT
#include "HostCommandLine.h"

int main(int argc, char **argv)
{
    return HostCommandLine::run(argc, argv);
}
