# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  core/BackgroundRelease.h
  core/Bundle.cpp core/Bundle.h
  core/PropertyList.cpp core/PropertyList.h)
