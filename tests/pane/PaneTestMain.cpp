// SPDX-License-Identifier: MIT
#include "tests/pane/PaneTestSupport.h"

// The shared main creates the application; the bus is this binary's own.
[[maybe_unused]] static ::testing::Environment *const paneEnvironment =
    ::testing::AddGlobalTestEnvironment(new PaneTestEnvironment);
