# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  hotkey/AssertionHandler.cpp hotkey/AssertionHandler.h
  hotkey/HotKeyBackend.cpp hotkey/HotKeyBackend.h
  hotkey/KeyCodeTable.cpp hotkey/KeyCodeTable.h
  hotkey/xcb/XcbHotKeyBackend.cpp hotkey/xcb/XcbHotKeyBackend.h
  hotkey/test/RecordingHotKeyBackend.cpp hotkey/test/RecordingHotKeyBackend.h)
