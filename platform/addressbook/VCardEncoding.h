// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QByteArray>
#include <QByteArrayView>

/// How a vCard file's bytes are turned into the UTF-8 text the reader works on.
namespace VCardEncoding {

/// UTF-8 or UTF-16 by the byte-order mark, else UTF-16 when the NULs of mostly ASCII text say
/// so, else UTF-8 (text in another charset is told apart value by value later).
Person::Origin::Encoding detect(QByteArrayView data);

/// `data` as UTF-8 without byte-order mark.
QByteArray normalisedText(const QByteArray &data, Person::Origin::Encoding encoding);

} // namespace VCardEncoding
