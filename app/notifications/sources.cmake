# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  notifications/ControlNotifications.cpp notifications/ControlNotifications.h)
