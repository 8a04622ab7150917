// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardSkim.h"

#include "platform/addressbook/AsciiText.h"

#include <array>
#include <cstring>

namespace {

// What each byte becomes in the condensed text; 0 for the bytes it leaves out.
constexpr std::array<char, 256> kCondensed = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[size_t(c)] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (char c : {'\0', '\r', '\n', ' ', '\t', '\\'})
        table[size_t(uchar(c))] = 0;
    return table;
}();

bool contains(QByteArrayView text, const char *marker)
{
    const size_t length = std::strlen(marker);
    return ::memmem(text.data(), size_t(text.size()), marker, length) != nullptr;
}

bool isBlank(QByteArrayView text)
{
    for (char c : text) {
        if (!AsciiText::isSpace(c))
            return false;
    }
    return true;
}

// Lines end at LF, or at CR alone in a text without LF (classic Mac OS), as the scanner
// cuts them.
bool isCrOnly(QByteArrayView text)
{
    return !text.contains('\n') && text.contains('\r');
}

} // namespace

namespace VCardSkim {

bool isLeftOut(char c)
{
    return kCondensed[size_t(uchar(c))] == 0;
}

int cleanCardCount(QByteArrayView text)
{
    if (text.contains('\0'))
        return -1;
    const bool crOnly = isCrOnly(text);
    const char separator = crOnly ? '\r' : '\n';
    const qsizetype size = text.size();
    const char *data = text.data();
    // A marker is a line of its own when nothing but the line's end follows it; a CR before
    // the LF is taken off by the scanner.
    auto isLine = [&](qsizetype start, qsizetype end) {
        if (start > 0 && data[start - 1] != separator)
            return false;
        if (end == size || data[end] == separator)
            return true;
        return !crOnly && data[end] == '\r' && (end + 1 == size || data[end + 1] == '\n');
    };
    int cards = 0;
    bool inCard = false;
    // Both markers end in ":VCARD": each colon followed by it is looked at, and every marker
    // found must be a line of its own, or the scanner might see it otherwise.
    for (qsizetype at = 0; at < size;) {
        const void *found = std::memchr(data + at, ':', size_t(size - at));
        if (!found)
            break;
        const qsizetype colon = static_cast<const char *>(found) - data;
        at = colon + 1;
        if (size - at < 5 || !AsciiText::equalsIgnoringCase(text.sliced(at, 5), "vcard"))
            continue;
        const qsizetype end = at + 5;
        if (colon >= 5 && AsciiText::equalsIgnoringCase(text.sliced(colon - 5, 5), "begin")) {
            if (inCard || !isLine(colon - 5, end))
                return -1;
            inCard = true;
        } else if (colon >= 3 && AsciiText::equalsIgnoringCase(text.sliced(colon - 3, 3), "end")) {
            if (!inCard || !isLine(colon - 3, end))
                return -1;
            inCard = false;
            ++cards;
        }
    }
    if (inCard)
        return -1;
    if (cards == 0 && !isBlank(text))
        return -1; // reading says there is no card
    return cards;
}

void skim(QByteArrayView text, Skim &skim)
{
    skim.text = text;
    skim.condensed.resize(text.size());
    char *out = skim.condensed.data();
    qsizetype kept = 0;
    uchar high = 0;
    for (const char c : text) {
        const char condensed = kCondensed[size_t(uchar(c))];
        out[kept] = condensed;
        kept += condensed != 0;
        high |= uchar(c);
    }
    skim.condensed.resize(kept);
    skim.ascii = high < 0x80;
    // A value is read as it stands only in UTF-8 (text that is not, or a charset, is decoded
    // otherwise) and without quoted-printable; the markers survive condensing whole.
    skim.plain = (skim.ascii || text.isValidUtf8()) &&
                 !contains(skim.condensed, "quoted-printable") &&
                 !contains(skim.condensed, "charset");
}

void appendDigitsByLine(QByteArray &out, QByteArrayView text)
{
    const char separator = isCrOnly(text) ? '\r' : '\n';
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            out.append(c);
        } else if (c == separator && i + 1 < size && !AsciiText::isSpace(text[i + 1])) {
            // A line that starts with anything but a blank or another line break starts a
            // property of its own: folded lines start with a blank, and empty lines are
            // passed over between a line and its continuation.
            out.append('\0');
        }
    }
    out.append('\0');
}

} // namespace VCardSkim
