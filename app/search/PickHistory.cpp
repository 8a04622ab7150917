// SPDX-License-Identifier: MIT
#include "app/search/PickHistory.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr int kFormatVersion = 1;
constexpr double kSecondsPerDay = 86400.0;
// No one picks a person this often; a larger score is no score of ours.
constexpr double kMaxScore = 1e9;
// Seconds since the epoch up to the year 5000.
constexpr double kMaxTime = 95617584000.0;

const QString kVersionKey = QStringLiteral("version");
const QString kPicksKey = QStringLiteral("picks");
const QString kScoreKey = QStringLiteral("score");
const QString kAtKey = QStringLiteral("at");

} // namespace

PickHistory::PickHistory(const QString &path)
    : _path(path)
{
    reloadIfChanged();
}

double PickHistory::_decayed(const Entry &entry, qint64 now)
{
    // A clock set back makes no score grow.
    const double age = std::max<double>(0.0, double(now - entry.at));
    return entry.score * std::exp2(-age / (kHalfLifeDays * kSecondsPerDay));
}

double PickHistory::score(const QString &uniqueId, const QDateTime &now) const
{
    const auto entry = _entries.constFind(uniqueId);
    if (entry == _entries.constEnd())
        return 0;
    const double score = _decayed(*entry, now.toSecsSinceEpoch());
    return score < kForgottenBelow ? 0 : score;
}

QHash<QString, double> PickHistory::scores(const QDateTime &now) const
{
    QHash<QString, double> result;
    const qint64 seconds = now.toSecsSinceEpoch();
    for (auto entry = _entries.cbegin(); entry != _entries.cend(); ++entry) {
        const double score = _decayed(*entry, seconds);
        if (score >= kForgottenBelow)
            result.insert(entry.key(), score);
    }
    return result;
}

QByteArray PickHistory::toJson(const Entries &entries)
{
    QJsonObject picks;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry)
        picks.insert(entry.key(),
                     QJsonObject{{kScoreKey, entry->score}, {kAtKey, double(entry->at)}});
    return QJsonDocument(QJsonObject{{kVersionKey, kFormatVersion}, {kPicksKey, picks}})
        .toJson(QJsonDocument::Compact);
}

bool PickHistory::fromJson(const QByteArray &json, Entries *entries, QString *error)
{
    entries->clear();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        *error = QStringLiteral("not JSON: %1 at byte %2")
                     .arg(parseError.errorString())
                     .arg(parseError.offset);
        return false;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(kVersionKey).toDouble() != kFormatVersion ||
        !root.value(kPicksKey).isObject()) {
        *error = QStringLiteral("not a search history of version %1").arg(kFormatVersion);
        return false;
    }
    const QJsonObject picks = root.value(kPicksKey).toObject();
    for (auto pick = picks.constBegin(); pick != picks.constEnd(); ++pick) {
        const QJsonObject fields = pick.value().toObject();
        const QJsonValue score = fields.value(kScoreKey);
        const QJsonValue at = fields.value(kAtKey);
        // Infinite or NaN values cannot come from JSON text; out-of-range ones can.
        if (pick.key().isEmpty() || !pick.value().isObject() || !score.isDouble() ||
            !at.isDouble() || !(score.toDouble() >= 0 && score.toDouble() <= kMaxScore) ||
            !(at.toDouble() >= 0 && at.toDouble() <= kMaxTime)) {
            *error = QStringLiteral("the pick of \"%1\" is not a score and a time").arg(pick.key());
            entries->clear();
            return false;
        }
        entries->insert(pick.key(), {score.toDouble(), qint64(at.toDouble())});
    }
    return true;
}

PickHistory::FileState PickHistory::_fileState() const
{
    struct stat status = {};
    FileState state;
    if (::stat(QFile::encodeName(_path).constData(), &status) != 0)
        return state;
    state.exists = true;
    state.size = status.st_size;
    state.modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    state.inode = status.st_ino;
    return state;
}

PickHistory::Read PickHistory::_readFile(Entries *entries, QString *error) const
{
    entries->clear();
    const RegularFile::Contents contents = RegularFile::read(_path, kMaxFileBytes, true);
    *error = contents.error;
    switch (contents.status) {
    case RegularFile::Status::Read:
        break;
    case RegularFile::Status::Missing:
        return Read::Missing;
    case RegularFile::Status::TooLarge:
        return Read::Broken;
    case RegularFile::Status::NotRegular:
    case RegularFile::Status::Failed:
        // Not ours to move: a folder or a device, or a file kept from us on purpose.
        return Read::Unreadable;
    }
    return fromJson(contents.data, entries, error) ? Read::Read : Read::Broken;
}

