// SPDX-License-Identifier: MIT
#include "HotKeyBackend.h"

#include "hotkey/xcb/XcbHotKeyBackend.h"

HotKeyBackend::HotKeyBackend(QObject *parent)
    : QObject(parent)
{}

HotKeyBackend::~HotKeyBackend() = default;

HotKeyRef HotKeyBackend::failed(HotKeyFailure *failure, HotKeyFailure::Cause cause,
                                const QString &detail)
{
    if (failure)
        *failure = {cause, detail};
    return 0;
}

std::unique_ptr<HotKeyBackend> HotKeyBackend::createDefault()
{
    return std::make_unique<XcbHotKeyBackend>();
}
