// SPDX-License-Identifier: MIT
#pragma once

#include "app/search/SearchFolding.h"
#include "platform/addressbook/AddressBookQuery.h"

#include <QByteArray>
#include <QString>

#include <vector>

/// A typed pattern as a filter of the address book's files, for a search that reads each file
/// once: whether a file's bytes may hold a person the pattern matches, told before any person
/// is built, and the search engine's own answer for the persons of the files that may.
///
/// The test on bytes never turns away a file in which the engine would find someone. Every
/// word must be contained in the file's condensed text folded as the engine folds (or, for a
/// phone number, its digits in the digits of one stretch of lines). A word holding a character
/// that condensing leaves out (a tab, a backslash), and text whose values are not read as
/// they stand (quoted-printable, a charset, bytes that are no UTF-8), let every file through
/// to the full reading.
class SearchPrefilter final : public AddressBookQuery::Filter
{
public:
    SearchPrefilter(const QString &pattern, const SearchFolding::Options &options);

    bool mayHoldWanted(const VCardSkim::Skim &skim) const override;
    QList<PersonPtr> wanted(const QList<PersonPtr> &persons) const override;

private:
    struct Word
    {
        QByteArray text;   // folded
        QByteArray digits; // of a phone number, with MatchPhoneDigits
    };

    QString _pattern;
    SearchFolding::Options _options;
    bool _matchesNobody = false;
    // Only the words that can turn a file away.
    std::vector<Word> _words;
};
