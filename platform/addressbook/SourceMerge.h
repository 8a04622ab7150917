// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QList>

#include <memory>
#include <vector>

/// The files of the address book in source order and their persons as read.
struct AddressBookFiles
{
    struct File
    {
        std::shared_ptr<const Person::Origin> origin;
        qsizetype first = 0; // its persons in `persons`, in file order
        qsizetype count = 0;
    };
    std::vector<File> files;
    QList<PersonPtr> persons;
};

/// Joins the persons of the files and of the desktop's contact store into one list.
namespace SourceMerge {

/// The files' persons in source order, then the store's in its own order, each unique id
/// unique: several programs copy cards without giving them new ids, and the same UID twice
/// would make two persons indistinguishable, so a file's card whose UID was seen gets one
/// made from its file and position. A contact of the store whose UID was seen is left out
/// instead: it is the same contact, kept both in a vCard folder and in the store (a CardDAV
/// book synchronised by vdirsyncer and by the desktop's online accounts), or in two of the
/// store's books. Ids made from the file and position of a card without UID are unique
/// already.
QList<PersonPtr> merged(const AddressBookFiles &table, const QList<PersonPtr> &storePersons);

} // namespace SourceMerge
