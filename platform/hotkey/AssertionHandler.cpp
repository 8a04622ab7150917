// SPDX-License-Identifier: MIT
#include "platform/hotkey/AssertionHandler.h"

#include <cstdio>

namespace AssertionHandler {
namespace {

Reporter &installed()
{
    static Reporter reporter;
    return reporter;
}

} // namespace

void handleFailure(const QString &source, const QString &description)
{
    if (installed()) {
        installed()(source, description);
        return;
    }
    std::fprintf(stderr, "*** Assertion failure in %s: %s\n", qUtf8Printable(source),
                 qUtf8Printable(description));
    std::fflush(stderr);
}

void handleInvalidParameter(const QString &source, const char *condition)
{
    handleFailure(
        source,
        QStringLiteral("Invalid parameter not satisfying: %1").arg(QString::fromUtf8(condition)));
}

Reporter setReporter(Reporter reporter)
{
    Reporter previous = std::move(installed());
    installed() = std::move(reporter);
    return previous;
}

} // namespace AssertionHandler
