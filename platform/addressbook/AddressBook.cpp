// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBook.h"

#include "platform/addressbook/AddressBookSources.h"
#include "platform/addressbook/FolderCache.h"
#include "platform/addressbook/FolderWalk.h"
#include "platform/addressbook/SourceMerge.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/core/BackgroundRelease.h"

#include <QCollator>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Watching every file notices in-place edits too, but inotify watches are a limited
// resource shared by the whole session; past this many files only folders are watched,
// which still sees files added, removed and replaced atomically (as sync tools write them).
constexpr qsizetype kMaxWatchedFiles = 2000;

QStringList &sourcePathsSetting()
{
    static QStringList paths;
    return paths;
}

std::function<void()> &loadStartObserver()
{
    static std::function<void()> observer;
    return observer;
}

unsigned workerCount(size_t items)
{
    return items < 64 ? 1u : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

// Runs work(i, worker) for every i below count on all cores; `worker` numbers the thread
// running it, below workerCount(count).
template <typename Work>
void forEachIndexInParallel(size_t count, Work work)
{
    std::atomic<size_t> next{0};
    auto run = [&](unsigned worker) {
        for (;;) {
            const size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= count)
                return;
            work(i, worker);
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < workerCount(count); ++t)
        pool.emplace_back(run, t);
    run(0);
    for (std::thread &thread : pool)
        thread.join();
}

using FileTable = AddressBookFiles;
using FileEntry = AddressBookFiles::File;

// What a load needs to know, gathered on the owning thread.
struct LoadRequest
{
    QStringList roots;
    bool userChoseSources = false;
    QString sampleBook;
    std::shared_ptr<const FileTable> previous;
    bool previousUsedSample = false;
    AddressBook::Order order = AddressBook::Order::ByName;
    // False when only the contact store changed: the previous load's files are taken as read.
    bool rescanFiles = true;
    // The contact store's persons in its own order, and whether it has yet to answer.
    QList<PersonPtr> storePersons;
    bool storePending = false;
    quint64 storeRevision = 0;
    quint64 previousStoreRevision = 0;
};

struct LoadResult
{
    QStringList roots;
    bool usingSample = false;
    std::shared_ptr<const FileTable> table;
    QList<PersonPtr> people;
    bool changed = false;
    QStringList watchFolders;
    QStringList watchFiles;
    bool rescanned = true;
    // Nobody in the files and the store has not answered yet: whether the sample book stands
    // in is decided by a later load.
    bool deferred = false;
    quint64 storeRevision = 0;
};

using Scan = FolderWalk::Scan;

// Reads the files of a scan on all cores, taking the persons of files whose state did not
// change from the previous table; `changed` tells whether any file was read anew.
std::shared_ptr<const FileTable> readFiles(const Scan &scan, const FileTable *previous,
                                           bool *changed, QStringList &messages)
{
    QHash<QByteArrayView, const FileEntry *> previousByPath;
    if (previous) {
        previousByPath.reserve(qsizetype(previous->files.size()));
        for (const FileEntry &entry : previous->files)
            previousByPath.insert(QByteArrayView(entry.origin->nativePath), &entry);
    }
    const size_t count = scan.files.size();
    using ReadResult = FolderCache::Result;
    struct Slot
    {
        ReadResult result = ReadResult::Missing;
        std::shared_ptr<const Person::Origin> origin;
        QList<PersonPtr> persons;
        QStringList messages;
    };
    std::vector<Slot> slots(count);
    std::vector<FolderCache> folders(workerCount(count));
    // One buffer per thread: the persons keep no reference to a file's bytes.
    std::vector<QByteArray> buffers(workerCount(count));
    forEachIndexInParallel(count, [&](size_t i, unsigned worker) {
        Slot &slot = slots[i];
        Person::Origin origin;
        origin.nativePath = scan.files[i];
        const FileEntry *old = previousByPath.value(QByteArrayView(scan.files[i]));
        QByteArray &data = buffers[worker];
        QString error;
        slot.result = folders[worker].read(origin, old ? old->origin.get() : nullptr, data, error);
        switch (slot.result) {
        case ReadResult::Missing:
            break;
        case ReadResult::Unchanged:
            slot.origin = old->origin;
            slot.persons = previous->persons.mid(old->first, old->count);
            break;
        case ReadResult::Failed:
            slot.messages.append(
                QStringLiteral("%1: cannot be read (%2)").arg(origin.filePath(), error));
            slot.origin = std::make_shared<const Person::Origin>(std::move(origin));
            break;
        case ReadResult::Read:
            slot.persons = VCardReader::readFileContents(data, std::move(origin), &slot.origin,
                                                         &slot.messages);
            break;
        }
    });

    auto table = std::make_shared<FileTable>();
    table->files.reserve(count);
    for (Slot &slot : slots) {
        if (slot.result == ReadResult::Missing)
            continue;
        *changed = *changed || slot.result != ReadResult::Unchanged;
        messages.append(slot.messages);
        table->files.push_back({slot.origin, table->persons.size(), slot.persons.size()});
        table->persons.append(slot.persons);
    }
    return table;
}

bool sameFiles(const FileTable *a, const FileTable *b)
{
    if (!a || !b || a->files.size() != b->files.size())
        return false;
    for (size_t i = 0; i < a->files.size(); ++i) {
        if (a->files[i].origin->nativePath != b->files[i].origin->nativePath)
            return false;
    }
    return true;
}

LoadResult load(const LoadRequest &request)
{
    if (const std::function<void()> &observer = loadStartObserver())
        observer();
    LoadResult result;
    result.roots = request.roots;
    result.storeRevision = request.storeRevision;
    QStringList messages;
    if (request.rescanFiles || !request.previous) {
        const Scan scan = FolderWalk::scan(request.roots);
        result.table = readFiles(scan, request.previous.get(), &result.changed, messages);
        result.watchFolders = scan.folders;
        result.watchFiles = scan.watchedFiles;
        if (result.table->files.size() <= size_t(kMaxWatchedFiles)) {
            for (const FileEntry &file : result.table->files)
                result.watchFiles.append(file.origin->filePath());
        }
    } else {
        result.table = request.previous;
        result.rescanned = false;
    }
    std::shared_ptr<const FileTable> persons = result.table;

    const bool nobody = result.table->persons.isEmpty() && request.storePersons.isEmpty();
    if (!request.userChoseSources && nobody && request.storePending) {
        AddressBookSources::report(messages);
        result.deferred = true;
        result.changed = false;
        result.table.reset();
        return result;
    }
    if (!request.userChoseSources && nobody && !request.sampleBook.isEmpty()) {
        const Scan sampleScan = FolderWalk::scan({request.sampleBook});
        persons = readFiles(sampleScan, request.previous.get(), &result.changed, messages);
        // The user's (empty) files stay in the table too, so their changes are seen.
        auto both = std::make_shared<FileTable>(*result.table);
        for (const FileEntry &file : persons->files)
            both->files.push_back({file.origin, both->persons.size() + file.first, file.count});
        both->persons.append(persons->persons);
        result.table = std::move(both);
        result.usingSample = true;
        result.roots = {request.sampleBook};
    }
    AddressBookSources::report(messages);
    result.changed = result.changed || result.usingSample != request.previousUsedSample ||
                     !sameFiles(result.table.get(), request.previous.get()) ||
                     request.storeRevision != request.previousStoreRevision;
    if (!result.changed) {
        // The owner keeps what it has; the copies made here are let go of on this thread.
        result.table.reset();
        return result;
    }
    result.people = SourceMerge::merged(*persons, request.storePersons);
    if (request.order == AddressBook::Order::ByName)
        AddressBook::sortPersons(result.people);
    return result;
}

} // namespace

