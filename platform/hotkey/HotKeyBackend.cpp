// SPDX-License-Identifier: MIT
#include "HotKeyBackend.h"

#include "hotkey/xcb/XcbHotKeyBackend.h"

HotKeyBackend::HotKeyBackend(QObject *parent)
    : QObject(parent)
{}

HotKeyBackend::~HotKeyBackend() = default;

std::unique_ptr<HotKeyBackend> HotKeyBackend::createDefault()
{
    return std::make_unique<XcbHotKeyBackend>();
}
