// SPDX-License-Identifier: MIT
#pragma once

#include "platform/net/UrlLoading.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// The pane's client of the click-to-call service: it holds a Vonage account's name and
/// password and asks the service for the account's caller numbers. A plain value, so a copy
/// can make the request on another thread while the pane stays responsive.
///
/// The password is sent to the service and nowhere else: it is never printed, logged or
/// handed to another program.
class VonageProxy final
{
public:
    QString name() const { return _name; }
    void setName(const QString &name) { _name = name; }
    QString password() const { return _password; }
    void setPassword(const QString &password) { _password = password; }

    /// How long a request may take before it counts as unanswered.
    int timeoutSeconds() const { return _timeoutSeconds; }
    void setTimeoutSeconds(int seconds) { _timeoutSeconds = seconds; }

    /// The account's caller numbers in the service's order, blocking the calling thread until
    /// the service answers or the time-out passes. Nothing when the service could not be
    /// asked, gave no number, or reported an error (then authenticationFailed()).
    std::optional<QStringList> numbers();
    /// numbers(), asked on a thread of its own while this thread goes on handling its events
    /// (painting, timers, the bus) but no user input; the outcome is taken over here.
    std::optional<QStringList> numbersWhileHandlingEvents();
    /// The last request was answered with an error text.
    bool authenticationFailed() const { return _authFailed; }

    /// The caller numbers of the service's answer to the numbers request: nothing when it
    /// holds none or is an error text (then `authenticationFailed`). `dropped` counts the
    /// values left out as no caller number.
    static std::optional<QStringList>
    numbersFromAnswer(const QByteArray &answer, bool *authenticationFailed, qsizetype *dropped);

private:
    QString _name;
    QString _password;
    bool _authFailed = false;
    int _timeoutSeconds = UrlLoading::kDefaultTimeoutSeconds;
};
