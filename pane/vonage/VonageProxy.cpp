// SPDX-License-Identifier: MIT
#include "pane/vonage/VonageProxy.h"

#include "common/utility/ClickToCallService.h"

#include <QEventLoop>

#include <cstdio>

#include <thread>

std::optional<QStringList> VonageProxy::numbers()
{
    const std::optional<QByteArray> answer = UrlLoading::dataWithContentsOfURL(
        ClickToCallService::requestUrl("/tpcc/getnumbers",
                                       {{"username", _name}, {"password", _password}}),
        _timeoutSeconds);
    _authFailed = false;
    if (!answer)
        return std::nullopt;
    qsizetype dropped = 0;
    std::optional<QStringList> numbers = numbersFromAnswer(*answer, &_authFailed, &dropped);
    if (dropped > 0)
        std::fprintf(stderr,
                     "BriskoPane: the click-to-call service's answer held %lld values that are no "
                     "caller numbers, or more than %lld numbers; they were left out.\n",
                     static_cast<long long>(dropped),
                     static_cast<long long>(ClickToCallService::kMaxCallerNumbers));
    return numbers;
}

std::optional<QStringList> VonageProxy::numbersFromAnswer(const QByteArray &answer,
                                                          bool *authenticationFailed,
                                                          qsizetype *dropped)
{
    *authenticationFailed = false;
    *dropped = 0;
    const QString text = QString::fromLatin1(answer);
    // An error text always holds a colon; a list of numbers never does.
    if (text.contains(QLatin1Char(':'))) {
        *authenticationFailed = true;
        return std::nullopt;
    }
    QStringList pieces;
    for (const QString &piece : text.split(QLatin1Char(','))) {
        // A line break after the last number is no number of its own.
        const QString number = piece.trimmed();
        if (!number.isEmpty())
            pieces.append(number);
    }
    QStringList numbers = ClickToCallService::acceptedCallerNumbers(pieces, dropped);
    if (numbers.isEmpty())
        return std::nullopt;
    return numbers;
}

std::optional<QStringList> VonageProxy::numbersWhileHandlingEvents()
{
    // The worker has a copy of its own, so nothing here is shared while it runs.
    VonageProxy request = *this;
    std::optional<QStringList> numbers;
    QEventLoop waiting;
    std::thread worker([&request, &numbers, &waiting] {
        numbers = request.numbers();
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Clicks and keys wait: nothing may change under the request.
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    _authFailed = request._authFailed;
    return numbers;
}
