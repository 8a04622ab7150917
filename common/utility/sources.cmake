# SPDX-License-Identifier: MIT
target_sources(BriskoCommon PRIVATE
  utility/AlertPanel.cpp utility/AlertPanel.h
  utility/ClickToCallService.cpp utility/ClickToCallService.h
  utility/RKUtility.cpp utility/RKUtility.h
  utility/RKWebsite.cpp utility/RKWebsite.h
  utility/AdvertTextView.cpp utility/AdvertTextView.h
  utility/AccessibleRole.cpp utility/AccessibleRole.h
  utility/Contrast.cpp utility/Contrast.h
  utility/PickHistoryFile.cpp utility/PickHistoryFile.h)
