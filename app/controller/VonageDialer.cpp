// SPDX-License-Identifier: MIT
#include "controller/VonageDialer.h"

#include "SettingsKeys.h"
#include "dialing/ClickToCall.h"
#include "net/UrlLoading.h"
#include "settings/UserDefaults.h"

#include <QLabel>

#include <optional>

namespace {

UserDefaults &defaults()
{
    return UserDefaults::standardUserDefaults();
}

} // namespace

VonageDialer::VonageDialer(QLabel &statusLine, QObject *parent)
    : QObject(parent)
    , _statusLine(statusLine)
{}

void VonageDialer::dialWithVonage(const QString &phoneNumber)
{
    _setStatusText(tr("Dialing ..."));
    // The request holds the event loop, so the text is painted now or not at all.
    _statusLine.repaint();
    _dialWithVonageUrl(_vonageUrlForNumber(phoneNumber));
}

QUrl VonageDialer::_vonageUrlForNumber(const QString &phoneNumber) const
{
    return ClickToCall::requestUrl(defaults().stringForKey(DefVonageName),
                                   defaults().stringForKey(DefVonagePassword),
                                   defaults().stringForKey(DefSelectedVonageNumber), phoneNumber);
}

void VonageDialer::_dialWithVonageUrl(const QUrl &url)
{
    QString error;
    const std::optional<QByteArray> answer =
        UrlLoading::dataWithContentsOfURL(url, UrlLoading::kDefaultTimeoutSeconds, &error);
    if (!answer) {
        // No call is being placed, so the status line must not read as if one were.
        qWarning("Brisko: the click-to-call service could not be asked: %s", qPrintable(error));
        _setStatusText(tr("Failed (no answer)"));
        return;
    }
    const std::optional<int> code = ClickToCall::statusCode(*answer);
    if (!code) {
        qWarning("Brisko: the click-to-call service's answer carries no status");
        _setStatusText(tr("Failed (no answer)"));
        return;
    }
    _setStatusText(*code == 0 ? QString() : tr("Failed (error %1)").arg(*code));
}

void VonageDialer::_setStatusText(const QString &text)
{
    _statusLine.setText(text);
}
