// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QList>
#include <QObject>

#include <memory>

/// A store of contacts kept by another program, read beside the vCard folders: the address
/// book asks it for its persons and listens for changes. A source answers asynchronously; the
/// address book never waits for it beyond the time it gives itself to answer.
class AddressBookSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /// The source of the desktop's own contact store, or null where there is none to read:
    /// Evolution Data Server when Brisko was built with it and BRISKO_EDS is not 0.
    static std::unique_ptr<AddressBookSource> createDefault();

    /// Starts reading; called once, on the thread that owns the source, only when the user
    /// named no address book of their own.
    virtual void start() = 0;
    /// The persons read so far, in the source's own order. Each carries the contact's UID as
    /// its unique id.
    virtual QList<PersonPtr> persons() const = 0;
    /// Whether the source has answered, or given up: until then an empty persons() does not
    /// mean that the user keeps no contacts there. Once true, it stays true.
    virtual bool isSettled() const = 0;

Q_SIGNALS:
    /// persons() or isSettled() changed.
    void personsChanged();
};
