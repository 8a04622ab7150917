# SPDX-License-Identifier: MIT
target_sources(BriskoCommon PRIVATE
  keycombo/KeyBroadcaster.cpp keycombo/KeyBroadcaster.h
  keycombo/KeyCombo.cpp keycombo/KeyCombo.h
  keycombo/KeyComboAdditions.h keycombo/StoredKeyCombo.h)
