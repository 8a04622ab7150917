// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"
#include "platform/hotkey/HotKeyBackend.h"

#include <optional>

/// What the controller's parts ask of the controller that owns them, so that each part can be
/// tried without the whole controller.
class ControllerHost
{
public:
    virtual ~ControllerHost() = default;

    /// While an alert is open the hot key brings it forward instead of the search window, and
    /// the launch greeting waits.
    virtual bool hasOpenAlert() const = 0;
    virtual void alertWillOpen() = 0;
    virtual void alertDidEnd() = 0;
    /// Brings the application forward: an open alert, else the search window.
    virtual void activateApplication() = 0;
    /// The activation hot key as it is used, and why it does not work when it does not.
    virtual KeyCombo activationHotKey() const = 0;
    virtual std::optional<HotKeyFailure> activationHotKeyFailure() const = 0;
};
