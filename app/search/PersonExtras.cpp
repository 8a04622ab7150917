// SPDX-License-Identifier: MIT
#include "search/PersonExtras.h"

#include "search/PersonCardFile.h"
#include "search/StringWhitespace.h"
#include "workspace/Workspace.h"

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
    if (!isCompany(person)) {
        const QString &first = person.firstName();
        const QString &middle = person.middleName();
        const QString &last = person.lastName();
        if (!first.isEmpty() || !middle.isEmpty() || !last.isEmpty()) {
            QString name;
            if (!first.isEmpty())
                name += first + QLatin1Char(' ');
            if (!middle.isEmpty())
                name += middle + QLatin1Char(' ');
            if (!last.isEmpty())
                name += last;
            return name;
        }
    }
    if (!person.organization().isEmpty())
        return person.organization();
    if (!person.emails().isEmpty())
        return person.emails().constFirst().value.toString();
    return QCoreApplication::translate("PersonExtras", "No Name");
}

bool openInAddressBook(const Person &person)
{
    const QString path = PersonCardFile::fileWithCardAlone(person);
    if (path.isEmpty()) {
        qWarning("Brisko: the card of %s is no longer in %s", qPrintable(displayName(person)),
                 qPrintable(person.filePath()));
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
