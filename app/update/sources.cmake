# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  update/VersionChecker.cpp update/VersionChecker.h
  update/VersionText.cpp)
