// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/Person.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

/// The persons of the user's address book, read from vCard files (2.1, 3.0 and 4.0).
///
/// Sources, in order: the paths given (command line), else BRISKO_ADDRESS_BOOK (files or
/// folders separated by ':'), else the desktop's vCard folders ($XDG_DATA_HOME/contacts,
/// $XDG_DATA_HOME/kpeoplevcard and the address books named in khard's configuration), else the
/// sample book in the application bundle's resources. Files are read by name within each
/// folder, recursively; cards in file order. Changes made by other programs are picked up by
/// a file watcher and announced with databaseChangedExternally().
class AddressBook : public QObject
{
    Q_OBJECT

public:
    /// The process-wide address book, loaded on first use from the paths of setSourcePaths().
    static AddressBook &sharedAddressBook();
    /// Paths (files or folders) the shared address book reads; call before its first use.
    /// An empty list means the environment, then the desktop folders, then the sample book.
    static void setSourcePaths(const QStringList &paths);

    /// Whether a person may have several web addresses, each with its label. vCards may, so
    /// the card lists them all rather than a single home page.
    static bool hasMultiValueURLs() { return true; }

    /// Reads the given sources at once (see setSourcePaths() for an empty list).
    explicit AddressBook(const QStringList &sourcePaths = {}, QObject *parent = nullptr);
    ~AddressBook() override;

    /// Every person, in the address book's own order.
    QList<PersonPtr> people() const;
    /// True when none of the user's sources had a person and the sample book stands in.
    bool isUsingSampleBook() const;
    /// The files and folders actually read, in order.
    QStringList sourcePaths() const;
    /// Grows by one with every reload that changed the persons.
    quint64 generation() const;
    /// How long the watcher waits for a burst of file changes to settle before reloading.
    void setReloadDelay(int milliseconds);

    /// Reads the sources again now; emits databaseChangedExternally() when anything changed.
    void reload();

Q_SIGNALS:
    /// Another program added, edited or removed a vCard; people() already holds the new state.
    void databaseChangedExternally();

private:
    struct Private;
    std::unique_ptr<Private> _d;
};
