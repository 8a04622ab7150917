// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardReader.h"

#include "platform/addressbook/AsciiText.h"
#include "platform/addressbook/VCardEncoding.h"
#include "platform/addressbook/VCardInterpreter.h"
#include "platform/addressbook/VCardPhoto.h"
#include "platform/addressbook/VCardScanner.h"

#include <QFile>

#include <optional>
#include <utility>

#include <sys/stat.h>

namespace {

using VCardReader::PhotoLinks;

bool isBlankData(QByteArrayView data)
{
    for (char c : data) {
        if (!AsciiText::isSpace(c))
            return false;
    }
    return true;
}

void report(QStringList *messages, const Person::Origin &origin, int line, const char *reason)
{
    if (messages)
        messages->append(QStringLiteral("%1:%2: skipped a vCard that cannot be read (%3)")
                             .arg(origin.name())
                             .arg(line)
                             .arg(QLatin1String(reason)));
}

} // namespace

namespace VCardReader {

// Where reading a text has got to, read whole or a piece at a time.
struct Progress
{
    qsizetype offset = 0; // of the piece in the whole text
    int lines = 0;        // before the piece
    quint32 cardIndex = 0;
    bool sawCard = false;
    bool blank = true;
};

} // namespace VCardReader

namespace {

using VCardReader::Progress;

QList<PersonPtr> readCards(QByteArrayView text, const std::shared_ptr<const Person::Origin> &origin,
                           QStringList *messages, const VCardReader::CardFilter &wanted,
                           Progress &progress, std::optional<bool> crOnly = std::nullopt)
{
    QList<PersonPtr> persons;
    // Reused from file to file, so that their buffers keep the room they grew to.
    thread_local VCardScanner scanner;
    thread_local Person::Builder builder;
    scanner.scan(
        text,
        [&](const VCardScanner::Card &card) {
            progress.sawCard = true;
            if (wanted && !wanted(text.sliced(card.begin, card.end - card.begin))) {
                ++progress.cardIndex;
                return;
            }
            builder.clear();
            VCardInterpreter(card.properties,
                             origin->fromStore ? PhotoLinks::LocalFiles : PhotoLinks::Ignored)
                .fill(builder);
            builder.setOrigin(origin, progress.offset + card.begin, card.end - card.begin,
                              progress.cardIndex++);
            persons.append(std::make_shared<const Person>(builder.build()));
        },
        [&](int line, const char *reason, bool ended) {
            progress.sawCard = true;
            // Only ended cards count, so the ids of the cards after an unended one stay.
            if (ended)
                ++progress.cardIndex;
            report(messages, *origin, line, reason);
        },
        progress.lines, crOnly);
    // The last card's origin (and with it the text read from memory) is not kept alive.
    builder.clear();
    progress.blank = progress.blank && isBlankData(text);
    progress.offset += text.size();
    return persons;
}

void reportNoCard(const Progress &progress, const Person::Origin &origin, QStringList *messages)
{
    if (!progress.sawCard && !progress.blank)
        report(messages, origin, 1, "no BEGIN:VCARD line");
}

QList<PersonPtr> readText(const QByteArray &text,
                          const std::shared_ptr<const Person::Origin> &origin,
                          QStringList *messages, const VCardReader::CardFilter &wanted)
{
    Progress progress;
    QList<PersonPtr> persons = readCards(text, origin, messages, wanted, progress);
    reportNoCard(progress, *origin, messages);
    return persons;
}

QList<PersonPtr> readWithOrigin(const QByteArray &data, Person::Origin origin, bool keepText,
                                std::shared_ptr<const Person::Origin> *originOut,
                                QStringList *messages, const VCardReader::CardFilter &wanted = {})
{
    origin.encoding = VCardEncoding::detect(data);
    const QByteArray text = VCardReader::normalisedText(data, origin.encoding);
    if (keepText)
        origin.data = text;
    auto shared = std::make_shared<const Person::Origin>(std::move(origin));
    if (originOut)
        *originOut = shared;
    return readText(text, shared, messages, wanted);
}

} // namespace

