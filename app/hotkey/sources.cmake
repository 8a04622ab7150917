# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  hotkey/HotKeyCenter.cpp hotkey/HotKeyCenter.h)
