// SPDX-License-Identifier: MIT
#include "platform/core/PropertyListCheck.h"

#include <QByteArrayView>

#include <algorithm>
#include <vector>

namespace PropertyListCheck {
namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString tooDeep()
{
    return QStringLiteral("the property list is nested deeper than %1 levels").arg(kMaxDepth);
}

/// The name of the tag opening at `at` ('<' there), without a leading '/'.
QByteArrayView tagName(QByteArrayView xml, qsizetype at)
{
    qsizetype start = at + 1;
    if (start < xml.size() && xml[start] == '/')
        ++start;
    qsizetype end = start;
    while (end < xml.size() &&
           ((xml[end] >= 'a' && xml[end] <= 'z') || (xml[end] >= 'A' && xml[end] <= 'Z')))
        ++end;
    return xml.sliced(start, end - start);
}

// Layout of the binary format (bplist00): the objects, then a table of their offsets, then a
// trailer of 32 bytes naming the sizes of offsets and references, the object count, the top
// object and where the offset table starts. All numbers are big-endian.
constexpr qsizetype kHeaderSize = 8;
constexpr qsizetype kTrailerSize = 32;

class BinaryPropertyList final
{
public:
    explicit BinaryPropertyList(QByteArrayView data)
        : _data(data)
    {}

    bool readTrailer()
    {
        if (_data.size() < kHeaderSize + kTrailerSize)
            return false;
        const qsizetype trailer = _data.size() - kTrailerSize;
        _offsetSize = int(quint8(_data[trailer + 6]));
        _referenceSize = int(quint8(_data[trailer + 7]));
        if (_offsetSize < 1 || _offsetSize > 8 || _referenceSize < 1 || _referenceSize > 8)
            return false;
        _count = number(trailer + 8, 8);
        _top = number(trailer + 16, 8);
        _table = number(trailer + 24, 8);
        return _count > 0 && _top < _count && _table >= quint64(kHeaderSize) &&
               _table <= quint64(trailer) &&
               _count <= (quint64(trailer) - _table) / quint64(_offsetSize);
    }

    quint64 count() const { return _count; }
    quint64 top() const { return _top; }

    /// Where the references of `object` start and how many there are; false when the object
    /// lies outside the data.
    bool references(quint64 object, quint64 *start, quint64 *references) const
    {
        const quint64 offset =
            number(qsizetype(_table + object * quint64(_offsetSize)), _offsetSize);
        if (offset < quint64(kHeaderSize) || offset >= _table)
            return false;
        const quint8 marker = quint8(_data[qsizetype(offset)]);
        const int type = marker >> 4;
        *references = 0;
        *start = offset + 1;
        // Arrays (0xA), sets (0xC) and dictionaries (0xD, keys and values) refer to others;
        // UTF-16 strings (0x6) are looked into.
        if (type != 0xa && type != 0xc && type != 0xd && type != 0x6)
            return true;
        quint64 length = marker & 0xf;
        if (length == 0xf) {
            // The length follows as an integer object of 1, 2, 4 or 8 bytes.
            if (*start >= _table)
                return false;
            const quint8 lengthMarker = quint8(_data[qsizetype(*start)]);
            const int width = 1 << (lengthMarker & 0xf);
            if ((lengthMarker >> 4) != 0x1 || width > 8 || *start + 1 + quint64(width) > _table)
                return false;
            length = number(qsizetype(*start + 1), width);
            *start += 1 + quint64(width);
        }
        if (type == 0x6)
            return isUtf16WithoutNul(*start, length);
        const quint64 perEntry = type == 0xd ? 2 : 1;
        const quint64 room = (_table - *start) / quint64(_referenceSize);
        if (length > room / perEntry)
            return false;
        *references = length * perEntry;
        return true;
    }

    quint64 reference(quint64 start, quint64 index) const
    {
        return number(qsizetype(start + index * quint64(_referenceSize)), _referenceSize);
    }

private:
    // libplist asserts, ending the process, on a UTF-16 string (a value or a key) holding a
    // NUL; such a file is taken as damaged.
    bool isUtf16WithoutNul(quint64 start, quint64 units) const
    {
        if (units > (_table - start) / 2)
            return false;
        for (quint64 i = 0; i < units; ++i) {
            if (_data[qsizetype(start + 2 * i)] == 0 && _data[qsizetype(start + 2 * i + 1)] == 0)
                return false;
        }
        return true;
    }

