// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QUrl>

/// Links made from contact data. A contact file can come from anywhere, so a row opens only
/// what its kind promises: a web row a web page, an e-mail row a new message.
namespace CardLinks {

/// http and https addresses as they are; a bare host ("example.com/about") gets https. Empty
/// for any other scheme (file:, javascript:, smb: …) and for text that makes no web address.
QUrl webLink(const QString &value);

/// "mailto:" with the address as its path, so it cannot add headers or a body. A value
/// already written as a mailto: link is taken without it. Empty for a value naming another
/// scheme, and for an empty one.
QUrl mailLink(const QString &value);

/// "tel:" with the number percent-encoded ("+" kept).
QUrl phoneLink(const QString &value);

} // namespace CardLinks
