// SPDX-License-Identifier: MIT
#include "platform/addressbook/Person.h"

#include "platform/addressbook/StoredLabel.h"
#include "platform/addressbook/VCardReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QVariantMap>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *identifierPrefix(Person::Kind kind)
{
    switch (kind) {
    case Person::Kind::Phone:
        return "phone-";
    case Person::Kind::Email:
        return "email-";
    case Person::Kind::Url:
        return "url-";
    default:
        return "address-";
    }
}

QString usualIdentifier(Person::Kind kind, qsizetype index)
{
    return QLatin1String(identifierPrefix(kind)) + QString::number(index);
}

QString stableId(const QString &filePath, quint32 cardIndex)
{
    const QByteArray digest =
        QCryptographicHash::hash(filePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QLatin1String("brisko-") + QLatin1String(digest) + QLatin1Char('-') +
           QString::number(cardIndex);
}

const std::array<std::pair<Person::Kind, QLatin1String>, 5> kAddressFields = {{
    {Person::Kind::Street, QLatin1String("Street")},
    {Person::Kind::City, QLatin1String("City")},
    {Person::Kind::State, QLatin1String("State")},
    {Person::Kind::Zip, QLatin1String("ZIP")},
    {Person::Kind::Country, QLatin1String("Country")},
}};

bool isAddressField(Person::Kind kind)
{
    return kind >= Person::Kind::Street && kind <= Person::Kind::Country;
}

// Reads `length` bytes at `offset` of a file that must still be the one that was read.
QByteArray readRange(const Person::Origin &origin, qint64 offset, qint64 length)
{
    const int fd = ::open(origin.nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray result;
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size == origin.size && info.st_ino == origin.inode &&
        qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec == origin.modified) {
        result.resize(length);
        qint64 done = 0;
        while (done < length) {
            const ssize_t count =
                ::pread(fd, result.data() + done, size_t(length - done), off_t(offset + done));
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            done += count;
        }
        result.resize(done == length ? length : 0);
    }
    ::close(fd);
    return result;
}

} // namespace

QString Person::Origin::filePath() const
{
    return fromStore ? QString() : QFile::decodeName(nativePath);
}

QString Person::Origin::name() const
{
    return fromStore ? QString::fromUtf8(nativePath) : QFile::decodeName(nativePath);
}

void Person::Builder::_addEntry(Kind kind, quint8 label)
{
    const Entry entry{quint32(_text.size()), kind, label};
    _entries.append(reinterpret_cast<const char *>(&entry), sizeof entry);
}

void Person::Builder::add(Kind kind, QByteArrayView utf8, quint8 label)
{
    if (utf8.isEmpty())
        return;
    _text.append(utf8);
    _addEntry(kind, label);
}

void Person::Builder::add(Kind kind, const QString &text, quint8 label)
{
    if (text.isEmpty())
        return;
    add(kind, QByteArrayView(text.toUtf8()), label);
}

void Person::Builder::addLabeled(Kind kind, const QString &text, const QString &label)
{
    if (text.isEmpty())
        return;
    const quint8 number = StoredLabel::number(label);
    if (number == 0 && !label.isEmpty())
        add(Kind::CustomLabel, label);
    add(kind, text, number);
}

void Person::Builder::addIdentifier(const QString &identifier)
{
    // An empty identifier would be no entry at all and is kept as the usual one instead.
    add(Kind::CustomIdentifier, identifier);
}

void Person::Builder::beginAddress(quint8 label)
{
    _addEntry(Kind::Address, label);
}

void Person::Builder::beginAddress(const QString &label)
{
    const quint8 number = StoredLabel::number(label);
    if (number == 0 && !label.isEmpty())
        add(Kind::CustomLabel, label);
    beginAddress(number);
}

bool Person::Builder::hasValue(Kind kind) const
{
    for (qsizetype at = 0; at < _entries.size(); at += qsizetype(sizeof(Entry))) {
        Entry entry;
        std::memcpy(&entry, _entries.constData() + at, sizeof entry);
        if (entry.kind == kind)
            return true;
    }
    return false;
}

void Person::Builder::setOrigin(std::shared_ptr<const Origin> origin, qint64 offset, qint64 length,
                                quint32 cardIndex)
{
    _origin = std::move(origin);
    _offset = offset;
    _length = length;
    _cardIndex = cardIndex;
}

