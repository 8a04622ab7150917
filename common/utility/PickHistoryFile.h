// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// Where the application keeps what the user picked from its search, and how it is forgotten.
/// The file is Brisko's own, never sent anywhere; the application reads and writes it, and the
/// preference pane removes it when the user asks to forget the history.
namespace PickHistoryFile {

/// `$XDG_STATE_HOME/brisko` (`$HOME/.local/state/brisko` without an absolute XDG_STATE_HOME).
QString folder();
/// The history itself, in folder().
QString path();
/// Makes `folder` when it is missing, as its owner's alone (mode 0700).
bool makeFolder(const QString &folder = PickHistoryFile::folder(), QString *error = nullptr);
/// Removes the history at `path`, and every copy of it kept aside as unreadable, under the
/// writers' lock. True when none is left.
bool remove(const QString &path = PickHistoryFile::path(), QString *error = nullptr);

} // namespace PickHistoryFile
