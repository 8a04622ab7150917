# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  prefpane/PreferencePane.cpp prefpane/PreferencePane.h)
