// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstring>
#include <memory>

/// One value of a multi-valued property (phones, e-mails, web addresses, postal addresses).
struct LabeledValue
{
    /// The label in its stored form: "_$!<Mobile>!$_", "_$!<Work>!$_", … or a custom text.
    QString label;
    /// A string, or for a postal address a QVariantMap with "Street", "City", "State", "ZIP"
    /// and "Country" (absent fields are left out).
    QVariant value;
    /// Stable within the person: the same card read twice gives the same identifiers.
    QString identifier;

    bool operator==(const LabeledValue &other) const = default;
};

/// A person of the address book, as read from one vCard. Immutable once read, so the same
/// record can be shared by the address book, search results and the card at once.
///
/// Address books of a hundred thousand persons are common, so a person keeps its values in
/// one compact UTF-8 buffer and the accessors build Qt values on demand. A photo is not held
/// in memory: it is decoded from the card's own text, read again from its file when asked.
class Person final
{
public:
    /// The show-as bits of flags(): the lowest three bits hold the mode.
    static constexpr int ShowAsMask = 7;
    static constexpr int ShowAsPerson = 0;
    static constexpr int ShowAsCompany = 1;

    /// The person as plain values, for building one by hand.
    struct Fields
    {
        QString firstName;
        QString lastName;
        QString middleName;
        QString nickname;
        QString organization;
        QString jobTitle;
        QString note;
        QList<LabeledValue> phones;
        QList<LabeledValue> emails;
        QList<LabeledValue> urls;
        QList<LabeledValue> addresses;
        QByteArray imageData;
        int flags = 0;
        QString uniqueId;
        QString filePath;
    };

    /// What a stored value is; the order is that of the buffer's entries.
    enum class Kind : quint8
    {
        LastName,
        FirstName,
        MiddleName,
        Nickname,
        Organization,
        JobTitle,
        Note,
        UniqueId,
        Phone,
        Email,
        Url,
        Address, // starts a postal address; its fields follow
        Street,
        City,
        State,
        Zip,
        Country,
        CustomLabel,      // the label of the next value, when it is none of the stored forms
        CustomIdentifier, // the identifier of the next value, when it is not the usual one
        Photo,            // encoded image bytes, for a person built by hand
    };

    /// Where a card's text can be found again: its file, or the text it was read from.
    struct Origin
    {
        /// The file's path as the file system spells it; for a card of a contact store, the
        /// store's name (UTF-8).
        QByteArray nativePath;
        /// The whole text the card was read from, when it did not come from a file.
        QByteArray data;
        /// The file as it was read; a changed file no longer gives its cards' text.
        qint64 size = -1;
        qint64 modified = -1; // nanoseconds since the epoch, as the other times
        qint64 changed = -1;
        quint64 inode = 0;
        /// How the file's bytes were turned into the text the offsets count in.
        enum class Encoding : quint8
        {
            Utf8,
            Utf8WithBom,
            Utf16LE,
            Utf16BE,
        } encoding = Encoding::Utf8;
        /// The card came from another program's contact store, not from a file: its text is
        /// kept in `data`, and its photo may be a link to a file the store keeps beside it.
        bool fromStore = false;

        /// Empty for a card of a contact store.
        QString filePath() const;
        /// The file or the store, for messages.
        QString name() const;
        /// Whether the file's size, times and inode are those of `other`.
        bool isSameFileState(const Origin &other) const
        {
            return size == other.size && modified == other.modified && changed == other.changed &&
                   inode == other.inode;
        }
    };

    /// Fills a person value by value, in the buffer's order (names and texts first, then
    /// the multi-valued properties, each address's fields right after its Address entry).
    class Builder
    {
    public:
        /// Appends a value with its label's StoredLabel number; empty values are left out, as
        /// absent ones.
        void add(Kind kind, QByteArrayView utf8, quint8 label = 0);
        void add(Kind kind, const QString &text, quint8 label = 0);
        /// A value with a label that is not one of the stored forms.
        void addLabeled(Kind kind, const QString &text, const QString &label);
        void addIdentifier(const QString &identifier);
        /// Starts a postal address; `label` as for add().
        void beginAddress(quint8 label);
        void beginAddress(const QString &label);
        bool hasValue(Kind kind) const;

        void setFlags(int flags) { _flags = flags; }
        /// A photo held in memory (the card's own photo is read from its file instead).
        void setPhoto(const QByteArray &data) { add(Kind::Photo, QByteArrayView(data)); }
        void setHasPhoto(bool hasPhoto) { _hasPhoto = hasPhoto; }
        void setOrigin(std::shared_ptr<const Origin> origin, qint64 offset, qint64 length,
                       quint32 cardIndex);

        /// The person built so far; the builder can then be cleared and used again.
        Person build() const;
        void clear();

    private:
        void _addEntry(Kind kind, quint8 label);

        QByteArray _text;
        QByteArray _entries;
        int _flags = 0;
        bool _hasPhoto = false;
        std::shared_ptr<const Origin> _origin;
        qint64 _offset = -1;
        qint64 _length = 0;
        quint32 _cardIndex = 0;
    };

