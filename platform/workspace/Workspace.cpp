// SPDX-License-Identifier: MIT
#include "platform/workspace/Workspace.h"

#include "platform/workspace/xdg/XdgWorkspace.h"

namespace {
std::unique_ptr<Workspace> &installed()
{
    static std::unique_ptr<Workspace> workspace;
    return workspace;
}
} // namespace

Workspace::~Workspace() = default;

Workspace &Workspace::shared()
{
    if (!installed())
        installed() = std::make_unique<XdgWorkspace>();
    return *installed();
}

void Workspace::setShared(std::unique_ptr<Workspace> workspace)
{
    installed() = std::move(workspace);
}
