# SPDX-License-Identifier: MIT
set(_brisko_notification_xml
    "${CMAKE_SOURCE_DIR}/resources/com.ambertide.DistributedNotificationCenter.xml")
set(_brisko_notification_dbus)
qt_add_dbus_adaptor(_brisko_notification_dbus "${_brisko_notification_xml}"
  platform/notifications/DistributedNotificationEmitter.h DistributedNotificationEmitter
  distributednotificationcenter_adaptor DistributedNotificationCenterAdaptor)
qt_add_dbus_interface(_brisko_notification_dbus "${_brisko_notification_xml}"
  distributednotificationcenter_interface)
qt_add_dbus_interface(_brisko_notification_dbus
  "${CMAKE_SOURCE_DIR}/resources/org.freedesktop.Notifications.xml" notifications_interface)
target_sources(BriskoPlatform PRIVATE
  ${_brisko_notification_dbus}
  notifications/ControlCommands.h
  notifications/DesktopNotifier.cpp notifications/DesktopNotifier.h
  notifications/DistributedNotificationCenter.cpp notifications/DistributedNotificationCenter.h
  notifications/DistributedNotificationEmitter.h
  notifications/NotificationCenter.cpp notifications/NotificationCenter.h
  notifications/freedesktop/FreedesktopNotifier.cpp
  notifications/freedesktop/FreedesktopNotifier.h)
target_include_directories(BriskoPlatform PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