    Person() = default;
    explicit Person(const Fields &fields);

    /// Text properties are null when the card does not carry them (an empty value counts as
    /// absent), never an empty-but-present string.
    QString firstName() const { return _value(Kind::FirstName); }
    QString lastName() const { return _value(Kind::LastName); }
    QString middleName() const { return _value(Kind::MiddleName); }
    QString nickname() const { return _value(Kind::Nickname); }
    QString organization() const { return _value(Kind::Organization); }
    QString jobTitle() const { return _value(Kind::JobTitle); }
    QString note() const { return _value(Kind::Note); }
    QList<LabeledValue> phones() const { return _values(Kind::Phone); }
    QList<LabeledValue> emails() const { return _values(Kind::Email); }
    /// Web addresses; the first one is the home page.
    QList<LabeledValue> urls() const { return _values(Kind::Url); }
    QList<LabeledValue> addresses() const { return _values(Kind::Address); }
    /// The first web address, or a null string.
    QString homePage() const { return _value(Kind::Url); }
    /// Encoded image (PNG, JPEG, …) as stored in the card; empty without a photo. Read from
    /// the card's file on each call; empty when the file changed since it was read.
    QByteArray imageData() const;
    /// Whether the card carries a photo, without reading it.
    bool hasImage() const { return _hasPhoto; }
    /// Show-as flags; (flags() & ShowAsMask) == ShowAsCompany marks a company card.
    int flags() const { return _flags; }
    /// The card's UID, or a stable id derived from its file and position in it. Unique
    /// within one address book.
    QString uniqueId() const;
    /// The card's own UID as stored, UTF-8; empty when the id is made from file and position.
    QByteArrayView storedUniqueId() const;
    /// The vCard file the person was read from; empty for a person of a contact store.
    QString filePath() const { return _origin ? _origin->filePath() : QString(); }
    /// This person's own card, as UTF-8 text read again from its file (only this card of a
    /// file holding several) or kept from its contact store; empty when the person was not
    /// read from a card or the file changed since.
    QByteArray vCardText() const;

    /// The name shown in lists: "First Middle Last" built from the untrimmed parts (a first
    /// name alone keeps its trailing blank); a company or a person without name parts shows
    /// the organization, else the first e-mail address, else `noName`.
    QString displayName(const QString &noName = QStringLiteral("No Name")) const;

    Fields fields() const;
    /// The same person under another unique id.
    Person withUniqueId(const QString &uniqueId) const;

    /// Calls visit(Kind, QByteArrayView utf8) for each stored value that search looks at:
    /// names, nickname, every field of every postal address, phones, e-mails, job title,
    /// organization, the home page and the note.
    template <typename Visit>
    void forEachSearchedValue(Visit visit) const
    {
        bool homePageSeen = false;
        _forEachEntry([&](Kind kind, QByteArrayView text, quint8) {
            switch (kind) {
            case Kind::UniqueId:
            case Kind::Address:
            case Kind::CustomLabel:
            case Kind::CustomIdentifier:
            case Kind::Photo:
                return;
            case Kind::Url:
                if (homePageSeen)
                    return;
                homePageSeen = true;
                break;
            default:
                break;
            }
            visit(kind, text);
        });
    }

    /// The stored bytes of the person, for measuring memory.
    qsizetype storedSize() const { return _data.size(); }

private:
    struct Entry
    {
        quint32 end; // offset in the text where the value ends
        Kind kind;
        quint8 label;
    };

    quint32 _entryCount() const
    {
        quint32 count = 0;
        if (!_data.isEmpty())
            std::memcpy(&count, _data.constData(), sizeof count);
        return count;
    }
    Entry _entry(quint32 i) const
    {
        Entry entry;
        std::memcpy(&entry, _data.constData() + sizeof(quint32) + i * sizeof(Entry), sizeof entry);
        return entry;
    }
    const char *_textStart() const
    {
        return _data.constData() + sizeof(quint32) + _entryCount() * sizeof(Entry);
    }

    template <typename Visit>
    void _forEachEntry(Visit visit) const
    {
        const quint32 count = _entryCount();
        if (count == 0)
            return;
        const char *text = _textStart();
        quint32 start = 0;
        for (quint32 i = 0; i < count; ++i) {
            const Entry entry = _entry(i);
            visit(entry.kind, QByteArrayView(text + start, entry.end - start), entry.label);
            start = entry.end;
        }
    }

    QString _value(Kind kind) const;
    QList<LabeledValue> _values(Kind kind) const;
    QByteArray _cardText() const;

    QByteArray _data; // entry count, entries, then the values' UTF-8 text
    std::shared_ptr<const Origin> _origin;
    qint64 _cardOffset = -1;
    quint32 _cardLength = 0;
    quint32 _cardIndex = 0;
    int _flags = 0;
    bool _hasPhoto = false;
};

using PersonPtr = std::shared_ptr<const Person>;
