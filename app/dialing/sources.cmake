# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  dialing/ClickToCall.cpp dialing/ClickToCall.h)
