# SPDX-License-Identifier: MIT
set(_brisko_portal_xml "${CMAKE_SOURCE_DIR}/resources/org.freedesktop.portal.GlobalShortcuts.xml")
set(_brisko_portal_dbus)
qt_add_dbus_interface(_brisko_portal_dbus "${_brisko_portal_xml}" globalshortcuts_interface)
target_sources(BriskoPlatform PRIVATE
  ${_brisko_portal_dbus}
  hotkey/AssertionHandler.cpp hotkey/AssertionHandler.h
  hotkey/HotKeyBackend.cpp hotkey/HotKeyBackend.h
  hotkey/KeyCodeTable.cpp hotkey/KeyCodeTable.h
  hotkey/KeyboardGrab.cpp hotkey/KeyboardGrab.h
  hotkey/NativeKeyCodes.cpp hotkey/NativeKeyCodes.h
  hotkey/xcb/XcbHotKeyBackend.cpp hotkey/xcb/XcbHotKeyBackend.h
  hotkey/portal/PortalHotKeyBackend.cpp hotkey/portal/PortalHotKeyBackend.h
  hotkey/gnome/GnomeCustomShortcut.cpp hotkey/gnome/GnomeCustomShortcut.h)
