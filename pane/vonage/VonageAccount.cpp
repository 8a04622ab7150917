// SPDX-License-Identifier: MIT
#include "pane/vonage/VonageAccount.h"

#include "common/SettingsKeys.h"
#include "common/utility/ClickToCallService.h"
#include "pane/store/BriskoDefaults.h"

#include <QComboBox>
#include <QDialog>
#include <QSignalBlocker>

VonageAccount::VonageAccount(BriskoDefaults *store, Alert alert, QObject *parent)
    : QObject(parent)
    , _store(store)
    , _alert(std::move(alert))
{}

void VonageAccount::setControls(QComboBox *numbers, QDialog *progress)
{
    _numbers = numbers;
    _progress = progress;
}

void VonageAccount::load()
{
    _proxy.setName(_store->valueForKey(DefVonageName).toString());
    _proxy.setPassword(_store->valueForKey(DefVonagePassword).toString());
    showNumbers();
}

bool VonageAccount::hasChosenNumber() const
{
    return !_store->valueForKey(DefSelectedVonageNumber).toString().isEmpty();
}

bool VonageAccount::storeAndFetchNumbers(const QString &name, const QString &password)
{
    _store->setValueForKey(name, DefVonageName);
    _store->setValueForKey(password, DefVonagePassword);
    _proxy.setName(name);
    _proxy.setPassword(password);

    Q_EMIT fetchingChanged(true);
    if (_progress) {
        // A dialog of the interface file belongs to the pane's window already.
        _progress->setWindowModality(Qt::WindowModal);
        _progress->show();
    }
    const std::optional<QStringList> numbers = _proxy.numbersWhileHandlingEvents();
    Q_EMIT fetchingChanged(false);
    if (_progress)
        _progress->hide();

    if (numbers) {
        _store->setValueForKey(QVariant(*numbers).toList(), DefVonageNumbers);
        _store->setValueForKey(numbers->first(), DefSelectedVonageNumber);
        showNumbers();
        return true;
    }
    if (_proxy.authenticationFailed())
        _alert(tr("Authentication Failed"),
               tr("Please check your Vonage Account Name and Password."));
    else
        _alert(tr("Unable to Reach Vonage"), tr("Please check your network connection."));
    _store->setBool(false, DefVonageEnabled);
    _store->setValueForKey(QVariant(), DefVonageNumbers);
    _store->setValueForKey(QVariant(), DefSelectedVonageNumber);
    showNumbers();
    return false;
}

void VonageAccount::chooseNumber(int index)
{
    // "Unavailable" stands for no number at all and is never stored as one.
    if (!_numbers || !_numbers->isEnabled() || index < 0)
        return;
    _store->setValueForKey(_numbers->itemText(index), DefSelectedVonageNumber);
}

void VonageAccount::showNumbers()
{
    if (!_numbers)
        return;
    const QSignalBlocker blocker(_numbers);
    _numbers->clear();
    QStringList stored;
    for (const QVariant &number : _store->valueForKey(DefVonageNumbers).toList()) {
        if (number.metaType().id() == QMetaType::QString && !number.toString().isEmpty())
            stored.append(number.toString());
    }
    // What an older version stored from a hostile answer is shown no more than a new answer.
    const QStringList numbers = ClickToCallService::acceptedCallerNumbers(stored);
    _numbers->setEnabled(!numbers.isEmpty());
    if (numbers.isEmpty()) {
        _numbers->addItem(tr("Unavailable"));
        return;
    }
    _numbers->addItems(numbers);
    const qsizetype selected =
        numbers.indexOf(_store->valueForKey(DefSelectedVonageNumber).toString());
    if (selected >= 0)
        _numbers->setCurrentIndex(int(selected));
}
