// SPDX-License-Identifier: MIT
#pragma once

#include "platform/notifications/DesktopNotifier.h"

/// Notifications through the org.freedesktop.Notifications service of the session bus, which
/// KDE Plasma, GNOME and the small notification daemons all provide.
class FreedesktopNotifier final : public DesktopNotifier
{
public:
    void notify(const QString &summary, const QString &body) override;
};
