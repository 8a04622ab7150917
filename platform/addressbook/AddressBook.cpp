// SPDX-License-Identifier: MIT
#include "addressbook/AddressBook.h"

#include "addressbook/VCardReader.h"
#include "core/BackgroundRelease.h"
#include "core/Bundle.h"

#include <QCollator>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Watching every file notices in-place edits too, but inotify watches are a limited
// resource shared by the whole session; past this many files only folders are watched,
// which still sees files added, removed and replaced atomically (as sync tools write them).
constexpr qsizetype kMaxWatchedFiles = 2000;
constexpr int kMaxFolderDepth = 32;

QStringList &sourcePathsSetting()
{
    static QStringList paths;
    return paths;
}

bool isCandidateFileName(const char *name)
{
    if (name[0] == '.')
        return false; // hidden files: folder settings, editors' swap files, sync state
    const char *dot = std::strrchr(name, '.');
    if (!dot)
        return false;
    return strcasecmp(dot, ".tmp") != 0;
}

// The device and inode of each folder being listed, outermost first.
using FolderChain = std::vector<std::pair<dev_t, ino_t>>;

void listFolder(const QByteArray &root, const QByteArray &relative, int depth,
                std::vector<QByteArray> &files, QStringList &folders, FolderChain &enclosing)
{
    if (depth > kMaxFolderDepth)
        return;
    const QByteArray folder = relative.isEmpty() ? root : root + '/' + relative;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    // Links to folders are followed, but one leading back to a folder being listed would
    // read the same cards again at every level down to the depth limit (two such links
    // would take exponentially long).
    struct stat self;
    if (::fstat(::dirfd(dir), &self) != 0 ||
        std::find(enclosing.cbegin(), enclosing.cend(), std::pair(self.st_dev, self.st_ino)) !=
            enclosing.cend()) {
        ::closedir(dir);
        return;
    }
    enclosing.emplace_back(self.st_dev, self.st_ino);
    folders.append(QFile::decodeName(folder));
    std::vector<QByteArray> subfolders;
    while (dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            const QByteArray full = folder + '/' + name;
            if (::stat(full.constData(), &info) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        const QByteArray path = relative.isEmpty() ? QByteArray(name) : relative + '/' + name;
        if (isFolder)
            subfolders.push_back(path);
        else if (isFile && isCandidateFileName(name))
            files.push_back(path);
    }
    ::closedir(dir);
    for (const QByteArray &path : subfolders)
        listFolder(root, path, depth + 1, files, folders, enclosing);
    enclosing.pop_back();
}

qint64 nanoseconds(const struct timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

enum class ReadResult
{
    Read,
    Unchanged,
    Missing,
    Failed,
};

// Folders stay open while their files are read, so that opening each file does not look
// its whole path up again.
class FolderCache
{
public:
    FolderCache() = default;
    FolderCache(const FolderCache &) = delete;
    FolderCache &operator=(const FolderCache &) = delete;
    ~FolderCache()
    {
        if (_fd >= 0)
            ::close(_fd);
    }

    // Opens `path` relative to its folder; -1 with errno set on failure.
    int open(const QByteArray &path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        if (slash <= 0)
            return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        const QByteArrayView folder = QByteArrayView(path).first(slash);
        if (_fd < 0 || folder != QByteArrayView(_folder)) {
            if (_fd >= 0)
                ::close(_fd);
            _folder = folder.toByteArray();
            _fd = ::open(_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }
        if (_fd < 0)
            return ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        return ::openat(_fd, path.constData() + slash + 1, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }

private:
    QByteArray _folder;
    int _fd = -1;
};

// Opens a file, records its state in `origin` and reads it unless `previous` shows the same
// state. Opening first and asking the open file saves a second look-up of the path.
ReadResult readFile(FolderCache &folders, Person::Origin &origin, const Person::Origin *previous,
                    QByteArray *data, QString *error)
{
    const int fd = folders.open(origin.nativePath);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadResult::Missing;
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return ReadResult::Failed;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ReadResult::Missing;
    }
    origin.size = qint64(info.st_size);
    origin.modified = nanoseconds(info.st_mtim);
    origin.changed = nanoseconds(info.st_ctim);
    origin.inode = info.st_ino;
    if (previous && previous->isSameFileState(origin)) {
        ::close(fd);
        return ReadResult::Unchanged;
    }
    data->resize(qsizetype(info.st_size));
    qsizetype done = 0;
    ReadResult result = ReadResult::Read;
    while (done < data->size()) {
        const ssize_t count = ::read(fd, data->data() + done, size_t(data->size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            result = ReadResult::Failed;
            break;
        }
        if (count == 0)
            break;
        done += count;
    }
    data->resize(done);
    ::close(fd);
    return result;
}

QString dataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    return configured.isEmpty() ? QDir::homePath() + QLatin1String("/.local/share") : configured;
}

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    return configured.isEmpty() ? QDir::homePath() + QLatin1String("/.config") : configured;
}

QString expandedPath(QString path)
{
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path.replace(0, 1, QDir::homePath());
    // Expand $NAME and ${NAME}, as khard does through the shell's rules.
    QString result;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != QLatin1Char('$') || i + 1 == path.size()) {
            result.append(path[i]);
            continue;
        }
        qsizetype start = i + 1;
        const bool braced = path[start] == QLatin1Char('{');
        if (braced)
            ++start;
        qsizetype end = start;
        while (end < path.size() && (path[end].isLetterOrNumber() || path[end] == QLatin1Char('_')))
            ++end;
        if (end == start || (braced && (end >= path.size() || path[end] != QLatin1Char('}')))) {
            result.append(path[i]);
            continue;
        }
        result.append(qEnvironmentVariable(path.mid(start, end - start).toLocal8Bit().constData()));
        i = braced ? end : end - 1;
    }
    return result;
}