Person Person::Builder::build() const
{
    Person person;
    const quint32 count = quint32(_entries.size() / qsizetype(sizeof(Entry)));
    if (count > 0) {
        person._data.reserve(qsizetype(sizeof count) + _entries.size() + _text.size());
        person._data.append(reinterpret_cast<const char *>(&count), sizeof count);
        person._data.append(_entries);
        person._data.append(_text);
    }
    person._hasPhoto = _hasPhoto || hasValue(Kind::Photo);
    person._flags = _flags;
    person._origin = _origin;
    person._cardOffset = _offset;
    person._cardLength = quint32(_length);
    person._cardIndex = _cardIndex;
    return person;
}

void Person::Builder::clear()
{
    // Keeps the buffers' room, so that reading many cards does not allocate it anew each time.
    _text.resize(0);
    _entries.resize(0);
    _flags = 0;
    _hasPhoto = false;
    _origin.reset();
    _offset = -1;
    _length = 0;
    _cardIndex = 0;
}

Person::Person(const Fields &f)
{
    Builder builder;
    builder.add(Kind::LastName, f.lastName);
    builder.add(Kind::FirstName, f.firstName);
    builder.add(Kind::MiddleName, f.middleName);
    builder.add(Kind::Nickname, f.nickname);
    builder.add(Kind::Organization, f.organization);
    builder.add(Kind::JobTitle, f.jobTitle);
    builder.add(Kind::Note, f.note);
    builder.add(Kind::UniqueId, f.uniqueId);
    auto addList = [&](Kind kind, const QList<LabeledValue> &list) {
        qsizetype stored = 0;
        for (const LabeledValue &value : list) {
            const QString text = value.value.toString();
            if (text.isEmpty())
                continue;
            if (value.identifier != usualIdentifier(kind, stored++))
                builder.addIdentifier(value.identifier);
            builder.addLabeled(kind, text, value.label);
        }
    };
    addList(Kind::Phone, f.phones);
    addList(Kind::Email, f.emails);
    addList(Kind::Url, f.urls);
    for (qsizetype i = 0; i < f.addresses.size(); ++i) {
        const LabeledValue &address = f.addresses[i];
        if (address.identifier != usualIdentifier(Kind::Address, i))
            builder.addIdentifier(address.identifier);
        builder.beginAddress(address.label);
        const QVariantMap fields = address.value.toMap();
        for (const auto &[kind, key] : kAddressFields)
            builder.add(kind, fields.value(key).toString());
    }
    builder.setFlags(f.flags);
    builder.setPhoto(f.imageData);
    if (!f.filePath.isEmpty()) {
        auto origin = std::make_shared<Origin>();
        origin->nativePath = QFile::encodeName(f.filePath);
        builder.setOrigin(std::move(origin), -1, 0, 0);
    }
    *this = builder.build();
}

QString Person::_value(Kind kind) const
{
    QString result;
    bool found = false;
    _forEachEntry([&](Kind entryKind, QByteArrayView text, quint8) {
        if (!found && entryKind == kind) {
            result = QString::fromUtf8(text);
            found = true;
        }
    });
    return result;
}

QList<LabeledValue> Person::_values(Kind kind) const
{
    QList<LabeledValue> result;
    QString customLabel, customIdentifier;
    // The fields of the address being gathered; they follow its Address entry.
    QVariantMap fields;
    qsizetype address = -1;
    auto finishAddress = [&]() {
        if (address >= 0)
            result[address].value = fields;
        fields.clear();
        address = -1;
    };
    _forEachEntry([&](Kind entryKind, QByteArrayView text, quint8 label) {
        if (isAddressField(entryKind)) {
            if (address >= 0) {
                for (const auto &[fieldKind, key] : kAddressFields) {
                    if (fieldKind == entryKind)
                        fields.insert(key, QString::fromUtf8(text));
                }
            }
            return;
        }
        if (entryKind == Kind::CustomLabel) {
            customLabel = QString::fromUtf8(text);
            return;
        }
        if (entryKind == Kind::CustomIdentifier) {
            customIdentifier = QString::fromUtf8(text);
            return;
        }
        finishAddress();
        if (entryKind == kind) {
            LabeledValue value;
            value.label = label == StoredLabel::None ? customLabel : StoredLabel::text(label);
            value.identifier = customIdentifier.isEmpty() ? usualIdentifier(kind, result.size())
                                                          : customIdentifier;
            if (kind == Kind::Address)
                address = result.size();
            else
                value.value = QString::fromUtf8(text);
            result.append(std::move(value));
        }
        customLabel.clear();
        customIdentifier.clear();
    });
    finishAddress();
    return result;
}

