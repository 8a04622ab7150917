# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  session/SessionInstance.cpp session/SessionInstance.h
  session/TerminationSignals.cpp session/TerminationSignals.h)
