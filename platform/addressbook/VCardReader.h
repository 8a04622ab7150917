// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// Reads vCard 2.1, 3.0 and 4.0 text into persons. A card that cannot be read is left out
/// and described by one message naming the file and the line where the card begins; the
/// other cards of the file are kept. Lines may end in CR LF, LF or CR alone; text may be
/// UTF-8 or UTF-16, with or without a byte-order mark.
namespace VCardReader {

/// Persons of the cards in `data`, in file order. `filePath` names the source in messages,
/// in Person::filePath() and in the ids of cards without UID. The persons keep `data` for
/// their own card text and photo.
QList<PersonPtr> readData(const QByteArray &data, const QString &filePath,
                          QStringList *messages = nullptr);

/// Reads a whole file; a file that cannot be opened gives one message and no persons.
QList<PersonPtr> readFile(const QString &filePath, QStringList *messages = nullptr);

/// Whether to build the person of a card, told from the card's text (UTF-8, from its BEGIN
/// line to its END line).
using CardFilter = std::function<bool(QByteArrayView cardText)>;

/// Persons of `data`, the contents of the file `origin` names, in the state `origin`
/// records. The persons read their own card text and photo again from the file as long as
/// it stays in that state. `originOut`, if given, receives the origin the persons share.
/// With `wanted`, only the cards it accepts become persons; the others are still read as far
/// as the messages need, and the ids of the cards after them stay as they are.
QList<PersonPtr> readFileContents(const QByteArray &data, Person::Origin origin,
                                  std::shared_ptr<const Person::Origin> *originOut = nullptr,
                                  QStringList *messages = nullptr, const CardFilter &wanted = {});

struct Progress;

/// Reads one file's text a piece at a time, so that a large file need not be held whole: the
/// same persons and messages as readFileContents() of the whole text, provided the text is
/// UTF-8 (a byte-order mark left out) with lines ended by LF or CR LF, and every piece but the
/// last ends where pieceEnd() says.
class FileInPieces final
{
public:
    /// `origin` as for readFileContents(), its encoding set.
    explicit FileInPieces(Person::Origin origin);
    ~FileInPieces();
    FileInPieces(const FileInPieces &) = delete;
    FileInPieces &operator=(const FileInPieces &) = delete;

    /// The persons of the next piece, as readFileContents() with `wanted`.
    QList<PersonPtr> read(QByteArrayView piece, QStringList *messages,
                          const CardFilter &wanted = {});
    /// After the last piece: what reading says of a file that held no card.
    void finish(QStringList *messages);
    /// The origin the persons share.
    std::shared_ptr<const Person::Origin> origin() const { return _origin; }
    /// How much of `text` may be read as a piece: up to just past its last END:VCARD line,
    /// where reading is outside any card whatever came before; 0 without one.
    static qsizetype pieceEnd(QByteArrayView text);

private:
    std::shared_ptr<const Person::Origin> _origin;
    std::unique_ptr<Progress> _progress;
};

/// The person of one card that another program keeps in a contact store of its own (no file
/// behind it): the person keeps the card's text, and its photo may be a link to a local file.
/// `storeName` names the store in messages. Null when the card cannot be read.
PersonPtr readStoredCard(const QByteArray &card, const QByteArray &storeName,
                         QStringList *messages = nullptr);

/// The text the reader works on: UTF-8 without byte-order mark, whatever `data` was.
QByteArray normalisedText(const QByteArray &data, Person::Origin::Encoding encoding);

enum class PhotoLinks
{
    /// A photo given as a link is not fetched: a card from anywhere could name any file.
    Ignored,
    /// A `file:` link is read, for the photos contact stores keep beside their database.
    LocalFiles,
};

/// The photo (else the logo) of a single card's text, decoded; empty without one.
QByteArray photoOfCard(const QByteArray &cardText, PhotoLinks links = PhotoLinks::Ignored);

} // namespace VCardReader
