// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AddressBookSource.h"

/// A contact store that answers when a test tells it to, with the persons the test gives.
class ScriptedAddressBookSource final : public AddressBookSource
{
    Q_OBJECT

public:
    using AddressBookSource::AddressBookSource;

    void start() override;
    QList<PersonPtr> persons() const override { return _persons; }
    bool isSettled() const override { return _settled; }

    /// Answers with `persons`, or changes them after the first answer.
    void answer(QList<PersonPtr> persons);
    /// Gives up without an answer, as after a time-out.
    void giveUp();

Q_SIGNALS:
    /// The owner asked the store for its contacts. A signal, not a flag: an owner that does not
    /// want the store may have destroyed it by the time a test looks.
    void started();

private:
    QList<PersonPtr> _persons;
    bool _settled = false;
};