PickHistory::Read PickHistory::_readRepairing(bool locked, Entries *entries)
{
    QString error;
    _readState = _fileState();
    Read read = _readFile(entries, &error);
    if (read == Read::Read || read == Read::Missing) {
        _reported.clear();
        return read;
    }
    if (read == Read::Broken) {
        // Moved only under the lock, after reading it again: a writer may have replaced it
        // in between, and its new file must not be moved aside.
        std::optional<AtomicFile::Lock> lock;
        if (!locked) {
            lock.emplace(_path);
            if (!lock->isLocked()) {
                entries->clear();
                _report(QStringLiteral("Brisko: cannot lock the search history \"%1\": %2")
                            .arg(_path, lock->error()));
                return Read::Unreadable;
            }
            _readState = _fileState();
            read = _readFile(entries, &error);
        }
        if (read == Read::Broken) {
            entries->clear();
            const QString keptAs = AtomicFile::moveAside(_path);
            _readState = _fileState();
            if (keptAs.isEmpty()) {
                _report(QStringLiteral("Brisko: the search history \"%1\" cannot be read (%2) "
                                       "and could not be moved aside; it starts empty.")
                            .arg(_path, error));
                return Read::Unreadable;
            }
            _report(QStringLiteral("Brisko: the search history \"%1\" cannot be read (%2). It "
                                   "was kept as \"%3\"; the history starts empty.")
                        .arg(_path, error, keptAs));
            return Read::Missing;
        }
        if (read != Read::Unreadable)
            return read;
    }
    entries->clear();
    // Every later read meets it again; once is enough to say so.
    _report(QStringLiteral("Brisko: cannot read the search history \"%1\": %2; it is left as it "
                           "is and the history starts empty.")
                .arg(_path, error));
    return Read::Unreadable;
}

bool PickHistory::reloadIfChanged()
{
    if (_everRead && _fileState() == _readState)
        return false;
    const bool wasEmpty = !_everRead || _entries.isEmpty();
    _everRead = true;
    Entries entries;
    _readRepairing(false, &entries);
    _entries = std::move(entries);
    return !(wasEmpty && _entries.isEmpty());
}

bool PickHistory::recordPick(const QString &uniqueId, const QDateTime &now)
{
    if (uniqueId.isEmpty())
        return false;
    const qint64 seconds = now.toSecsSinceEpoch();
    const auto addPick = [&](Entries &entries) {
        Entry &entry = entries[uniqueId];
        entry.score = std::min(_decayed(entry, seconds) + 1, kMaxScore);
        entry.at = std::max(entry.at, seconds);
    };

    QString error;
    const QString folder = QFileInfo(_path).absolutePath();
    if (!PickHistoryFile::makeFolder(folder, &error)) {
        addPick(_entries);
        _report(QStringLiteral("Brisko: cannot make the folder \"%1\" of the search history: %2")
                    .arg(folder, error));
        return false;
    }
    const AtomicFile::Lock lock(_path);
    if (!lock.isLocked()) {
        addPick(_entries);
        _report(QStringLiteral("Brisko: cannot lock the search history \"%1\": %2")
                    .arg(_path, lock.error()));
        return false;
    }
    // What the other processes picked meanwhile, then this pick on top.
    Entries entries;
    const Read read = _readRepairing(true, &entries);
    _everRead = true;
    if (read == Read::Unreadable) {
        // Whatever stands there is left as it is; the pick counts in this process.
        addPick(_entries);
        return false;
    }
    addPick(entries);

    std::vector<std::pair<double, QString>> ranked;
    ranked.reserve(size_t(entries.size()));
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        const double score = _decayed(*entry, seconds);
        if (score >= kForgottenBelow)
            ranked.emplace_back(score, entry.key());
    }
    if (ranked.size() != size_t(entries.size()) || ranked.size() > size_t(kMaxPersons)) {
        std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        ranked.resize(std::min(ranked.size(), size_t(kMaxPersons)));
        Entries kept;
        for (const auto &[score, id] : ranked)
            kept.insert(id, entries.value(id));
        entries = std::move(kept);
    }

    const bool written = AtomicFile::replace(_path, toJson(entries), &error);
    _entries = std::move(entries);
    _readState = _fileState();
    if (!written)
        _report(
            QStringLiteral("Brisko: cannot write the search history \"%1\": %2").arg(_path, error));
    return written;
}

bool PickHistory::forget()
{
    _entries.clear();
    QString error;
    const bool removed = PickHistoryFile::remove(_path, &error);
    _readState = _fileState();
    _everRead = true;
    if (!removed)
        _report(QStringLiteral("Brisko: cannot remove the search history \"%1\": %2")
                    .arg(_path, error));
    return removed;
}

void PickHistory::_report(const QString &message)
{
    if (message == _reported)
        return;
    _reported = message;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}
