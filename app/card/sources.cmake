# SPDX-License-Identifier: MIT
target_sources(BriskoApp PRIVATE
  card/CardActions.h
  card/CardLinks.cpp card/CardLinks.h
  card/CardText.cpp card/CardText.h
  card/FlippedGeometry.h
  card/MyTableView.cpp card/MyTableView.h
  card/PersonView.cpp card/PersonView.h
  card/PropertyView.cpp card/PropertyView.h)
