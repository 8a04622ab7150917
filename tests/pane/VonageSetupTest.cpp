// SPDX-License-Identifier: MIT
#include "common/SettingsKeys.h"
#include "common/utility/ClickToCallService.h"
#include "pane/store/BriskoDefaults.h"
#include "pane/vonage/VonageProxy.h"
#include "tests/pane/PaneFixture.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ModalAnswer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryFile>

#include <cstdio>

#include <unistd.h>

namespace {

const QString Password = QStringLiteral("pw-Secret-4711");

/// A click-to-call service of the test's own, for as long as the object lives.
class ServiceStandIn final
{
public:
    ServiceStandIn()
    {
        ClickToCallService::setServiceAddress(QString::fromLatin1(_server.address()));
    }
    ~ServiceStandIn() { ClickToCallService::setServiceAddress(QString()); }
    LoopbackHttpServer *operator->() { return &_server; }

private:
    LoopbackHttpServer _server;
};

TEST(VonageProxy, ReadsTheNumbersFromTheServicesAnswer)
{
    struct Case
    {
        const char *name;
        int status;
        QByteArray body;
        bool silent;
        std::optional<QStringList> numbers;
        bool authenticationFailed;
    };
    const Case cases[] = {
        {"two numbers and a trailing comma", 200, "5550100,555 0199,", false,
         QStringList{QStringLiteral("5550100"), QStringLiteral("555 0199")}, false},
        {"an error text with a colon", 200, "Error: invalid password", false, std::nullopt, true},
        // The flag is the last request's alone.
        {"a line break after the number", 200, "5550100\r\n", false,
         QStringList{QStringLiteral("5550100")}, false},
        {"an empty body", 200, "", false, std::nullopt, false},
        {"only commas", 200, ",,", false, std::nullopt, false},
        {"an error status", 503, "5550100", false, std::nullopt, false},
        {"junk and terminal escapes among the numbers", 200,
         "555 0100,\x1b]0;owned\x07,\x01\xff,+1 (555) 010-0199", false,
         QStringList{QStringLiteral("555 0100"), QStringLiteral("+1 (555) 010-0199")}, false},
        {"a number longer than any", 200, QByteArray(41, '5') + ",5550100", false,
         QStringList{QStringLiteral("5550100")}, false},
        {"only words", 200, "abc,def", false, std::nullopt, false},
        {"a flood of numbers", 200, QByteArray("1,").repeated(5000), false,
         QStringList(200, QStringLiteral("1")), false},
        {"a service that never answers", 200, "5550100", true, std::nullopt, false},
    };
    ServiceStandIn service;
    VonageProxy proxy;
    proxy.setName(QStringLiteral("Ann & Bob"));
    proxy.setPassword(QStringLiteral("p w#1+"));
    proxy.setTimeoutSeconds(1);
    for (const Case &c : cases) {
        service->setAnswer(c.status, c.body);
        service->setSilent(c.silent);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(proxy.numbers(), c.numbers) << c.name;
        EXPECT_EQ(proxy.authenticationFailed(), c.authenticationFailed) << c.name;
        EXPECT_LT(clock.elapsed(), 5000) << c.name << ": the time-out was not kept";
    }
    // Each value whole: a blank, "&", "#" or "+" unencoded would cut or change it.
    for (const QByteArray &target : service->requestTargets())
        EXPECT_EQ(target,
                  QByteArray("/tpcc/getnumbers?username=Ann%20%26%20Bob&password=p%20w%231%2B"));
    EXPECT_EQ(service->requestTargets().size(), qsizetype(std::size(cases)));
}

/// Standard error, kept for the life of the object instead of shown.
class CapturedStandardError final
{
public:
    CapturedStandardError()
    {
        _file.open();
        std::fflush(stderr);
        _saved = ::dup(STDERR_FILENO);
        ::dup2(_file.handle(), STDERR_FILENO);
    }
    ~CapturedStandardError() { _restore(); }

