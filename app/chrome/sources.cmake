# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  chrome/FramelessWindow.cpp chrome/FramelessWindow.h
  chrome/RoundedRectView.cpp chrome/RoundedRectView.h
  chrome/WindowExtras.cpp chrome/WindowExtras.h)
target_link_libraries(BriskoApp PRIVATE PkgConfig::XCB)
