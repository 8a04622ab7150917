// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

/// Byte views of text whose syntax is ASCII (vCard names, parameters, markers).
namespace AsciiText {

inline bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && qstrnicmp(a.data(), a.size(), b.data(), b.size()) == 0;
}

inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

/// Without the blanks (spaces and tabs) at either end.
inline QByteArrayView withoutBlanks(QByteArrayView view)
{
    while (!view.isEmpty() && (view.front() == ' ' || view.front() == '\t'))
        view = view.sliced(1);
    while (!view.isEmpty() && (view.back() == ' ' || view.back() == '\t'))
        view.chop(1);
    return view;
}

} // namespace AsciiText
