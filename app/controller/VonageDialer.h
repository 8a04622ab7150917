// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QLabel;

/// Click-to-call: asks the Vonage service to connect the account's phone to a number, and
/// says in the search window's status line how it went.
class VonageDialer final : public QObject
{
    Q_OBJECT

public:
    explicit VonageDialer(QLabel &statusLine, QObject *parent = nullptr);

    /// Asks the click-to-call service to connect the account's phone to `phoneNumber`,
    /// waiting for its answer; the status line says how it went.
    void dialWithVonage(const QString &phoneNumber);
    /// The request for `phoneNumber` with the account in the settings.
    QUrl _vonageUrlForNumber(const QString &phoneNumber) const;
    void _dialWithVonageUrl(const QUrl &url);

private:
    void _setStatusText(const QString &text);

    QLabel &_statusLine;
};
