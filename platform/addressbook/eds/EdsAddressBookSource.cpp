// SPDX-License-Identifier: MIT
#include "platform/addressbook/eds/EdsAddressBookSource.h"

#include "platform/addressbook/VCardReader.h"

#include <QAbstractEventDispatcher>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include <libebook/libebook.h>

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree
{
    void operator()(GError *error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

void report(const QString &message)
{
    std::fprintf(stderr, "Brisko: address book: Evolution Data Server: %s\n", qPrintable(message));
}

bool isCancellation(const GError *error)
{
    return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

QString describe(const GError *error)
{
    return error ? QString::fromUtf8(error->message) : QStringLiteral("no reason given");
}

// Remote books (CardDAV, Google) answer from their cache at once; waiting until they are
// online would hold their contacts back for as long as the network takes.
constexpr guint32 kDoNotWaitUntilOnline = guint32(-1);

// Calls into GLib carry a weak reference to the object they report to, which may be gone by
// the time GLib calls back.
template <typename T>
gpointer callbackData(const std::shared_ptr<T> &target)
{
    return new std::weak_ptr<T>(target);
}

template <typename T>
std::shared_ptr<T> takeCallbackData(gpointer data)
{
    std::unique_ptr<std::weak_ptr<T>> weak(static_cast<std::weak_ptr<T> *>(data));
    return weak->lock();
}

/// One address book of the registry and the persons its view has listed.
struct Book
{
    EdsAddressBookSource::Private *owner = nullptr;
    QByteArray uid;
    QString name;
    QByteArray storeName; // for the persons' origin and the reader's messages
    GObjectPtr<ESource> source;
    GObjectPtr<GCancellable> cancellable{g_cancellable_new()};
    GObjectPtr<EBookClient> client;
    GObjectPtr<EBookClientView> view;
    // By UID, so that the order does not depend on the order of arrival.
    std::map<QByteArray, PersonPtr> persons;
    // The view has listed every contact, or the book cannot be read.
    bool complete = false;

    Book() = default;
    Book(const Book &) = delete;
    Book &operator=(const Book &) = delete;
    ~Book()
    {
        g_cancellable_cancel(cancellable.get());
        if (view)
            g_signal_handlers_disconnect_by_data(view.get(), this);
    }
};

} // namespace

struct EdsAddressBookSource::Private
{
    EdsAddressBookSource *q = nullptr;
    int timeoutMs = kDefaultTimeoutMs;
    QTimer timeout;
    GObjectPtr<GCancellable> cancellable{g_cancellable_new()};
    GObjectPtr<ESourceRegistry> registry;
    // In the order their persons are listed: the built-in book first.
    std::vector<std::shared_ptr<Book>> books;
    bool started = false;
    bool registryAnswered = false;
    bool settled = false;

    ~Private()
    {
        g_cancellable_cancel(cancellable.get());
        if (registry)
            g_signal_handlers_disconnect_by_data(registry.get(), this);
    }

    void settle()
    {
        if (settled)
            return;
        settled = true;
        timeout.stop();
        Q_EMIT q->personsChanged();
    }

    void settleWhenAllAnswered()
    {
        if (registryAnswered && std::all_of(books.cbegin(), books.cend(),
                                            [](const auto &book) { return book->complete; }))
            settle();
    }

    // The contacts of a book that is still listing them are announced with its end.
    void bookChanged(const Book &book)
    {
        if (settled && book.complete)
            Q_EMIT q->personsChanged();
    }

    void bookFailed(Book &book, const GError *error)
    {
        if (!isCancellation(error))
            report(QStringLiteral("the address book \"%1\" cannot be read (%2)")
                       .arg(book.name, describe(error)));
        book.complete = true;
        settleWhenAllAnswered();
        bookChanged(book);
    }

    static void registryReady(GObject *, GAsyncResult *result, gpointer data)
    {
        GError *rawError = nullptr;
        GObjectPtr<ESourceRegistry> registry(e_source_registry_new_finish(result, &rawError));
        const GErrorPtr error(rawError);
        const std::shared_ptr<Private> d = takeCallbackData<Private>(data);
        if (!d)
            return;
        d->registryAnswered = true;
        if (!registry) {
            if (!isCancellation(error.get()))
                report(QStringLiteral("no source registry (%1)").arg(describe(error.get())));
            d->settle();
            return;
        }
        d->registry = std::move(registry);
        for (const char *signal :
             {"source-added", "source-removed", "source-enabled", "source-disabled"})
            g_signal_connect(d->registry.get(), signal, G_CALLBACK(&Private::sourcesChanged),
                             d.get());
        d->followEnabledBooks();
        d->settleWhenAllAnswered();
    }

    static void sourcesChanged(ESourceRegistry *, ESource *, gpointer data)
    {
        static_cast<Private *>(data)->followEnabledBooks();
    }

    // The enabled address books in the order their persons are listed: the built-in one,
    // then the others by name.
    std::vector<GObjectPtr<ESource>> enabledBooks() const
    {
        std::vector<GObjectPtr<ESource>> sources;
        GList *list =
            e_source_registry_list_enabled(registry.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK);
        for (GList *item = list; item; item = item->next)
            sources.emplace_back(static_cast<ESource *>(item->data));
        g_list_free(list);
        if (sources.empty())
            return sources;
        // Asked only when there are books: a registry that is not running has no built-in one,
        // and asking for it then prints a critical warning.
        const GObjectPtr<ESource> builtin(
            e_source_registry_ref_builtin_address_book(registry.get()));
        std::stable_sort(sources.begin(), sources.end(), [&](const auto &a, const auto &b) {
            const bool aBuiltin = builtin && e_source_equal(a.get(), builtin.get());
            const bool bBuiltin = builtin && e_source_equal(b.get(), builtin.get());
            if (aBuiltin != bBuiltin)
                return aBuiltin;
            const int byName = g_utf8_collate(e_source_get_display_name(a.get()),
                                              e_source_get_display_name(b.get()));
            if (byName != 0)
                return byName < 0;
            return g_strcmp0(e_source_get_uid(a.get()), e_source_get_uid(b.get())) < 0;
        });
        return sources;
    }

    void followEnabledBooks()
    {
        std::vector<std::shared_ptr<Book>> followed;
        bool dropped = false;
        for (GObjectPtr<ESource> &source : enabledBooks()) {
            const QByteArray uid(e_source_get_uid(source.get()));
            const auto known = std::find_if(books.begin(), books.end(),
                                            [&](const auto &book) { return book->uid == uid; });
            if (known != books.end()) {
                followed.push_back(std::move(*known));
                books.erase(known);
                continue;
            }
            auto book = std::make_shared<Book>();
            book->owner = this;
            book->uid = uid;
            book->name = QString::fromUtf8(e_source_get_display_name(source.get()));
            book->storeName =
                QByteArrayLiteral("Evolution Data Server book \"") + book->name.toUtf8() + '"';
            book->source = std::move(source);
            e_book_client_connect(book->source.get(), kDoNotWaitUntilOnline,
                                  book->cancellable.get(), &Private::clientReady,
                                  callbackData(book));
            followed.push_back(std::move(book));
        }
        for (const auto &book : books)
            dropped = dropped || !book->persons.empty();
        books = std::move(followed);
        if (dropped && settled)
            Q_EMIT q->personsChanged();
        settleWhenAllAnswered();
    }

    static void clientReady(GObject *, GAsyncResult *result, gpointer data)
    {
        GError *rawError = nullptr;
        GObjectPtr<EClient> client(e_book_client_connect_finish(result, &rawError));
        const GErrorPtr error(rawError);
        const std::shared_ptr<Book> book = takeCallbackData<Book>(data);
        if (!book)
            return;
        if (!client) {
            book->owner->bookFailed(*book, error.get());
            return;
        }
        book->client.reset(E_BOOK_CLIENT(client.release()));
        EBookQuery *everyone = e_book_query_any_field_contains("");
        gchar *query = e_book_query_to_string(everyone);
        e_book_query_unref(everyone);
        e_book_client_get_view(book->client.get(), query, book->cancellable.get(),
                               &Private::viewReady, callbackData(book));
        g_free(query);
    }

    static void viewReady(GObject *client, GAsyncResult *result, gpointer data)
    {
        GError *rawError = nullptr;
        EBookClientView *rawView = nullptr;
        const bool made =
            e_book_client_get_view_finish(E_BOOK_CLIENT(client), result, &rawView, &rawError);
        GObjectPtr<EBookClientView> view(rawView);
        const GErrorPtr error(rawError);
        const std::shared_ptr<Book> book = takeCallbackData<Book>(data);
        if (!book)
            return;
        if (!made || !view) {
            book->owner->bookFailed(*book, error.get());
            return;
        }
        book->view = std::move(view);
        EBookClientView *v = book->view.get();
        g_signal_connect(v, "objects-added", G_CALLBACK(&Private::contactsArrived), book.get());
        g_signal_connect(v, "objects-modified", G_CALLBACK(&Private::contactsArrived), book.get());
        g_signal_connect(v, "objects-removed", G_CALLBACK(&Private::contactsRemoved), book.get());
        g_signal_connect(v, "complete", G_CALLBACK(&Private::viewComplete), book.get());
        // Setting the flags and starting are calls that wait for the factory's answer: they
        // run on a worker thread. The view delivers its signals to the main context all the
        // same, which is the thread-default one of a thread that pushed none.
        GTask *task =
            g_task_new(v, book->cancellable.get(), &Private::viewStarted, callbackData(book));
        g_task_run_in_thread(task, [](GTask *running, gpointer view, gpointer, GCancellable *) {
            GError *error = nullptr;
            e_book_client_view_set_flags(E_BOOK_CLIENT_VIEW(view),
                                         E_BOOK_CLIENT_VIEW_FLAGS_NOTIFY_INITIAL, &error);
            if (!error)
                e_book_client_view_start(E_BOOK_CLIENT_VIEW(view), &error);
            if (error)
                g_task_return_error(running, error);
            else
                g_task_return_boolean(running, TRUE);
        });
        g_object_unref(task);
    }

    static void viewStarted(GObject *, GAsyncResult *result, gpointer data)
    {
        GError *rawError = nullptr;
        g_task_propagate_boolean(G_TASK(result), &rawError);
        const GErrorPtr error(rawError);
        const std::shared_ptr<Book> book = takeCallbackData<Book>(data);
        if (book && error)
            book->owner->bookFailed(*book, error.get());
    }

    static void contactsArrived(EBookClientView *, const GSList *contacts, gpointer data)
    {
        Book &book = *static_cast<Book *>(data);
        QStringList messages;
        for (const GSList *item = contacts; item; item = item->next) {
            EContact *contact = E_CONTACT(item->data);
            // A card EDS has not parsed yet is handed out as it came, without parsing it.
            gchar *text = e_vcard_to_string(E_VCARD(contact), EVC_FORMAT_VCARD_30);
            PersonPtr person =
                VCardReader::readStoredCard(QByteArray(text), book.storeName, &messages);
            g_free(text);
            if (!person)
                continue;
            QByteArray uid = person->storedUniqueId().toByteArray();
            if (uid.isEmpty()) {
                uid = QByteArray(
                    static_cast<const char *>(e_contact_get_const(contact, E_CONTACT_UID)));
                if (uid.isEmpty())
                    continue;
                person =
                    std::make_shared<const Person>(person->withUniqueId(QString::fromUtf8(uid)));
            }
            book.persons[uid] = std::move(person);
        }
        for (const QString &message : std::as_const(messages))
            report(message);
        book.owner->bookChanged(book);
    }

    static void contactsRemoved(EBookClientView *, const GSList *uids, gpointer data)
    {
        Book &book = *static_cast<Book *>(data);
        for (const GSList *item = uids; item; item = item->next)
            book.persons.erase(QByteArray(static_cast<const char *>(item->data)));
        book.owner->bookChanged(book);
    }

    static void viewComplete(EBookClientView *, const GError *error, gpointer data)
    {
        Book &book = *static_cast<Book *>(data);
        if (error) {
            book.owner->bookFailed(book, error);
            return;
        }
        book.complete = true;
        book.owner->settleWhenAllAnswered();
        book.owner->bookChanged(book);
    }
};

EdsAddressBookSource::EdsAddressBookSource(int timeoutMs, QObject *parent)
    : AddressBookSource(parent)
    , _d(std::make_shared<Private>())
{
    _d->q = this;
    _d->timeoutMs = timeoutMs;
    _d->timeout.setSingleShot(true);
    QObject::connect(&_d->timeout, &QTimer::timeout, this, [this]() {
        report(QStringLiteral("no answer within %1 s; its contacts come in when it answers")
                   .arg(_d->timeoutMs / 1000.0));
        _d->settle();
    });
}

EdsAddressBookSource::~EdsAddressBookSource() = default;

void EdsAddressBookSource::start()
{
    if (_d->started)
        return;
    _d->started = true;
    // libebook reports through the thread-default main context. Qt's event loop runs GLib's
    // on Linux, unless QT_NO_GLIB turned that off; nothing would ever answer then.
    const QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread());
    if (!dispatcher || !dispatcher->inherits("QEventDispatcherGlib")) {
        report(QStringLiteral("not read, as Qt's event loop does not run GLib's here "
                              "(is QT_NO_GLIB set?)"));
        _d->registryAnswered = true;
        _d->settle();
        return;
    }
    _d->timeout.start(_d->timeoutMs);
    e_source_registry_new(_d->cancellable.get(), &Private::registryReady, callbackData(_d));
}

QList<PersonPtr> EdsAddressBookSource::persons() const
{
    QList<PersonPtr> persons;
    for (const auto &book : _d->books) {
        for (const auto &[uid, person] : book->persons)
            persons.append(person);
    }
    return persons;
}

bool EdsAddressBookSource::isSettled() const
{
    return _d->settled;
}
