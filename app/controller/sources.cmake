# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  controller/AppController.cpp controller/AppController.h
  controller/ControllerHost.h
  controller/LaunchGreeter.cpp controller/LaunchGreeter.h
  controller/MatchesTableModel.cpp controller/MatchesTableModel.h
  controller/MatchOrdering.cpp controller/MatchOrdering.h
  controller/MatchRowDelegate.cpp controller/MatchRowDelegate.h
  controller/SearchField.cpp controller/SearchField.h
  controller/SearchPanel.cpp controller/SearchPanel.h
  controller/SearchWindowState.cpp controller/SearchWindowState.h
  controller/UpdateCheck.cpp controller/UpdateCheck.h
  controller/VonageDialer.cpp controller/VonageDialer.h)