QByteArrayView Person::storedUniqueId() const
{
    QByteArrayView id;
    _forEachEntry([&](Kind kind, QByteArrayView text, quint8) {
        if (kind == Kind::UniqueId && id.isEmpty())
            id = text;
    });
    return id;
}

QString Person::uniqueId() const
{
    const QString stored = _value(Kind::UniqueId);
    if (!stored.isEmpty())
        return stored;
    return stableId(filePath(), _cardIndex);
}

QByteArray Person::_cardText() const
{
    if (!_origin || _cardOffset < 0)
        return {};
    const Origin &origin = *_origin;
    if (!origin.data.isNull())
        return origin.data.mid(_cardOffset, _cardLength);
    switch (origin.encoding) {
    case Origin::Encoding::Utf8:
        return readRange(origin, _cardOffset, _cardLength);
    case Origin::Encoding::Utf8WithBom:
        return readRange(origin, _cardOffset + 3, _cardLength);
    case Origin::Encoding::Utf16LE:
    case Origin::Encoding::Utf16BE:
        break;
    }
    // The offsets count in the text converted to UTF-8: convert the whole file again.
    const QByteArray whole = readRange(origin, 0, origin.size);
    if (whole.size() != origin.size)
        return {};
    return VCardReader::normalisedText(whole, origin.encoding).mid(_cardOffset, _cardLength);
}

QByteArray Person::vCardText() const
{
    QByteArray text = _cardText();
    // Handlers of vCards expect CR LF; a card from a classic Mac OS file has CR alone.
    if (!text.contains('\n'))
        text.replace('\r', QByteArrayLiteral("\r\n"));
    return text;
}

QByteArray Person::imageData() const
{
    if (!_hasPhoto)
        return {};
    QByteArray photo;
    _forEachEntry([&](Kind kind, QByteArrayView bytes, quint8) {
        if (kind == Kind::Photo && photo.isEmpty())
            photo = bytes.toByteArray();
    });
    if (!photo.isEmpty())
        return photo;
    const bool storeLinks = _origin && _origin->fromStore;
    return VCardReader::photoOfCard(_cardText(), storeLinks ? VCardReader::PhotoLinks::LocalFiles
                                                            : VCardReader::PhotoLinks::Ignored);
}

QString Person::displayName(const QString &noName) const
{
    if ((_flags & ShowAsMask) != ShowAsCompany) {
        const QString first = firstName();
        const QString middle = middleName();
        const QString last = lastName();
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
    const QString organization = this->organization();
    if (!organization.isEmpty())
        return organization;
    QString email;
    bool found = false;
    _forEachEntry([&](Kind kind, QByteArrayView text, quint8) {
        if (!found && kind == Kind::Email) {
            email = QString::fromUtf8(text);
            found = true;
        }
    });
    if (found)
        return email;
    return noName;
}

Person::Fields Person::fields() const
{
    Fields f;
    f.firstName = firstName();
    f.lastName = lastName();
    f.middleName = middleName();
    f.nickname = nickname();
    f.organization = organization();
    f.jobTitle = jobTitle();
    f.note = note();
    f.phones = phones();
    f.emails = emails();
    f.urls = urls();
    f.addresses = addresses();
    f.imageData = imageData();
    f.flags = _flags;
    f.uniqueId = uniqueId();
    f.filePath = filePath();
    return f;
}

Person Person::withUniqueId(const QString &uniqueId) const
{
    Builder builder;
    bool replaced = false;
    _forEachEntry([&](Kind kind, QByteArrayView text, quint8 label) {
        if (kind == Kind::UniqueId) {
            builder.add(Kind::UniqueId, uniqueId);
            replaced = true;
        } else if (kind == Kind::Address) {
            builder.beginAddress(label);
        } else {
            builder.add(kind, text, label);
        }
    });
    if (!replaced)
        builder.add(Kind::UniqueId, uniqueId);
    builder.setFlags(_flags);
    builder.setHasPhoto(_hasPhoto);
    builder.setOrigin(_origin, _cardOffset, _cardLength, _cardIndex);
    return builder.build();
}
