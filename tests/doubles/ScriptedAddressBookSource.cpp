// SPDX-License-Identifier: MIT
#include "tests/doubles/ScriptedAddressBookSource.h"

void ScriptedAddressBookSource::start()
{
    Q_EMIT started();
}

void ScriptedAddressBookSource::answer(QList<PersonPtr> persons)
{
    _persons = std::move(persons);
    _settled = true;
    Q_EMIT personsChanged();
}

void ScriptedAddressBookSource::giveUp()
{
    _settled = true;
    Q_EMIT personsChanged();
}
