// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

#include <memory>
#include <vector>

/// The folded shown names (MatchExplanation::appendFoldedName) of the persons of one result,
/// in the result's order, read from the search index. Ordering a result or laying out its list
/// looks at every match's name: read from one buffer, in the index's order, that costs a few
/// nanoseconds a match, where reaching into each person costs a wait for memory. Keeps the
/// index it reads alive.
class FoldedNames final
{
public:
    FoldedNames() = default;
    FoldedNames(std::shared_ptr<const void> owner, QByteArrayView text, const qsizetype *starts,
                std::vector<quint32> rows)
        : _owner(std::move(owner))
        , _text(text)
        , _starts(starts)
        , _rows(std::move(rows))
    {}

    qsizetype size() const { return qsizetype(_rows.size()); }
    bool isEmpty() const { return _rows.empty(); }
    QByteArrayView at(qsizetype i) const
    {
        const quint32 row = _rows[size_t(i)];
        return _text.sliced(_starts[row], _starts[row + 1] - _starts[row]);
    }

    /// The names in the order `positions` gives (position i holds what was at positions[i]).
    FoldedNames reordered(const std::vector<qsizetype> &positions) const
    {
        std::vector<quint32> rows;
        rows.reserve(positions.size());
        for (const qsizetype at : positions)
            rows.push_back(_rows[size_t(at)]);
        return FoldedNames(_owner, _text, _starts, std::move(rows));
    }

private:
    std::shared_ptr<const void> _owner;
    QByteArrayView _text;
    const qsizetype *_starts = nullptr;
    std::vector<quint32> _rows;
};
