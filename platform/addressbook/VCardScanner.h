// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AsciiText.h"
#include "platform/addressbook/VCardProperty.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <optional>
#include <vector>

/// Cuts text into cards: unfolds continuation lines and quoted-printable soft line breaks,
/// and hands each card's properties to `onCard(const Card &)` with where the card begins and
/// ends. A card that cannot be read goes to `onBroken(int line, const char *reason, bool
/// ended)`, `ended` telling whether its END line came. Text between cards is passed over;
/// lines may end in LF, CR LF or CR alone.
class VCardScanner final
{
public:
    struct Card
    {
        std::vector<VCardProperty> properties;
        qsizetype begin = 0; // offset of its BEGIN line
        qsizetype end = 0;   // offset just past its END line
        int beginLine = 0;
        const char *brokenReason = nullptr;
    };

    /// A piece of a longer text, cut just after a line, starts after `linesBefore` lines, and
    /// `crOnly` tells how the whole text ends its lines.
    template <typename OnCard, typename OnBroken>
    void scan(QByteArrayView text, OnCard onCard, OnBroken onBroken, int linesBefore = 0,
              std::optional<bool> crOnly = std::nullopt)
    {
        _text = text;
        _inCard = false;
        _hasLogical = false;
        // Classic Mac OS wrote lines ended by CR alone; everyone else ends them with LF.
        if (!crOnly)
            crOnly = !text.contains('\n') && text.contains('\r');
        const char separator = *crOnly ? '\r' : '\n';
        qsizetype start = 0;
        int lineNumber = linesBefore;
        while (start < text.size()) {
            const void *found =
                std::memchr(text.data() + start, separator, size_t(text.size() - start));
            const qsizetype end =
                found ? static_cast<const char *>(found) - text.data() : text.size();
            QByteArrayView line = text.sliced(start, end - start);
            if (!*crOnly && line.endsWith('\r'))
                line.chop(1);
            _handleLine(line, ++lineNumber, start, qMin(end + 1, text.size()), onCard, onBroken);
            start = end + 1;
        }
        if (_inCard) {
            _finishLogical();
            onBroken(_card.beginLine, "no END:VCARD before the end of the file", false);
        }
    }

private:
    // A logical line: most are one line of the text and are used where they lie; only lines
    // that continue on the next are copied together into the card's buffer.
    struct Span
    {
        bool inBuffer;
        qsizetype start;
        qsizetype length;
    };

    template <typename OnCard, typename OnBroken>
    void _handleLine(QByteArrayView line, int lineNumber, qsizetype lineStart, qsizetype lineEnd,
                     OnCard &onCard, OnBroken &onBroken)
    {
        const QByteArrayView trimmedLine = AsciiText::withoutBlanks(line);
        if (AsciiText::equalsIgnoringCase(trimmedLine, "BEGIN:VCARD")) {
            _finishLogical();
            if (_inCard)
                onBroken(_card.beginLine, "no END:VCARD before the next card", false);
            _inCard = true;
            _card.begin = lineStart;
            _card.beginLine = lineNumber;
            _card.brokenReason = nullptr;
            _buffer.resize(0);
            _spans.clear();
            return;
        }
        if (!_inCard)
            return; // text between cards carries nothing of a person
        if (AsciiText::equalsIgnoringCase(trimmedLine, "END:VCARD")) {
            _finishLogical();
            _inCard = false;
            _card.end = lineEnd;
            if (_card.brokenReason) {
                onBroken(_card.beginLine, _card.brokenReason, true);
                return;
            }
            // Neither the text nor the buffer changes any more: properties may point into them.
            _card.properties.clear();
            for (const Span &span : _spans) {
                const char *base = span.inBuffer ? _buffer.constData() : _text.data();
                if (std::optional<VCardProperty> property =
                        VCardProperty::parse(QByteArrayView(base + span.start, span.length)))
                    _card.properties.push_back(std::move(*property));
            }
            onCard(_card);
            return;
        }
        if (line.isEmpty())
            return;
        const bool continuation = line.front() == ' ' || line.front() == '\t';
        if (_hasLogical && _logicalIsQuotedPrintable && _logical().endsWith('=')) {
            // A quoted-printable soft line break: the next line continues the value as is.
            _copyLogical();
            _buffer.chop(1);
            _buffer.append(line);
            return;
        }
        if (continuation && _hasLogical) {
            _copyLogical();
            _buffer.append(line.sliced(1));
            return;
        }
        _finishLogical();
        _hasLogical = true;
        _logicalCopied = false;
        _logicalView = line;
        _logicalIsQuotedPrintable = VCardProperty::isQuotedPrintableHead(line);
    }

    QByteArrayView _logical() const;
    void _copyLogical();
    void _finishLogical();

    QByteArrayView _text;
    Card _card;
    bool _inCard = false;
    QByteArray _buffer; // the unfolded lines of the current card that continue
    std::vector<Span> _spans;
    bool _hasLogical = false;
    bool _logicalCopied = false;
    QByteArrayView _logicalView;
    qsizetype _logicalStart = 0;
    bool _logicalIsQuotedPrintable = false;
};
