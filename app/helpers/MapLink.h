// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>

/// Links to a web map service that searches for a postal address.
namespace MapLink {

/// The map service's host.
QString mapHost();

/// "http://<host>/maps?q=<query>" for an address dictionary ("Street", "City", "State",
/// "ZIP", "Country"). A zip code of five or more characters makes the query street, state
/// (when longer than one character) and zip; a shorter one makes it street, city, state,
/// zip and the country when present. Blanks and line breaks become "+", accents are stripped,
/// and every character that would split the query or spoil the link ("&", "+", "%", "#",
/// quotes, tabs, letters of other scripts) is sent percent-encoded. An empty URL
/// when the text does not form a valid one.
QUrl googleURLWithAddress(const QVariantMap &address);

} // namespace MapLink
