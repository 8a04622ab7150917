// SPDX-License-Identifier: MIT
#pragma once

class QString;

/// What the card's rows ask of the application: everything a row does beyond copying and
/// opening links goes through here, so rows can be tried without the whole controller.
class CardActions
{
public:
    virtual ~CardActions() = default;

    /// Hides the search window and shows `string` across the screen.
    virtual void showStringInLargeType(const QString &string) = 0;
    /// Asks the click-to-call service to connect the account's phone to `phoneNumber`.
    virtual void dialWithVonage(const QString &phoneNumber) = 0;
    virtual void dialWithSkype(const QString &phoneNumber) = 0;
    /// A short note in the search window's status line (a link that was not opened, say).
    virtual void showStatusText(const QString &text) = 0;
};
