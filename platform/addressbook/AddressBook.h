// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AddressBookSource.h"
#include "platform/addressbook/Person.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

/// The persons of the user's address book, read from vCard files (2.1, 3.0 and 4.0).
///
/// Sources, in order: the paths given (command line), else BRISKO_ADDRESS_BOOK (files or
/// folders separated by ':'), else the desktop's vCard folders ($XDG_DATA_HOME/contacts,
/// $XDG_DATA_HOME/kpeoplevcard and the address books named in khard's configuration) and,
/// after them, the desktop's contact store (an AddressBookSource), else the sample book in the
/// application bundle's resources. Files are read by name within each folder, recursively;
/// cards in file order. A contact of the store whose UID a vCard already carries appears once.
/// Changes made by other programs are picked up by a file watcher or announced by the store,
/// and reported with databaseChangedExternally().
///
/// The persons are ordered by display name as the user's locale sorts, ignoring case;
/// persons with equal names keep their source order. Files are read away from the thread
/// that owns the address book, which only swaps the finished result in. The store answers
/// when it can: the files are searchable meanwhile.
class AddressBook : public QObject
{
    Q_OBJECT

public:
    enum class Loading
    {
        /// The constructor returns once the persons are read and the contact store has
        /// answered or given up.
        Now,
        /// The constructor starts reading and returns at once; loaded() tells the end.
        InBackground,
    };
    enum class Order
    {
        /// The address book's own order, by display name.
        ByName,
        /// Source order, for a caller that orders the few persons it keeps with sortPersons().
        AsRead,
    };

    /// The process-wide address book, from the paths of setSourcePaths() and the desktop's
    /// contact store (AddressBookSource::createDefault()). It starts loading in the background
    /// on first use: waitForLoad() waits for it.
    static AddressBook &sharedAddressBook();
    /// Paths (files or folders) the shared address book reads; call before its first use.
    /// An empty list means the environment, then the desktop folders, then the sample book.
    static void setSourcePaths(const QStringList &paths);
    static QStringList configuredSourcePaths();
    /// Called on the loading thread as each load begins; lets tests hold a load back.
    static void setLoadStartObserver(std::function<void()> observer);

    /// Whether a person may have several web addresses, each with its label. vCards may, so
    /// the card lists them all rather than a single home page.
    static bool hasMultiValueURLs() { return true; }

    explicit AddressBook(const QStringList &sourcePaths = {}, Loading loading = Loading::Now,
                         Order order = Order::ByName, QObject *parent = nullptr);
    /// Reads `store` too (it may be null), started here when the user named no sources.
    AddressBook(std::unique_ptr<AddressBookSource> store, const QStringList &sourcePaths,
                Loading loading, Order order = Order::ByName, QObject *parent = nullptr);
    ~AddressBook() override;

    /// Every person, in the address book's order; empty until the first load is in.
    QList<PersonPtr> people() const;
    /// Whether the first load is in.
    bool isLoaded() const;
    /// Whether a load is running.
    bool isLoading() const;
    /// True when none of the user's sources had a person and the sample book stands in. With
    /// empty folders, the first load waits for the contact store's answer to decide.
    bool isUsingSampleBook() const;
    /// The files and folders actually read, in order.
    QStringList sourcePaths() const;
    /// Grows by one with every load that changed the persons (the first one included).
    quint64 generation() const;
    /// How long the watcher waits for a burst of file changes to settle before reloading.
    void setReloadDelay(int milliseconds);

    /// Reads the sources again now, waiting for the result; emits databaseChangedExternally()
    /// when anything changed.
    void reload();
    /// Starts reading the sources again; the result is swapped in when it is ready.
    void reloadInBackground();
    /// Waits until no load is running and its result is in.
    void waitForLoad();

    /// Sorts persons into the address book's order: display name by the user's locale,
    /// ignoring case; equal names keep their order.
    static void sortPersons(QList<PersonPtr> &persons);

Q_SIGNALS:
    /// The first load is in.
    void loaded();
    /// Another program added, edited or removed a vCard or a contact of the store; people()
    /// already holds the new state.
    void databaseChangedExternally();

private:
    void _reloadChanges();
    void _waitForStore();
    void _startLoad();
    void _finishLoad();
    void _takeResult();
    void _watch(QStringList wanted);

    struct Private;
    std::unique_ptr<Private> _d;
};
