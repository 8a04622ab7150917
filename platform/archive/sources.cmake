# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  archive/Archive.cpp archive/Archive.h
  archive/ObjectArchive.cpp archive/ObjectArchive.h)
