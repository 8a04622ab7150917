// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// The user's base folders of the XDG rules: the variable's value when it is an absolute
/// path, else the default under the home folder (a relative value is invalid and ignored).
namespace XdgBaseDirectory {

/// `XDG_CONFIG_HOME`, else `~/.config`.
QString configHome();
/// `XDG_STATE_HOME`, else `~/.local/state`.
QString stateHome();

} // namespace XdgBaseDirectory