    quint64 number(qsizetype at, int width) const
    {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | quint8(_data[at + i]);
        return value;
    }

    QByteArrayView _data;
    int _offsetSize = 0;
    int _referenceSize = 0;
    quint64 _count = 0;
    quint64 _top = 0;
    quint64 _table = 0;
};

} // namespace

bool isXmlWithinLimits(const QByteArray &xml, QString *error)
{
    const QByteArrayView text(xml);
    int depth = 0;
    for (qsizetype at = text.indexOf('<'); at >= 0; at = text.indexOf('<', at + 1)) {
        // Comments and character data may hold anything that looks like a tag.
        const auto skipTo = [&](QByteArrayView end) {
            const qsizetype found = text.indexOf(end, at);
            at = found < 0 ? text.size() : found;
        };
        const QByteArrayView rest = text.sliced(at);
        if (rest.startsWith("<!--")) {
            skipTo("-->");
            continue;
        }
        if (rest.startsWith("<![CDATA[")) {
            skipTo("]]>");
            continue;
        }
        const QByteArrayView name = tagName(text, at);
        if (name != "array" && name != "dict")
            continue;
        const qsizetype end = text.indexOf('>', at);
        if (end < 0)
            break; // libplist reports the broken text
        if (rest.startsWith("</"))
            depth = std::max(0, depth - 1);
        else if (text[end - 1] != '/' && ++depth > kMaxDepth)
            return fail(error, tooDeep());
        at = end;
    }
    return true;
}

bool isBinaryWithinLimits(const QByteArray &binary, QString *error)
{
    BinaryPropertyList plist(binary);
    const QString damaged = QStringLiteral("the binary property list is damaged");
    if (!plist.readTrailer())
        return fail(error, damaged);

    // Depth first without recursion. Each object is walked once; what it expands to (values
    // and levels below it) is kept for the other references to it.
    enum State : quint8
    {
        Unseen,
        Open,
        Done
    };
    struct Expansion
    {
        quint32 values = 0;
        quint16 height = 0;
        State state = Unseen;
    };
    std::vector<Expansion> expansions(plist.count());
    struct Frame
    {
        quint64 object;
        quint64 start;
        quint64 references;
        quint64 next;
        quint64 values;
        int height;
    };
    std::vector<Frame> stack;
    QString problem;
    const auto open = [&](quint64 object) {
        Frame frame{object, 0, 0, 0, 1, 1};
        if (!plist.references(object, &frame.start, &frame.references))
            return false;
        expansions[object].state = Open;
        stack.push_back(frame);
        return true;
    };
    // Adds a walked child to the frame on top; false once the limits are passed.
    const auto add = [&](quint64 values, int height) {
        Frame &parent = stack.back();
        parent.values = std::min(kMaxBinaryValues + 1, parent.values + values);
        parent.height = std::max(parent.height, height + 1);
        if (int(stack.size()) + parent.height - 1 > kMaxDepth)
            problem = tooDeep();
        else if (parent.values > kMaxBinaryValues)
            problem = QStringLiteral("the binary property list expands to more than %1 values")
                          .arg(kMaxBinaryValues);
        return problem.isEmpty();
    };
    if (!open(plist.top()))
        return fail(error, damaged);
    while (!stack.empty()) {
        Frame &frame = stack.back();
        if (frame.next == frame.references) {
            const Frame finished = frame;
            expansions[finished.object] = {quint32(finished.values), quint16(finished.height),
                                           Done};
            stack.pop_back();
            if (!stack.empty() && !add(finished.values, finished.height))
                return fail(error, problem);
            continue;
        }
        const quint64 child = plist.reference(frame.start, frame.next++);
        if (child >= plist.count())
            return fail(error, damaged);
        const Expansion &known = expansions[child];
        if (known.state == Open)
            return fail(error, QStringLiteral("the binary property list holds itself"));
        if (known.state == Done) {
            if (!add(known.values, known.height))
                return fail(error, problem);
        } else if (int(stack.size()) >= kMaxDepth) {
            return fail(error, tooDeep());
        } else if (!open(child)) {
            return fail(error, damaged);
        }
    }
    return true;
}

} // namespace PropertyListCheck
