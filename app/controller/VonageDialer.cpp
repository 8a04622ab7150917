// SPDX-License-Identifier: MIT
#include "app/controller/VonageDialer.h"

#include "app/dialing/ClickToCall.h"
#include "common/SettingsKeys.h"
#include "platform/net/UrlLoading.h"
#include "platform/settings/UserDefaults.h"

#include <QThread>

#include <memory>

#include <optional>

namespace {

UserDefaults &defaults()
{
    return UserDefaults::standardUserDefaults();
}

} // namespace

VonageDialer::VonageDialer(StatusLine statusLine, QObject *parent)
    : QObject(parent)
    , _setStatusText(std::move(statusLine))
{}

void VonageDialer::dialWithVonage(const QString &phoneNumber)
{
    _setStatusText(tr("Dialing ..."));
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
    struct Outcome
    {
        std::optional<QByteArray> answer;
        QString error;
    };
    const auto outcome = std::make_shared<Outcome>();
    // A service that does not answer holds the request for its whole time-out: on a thread
    // of its own, while the window, the hot key and the control channel go on answering.
    QThread *request = QThread::create([outcome, url] {
        outcome->answer = UrlLoading::dataWithContentsOfURL(url, UrlLoading::kDefaultTimeoutSeconds,
                                                            &outcome->error);
    });
    connect(request, &QThread::finished, this,
            [this, outcome] { _dialAnswered(outcome->answer, outcome->error); });
    connect(request, &QThread::finished, request, &QObject::deleteLater);
    request->start();
}

void VonageDialer::_dialAnswered(const std::optional<QByteArray> &answer, const QString &error)
{
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
