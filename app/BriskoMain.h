// SPDX-License-Identifier: MIT
#pragma once

/// Runs the Brisko program with the given command line and returns its exit status.
int runBrisko(int argc, char **argv);
