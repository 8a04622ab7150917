// SPDX-License-Identifier: MIT
#pragma once

#include "tests/e2e/support/TestProcesses.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>

#include <map>

#include <libebook/libebook.h>

/// Evolution Data Server of a test's own: a private session bus that can start the real
/// evolution-source-registry and evolution-addressbook-factory (and no other of the machine's
/// services) when they are first asked, with the XDG folders of the environment at construction (a
/// TemporaryHome), and a libebook client that fills its address books as another contacts program
/// would.
class PrivateEds final
{
public:
    /// Why the services cannot run here, or empty when they can.
    static QString missingReason()
    {
        for (const QString &service : services()) {
            if (PrivateSessionBus::machineServiceFiles(service).isEmpty())
                return QStringLiteral("Evolution Data Server is not installed (no D-Bus service "
                                      "%1; install evolution-data-server)")
                    .arg(service);
        }
        return {};
    }

    PrivateEds()
    {
        // GSettings through dconf would start yet another service on the bus.
        qputenv("GSETTINGS_BACKEND", "memory");
        _bus = std::make_unique<PrivateSessionBus>(services());
        if (!_bus->isRunning())
            return;
        GError *error = nullptr;
        // libebook talks through the process's shared connection; it must not end the test
        // when the bus goes away with the fixture.
        if (GDBusConnection *connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error)) {
            g_dbus_connection_set_exit_on_close(connection, FALSE);
            g_object_unref(connection);
        }
        g_clear_error(&error);
        _registry = e_source_registry_new_sync(nullptr, &error);
        remember(error);
    }
    ~PrivateEds()
    {
        for (auto &[uid, client] : _clients)
            g_object_unref(client);
        if (_registry)
            g_object_unref(_registry);
    }
    PrivateEds(const PrivateEds &) = delete;
    PrivateEds &operator=(const PrivateEds &) = delete;

    bool isRunning() const { return _registry != nullptr; }
    /// The last failure, for assertion messages.
    QString error() const { return _error; }

    /// Adds an enabled local address book named `name`; its UID, or empty on failure.
    QByteArray addBook(const char *name)
    {
        GError *error = nullptr;
        ESource *source = e_source_new(nullptr, nullptr, &error);
        if (!source) {
            remember(error);
            return {};
        }
        e_source_set_parent(source, "local-stub");
        e_source_set_display_name(source, name);
        e_source_backend_set_backend_name(
            E_SOURCE_BACKEND(e_source_get_extension(source, E_SOURCE_EXTENSION_ADDRESS_BOOK)),
            "local");
        const bool made = e_source_registry_commit_source_sync(_registry, source, nullptr, &error);
        const QByteArray uid = made ? QByteArray(e_source_get_uid(source)) : QByteArray();
        g_object_unref(source);
        remember(error);
        return uid;
    }

    /// The cards added, in the book `bookUid` (the built-in one when empty).
    bool add(const QList<QByteArray> &cards, const QByteArray &bookUid = {})
    {
        EBookClient *book = client(bookUid);
        if (!book)
            return false;
        GSList *contacts = nullptr;
        for (const QByteArray &card : cards)
            contacts = g_slist_append(contacts, e_contact_new_from_vcard(card.constData()));
        GError *error = nullptr;
        const bool added = e_book_client_add_contacts_sync(
            book, contacts, E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr, &error);
        g_slist_free_full(contacts, g_object_unref);
        return remember(error) && added;
    }

    /// The contact of `card`'s UID replaced by `card`.
    bool modify(const QByteArray &card, const QByteArray &bookUid = {})
    {
        EBookClient *book = client(bookUid);
        if (!book)
            return false;
        EContact *contact = e_contact_new_from_vcard(card.constData());
        GError *error = nullptr;
        const bool modified = e_book_client_modify_contact_sync(
            book, contact, E_BOOK_OPERATION_FLAG_NONE, nullptr, &error);
        g_object_unref(contact);
        return remember(error) && modified;
    }

    bool remove(const char *uid, const QByteArray &bookUid = {})
    {
        EBookClient *book = client(bookUid);
        if (!book)
            return false;
        GError *error = nullptr;
        const bool removed = e_book_client_remove_contact_by_uid_sync(
            book, uid, E_BOOK_OPERATION_FLAG_NONE, nullptr, &error);
        return remember(error) && removed;
    }

private:
    /// The registry and the address book factory; the calendars, the password prompter and
    /// the keyring stay out.
    static QStringList services()
    {
        return {QStringLiteral("org.gnome.evolution.dataserver.Sources*"),
                QStringLiteral("org.gnome.evolution.dataserver.AddressBook*")};
    }

    EBookClient *client(const QByteArray &bookUid)
    {
        if (!_registry)
            return nullptr;
        if (const auto known = _clients.find(bookUid); known != _clients.end())
            return known->second;
        ESource *source = bookUid.isEmpty()
                              ? e_source_registry_ref_builtin_address_book(_registry)
                              : e_source_registry_ref_source(_registry, bookUid.constData());
        if (!source) {
            _error = QStringLiteral("no address book %1").arg(QString::fromUtf8(bookUid));
            return nullptr;
        }
        GError *error = nullptr;
        EClient *client = e_book_client_connect_sync(source, guint32(-1), nullptr, &error);
        g_object_unref(source);
        if (!remember(error) || !client)
            return nullptr;
        return _clients[bookUid] = E_BOOK_CLIENT(client);
    }

    bool remember(GError *error)
    {
        if (!error)
            return true;
        _error = QString::fromUtf8(error->message);
        g_error_free(error);
        return false;
    }

    std::unique_ptr<PrivateSessionBus> _bus;
    ESourceRegistry *_registry = nullptr;
    std::map<QByteArray, EBookClient *> _clients;
    QString _error;
};
