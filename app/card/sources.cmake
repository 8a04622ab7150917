# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  card/MyTableView.cpp card/MyTableView.h
  card/PersonView.cpp card/PersonView.h)
