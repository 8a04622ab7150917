// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

/// The one place programming errors are reported: a required argument missing, an event that
/// cannot happen. A report never ends the process; by default it goes to standard error.
namespace AssertionHandler {

using Reporter = std::function<void(const QString &source, const QString &description)>;

/// Reports `description` as raised in `source` (a class name).
void handleFailure(const QString &source, const QString &description);
/// Reports "Invalid parameter not satisfying: <condition>".
void handleInvalidParameter(const QString &source, const char *condition);

/// Installs a reporter (tests capture reports with it) and returns the previous one; an empty
/// reporter restores the report on standard error.
Reporter setReporter(Reporter reporter);

} // namespace AssertionHandler
