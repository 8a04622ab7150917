# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  hotkey/HotKeyCenter.cpp hotkey/HotKeyCenter.h
  hotkey/HotKeyNotices.cpp hotkey/HotKeyNotices.h
  hotkey/StoredHotKey.cpp hotkey/StoredHotKey.h)
