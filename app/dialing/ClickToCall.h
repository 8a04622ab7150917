// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

/// The click-to-call web service: a request asks it to ring the account's phone and connect
/// it to another number; the first three characters of its answer carry the status.
namespace ClickToCall {

/// The number as the service takes it: "(", ")", blanks and "-" removed, all else kept.
QString targetNumber(const QString &phoneNumber);

/// The call request to the service (ClickToCallService). Each value is percent-encoded as one
/// query value, so a password with "&" or "#" in it stays the password.
QUrl requestUrl(const QString &accountName, const QString &password, const QString &fromNumber,
                const QString &toNumber);

/// The status in the answer's first three characters read as a decimal number, leading blanks
/// and a sign allowed; 0 means the call is being placed. Nothing when those characters hold no
/// digit: an empty answer or a page from something else (a captive portal's login page) placed
/// no call.
std::optional<int> statusCode(const QByteArray &answer);

} // namespace ClickToCall
