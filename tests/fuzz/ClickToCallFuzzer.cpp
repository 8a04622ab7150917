// SPDX-License-Identifier: MIT
// The click-to-call service's answers: the status of a call request (the application) and the
// caller numbers of an account (the pane), and the requests that carry text from a card.
#include "tests/fuzz/FuzzSupport.h"

#include "app/dialing/ClickToCall.h"
#include "common/utility/ClickToCallService.h"
#include "pane/vonage/VonageProxy.h"

#include <QUrlQuery>

namespace {

bool isCallerNumber(const QString &number)
{
    if (number.isEmpty() || number.size() > ClickToCallService::kMaxCallerNumberLength)
        return false;
    bool digit = false;
    for (const QChar c : number) {
        digit = digit || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (!QStringLiteral("0123456789+-() ").contains(c))
            return false;
    }
    return digit;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer = FuzzSupport::bytes(data, size);

    // The status lies in the first three characters and nowhere else.
    const std::optional<int> status = ClickToCall::statusCode(answer);
    FUZZ_CHECK(status == ClickToCall::statusCode(answer.left(3)),
               QStringLiteral("the status depends on what follows the first three characters"));
    FUZZ_CHECK(!status || (*status >= -99 && *status <= 999),
               QStringLiteral("status %1 from three characters").arg(*status));

    bool authenticationFailed = false;
    qsizetype dropped = 0;
    const std::optional<QStringList> numbers =
        VonageProxy::numbersFromAnswer(answer, &authenticationFailed, &dropped);
    FUZZ_CHECK(authenticationFailed == answer.contains(':'),
               QStringLiteral("an error text is told by its colon"));
    if (numbers) {
        FUZZ_CHECK(!numbers->isEmpty() && numbers->size() <= ClickToCallService::kMaxCallerNumbers,
                   QStringLiteral("%1 caller numbers").arg(numbers->size()));
        for (const QString &number : *numbers) {
            FUZZ_CHECK(isCallerNumber(number), QStringLiteral("caller number \"%1\"").arg(number));
            FUZZ_CHECK(answer.contains(number.toLatin1()),
                       QStringLiteral("\"%1\" is not in the answer").arg(number));
        }
    }

    // Text from a card or the user reaches the service as the very value it was.
    const QString text = QString::fromUtf8(answer);
    const QUrl request = ClickToCall::requestUrl(text, text, text, text);
    FUZZ_CHECK(request.isValid(), QStringLiteral("the call request is no valid address"));
    const QUrlQuery query(request);
    FUZZ_CHECK(query.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded) == text,
               QStringLiteral("the password changed on its way"));
    FUZZ_CHECK(query.queryItemValue(QStringLiteral("tonumber"), QUrl::FullyDecoded) ==
                   ClickToCall::targetNumber(text),
               QStringLiteral("the number called changed on its way"));
    return 0;
}
