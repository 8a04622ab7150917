# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  settings/LooseValue.cpp settings/LooseValue.h
  settings/UserDefaults.cpp settings/UserDefaults.h)
