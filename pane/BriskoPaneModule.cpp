// SPDX-License-Identifier: MIT
#include "keycombo/PaneBundle.h"

namespace {

// Runs when the host loads the module, before any key combination is shown, so the pane's
// key names come from its own bundle rather than from the host's.
[[maybe_unused]] const bool bundleAdopted = [] {
    PaneBundle::adoptBundleOfThisModule();
    return true;
}();

} // namespace