struct AddressBook::Private
{
    QStringList requestedPaths;
    Order order = Order::ByName;
    QStringList roots;
    bool usingSampleBook = false;
    bool loaded = false;
    QList<PersonPtr> people;
    std::shared_ptr<const FileTable> table;
    quint64 generation = 0;
    QFileSystemWatcher *watcher = nullptr;
    QTimer *reloadTimer = nullptr;
    bool filesDirty = true;

    // Read only when the user named no sources of their own; null otherwise.
    std::unique_ptr<AddressBookSource> store;
    quint64 storeRevision = 0;      // grows with every change the store announces
    quint64 shownStoreRevision = 0; // of the persons in `people`

    // The running load, if any. Its result is taken on the owning thread only.
    std::thread worker;
    std::mutex resultLock;
    std::optional<LoadResult> result;
    bool reloadAgain = false;

    bool userChoseSources() const { return AddressBookSources::userChose(requestedPaths); }

    LoadRequest request() const
    {
        LoadRequest request;
        const AddressBookSources::Choice sources = AddressBookSources::choose(requestedPaths);
        request.roots = sources.roots;
        request.userChoseSources = sources.userChose;
        request.sampleBook = sources.sampleBook;
        request.previous = table;
        request.previousUsedSample = usingSampleBook;
        request.order = order;
        // The sample book's files are in the previous table beside the user's.
        request.rescanFiles = filesDirty || usingSampleBook;
        // Only a book whose sources the user left to us keeps a store.
        if (store) {
            request.storePersons = store->persons();
            request.storePending = !store->isSettled();
        }
        request.storeRevision = storeRevision;
        request.previousStoreRevision = shownStoreRevision;
        return request;
    }
};

