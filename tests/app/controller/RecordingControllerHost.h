// SPDX-License-Identifier: MIT
#pragma once

#include "controller/ControllerHost.h"

/// A controller for its parts to report to: counts the alerts they open and the activations
/// they ask for, and answers with the hot key it is given.
class RecordingControllerHost final : public ControllerHost
{
public:
    bool hasOpenAlert() const override { return openAlerts > 0; }
    void alertWillOpen() override
    {
        ++openAlerts;
        ++alertsOpened;
    }
    void alertDidEnd() override { --openAlerts; }
    void activateApplication() override { ++activations; }
    KeyCombo activationHotKey() const override { return hotKey; }
    std::optional<HotKeyFailure> activationHotKeyFailure() const override { return failure; }

    int openAlerts = 0;
    int alertsOpened = 0;
    int activations = 0;
    KeyCombo hotKey;
    std::optional<HotKeyFailure> failure;
};
