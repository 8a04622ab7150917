# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  helpers/StringExtras.cpp helpers/StringExtras.h
  helpers/WorkspaceExtras.cpp helpers/WorkspaceExtras.h
  helpers/FileManagerExtras.cpp helpers/FileManagerExtras.h
  helpers/StringQuote.cpp helpers/StringQuote.h
  helpers/MapLink.cpp helpers/MapLink.h)
