# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  script/ShellQuote.cpp script/ShellQuote.h
  script/RKAppleScript.cpp script/RKAppleScript.h
  script/TellApplication.cpp script/TellApplication.h
  script/PreferencePaneOpener.cpp script/PreferencePaneOpener.h)
