// SPDX-License-Identifier: MIT
#include "tests/support/HostileFiles.h"

#include <QList>

namespace HostileFiles {
namespace {

void appendBigEndian(QByteArray *data, quint64 value, int width)
{
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        data->append(char((value >> shift) & 0xff));
}

} // namespace

QByteArray nestedXmlList(int levels)
{
    // A comment that looks like one more level must not count as one.
    return "<?xml version=\"1.0\"?><plist version=\"1.0\">" +
           QByteArray("<dict><key>k</key>").repeated(levels) + "<!-- <dict> --><dict/>" +
           QByteArray("</dict>").repeated(levels) + "</plist>";
}

QByteArray nestedBinaryList(int levels, int references, bool selfReference)
{
    QByteArray data("bplist00");
    QList<quint64> offsets;
    for (int level = 0; level < levels; ++level) {
        offsets.append(quint64(data.size()));
        data.append(char(0xa0 | references));
        for (int i = 0; i < references; ++i)
            appendBigEndian(&data, selfReference ? level : level + 1, 4);
    }
    offsets.append(quint64(data.size()));
    data.append(char(0x08));
    const quint64 table = quint64(data.size());
    for (const quint64 offset : offsets)
        appendBigEndian(&data, offset, 4);
    data.append(QByteArray(6, '\0'));
    data.append(char(4)); // offset size
    data.append(char(4)); // reference size
    appendBigEndian(&data, quint64(offsets.size()), 8);
    appendBigEndian(&data, 0, 8);
    appendBigEndian(&data, table, 8);
    return data;
}

} // namespace HostileFiles
