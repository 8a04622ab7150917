// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AddressBookSource.h"
#include "platform/addressbook/Person.h"
#include "platform/addressbook/VCardSkim.h"

#include <QList>
#include <QStringList>

#include <memory>

/// One look through the address book for the persons a caller wants, for a program that asks
/// once and leaves: the same sources, persons and messages as AddressBook, but each file is
/// read once, on a bounded number of threads, only the files that may hold a wanted person
/// become persons, and only the wanted ones are kept. (A card whose UID another file repeats
/// may get another id made from its file than in the address book: which card came first is
/// known only from reading every file.)
namespace AddressBookQuery {

/// What the caller wants. Both tests are asked on several threads at once.
class Filter
{
public:
    virtual ~Filter() = default;
    /// Whether the text `skim` looked at (a file's, or one card's) may hold a wanted person.
    /// Only "certainly not" may answer false.
    virtual bool mayHoldWanted(const VCardSkim::Skim &skim) const = 0;
    /// The wanted ones among `persons`, in their order.
    virtual QList<PersonPtr> wanted(const QList<PersonPtr> &persons) const = 0;
};

struct Result
{
    /// In the order AddressBook::Order::AsRead gives them.
    QList<PersonPtr> persons;
    /// As AddressBook::isUsingSampleBook().
    bool usingSampleBook = false;
};

/// The wanted persons of the sources an AddressBook made with `sourcePaths` and `store`
/// would read. The store (it may be null) is read only when the user named no sources, and
/// waited for as AddressBook::Loading::Now does. Messages go to standard error as the
/// address book's do.
Result wantedPersons(const QStringList &sourcePaths, std::unique_ptr<AddressBookSource> store,
                     const Filter &filter);

} // namespace AddressBookQuery
