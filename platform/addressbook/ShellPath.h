// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Paths written for a shell, as khard's configuration and BRISKO_ADDRESS_BOOK hold them.
namespace ShellPath {

/// `path` with a leading `~` and every `$NAME` or `${NAME}` replaced as a shell replaces them
/// (an unset variable by nothing); a `$` that starts no name stays.
QString expanded(QString path);

} // namespace ShellPath