    QByteArray text()
    {
        _restore();
        _file.seek(0);
        return _file.readAll();
    }

private:
    void _restore()
    {
        if (_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(_saved, STDERR_FILENO);
        ::close(_saved);
        _saved = -1;
    }

    QTemporaryFile _file;
    int _saved = -1;
};

/// What the account sheet showed and how it was answered.
struct AccountSheet
{
    bool seen = false;
    bool windowModal = false;
    QString nameShown;
    bool okWhileEmpty = true;
    bool okWhenFilled = false;
};

/// Types the account into the sheet once it is up and presses `button`.
void answerAccountSheet(const QString &name, const QString &button, AccountSheet *sheet)
{
    answerNextModal<QDialog>(
        [=](QDialog *window) {
            sheet->seen = true;
            sheet->windowModal = window->windowModality() == Qt::WindowModal;
            auto *nameField = window->findChild<QLineEdit *>(QStringLiteral("vonageNameField"));
            auto *passwordField =
                window->findChild<QLineEdit *>(QStringLiteral("vonagePasswordField"));
            auto *ok = window->findChild<QPushButton *>(QStringLiteral("vonageOkButton"));
            sheet->nameShown = nameField->text();
            for (QLineEdit *field : {nameField, passwordField}) {
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Backspace);
            }
            sheet->okWhileEmpty = ok->isEnabled();
            QTest::keyClicks(nameField, name);
            QTest::keyClicks(passwordField, Password);
            sheet->okWhenFilled = ok->isEnabled();
            window->findChild<QPushButton *>(button)->click();
        },
        QStringLiteral("vonageSetupWindow"));
}

/// The account setup against a service of the test's own.
class VonageSetup : public Pane
{
protected:
    void SetUp() override
    {
        Pane::SetUp();
        pane.vonage().setTimeoutSeconds(1);
    }

    /// Set up with two numbers, the second chosen and switched on; or not set up at all.
    void setState(bool configured)
    {
        BriskoDefaults &store = *pane.userDefaults();
        const QVariantList numbers{QStringLiteral("555 0100"), QStringLiteral("555 0199")};
        store.setValueForKey(configured ? numbers : QVariant(), DefVonageNumbers);
        store.setValueForKey(configured ? numbers.last() : QVariant(), DefSelectedVonageNumber);
        store.setBool(configured, DefVonageEnabled);
        pane.vonage().setName(configured ? QStringLiteral("stored-ann") : QString());
        pane.willSelect();
        recorder.settled();
    }

    QStringList popUp()
    {
        QStringList items;
        auto *numbers = control<QComboBox>("vonageNumbersPop");
        for (int i = 0; i < numbers->count(); ++i)
            items.append(numbers->itemText(i));
        return items;
    }

    ServiceStandIn service;
};

TEST_F(VonageSetup, EveryOutcomeLeavesAConsistentAccount)
{
    struct Case
    {
        const char *name;
        bool configured;
        const char *button;
        QByteArray body;
        bool silent;
        const char *alert;
        const char *message;
        QStringList numbers;
        bool enabled;
    };
    const char *const unreachable = "Unable to Reach Vonage";
    const char *const network = "Please check your network connection.";
    const Case cases[] = {
        {"a first account",
         false,
         "vonageOkButton",
         "5550100,5550199,",
         false,
         nullptr,
         nullptr,
         {QStringLiteral("5550100"), QStringLiteral("5550199")},
         true},
        {"cancelled on first enabling",
         false,
         "vonageCancelButton",
         {},
         false,
         nullptr,
         nullptr,
         {},
         false},
        {"a wrong password",
         true,
         "vonageOkButton",
         "Error: invalid password",
         false,
         "Authentication Failed",
         "Please check your Vonage Account Name and Password.",
         {},
         false},
        {"no answer in time",
         true,
         "vonageOkButton",
         "5550100",
         true,
         unreachable,
         network,
         {},
         false},
        {"an empty answer", false, "vonageOkButton", "", false, unreachable, network, {}, false},
        {"cancelled once set up",
         true,
         "vonageCancelButton",
         {},
         false,
         nullptr,
         nullptr,
         {QStringLiteral("555 0100"), QStringLiteral("555 0199")},
         true},
        {"another account",
         true,
         "vonageOkButton",
         "5550300",
         false,
         nullptr,
         nullptr,
         {QStringLiteral("5550300")},
         true},
    };
    BriskoDefaults &store = *pane.userDefaults();
    CapturedStandardError standardError;
    for (const Case &c : cases) {
        setState(c.configured);
        service->setAnswer(200, c.body);
        service->setSilent(c.silent);
        const qsizetype requestsBefore = service->requestTargets().size();
        AccountSheet sheet;
        answerAccountSheet(QStringLiteral("ann"), QString::fromLatin1(c.button), &sheet);
        AlertAnswer alert;
        if (c.alert)
            answerNextAlert(QStringLiteral("OK"), &alert);
        // Whether the pane went on painting while the numbers were asked for.
        bool paintedWhileFetching = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto *progress = window.findChild<QDialog *>(QStringLiteral("vonageProgressWindow"));
            paintedWhileFetching |= pane.isFetchingVonageNumbers() && progress->isVisible();
        });
        watch.start(50);

        if (c.configured) {
            QTest::mouseClick(control<QPushButton>("vonageAccountButton"), Qt::LeftButton);
        } else {
            // Switching on an account that is not set up opens the sheet once the click is done.
            toggle(control<QCheckBox>("vonageEnabledSwitch"));
            EXPECT_FALSE(sheet.seen) << c.name;
            EXPECT_TRUE(waitUntil([&sheet] { return sheet.seen; })) << c.name;
        }
        watch.stop();

