// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardPhoto.h"

#include "platform/core/RegularFile.h"

#include <QUrl>

namespace {

using VCardReader::PhotoLinks;

// Evolution keeps photos of a few hundred kilobytes; anything much larger, linked or in the
// card, is not a photo worth reading on the main thread, and is not decoded at all.
constexpr qint64 kMaxPhotoBytes = 16 * 1024 * 1024;
// The same bound on the text in the card: base64 takes four characters for three bytes, and
// percent-encoding never less than one for one.
constexpr qint64 kMaxPhotoTextBytes = kMaxPhotoBytes / 3 * 4 + 1024;

bool isFileLink(QByteArrayView value)
{
    return value.size() > 5 && AsciiText::equalsIgnoringCase(value.first(5), "file:");
}

} // namespace

namespace VCardPhoto {

bool mayHoldImage(const VCardProperty &property, PhotoLinks links)
{
    const QByteArrayView value = AsciiText::withoutBlanks(property.value);
    if (value.isEmpty())
        return false;
    if (value.startsWith("data:"))
        return value.contains(',');
    if (links == PhotoLinks::LocalFiles && isFileLink(value))
        return true;
    return property.base64;
}

QByteArray decodeImage(const VCardProperty &property, PhotoLinks links)
{
    if (property.value.size() > kMaxPhotoTextBytes)
        return {};
    const QByteArray value = property.value.toByteArray().trimmed();
    if (value.isEmpty())
        return {};
    if (links == PhotoLinks::LocalFiles && isFileLink(value)) {
        const QString path = QUrl::fromEncoded(value).toLocalFile();
        if (path.isEmpty())
            return {};
        // Through RegularFile: a link to a pipe or a device must not hold the card up.
        const RegularFile::Contents file = RegularFile::read(path, kMaxPhotoBytes);
        return file.status == RegularFile::Status::Read ? file.data : QByteArray();
    }
    if (value.startsWith("data:")) {
        const qsizetype comma = value.indexOf(',');
        if (comma < 0)
            return {};
        const QByteArray header = value.mid(5, comma - 5);
        const QByteArray payload = value.mid(comma + 1);
        if (header.endsWith(";base64"))
            return QByteArray::fromBase64(payload);
        return QByteArray::fromPercentEncoding(payload);
    }
    if (property.base64)
        return QByteArray::fromBase64(value);
    // A link to an image elsewhere is not fetched.
    return {};
}

} // namespace VCardPhoto