// The address book folders of khard's configuration, in the order they are declared.
QStringList khardAddressBooks()
{
    QFile file(configHome() + QLatin1String("/khard/khard.conf"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList paths;
    bool inAddressBooks = false;
    // Lines end as khard (Python) ends them: at CR LF, LF or a CR alone. Qt's text mode would
    // drop a lone CR and join its two lines.
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("[[")))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            inAddressBooks =
                trimmed.compare(QLatin1String("[addressbooks]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inAddressBooks || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
        if (equals < 0 || trimmed.left(equals).trimmed() != QLatin1String("path"))
            continue;
        QString value = trimmed.mid(equals + 1).trimmed();
        if (value.size() >= 2 &&
            (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (!value.isEmpty())
            paths.append(expandedPath(value));
    }
    return paths;
}

void report(const QStringList &messages)
{
    for (const QString &message : messages)
        std::fprintf(stderr, "Brisko: address book: %s\n", qPrintable(message));
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

// One file of the address book as it was last read.
struct FileEntry
{
    std::shared_ptr<const Person::Origin> origin;
    qsizetype first = 0; // its persons in the table's list, in file order
    qsizetype count = 0;
};

// The files of the address book in source order and their persons as read.
struct FileTable
{
    std::vector<FileEntry> files;
    QList<PersonPtr> persons;
};

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

struct Scan
{
    std::vector<QByteArray> files; // in the address book's order
    QStringList folders;           // to watch
    QStringList watchedFiles;      // files named directly as sources
};

Scan scanRoots(const QStringList &sourceRoots)
{
    Scan result;
    for (const QString &root : sourceRoots) {
        const QFileInfo info(root);
        if (info.isFile()) {
            result.files.push_back(QFile::encodeName(info.absoluteFilePath()));
            result.watchedFiles.append(info.absoluteFilePath());
            result.folders.append(info.absolutePath());
        } else if (info.isDir()) {
            const QByteArray base = QFile::encodeName(info.absoluteFilePath());
            std::vector<QByteArray> relative;
            FolderChain enclosing;
            listFolder(base, QByteArray(), 0, relative, result.folders, enclosing);
            std::sort(relative.begin(), relative.end());
            for (const QByteArray &path : relative)
                result.files.push_back(base + '/' + path);
        } else {
            // Not there yet: watch the nearest folder that exists, so creating it is seen.
            QDir parent = info.absoluteDir();
            while (!parent.exists() && !parent.isRoot())
                parent.setPath(QFileInfo(parent.absolutePath()).absolutePath());
            if (parent.exists() && !parent.isRoot())
                result.folders.append(parent.absolutePath());
        }
    }
    return result;
}

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
        slot.result =
            readFile(folders[worker], origin, old ? old->origin.get() : nullptr, &data, &error);
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

// Persons in source order with every unique id made unique: several programs copy cards
// without giving them new ids, and the same UID twice would make two persons
// indistinguishable. Ids made from the file and position of a card without UID are unique
// already. A contact of the store whose UID was seen is left out instead: it is the same
// contact, kept both in a vCard folder and in the store (a CardDAV book synchronised by
// vdirsyncer and by the desktop's online accounts), or in two of the store's books.
QList<PersonPtr> withUniqueIds(const FileTable &table, const QList<PersonPtr> &storePersons)
{
    QList<PersonPtr> people;
    people.reserve(table.persons.size() + storePersons.size());
    QSet<QByteArrayView> seen;
    seen.reserve(table.persons.size());
    for (const FileEntry &file : table.files) {
        for (qsizetype i = 0; i < file.count; ++i) {
            const PersonPtr &person = table.persons[file.first + i];
            const QByteArrayView id = person->storedUniqueId();
            if (id.isEmpty() || !seen.contains(id)) {
                seen.insert(id);
                people.append(person);
                continue;
            }
            const QByteArray digest =
                QCryptographicHash::hash(file.origin->nativePath, QCryptographicHash::Sha1)
                    .toHex()
                    .left(8);
            const QString unique =
                QStringLiteral("%1#%2-%3").arg(person->uniqueId(), QLatin1String(digest)).arg(i);
            people.append(std::make_shared<const Person>(person->withUniqueId(unique)));
            seen.insert(people.constLast()->storedUniqueId());
        }
    }
    for (const PersonPtr &person : storePersons) {
        const QByteArrayView id = person->storedUniqueId();
        if (!id.isEmpty() && seen.contains(id))
            continue;
        seen.insert(id);
        people.append(person);
    }
    return people;
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
        const Scan scan = scanRoots(request.roots);
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
        report(messages);
        result.deferred = true;
        result.changed = false;
        result.table.reset();
        return result;
    }
    if (!request.userChoseSources && nobody && !request.sampleBook.isEmpty()) {
        const Scan sampleScan = scanRoots({request.sampleBook});
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
    report(messages);
    result.changed = result.changed || result.usingSample != request.previousUsedSample ||
                     !sameFiles(result.table.get(), request.previous.get()) ||
                     request.storeRevision != request.previousStoreRevision;
    if (!result.changed) {
        // The owner keeps what it has; the copies made here are let go of on this thread.
        result.table.reset();
        return result;
    }
    result.people = withUniqueIds(*persons, request.storePersons);
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

    bool userChoseSources() const
    {
        return !requestedPaths.isEmpty() || !qEnvironmentVariableIsEmpty("BRISKO_ADDRESS_BOOK");
    }

    LoadRequest request() const
    {
        LoadRequest request;
        QStringList roots = requestedPaths;
        request.userChoseSources = userChoseSources();
        if (roots.isEmpty() && request.userChoseSources) {
            const QStringList pieces = qEnvironmentVariable("BRISKO_ADDRESS_BOOK")
                                           .split(QLatin1Char(':'), Qt::SkipEmptyParts);
            for (const QString &piece : pieces)
                roots.append(expandedPath(piece));
        }
        if (!request.userChoseSources) {
            roots = {dataHome() + QLatin1String("/contacts"),
                     dataHome() + QLatin1String("/kpeoplevcard")};
            roots.append(khardAddressBooks());
            request.sampleBook =
                Bundle::mainBundle().pathForResource(QStringLiteral("SampleContacts"), QString());
        } else {
            for (const QString &root : std::as_const(roots)) {
                if (!QFileInfo::exists(root))
                    std::fprintf(stderr, "Brisko: address book: %s does not exist\n",
                                 qPrintable(root));
            }
        }
        request.roots = roots;
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