        EXPECT_TRUE(sheet.seen && sheet.windowModal) << c.name;
        EXPECT_EQ(sheet.nameShown, c.configured ? QStringLiteral("stored-ann") : QString())
            << c.name;
        EXPECT_FALSE(sheet.okWhileEmpty) << c.name;
        EXPECT_TRUE(sheet.okWhenFilled) << c.name;
        const bool confirmed = QLatin1String(c.button) == QLatin1String("vonageOkButton");
        EXPECT_EQ(service->requestTargets().size() - requestsBefore, confirmed ? 1 : 0) << c.name;
        if (confirmed) {
            EXPECT_EQ(store.valueForKey(DefVonageName).toString(), QStringLiteral("ann"));
            EXPECT_EQ(store.valueForKey(DefVonagePassword).toString(), Password);
        }
        EXPECT_EQ(alert.text, QString::fromLatin1(c.alert)) << c.name;
        EXPECT_EQ(alert.informativeText, QString::fromLatin1(c.message)) << c.name;
        EXPECT_EQ(alert.windowModal, c.alert != nullptr) << c.name;
        EXPECT_TRUE(paintedWhileFetching || !c.silent) << c.name << ": the request held the pane";
        EXPECT_FALSE(pane.isFetchingVonageNumbers()) << c.name;

        EXPECT_EQ(store.valueForKey(DefVonageNumbers).toStringList(), c.numbers) << c.name;
        EXPECT_EQ(store.valueForKey(DefSelectedVonageNumber).toString(),
                  c.configured && !confirmed ? QStringLiteral("555 0199") : c.numbers.value(0))
            << c.name;
        EXPECT_EQ(pane.VonageEnabled(), c.enabled) << c.name;
        EXPECT_EQ(control<QCheckBox>("vonageEnabledSwitch")->isChecked(), c.enabled) << c.name;
        EXPECT_EQ(popUp(),
                  c.numbers.isEmpty() ? QStringList{QStringLiteral("Unavailable")} : c.numbers)
            << c.name;
    }
    EXPECT_FALSE(standardError.text().contains(Password.toUtf8()))
        << "the password was printed or logged";
}

TEST_F(VonageSetup, StoredNumbersAreOfferedAndTheChosenOneIsKept)
{
    auto *numbers = control<QComboBox>("vonageNumbersPop");
    EXPECT_EQ(popUp(), QStringList{QStringLiteral("Unavailable")});
    EXPECT_FALSE(numbers->isEnabled()) << "\"Unavailable\" could be chosen as a caller number";

    setState(true);
    pane.userDefaults()->setBool(false, DefVonageEnabled);
    pane.willSelect();
    EXPECT_EQ(numbers->currentText(), QStringLiteral("555 0199"));
    pane.selectVonageNumber(0);
    EXPECT_EQ(pane.userDefaults()->valueForKey(DefSelectedVonageNumber),
              QVariant(QStringLiteral("555 0100")));
    // Set up already: switching on asks nothing.
    toggle(control<QCheckBox>("vonageEnabledSwitch"));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(pane.VonageEnabled());
}

TEST_F(VonageSetup, SwitchingOnWithNumbersButNoneChosenOpensTheSheet)
{
    setState(true);
    BriskoDefaults &store = *pane.userDefaults();
    store.setValueForKey(QVariant(), DefSelectedVonageNumber);
    store.setBool(false, DefVonageEnabled);
    pane.willSelect();
    AccountSheet sheet;
    answerAccountSheet(QStringLiteral("ann"), QStringLiteral("vonageCancelButton"), &sheet);
    toggle(control<QCheckBox>("vonageEnabledSwitch"));
    EXPECT_TRUE(waitUntil([&sheet] { return sheet.seen; })) << "no account sheet came up";
    EXPECT_FALSE(pane.VonageEnabled()) << "switched on without a caller number";
}

TEST(VonageAccount, ThePaneTakesTheStoredAccountWhenItsViewLoads)
{
    TemporaryHome home;
    {
        BriskoPanePref writer{PaneBundle};
        ASSERT_TRUE(
            writer.userDefaults()->setValueForKey(QStringLiteral("stored-ann"), DefVonageName));
        ASSERT_TRUE(writer.userDefaults()->setValueForKey(Password, DefVonagePassword));
    }
    BriskoPanePref pane{PaneBundle};
    ASSERT_NE(pane.loadMainView(), nullptr) << qPrintable(pane.loadError());
    EXPECT_EQ(pane.vonage().name(), QStringLiteral("stored-ann"));
    EXPECT_EQ(pane.vonage().password(), Password);
}

} // namespace
