// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/// A small self-describing, versioned, sequential archive for the objects the settings domain
/// stores as data (colours, fonts, key combinations). One archive holds one root object: its
/// class name, its class version and a sequence of typed values, each tagged with its type
/// code ("s" int16, "l" int32, "q" int64, "f" float, "d" double, "@" string).
///
/// The byte layout is ours: both deliverables read what the other writes, and the reader is
/// strict, so truncated, foreign or tampered data gives no object rather than a guess.
class ArchiveWriter final
{
public:
    ArchiveWriter(const QString &className, qint32 classVersion);

    void writeInt16(qint16 value);
    void writeInt32(qint32 value);
    void writeInt64(qint64 value);
    void writeFloat(float value);
    void writeDouble(double value);
    void writeString(const QString &value);

    /// The finished archive; the writer may not be used afterwards.
    QByteArray data();

private:
    void _tag(char code);
    QByteArray _data;
};

class ArchiveReader final
{
public:
    /// Checks the header; isValid() is false for anything that is not one of our archives.
    explicit ArchiveReader(const QByteArray &data);

    bool isValid() const { return !_failed; }
    QString className() const { return _className; }
    qint32 classVersion() const { return _classVersion; }

    /// Each read yields nothing, and the reader stays failed, when the next value is missing
    /// or has another type.
    std::optional<qint16> readInt16();
    std::optional<qint32> readInt32();
    std::optional<qint64> readInt64();
    std::optional<float> readFloat();
    std::optional<double> readDouble();
    std::optional<QString> readString();

    /// True when every value has been read and nothing follows: an object reader calls this
    /// last, so an archive with extra values is refused too.
    bool finish();

    /// The class an archive holds, without reading its values; empty for no archive.
    static QString classNameOf(const QByteArray &data);

private:
    bool _take(char code, qsizetype size, const char **bytes);
    QByteArray _data;
    qsizetype _position = 0;
    bool _failed = false;
    QString _className;
    qint32 _classVersion = 0;
};
