// SPDX-License-Identifier: MIT
#include "search/PersonCardFile.h"

#include "addressbook/VCardReader.h"
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

bool isLine(QByteArrayView line, QByteArrayView expected)
{
    line = line.trimmed();
    return line.size() == expected.size() &&
           qstrnicmp(line.data(), line.size(), expected.data(), expected.size()) == 0;
}

/// The text of each card of a file, from its BEGIN line to its END line.
QList<QByteArray> cardTexts(const QByteArray &data)
{
    QList<QByteArray> cards;
    qsizetype begin = -1;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        end = end < 0 ? data.size() : end + 1;
        const QByteArrayView line = QByteArrayView(data).sliced(start, end - start);
        if (isLine(line, "BEGIN:VCARD"))
            begin = start;
        else if (begin >= 0 && isLine(line, "END:VCARD")) {
            cards.append(data.mid(begin, end - begin));
            begin = -1;
        }
        start = end;
    }
    return cards;
}

// The id of a card without UID depends on its place in the file, so cards are told apart by
// what they hold.
bool sameCard(const Person &a, const Person &b)
{
    return a.firstName() == b.firstName() && a.lastName() == b.lastName() &&
           a.middleName() == b.middleName() && a.nickname() == b.nickname() &&
           a.organization() == b.organization() && a.jobTitle() == b.jobTitle() &&
           a.note() == b.note() && a.phones() == b.phones() && a.emails() == b.emails() &&
           a.urls() == b.urls() && a.addresses() == b.addresses() &&
           a.imageData() == b.imageData() && a.flags() == b.flags();
}

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
    QFile file(person.filePath());
    if (person.filePath().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const QList<QByteArray> cards = cardTexts(data);
    for (const QByteArray &card : cards) {
        const QList<PersonPtr> read = VCardReader::readData(card, person.filePath());
        if (read.size() != 1 || !sameCard(*read.first(), person))
            continue;
        return cards.size() == 1 ? person.filePath() : writtenCopy(person, card);
    }
    return {};
}

} // namespace PersonCardFile