AddressBook &AddressBook::sharedAddressBook()
{
    static AddressBook *shared = new AddressBook(AddressBookSource::createDefault(),
                                                 sourcePathsSetting(), Loading::InBackground);
    return *shared;
}

void AddressBook::setSourcePaths(const QStringList &paths)
{
    sourcePathsSetting() = paths;
}

QStringList AddressBook::configuredSourcePaths()
{
    return sourcePathsSetting();
}

void AddressBook::setLoadStartObserver(std::function<void()> observer)
{
    loadStartObserver() = std::move(observer);
}

AddressBook::AddressBook(const QStringList &sourcePaths, Loading loading, Order order,
                         QObject *parent)
    : AddressBook(nullptr, sourcePaths, loading, order, parent)
{}

AddressBook::AddressBook(std::unique_ptr<AddressBookSource> store, const QStringList &sourcePaths,
                         Loading loading, Order order, QObject *parent)
    : QObject(parent)
    , _d(std::make_unique<Private>())
{
    _d->requestedPaths = sourcePaths;
    _d->order = order;
    _d->watcher = new QFileSystemWatcher(this);
    _d->reloadTimer = new QTimer(this);
    _d->reloadTimer->setSingleShot(true);
    _d->reloadTimer->setInterval(250);
    connect(_d->reloadTimer, &QTimer::timeout, this, &AddressBook::_reloadChanges);
    auto filesChanged = [this]() {
        _d->filesDirty = true;
        _d->reloadTimer->start();
    };
    connect(_d->watcher, &QFileSystemWatcher::directoryChanged, this, filesChanged);
    connect(_d->watcher, &QFileSystemWatcher::fileChanged, this, filesChanged);
    if (store && !_d->userChoseSources()) {
        _d->store = std::move(store);
        connect(_d->store.get(), &AddressBookSource::personsChanged, this, [this]() {
            ++_d->storeRevision;
            _d->reloadTimer->start();
        });
        _d->store->start();
    }
    _startLoad();
    if (loading == Loading::Now) {
        _waitForStore();
        waitForLoad();
        if (!_d->loaded || _d->shownStoreRevision != _d->storeRevision) {
            _d->reloadTimer->stop();
            _startLoad();
            waitForLoad();
        }
    }
}

AddressBook::~AddressBook()
{
    if (_d->worker.joinable())
        _d->worker.join();
}

QList<PersonPtr> AddressBook::people() const
{
    return _d->people;
}

bool AddressBook::isLoaded() const
{
    return _d->loaded;
}

bool AddressBook::isLoading() const
{
    return _d->worker.joinable();
}

bool AddressBook::isUsingSampleBook() const
{
    return _d->usingSampleBook;
}

QStringList AddressBook::sourcePaths() const
{
    return _d->roots;
}

quint64 AddressBook::generation() const
{
    return _d->generation;
}

void AddressBook::setReloadDelay(int milliseconds)
{
    _d->reloadTimer->setInterval(milliseconds);
}

void AddressBook::reload()
{
    // A load already running may have listed the files before the caller's change.
    waitForLoad();
    _d->filesDirty = true;
    _startLoad();
    waitForLoad();
}

void AddressBook::reloadInBackground()
{
    _d->filesDirty = true;
    _reloadChanges();
}

void AddressBook::_reloadChanges()
{
    if (_d->worker.joinable())
        _d->reloadAgain = true;
    else
        _startLoad();
}

void AddressBook::_waitForStore()
{
    if (!_d->store || _d->store->isSettled())
        return;
    // The store gives up by itself after its time-out, so this loop ends.
    QEventLoop loop;
    connect(_d->store.get(), &AddressBookSource::personsChanged, &loop, [this, &loop]() {
        if (_d->store->isSettled())
            loop.quit();
    });
    loop.exec();
}

