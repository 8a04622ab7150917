# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  search/RKAddressBook.cpp search/RKAddressBook.h
  search/PersonExtras.cpp search/PersonExtras.h
  search/PersonCardFile.cpp search/PersonCardFile.h
  search/SearchFolding.cpp search/SearchFolding.h
  search/SearchPrefilter.cpp search/SearchPrefilter.h
  search/StringWhitespace.cpp search/StringWhitespace.h
  search/FoldedNames.h
  search/MatchExplanation.cpp search/MatchExplanation.h
  search/RelevanceOrder.cpp search/RelevanceOrder.h
  search/PickHistory.cpp search/PickHistory.h)
