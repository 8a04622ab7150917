# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  core/Bundle.cpp core/Bundle.h
  core/InstallLayout.cpp core/InstallLayout.h
  core/PropertyList.cpp core/PropertyList.h
  core/Translations.cpp core/Translations.h)
