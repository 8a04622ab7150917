// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

/// Property lists built to hurt their reader.
namespace HostileFiles {

/// An XML property list of `levels` nested dictionaries.
QByteArray nestedXmlList(int levels);

/// A binary property list of `levels` nested arrays, each holding `references` references to
/// the next level (or to itself with `selfReference`), with `false` at the bottom.
QByteArray nestedBinaryList(int levels, int references, bool selfReference = false);

} // namespace HostileFiles
