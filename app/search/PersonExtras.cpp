// SPDX-License-Identifier: MIT
#include "search/PersonExtras.h"

#include "search/StringWhitespace.h"
#include "workspace/Workspace.h"

namespace PersonExtras {

bool isCompany(const Person &person)
{
    return (person.flags() & Person::ShowAsMask) == Person::ShowAsCompany;
}

QString companyName(const Person &person)
{
    return StringWhitespace::stringByTrimmingWhiteSpaces(person.organization());
}

QString jobTitle(const Person &person)
{
    return StringWhitespace::stringByTrimmingWhiteSpaces(person.jobTitle());
}

QString firstName(const Person &person)
{
    return StringWhitespace::stringByTrimmingWhiteSpaces(person.firstName());
}

QString lastName(const Person &person)
{
    return StringWhitespace::stringByTrimmingWhiteSpaces(person.lastName());
}

QString displayName(const Person &person)
{
    // The address book orders persons by this name, so the rule lives with the person.
    return person.displayName();
}

bool openInAddressBook(const Person &person)
{
    if (person.filePath().isEmpty())
        return false;
    return Workspace::shared().openFile(person.filePath());
}

bool editInAddressBook(const Person &person)
{
    // The desktop's handler for vCard files is the contacts program, which also edits.
    return openInAddressBook(person);
}

} // namespace PersonExtras
