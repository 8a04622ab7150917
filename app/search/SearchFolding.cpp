// SPDX-License-Identifier: MIT
#include "app/search/SearchFolding.h"

#include <QChar>

#include <array>
#include <memory>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

// Letters that are letters of their own rather than a letter with an accent, so no
// decomposition takes their marks off, but that people type without them.
struct Variant
{
    char32_t letter;
    const char *plain;
};
constexpr Variant kVariants[] = {
    {U'ß', "ss"}, {U'æ', "ae"}, {U'œ', "oe"}, {U'ø', "o"}, {U'ł', "l"}, {U'đ', "d"},
    {U'ð', "d"},  {U'ħ', "h"},  {U'ı', "i"},  {U'ŧ', "t"}, {U'ŀ', "l"}, {U'ɨ', "i"},
};

bool isMark(char32_t cp)
{
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

bool isHangulSyllable(char32_t cp)
{
    return cp >= 0xAC00 && cp <= 0xD7A3;
}

// Case folded, decomposed to the compatibility forms, marks dropped, variants spelled out.
void appendWithoutAccents(std::u32string &out, char32_t cp, int depth = 0)
{
    cp = QChar::toCaseFolded(cp);
    for (const Variant &variant : kVariants) {
        if (variant.letter == cp) {
            for (const char *c = variant.plain; *c; ++c)
                out.push_back(char32_t(*c));
            return;
        }
    }
    if (isMark(cp))
        return;
    // Hangul syllables decompose into their letters, which no one types one by one.
    if (depth < 8 && !isHangulSyllable(cp) &&
        QChar::decompositionTag(cp) != QChar::NoDecomposition) {
        const QString parts = QChar::decomposition(cp);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            char32_t part = parts[i].unicode();
            if (QChar::isHighSurrogate(part) && i + 1 < parts.size() &&
                parts[i + 1].isLowSurrogate()) {
                part = QChar::surrogateToUcs4(char16_t(part), parts[i + 1].unicode());
                ++i;
            }
            appendWithoutAccents(out, part, depth + 1);
        }
        return;
    }
    out.push_back(cp);
}

// The accent-free forms of the basic multilingual plane, worked out once: the decomposition
// tables are far too slow to consult for every character of a hundred thousand persons.
class AccentTable
{
public:
    AccentTable()
        : _forms(std::make_unique<Form[]>(0x10000))
    {
        std::u32string out;
        for (char32_t cp = 0; cp < 0x10000; ++cp) {
            out.clear();
            if (QChar::isSurrogate(cp))
                out.push_back(cp);
            else
                appendWithoutAccents(out, cp);
            Form &form = _forms[cp];
            if (out.size() <= form.units.size()) {
                form.count = quint8(out.size());
                for (size_t i = 0; i < out.size(); ++i)
                    form.units[i] = out[i];
            } else {
                form.count = kLong;
                _long.emplace_back(cp, out);
            }
        }
    }

    template <typename Emit>
    void forEach(char32_t cp, Emit emit) const
    {
        if (cp >= 0x10000) {
            std::u32string out;
            appendWithoutAccents(out, cp);
            for (char32_t c : out)
                emit(c);
            return;
        }
        const Form &form = _forms[cp];
        if (form.count != kLong) {
            for (quint8 i = 0; i < form.count; ++i)
                emit(form.units[i]);
            return;
        }
        for (const auto &[letter, out] : _long) {
            if (letter == cp) {
                for (char32_t c : out)
                    emit(c);
                return;
            }
        }
    }

private:
    static constexpr quint8 kLong = 0xFF;
    struct Form
    {
        std::array<char32_t, 3> units{};
        quint8 count = 0;
    };
    std::unique_ptr<Form[]> _forms;
    std::vector<std::pair<char32_t, std::u32string>> _long;
};

const AccentTable &accentTable()
{
    static const AccentTable table;
    return table;
}

// Decodes one code point of UTF-8 at `i`; a byte that starts no valid sequence stands for
// itself, as the text came from a valid decoder and cannot hold one.
char32_t decodeUtf8(QByteArrayView utf8, qsizetype &i)
{
    const uchar lead = uchar(utf8[i]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (i + extra >= utf8.size())
        extra = 0;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
        cp = (cp << 6) | (uchar(utf8[i + k]) & 0x3F);
    i += extra;
    return cp;
}

void appendFoldedCodePoint(QByteArray &out, char32_t cp, bool ignoreAccents)
{
    if (ignoreAccents)
        accentTable().forEach(cp, [&](char32_t c) { appendUtf8(out, c); });
    else
        appendUtf8(out, QChar::toCaseFolded(cp));
}

bool isPhonePunctuation(QChar c)
{
    switch (c.unicode()) {
    case u'+':
    case u'(':
    case u')':
    case u'-':
    case u'.':
    case u'/':
        return true;
    default:
        return false;
    }
}

} // namespace

namespace SearchFolding {

void appendFolded(QByteArray &out, QByteArrayView utf8, bool ignoreAccents)
{
    const qsizetype n = utf8.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = utf8[i];
        if (uchar(c) < 0x80) {
            if (c >= 'A' && c <= 'Z')
                out.append(char(c + 32));
            else if (c == '\0')
                appendUtf8(out, kReplacement);
            else
                out.append(c);
            continue;
        }
        appendFoldedCodePoint(out, decodeUtf8(utf8, i), ignoreAccents);
    }
}

QByteArray folded(QStringView text, bool ignoreAccents)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(char16_t(cp), text[i + 1].unicode());
            ++i;
        }
        if (cp == 0)
            appendUtf8(out, kReplacement);
        else if (cp < 0x80)
            out.append(char(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp));
        else
            appendFoldedCodePoint(out, cp, ignoreAccents);
    }
    return out;
}

FoldedText foldedWithSources(QStringView text, bool ignoreAccents)
{
    FoldedText out;
    out.folded.reserve(text.size());
    out.from.reserve(size_t(text.size()));
    out.to.reserve(size_t(text.size()));
    // Where the bytes of the last character that folded to something begin.
    size_t lastStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype start = i;
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(char16_t(cp), text[i + 1].unicode());
            ++i;
        }
        const qsizetype end = i + 1;
        const qsizetype before = out.folded.size();
        if (cp == 0)
            appendUtf8(out.folded, kReplacement);
        else if (cp < 0x80)
            out.folded.append(char(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp));
        else
            appendFoldedCodePoint(out.folded, cp, ignoreAccents);
        if (out.folded.size() == before) {
            for (size_t b = lastStart; b < out.to.size(); ++b)
                out.to[b] = end;
            continue;
        }
        lastStart = size_t(before);
        out.from.resize(size_t(out.folded.size()), start);
        out.to.resize(size_t(out.folded.size()), end);
    }
    return out;
}

QByteArray phoneDigitsOfWord(QStringView word)
{
    QByteArray digits;
    for (QChar c : word) {
        if (c >= u'0' && c <= u'9')
            digits.append(char(c.unicode()));
        else if (!isPhonePunctuation(c))
            return {};
    }
    return digits.size() >= 3 ? digits : QByteArray();
}

void appendPhoneDigits(QByteArray &out, QByteArrayView utf8)
{
    for (char c : utf8) {
        if (c >= '0' && c <= '9')
            out.append(c);
    }
}

} // namespace SearchFolding
