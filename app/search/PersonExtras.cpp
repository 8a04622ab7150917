// SPDX-License-Identifier: MIT
#include "app/search/PersonExtras.h"

#include "app/search/PersonCardFile.h"
#include "app/search/StringWhitespace.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>

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
    // The address book orders persons by this name, so the rule lives with the person; only
    // the word for a person without any name is the user's language.
    return person.displayName(QCoreApplication::translate("PersonExtras", "No Name"));
}

bool openInAddressBook(const Person &person)
{
    QString problem;
    const QString path = PersonCardFile::fileWithCardAlone(person, &problem);
    if (path.isEmpty()) {
        qWarning("Brisko: the card of %s is not opened: %s", qPrintable(displayName(person)),
                 qPrintable(problem));
        return false;
    }
    return Workspace::shared().openFile(path);
}

bool editInAddressBook(const Person &person)
{
    // The desktop's handler for vCard files is the contacts program, which also edits.
    return openInAddressBook(person);
}

} // namespace PersonExtras
