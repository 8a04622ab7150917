// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

/// Click-to-call: asks the Vonage service to connect the account's phone to a number, and
/// says in the search window's status line how it went.
class VonageDialer final : public QObject
{
    Q_OBJECT

public:
    using StatusLine = std::function<void(const QString &text)>;

    explicit VonageDialer(StatusLine statusLine, QObject *parent = nullptr);

    /// Asks the click-to-call service to connect the account's phone to `phoneNumber`; the
    /// status line says "Dialing ..." until the answer, then how it went.
    void dialWithVonage(const QString &phoneNumber);
    /// The request for `phoneNumber` with the account in the settings.
    QUrl _vonageUrlForNumber(const QString &phoneNumber) const;
    void _dialWithVonageUrl(const QUrl &url);

private:
    void _dialAnswered(const std::optional<QByteArray> &answer, const QString &error);

    StatusLine _setStatusText;
};
