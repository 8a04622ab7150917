// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/AddressBookSource.h"

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
    bool wasStarted() const { return _started; }

private:
    QList<PersonPtr> _persons;
    bool _settled = false;
    bool _started = false;
};
