// SPDX-License-Identifier: MIT
#include "platform/notifications/DesktopNotifier.h"

#include "platform/notifications/freedesktop/FreedesktopNotifier.h"

namespace {

std::unique_ptr<DesktopNotifier> &installed()
{
    static std::unique_ptr<DesktopNotifier> notifier;
    return notifier;
}

} // namespace

DesktopNotifier::~DesktopNotifier() = default;

DesktopNotifier &DesktopNotifier::shared()
{
    if (!installed())
        installed() = std::make_unique<FreedesktopNotifier>();
    return *installed();
}

void DesktopNotifier::setShared(std::unique_ptr<DesktopNotifier> notifier)
{
    installed() = std::move(notifier);
}
