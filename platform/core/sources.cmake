# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  core/AtomicFile.cpp core/AtomicFile.h
  core/BackgroundRelease.h
  core/Bundle.cpp core/Bundle.h
  core/DisplayServer.cpp core/DisplayServer.h
  core/FileDescriptor.h
  core/InstallLayout.cpp core/InstallLayout.h
  core/PropertyList.cpp core/PropertyList.h
  core/PropertyListCheck.cpp core/PropertyListCheck.h
  core/PrintableText.cpp core/PrintableText.h
  core/RegularFile.cpp core/RegularFile.h
  core/Translations.cpp core/Translations.h
  core/XdgBaseDirectory.cpp core/XdgBaseDirectory.h)
