// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

/// Blocking web requests, for the few places that must wait for a service's answer.
namespace UrlLoading {

/// Give-up time of a request: a service that does not answer must not hold the caller for
/// longer than this.
inline constexpr int kDefaultTimeoutSeconds = 20;

/// Fetches `url` on the calling thread and returns the body of a successful (2xx) answer.
/// No value when the host cannot be reached, the request times out or the service answers
/// with an error status; `error`, when given, then says why.
std::optional<QByteArray> dataWithContentsOfURL(const QUrl &url,
                                                int timeoutSeconds = kDefaultTimeoutSeconds,
                                                QString *error = nullptr);

/// Trusts only the certificates in `pem` (PEM form) for later https requests, in place of the
/// system's; empty returns to the system's. Meant for tests against a loopback server that
/// shows a certificate of its own.
void setTrustedCertificates(const QByteArray &pem);

} // namespace UrlLoading
