// SPDX-License-Identifier: MIT
#include "platform/addressbook/VCardScanner.h"

QByteArrayView VCardScanner::_logical() const
{
    return _logicalCopied ? QByteArrayView(_buffer).sliced(_logicalStart) : _logicalView;
}

void VCardScanner::_copyLogical()
{
    if (_logicalCopied)
        return;
    _logicalStart = _buffer.size();
    _buffer.append(_logicalView);
    _logicalCopied = true;
}

void VCardScanner::_finishLogical()
{
    if (!_hasLogical)
        return;
    _hasLogical = false;
    const QByteArrayView logical = _logical();
    if (logical.contains('\0'))
        _card.brokenReason = "binary data";
    else if (_logicalCopied)
        _spans.push_back({true, _logicalStart, logical.size()});
    else
        _spans.push_back({false, logical.data() - _text.data(), logical.size()});
}
