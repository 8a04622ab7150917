// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/VCardProperty.h"
#include "platform/addressbook/VCardReader.h"

#include <QByteArray>

/// The image of a PHOTO or LOGO property: inline (base64 or a `data:` URI), or for a card of
/// a contact store a `file:` link. A link to anywhere else is never fetched.
namespace VCardPhoto {

/// Whether the property carries an image, without decoding it.
bool mayHoldImage(const VCardProperty &property, VCardReader::PhotoLinks links);
/// The image's encoded bytes; empty without one.
QByteArray decodeImage(const VCardProperty &property, VCardReader::PhotoLinks links);

} // namespace VCardPhoto