void AddressBook::waitForLoad()
{
    while (_d->worker.joinable()) {
        _d->worker.join();
        _takeResult();
    }
}

void AddressBook::_startLoad()
{
    _d->reloadAgain = false;
    Private *d = _d.get();
    LoadRequest request = _d->request();
    _d->filesDirty = false;
    _d->worker = std::thread([this, d, request = std::move(request)]() {
        LoadResult result = load(request);
        {
            std::lock_guard<std::mutex> lock(d->resultLock);
            d->result = std::move(result);
        }
        // The owner waits for this thread before it ends, so it is still there to be told;
        // a message to an owner that ended meanwhile is dropped.
        QMetaObject::invokeMethod(this, &AddressBook::_finishLoad, Qt::QueuedConnection);
    });
}

void AddressBook::_finishLoad()
{
    {
        // waitForLoad() may have taken the result in already, and a later load may be running.
        std::lock_guard<std::mutex> lock(_d->resultLock);
        if (!_d->result)
            return;
    }
    _d->worker.join();
    _takeResult();
}

void AddressBook::_takeResult()
{
    std::optional<LoadResult> taken;
    {
        std::lock_guard<std::mutex> lock(_d->resultLock);
        taken.swap(_d->result);
    }
    LoadResult &result = *taken;
    _d->roots = result.roots;
    const bool firstLoad = !_d->loaded;
    if (result.changed) {
        releaseInBackground(std::exchange(_d->people, std::move(result.people)));
        releaseInBackground(std::exchange(_d->table, std::move(result.table)));
        _d->usingSampleBook = result.usingSample;
        _d->shownStoreRevision = result.storeRevision;
        _d->loaded = true;
        ++_d->generation;
    }
    if (result.rescanned)
        _watch(result.watchFolders + result.watchFiles);

    if (_d->reloadAgain)
        _startLoad();
    if (result.deferred)
        return;
    if (firstLoad)
        Q_EMIT loaded();
    else if (result.changed)
        Q_EMIT databaseChangedExternally();
}

void AddressBook::_watch(QStringList wanted)
{
    // Re-arm the watcher: atomic replacements drop the old file's watch.
    wanted.removeDuplicates();
    const QStringList current = _d->watcher->files() + _d->watcher->directories();
    const QSet<QString> wantedSet(wanted.cbegin(), wanted.cend());
    const QSet<QString> currentSet(current.cbegin(), current.cend());
    QStringList stale, fresh;
    for (const QString &path : current) {
        if (!wantedSet.contains(path))
            stale.append(path);
    }
    for (const QString &path : std::as_const(wanted)) {
        if (!currentSet.contains(path))
            fresh.append(path);
    }
    if (!stale.isEmpty())
        _d->watcher->removePaths(stale);
    if (!fresh.isEmpty())
        _d->watcher->addPaths(fresh);
}

void AddressBook::sortPersons(QList<PersonPtr> &persons)
{
    const size_t count = size_t(persons.size());
    if (count < 2)
        return;
    // Sort keys turn each comparison into a byte comparison; computing them is the costly
    // part, and collators are not to be shared between threads.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    {
        std::vector<std::optional<QCollatorSortKey>> computed(count);
        const unsigned threads = workerCount(count);
        std::vector<std::thread> pool;
        auto work = [&](unsigned part) {
            QCollator collator{QLocale()};
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            for (size_t i = part; i < count; i += threads)
                // at(): a non-const access would detach the shared list from each thread.
                computed[i].emplace(collator.sortKey(persons.at(qsizetype(i))->displayName()));
        };
        for (unsigned t = 1; t < threads; ++t)
            pool.emplace_back(work, t);
        work(0);
        for (std::thread &thread : pool)
            thread.join();
        for (std::optional<QCollatorSortKey> &key : computed)
            keys.push_back(std::move(*key));
    }
    std::vector<quint32> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = quint32(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](quint32 a, quint32 b) { return keys[a].compare(keys[b]) < 0; });
    QList<PersonPtr> sorted;
    sorted.reserve(persons.size());
    for (const quint32 i : order)
        sorted.append(std::move(persons[qsizetype(i)]));
    persons = std::move(sorted);
}
