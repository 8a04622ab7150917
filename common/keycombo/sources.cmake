# SPDX-License-Identifier: MIT
target_sources(BriskoCommon PRIVATE
  keycombo/KeyCombo.cpp keycombo/KeyCombo.h
  keycombo/KeyComboAdditions.h)
