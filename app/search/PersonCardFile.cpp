// SPDX-License-Identifier: MIT
#include "app/search/PersonCardFile.h"

#include "app/helpers/StringQuote.h"
#include "app/search/PersonExtras.h"
#include "platform/core/FileDescriptor.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PersonCardFile {

namespace {

// Copies older than this are gone by the time the next one is made: the contacts program
// read them long before.
constexpr time_t kCopyLifetimeSeconds = 24 * 60 * 60;

QString folderPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QLatin1String("/brisko-cards");
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

/// The folder of the copies, made when missing, as an open descriptor that every later step
/// goes through: a link put in its place, to another folder, must not have Brisko delete,
/// change or write anything there. Only a real folder of the user's own is taken, and made
/// theirs alone; otherwise -1, and `problem` says why.
int openFolder(QString *problem)
{
    const QString path = folderPath();
    if (path.isEmpty()) {
        *problem = QStringLiteral("there is no runtime folder for a copy of the card");
        return -1;
    }
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *problem = QStringLiteral("the folder for copies of cards, %1, cannot be made: %2")
                       .arg(path, systemError());
        return -1;
    }
    FileDescriptor folder(
        ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0) {
        *problem = errno == ELOOP || errno == ENOTDIR
                       ? QStringLiteral("%1, the folder for copies of cards, is a link or no "
                                        "folder; remove it, and Brisko makes the folder anew")
                             .arg(path)
                       : QStringLiteral("the folder for copies of cards, %1, cannot be opened: %2")
                             .arg(path, systemError());
        return -1;
    }
    struct stat info;
    if (::fstat(folder.get(), &info) != 0 || info.st_uid != ::geteuid()) {
        *problem =
            QStringLiteral("the folder for copies of cards, %1, belongs to someone else").arg(path);
        return -1;
    }
    if ((info.st_mode & 07777) != 0700 && ::fchmod(folder.get(), 0700) != 0) {
        *problem = QStringLiteral("the folder for copies of cards, %1, cannot be made the "
                                  "user's alone: %2")
                       .arg(path, systemError());
        return -1;
    }
    return folder.release();
}

void removeOldCopies(int folder)
{
    const int listing = ::dup(folder);
    DIR *entries = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const time_t now = std::time(nullptr);
    while (const dirent *entry = ::readdir(entries)) {
        const size_t length = std::strlen(entry->d_name);
        if (length < 4 || std::strcmp(entry->d_name + length - 4, ".vcf") != 0)
            continue;
        struct stat info;
        if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && now - info.st_mtime > kCopyLifetimeSeconds)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t count = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    return true;
}

/// `card` as `name` in the folder: written to a new file of its own, which then takes the
/// name's place, so a link of that name is replaced rather than followed.
bool writeInto(int folder, const QByteArray &name, const QByteArray &card, QString *error)
{
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 10 && fd < 0; ++attempt) {
        temporary = QByteArrayLiteral(".copy-") +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::openat(folder, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        *error = systemError();
        return false;
    }
    const FileDescriptor file(fd);
    if (!writeAll(file.get(), card) ||
        ::renameat(folder, temporary.constData(), folder, name.constData()) != 0) {
        *error = systemError();
        ::unlinkat(folder, temporary.constData(), 0);
        return false;
    }
    return true;
}

QString writtenCopy(const Person &person, const QByteArray &card, QString *problem)
{
    const FileDescriptor folder(openFolder(problem));
    if (folder.get() < 0)
        return {};
    removeOldCopies(folder.get());
    // Named after the person, as the contacts program may show the file's name.
    QString name = StringQuote::legalizedString(PersonExtras::displayName(person)).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Contact");
    name = StringQuote::stringByShorteningTo30(name + QLatin1String(".vcf"));
    const QString path = folderPath() + QLatin1Char('/') + name;
    QString error;
    if (!writeInto(folder.get(), QFile::encodeName(name), card, &error)) {
        *problem =
            QStringLiteral("a copy of the card cannot be written to %1: %2").arg(path, error);
        return {};
    }
    return path;
}

} // namespace

QString copiesFolder()
{
    QString ignored;
    const FileDescriptor folder(openFolder(&ignored));
    return folder.get() < 0 ? QString() : folderPath();
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
