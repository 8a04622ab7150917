# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  chrome/FramelessWindow.cpp chrome/FramelessWindow.h
  chrome/LargeTypeView.cpp chrome/LargeTypeView.h
  chrome/LargeTypeWindow.cpp chrome/LargeTypeWindow.h
  chrome/MenuButton.cpp chrome/MenuButton.h
  chrome/RKWindow.cpp chrome/RKWindow.h
  chrome/RoundedRectView.cpp chrome/RoundedRectView.h
  chrome/SplashWindow.cpp chrome/SplashWindow.h
  chrome/WindowAppearance.cpp chrome/WindowAppearance.h
  chrome/WindowExtras.cpp chrome/WindowExtras.h)
target_link_libraries(BriskoApp PRIVATE PkgConfig::XCB)
