// SPDX-License-Identifier: MIT
#pragma once

#include "common/utility/PickHistoryFile.h"

#include <QDateTime>
#include <QHash>
#include <QString>

/// Whom the user picked from the search, and how recently and often: a score per person id
/// that grows by one with each pick and halves every kHalfLifeDays, so a pick a month ago
/// counts a quarter of one today. Kept in a JSON file of Brisko's own (see PickHistoryFile),
/// mode 0600 in a folder of mode 0700, and never sent anywhere.
///
/// Several processes may share the file: a pick takes the writers' lock, reads the file again,
/// adds itself to what it found and replaces the file whole, so no process loses another's
/// picks and a reader never sees half a file. A file that cannot be read is an empty history:
/// it is kept aside under a new name and reported once on standard error.
class PickHistory final
{
public:
    /// Two weeks: what the user reached for last month still stands out from the rest, what
    /// they reach for this week comes first.
    static constexpr double kHalfLifeDays = 14.0;
    /// A score below this is forgotten: a single pick about eight weeks on.
    static constexpr double kForgottenBelow = 1.0 / 16;
    /// The file keeps no more persons than this, the highest scores.
    static constexpr int kMaxPersons = 1000;
    /// A history file is small; one larger than this is no history of ours.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

    explicit PickHistory(const QString &path = PickHistoryFile::path());

    QString path() const { return _path; }

    /// Reads the file when it is not the one read last (another process wrote it, or it went).
    /// True when what is held changed.
    bool reloadIfChanged();
    /// Counts one pick of the person `uniqueId` at `now`. False, with the pick held here
    /// anyway and one message, when the file cannot be written.
    bool recordPick(const QString &uniqueId,
                    const QDateTime &now = QDateTime::currentDateTimeUtc());
    /// Forgets every pick, here and in the file.
    bool forget();

    /// The score of `uniqueId` at `now`; 0 for a person not picked, or forgotten.
    double score(const QString &uniqueId, const QDateTime &now) const;
    /// Every person whose score at `now` still counts, with that score.
    QHash<QString, double> scores(const QDateTime &now) const;
    bool isEmpty() const { return _entries.isEmpty(); }

    /// The file's form of `entries`, and back; exposed for tests of the format.
    struct Entry
    {
        double score = 0;
        /// When the score was that, in seconds since the epoch.
        qint64 at = 0;
    };
    using Entries = QHash<QString, Entry>;
    static QByteArray toJson(const Entries &entries);
    /// False with a reason for anything that is not a history of this form.
    static bool fromJson(const QByteArray &json, Entries *entries, QString *error);

private:
    struct FileState
    {
        bool exists = false;
        qint64 size = -1;
        qint64 modified = -1;
        quint64 inode = 0;
        bool operator==(const FileState &) const = default;
    };
    enum class Read
    {
        Read,
        Missing,
        Broken,
        Unreadable,
    };

    static double _decayed(const Entry &entry, qint64 now);
    FileState _fileState() const;
    Read _readFile(Entries *entries, QString *error) const;
    /// Reads the file into `entries`; a broken one is kept aside (under the lock, taken here
    /// unless `locked`) and reads as Missing then.
    Read _readRepairing(bool locked, Entries *entries);
    void _report(const QString &message);

    QString _path;
    Entries _entries;
    FileState _readState;
    bool _everRead = false;
    QString _reported;
};
