// SPDX-License-Identifier: MIT
#include "platform/archive/Archive.h"

#include <QStringDecoder>
#include <QtEndian>

#include <bit>
#include <cstring>

namespace {

// "BRKA" then the layout version; a change of layout gets a new version byte, so old readers
// refuse new archives instead of misreading them.
constexpr char kMagic[] = {'B', 'R', 'K', 'A', '\x01'};
constexpr qsizetype kMagicSize = sizeof(kMagic);
constexpr char kEndTag = '.';
constexpr qsizetype kMaxClassNameSize = 255;

template <typename T>
void appendBigEndian(QByteArray &data, T value)
{
    char bytes[sizeof(T)];
    qToBigEndian(value, bytes);
    data.append(bytes, sizeof(T));
}

template <typename T>
T fromBigEndian(const char *bytes)
{
    return qFromBigEndian<T>(bytes);
}

void appendString(QByteArray &data, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    appendBigEndian<quint32>(data, static_cast<quint32>(utf8.size()));
    data.append(utf8);
}

} // namespace

ArchiveWriter::ArchiveWriter(const QString &className, qint32 classVersion)
{
    _data.append(kMagic, kMagicSize);
    appendString(_data, className.left(kMaxClassNameSize));
    appendBigEndian<qint32>(_data, classVersion);
}

void ArchiveWriter::_tag(char code)
{
    _data.append(code);
}

void ArchiveWriter::writeInt16(qint16 value)
{
    _tag('s');
    appendBigEndian<qint16>(_data, value);
}

void ArchiveWriter::writeInt32(qint32 value)
{
    _tag('l');
    appendBigEndian<qint32>(_data, value);
}

void ArchiveWriter::writeInt64(qint64 value)
{
    _tag('q');
    appendBigEndian<qint64>(_data, value);
}

void ArchiveWriter::writeFloat(float value)
{
    _tag('f');
    appendBigEndian<quint32>(_data, std::bit_cast<quint32>(value));
}

void ArchiveWriter::writeDouble(double value)
{
    _tag('d');
    appendBigEndian<quint64>(_data, std::bit_cast<quint64>(value));
}

void ArchiveWriter::writeString(const QString &value)
{
    _tag('@');
    appendString(_data, value);
}

QByteArray ArchiveWriter::data()
{
    QByteArray finished = _data;
    finished.append(kEndTag);
    return finished;
}

ArchiveReader::ArchiveReader(const QByteArray &data)
    : _data(data)
{
    if (_data.size() < kMagicSize || std::memcmp(_data.constData(), kMagic, kMagicSize) != 0) {
        _failed = true;
        return;
    }
    _position = kMagicSize;
    // The class name and version are read like a string and an int32 without their tags.
    const char *bytes = nullptr;
    if (!_take(0, 4, &bytes)) {
        return;
    }
    const quint32 length = fromBigEndian<quint32>(bytes);
    if (length == 0 || length > kMaxClassNameSize || !_take(0, length, &bytes)) {
        _failed = true;
        return;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    _className = decoder(QByteArrayView(bytes, length));
    if (decoder.hasError() || !_take(0, 4, &bytes)) {
        _failed = true;
        return;
    }
    _classVersion = fromBigEndian<qint32>(bytes);
}

bool ArchiveReader::_take(char code, qsizetype size, const char **bytes)
{
    if (_failed)
        return false;
    if (code != 0) {
        if (_position >= _data.size() || _data.at(_position) != code) {
            _failed = true;
            return false;
        }
        ++_position;
    }
    if (size < 0 || _data.size() - _position < size) {
        _failed = true;
        return false;
    }
    *bytes = _data.constData() + _position;
    _position += size;
    return true;
}

std::optional<qint16> ArchiveReader::readInt16()
{
    const char *bytes = nullptr;
    if (!_take('s', 2, &bytes))
        return std::nullopt;
    return fromBigEndian<qint16>(bytes);
}

std::optional<qint32> ArchiveReader::readInt32()
{
    const char *bytes = nullptr;
    if (!_take('l', 4, &bytes))
        return std::nullopt;
    return fromBigEndian<qint32>(bytes);
}

std::optional<qint64> ArchiveReader::readInt64()
{
    const char *bytes = nullptr;
    if (!_take('q', 8, &bytes))
        return std::nullopt;
    return fromBigEndian<qint64>(bytes);
}

std::optional<float> ArchiveReader::readFloat()
{
    const char *bytes = nullptr;
    if (!_take('f', 4, &bytes))
        return std::nullopt;
    return std::bit_cast<float>(fromBigEndian<quint32>(bytes));
}

std::optional<double> ArchiveReader::readDouble()
{
    const char *bytes = nullptr;
    if (!_take('d', 8, &bytes))
        return std::nullopt;
    return std::bit_cast<double>(fromBigEndian<quint64>(bytes));
}

std::optional<QString> ArchiveReader::readString()
{
    const char *bytes = nullptr;
    if (!_take('@', 4, &bytes))
        return std::nullopt;
    const quint32 length = fromBigEndian<quint32>(bytes);
    if (!_take(0, static_cast<qsizetype>(length), &bytes))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(QByteArrayView(bytes, length));
    if (decoder.hasError()) {
        _failed = true;
        return std::nullopt;
    }
    return text;
}

bool ArchiveReader::finish()
{
    const char *bytes = nullptr;
    if (!_take(kEndTag, 0, &bytes))
        return false;
    if (_position != _data.size()) {
        _failed = true;
        return false;
    }
    return true;
}

QString ArchiveReader::classNameOf(const QByteArray &data)
{
    const ArchiveReader reader(data);
    return reader.isValid() ? reader.className() : QString();
}
