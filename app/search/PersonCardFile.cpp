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

QString writtenCopy(const Person &person, const QByteArray &card)
{
    const QString folderPath = copiesFolder();
    if (folderPath.isEmpty())
        return {};
    const QDir folder(folderPath);
    removeOldCopies(folder);
    // Named after the person, as the contacts program may show the file's name.
    QString name = StringQuote::legalizedString(PersonExtras::displayName(person)).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Contact");
    const QString path =
        folder.filePath(StringQuote::stringByShorteningTo30(name + QLatin1String(".vcf")));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(card) != card.size())
        return {};
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.commit() ? path : QString();
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

QString fileWithCardAlone(const Person &person)
{
    // Empty when the file has changed since the person was read from it.
    const QByteArray card = person.vCardText();
    if (card.isEmpty())
        return {};
    // A person of a contact store has no file of its own.
    if (person.filePath().isEmpty())
        return writtenCopy(person, card);
    QFile file(person.filePath());
    // A file much longer than the card holds someone else too; only a close one is read.
    constexpr qint64 kSlack = 16;
    if (file.size() <= card.size() + kSlack && file.open(QIODevice::ReadOnly) &&
        file.readAll().trimmed() == card.trimmed())
        return person.filePath();
    return writtenCopy(person, card);
}

} // namespace PersonCardFile
