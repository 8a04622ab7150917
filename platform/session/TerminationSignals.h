// SPDX-License-Identifier: MIT
#pragma once

/// Turns SIGTERM, SIGINT and SIGHUP into a normal quit of the running application, so that
/// logging out or `kill` ends it the way its Quit command does: settings saved and the end
/// announced. Call once, after the application object exists.
namespace TerminationSignals {

/// True when the handlers are in place.
bool quitApplicationOnTermination();

} // namespace TerminationSignals
