// SPDX-License-Identifier: MIT
#include "search/PersonCardFile.h"

#include "helpers/StringQuote.h"
#include "search/PersonExtras.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace PersonCardFile {

namespace {

// Copies older than this are gone by the time the next one is made: the contacts program
// read them long before.
constexpr qint64 kCopyLifetimeSeconds = 24 * 60 * 60;

void removeOldCopies(const QDir &folder)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo &copy : folder.entryInfoList({QStringLiteral("*.vcf")}, QDir::Files)) {
        if (copy.lastModified().secsTo(now) > kCopyLifetimeSeconds)
            QFile::remove(copy.absoluteFilePath());
    }
}

QString writtenCopy(const Person &person, const QByteArray &card, QString *problem)
{
    const QString folderPath = copiesFolder();
    if (folderPath.isEmpty()) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        *problem = runtime.isEmpty()
                       ? QStringLiteral("there is no runtime folder for a copy of the card")
                       : QStringLiteral("the folder for copies of cards, %1/brisko-cards, "
                                        "cannot be made")
                             .arg(runtime);
        return {};
    }
    const QDir folder(folderPath);
    removeOldCopies(folder);
    // Named after the person, as the contacts program may show the file's name.
    QString name = StringQuote::legalizedString(PersonExtras::displayName(person)).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Contact");
    const QString path =
        folder.filePath(StringQuote::stringByShorteningTo30(name + QLatin1String(".vcf")));
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly) && file.write(card) == card.size();
    if (written) {
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        written = file.commit();
    }
    if (!written)
        *problem = QStringLiteral("a copy of the card cannot be written to %1: %2")
                       .arg(path, file.errorString());
    return written ? path : QString();
}

} // namespace

QString copiesFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString path = runtime + QLatin1String("/brisko-cards");
    if (!QDir().mkpath(path))
        return {};
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QString fileWithCardAlone(const Person &person, QString *problem)
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    problem->clear();
    // Empty when the file has changed since the person was read from it.
    const QByteArray card = person.vCardText();
    if (card.isEmpty()) {
        *problem = QStringLiteral("the card is no longer in %1").arg(person.filePath());
        return {};
    }
    // A person of a contact store has no file of its own; and the desktop picks the handler
    // by the name's extension, so a card in a file named otherwise (contacts/lonely.html)
    // would reach a browser as a web page.
    const QString extension = QFileInfo(person.filePath()).suffix().toLower();
    if (extension != QLatin1String("vcf") && extension != QLatin1String("vcard"))
        return writtenCopy(person, card, problem);
    QFile file(person.filePath());
    // A file much longer than the card holds someone else too; only a close one is read.
    constexpr qint64 kSlack = 16;
    if (file.size() <= card.size() + kSlack && file.open(QIODevice::ReadOnly) &&
        file.readAll().trimmed() == card.trimmed())
        return person.filePath();
    return writtenCopy(person, card, problem);
}

} // namespace PersonCardFile
