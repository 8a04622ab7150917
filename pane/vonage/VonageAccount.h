// SPDX-License-Identifier: MIT
#pragma once

#include "pane/vonage/VonageProxy.h"

#include <QObject>
#include <QPointer>

#include <functional>

class BriskoDefaults;
class QComboBox;
class QDialog;

/// The click-to-call account as the pane keeps it: the stored name and password, the caller
/// numbers the service gave for them, and the one the user chose to call from. It asks the
/// service while the pane's progress sheet shows, and says what went wrong when that fails.
class VonageAccount final : public QObject
{
    Q_OBJECT
public:
    /// An alert with one button, as the pane shows them.
    using Alert = std::function<void(const QString &title, const QString &message)>;

    VonageAccount(BriskoDefaults *store, Alert alert, QObject *parent = nullptr);

    /// The service's client, holding the stored name and password.
    VonageProxy &proxy() { return _proxy; }
    /// The pane's list of caller numbers and its "asking the service" sheet; either may be
    /// missing from an interface file.
    void setControls(QComboBox *numbers, QDialog *progress);

    /// Takes the stored name and password into the client and shows the stored numbers.
    void load();
    /// Stores the name and password and asks the service for their numbers: the numbers and
    /// the first one as the chosen number on an answer, otherwise a said failure, and the
    /// account off, without numbers. True on an answer.
    bool storeAndFetchNumbers(const QString &name, const QString &password);
    bool hasChosenNumber() const;
    /// The stored numbers in the list, the chosen one selected; "Unavailable" for none.
    void showNumbers();
    /// The number at `index` of the list becomes the chosen one.
    void chooseNumber(int index);

Q_SIGNALS:
    void fetchingChanged(bool fetching);

private:
    BriskoDefaults *_store;
    Alert _alert;
    VonageProxy _proxy;
    QPointer<QComboBox> _numbers;
    QPointer<QDialog> _progress;
};
