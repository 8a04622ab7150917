# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  settings/UserDefaultsExtras.cpp settings/UserDefaultsExtras.h)
