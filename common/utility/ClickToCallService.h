// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <utility>

/// Where the click-to-call web service lives and how its requests are written; the dial
/// request of the application and the caller-number request of the pane both go through here.
namespace ClickToCallService {

/// Scheme and host of the service. BRISKO_CLICK_TO_CALL_ADDRESS in the environment, or
/// setServiceAddress(), points it elsewhere (a loopback server in tests).
QString serviceAddress();
/// An empty address restores the usual one.
void setServiceAddress(const QString &address);

/// A request to `path` on the service with these query keys and values, in order. Each
/// value is percent-encoded whole, so a password with "&", "#" or a blank in it stays the
/// password.
QUrl requestUrl(const char *path, const QList<std::pair<const char *, QString>> &query);

/// More caller numbers than an account could have; a flood of them would be stored and read
/// at every showing of the pane.
inline constexpr qsizetype kMaxCallerNumbers = 200;
inline constexpr qsizetype kMaxCallerNumberLength = 40;

/// Those of `candidates` a phone number can be: a digit at least, otherwise only digits, "+",
/// "-", "(", ")" and blanks, at most kMaxCallerNumberLength characters; the first
/// kMaxCallerNumbers of them. `dropped` counts the others.
QStringList acceptedCallerNumbers(const QStringList &candidates, qsizetype *dropped = nullptr);

} // namespace ClickToCallService
