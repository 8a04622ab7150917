// SPDX-License-Identifier: MIT
#include "host/HostCommandLine.h"

int main(int argc, char **argv)
{
    return HostCommandLine::run(argc, argv);
}
