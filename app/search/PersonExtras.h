// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QString>

/// Operations that name a person and tell companies from people.
namespace PersonExtras {

/// True exactly when the lowest three bits of the flags hold the show-as-company value.
bool isCompany(const Person &person);

/// The trimmed properties; null when the person lacks the property.
QString companyName(const Person &person);
QString jobTitle(const Person &person);
QString firstName(const Person &person);
QString lastName(const Person &person);

/// The name shown in lists: "First Middle Last" built from the untrimmed parts (a first
/// name alone keeps its trailing blank); a company or a person without name parts shows the
/// organization, else the first e-mail address, else "No Name".
QString displayName(const Person &person);

/// Shows the person in the desktop's contacts handler: their own card alone (see
/// PersonCardFile) is opened through the workspace. False when the card is no longer in its
/// file or the workspace refused.
bool openInAddressBook(const Person &person);
/// Opens the person for editing, the same way.
bool editInAddressBook(const Person &person);

} // namespace PersonExtras