namespace VCardReader {

QByteArray normalisedText(const QByteArray &data, Person::Origin::Encoding encoding)
{
    return VCardEncoding::normalisedText(data, encoding);
}

QList<PersonPtr> readData(const QByteArray &data, const QString &filePath, QStringList *messages)
{
    Person::Origin origin;
    origin.nativePath = QFile::encodeName(filePath);
    return readWithOrigin(data, std::move(origin), true, nullptr, messages);
}

QList<PersonPtr> readFileContents(const QByteArray &data, Person::Origin origin,
                                  std::shared_ptr<const Person::Origin> *originOut,
                                  QStringList *messages, const CardFilter &wanted)
{
    return readWithOrigin(data, std::move(origin), false, originOut, messages, wanted);
}

QList<PersonPtr> readFile(const QString &filePath, QStringList *messages)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (messages)
            messages->append(
                QStringLiteral("%1: cannot be read (%2)").arg(filePath, file.errorString()));
        return {};
    }
    struct stat info;
    if (::fstat(file.handle(), &info) != 0)
        return readData(file.readAll(), filePath, messages);
    Person::Origin origin;
    origin.nativePath = QFile::encodeName(filePath);
    origin.size = qint64(info.st_size);
    origin.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    origin.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    origin.inode = info.st_ino;
    return readFileContents(file.readAll(), std::move(origin), nullptr, messages);
}

PersonPtr readStoredCard(const QByteArray &card, const QByteArray &storeName, QStringList *messages)
{
    Person::Origin origin;
    origin.nativePath = storeName;
    origin.fromStore = true;
    const QList<PersonPtr> persons =
        readWithOrigin(card, std::move(origin), true, nullptr, messages);
    return persons.isEmpty() ? nullptr : persons.constFirst();
}

FileInPieces::FileInPieces(Person::Origin origin)
    : _origin(std::make_shared<const Person::Origin>(std::move(origin)))
    , _progress(std::make_unique<Progress>())
{}

FileInPieces::~FileInPieces() = default;

QList<PersonPtr> FileInPieces::read(QByteArrayView piece, QStringList *messages,
                                    const CardFilter &wanted)
{
    const int lines = _progress->lines + int(piece.count('\n'));
    QList<PersonPtr> persons = readCards(piece, _origin, messages, wanted, *_progress, false);
    _progress->lines = lines;
    return persons;
}

void FileInPieces::finish(QStringList *messages)
{
    reportNoCard(*_progress, *_origin, messages);
}

qsizetype FileInPieces::pieceEnd(QByteArrayView text)
{
    // The scanner takes a line for the marker when it holds the marker alone between blanks.
    qsizetype end = text.size();
    while (end > 0) {
        const qsizetype lineEnd = text.lastIndexOf('\n', end - 1);
        if (lineEnd < 0)
            return 0;
        // A negative start would search from the end again.
        const qsizetype lineStart = lineEnd > 0 ? text.lastIndexOf('\n', lineEnd - 1) + 1 : 0;
        QByteArrayView line = text.sliced(lineStart, lineEnd - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        if (AsciiText::equalsIgnoringCase(AsciiText::withoutBlanks(line), "END:VCARD"))
            return lineEnd + 1;
        end = lineStart;
    }
    return 0;
}

QByteArray photoOfCard(const QByteArray &cardText, PhotoLinks links)
{
    QByteArray photo, logo;
    VCardScanner scanner;
    scanner.scan(
        cardText,
        [&](const VCardScanner::Card &card) {
            for (const VCardProperty &p : card.properties) {
                if (photo.isEmpty() && p.is("PHOTO"))
                    photo = VCardPhoto::decodeImage(p, links);
                else if (logo.isEmpty() && p.is("LOGO"))
                    logo = VCardPhoto::decodeImage(p, links);
            }
        },
        [](int, const char *, bool) {});
    return photo.isEmpty() ? logo : photo;
}

} // namespace VCardReader
