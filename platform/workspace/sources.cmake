# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  workspace/Workspace.cpp workspace/Workspace.h
  workspace/xdg/XdgWorkspace.cpp workspace/xdg/XdgWorkspace.h)
