// SPDX-License-Identifier: MIT
#include "addressbook/AddressBook.h"

#include "addressbook/VCardReader.h"
#include "core/Bundle.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

QStringList &configuredSourcePaths()
{
    static QStringList paths;
    return paths;
}

struct Stamp
{
    qint64 modified = -1;
    qint64 changed = -1;
    qint64 size = -1;
    quint64 inode = 0;
    bool operator==(const Stamp &) const = default;
};

struct FileEntry
{
    Stamp stamp;
    QList<PersonPtr> persons;
};

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

bool statFile(const QByteArray &path, Stamp *stamp)
{
    struct stat info;
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp->modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp->changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    stamp->size = info.st_size;
    stamp->inode = info.st_ino;
    return true;
}

QByteArray readWholeFile(const QByteArray &path, QString *error)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    QByteArray data;
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        data.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            *error = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        if (count == 0)
            break;
        data.append(buffer, count);
    }
    ::close(fd);
    return data;
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
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList paths;
    bool inAddressBooks = false;
    QTextStream stream(&file);
    QString line;
    while (stream.readLineInto(&line)) {
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

} // namespace

struct AddressBook::Private
{
    QStringList requestedPaths;
    QStringList roots;
    bool usingSampleBook = false;
    QList<PersonPtr> people;
    QHash<QString, FileEntry> files;
    QStringList fileOrder;
    quint64 generation = 0;
    QFileSystemWatcher *watcher = nullptr;
    QTimer *reloadTimer = nullptr;

    struct Scan
    {
        std::vector<QString> files; // in the address book's order
        QStringList folders;        // to watch
        QStringList watchedFiles;   // files named directly as sources
    };

    // Reads the given roots; reuses persons of files whose stamp did not change.
    Scan scan(const QStringList &sourceRoots) const
    {
        Scan result;
        for (const QString &root : sourceRoots) {
            const QFileInfo info(root);
            if (info.isFile()) {
                result.files.push_back(info.absoluteFilePath());
                result.watchedFiles.append(info.absoluteFilePath());
                result.folders.append(info.absolutePath());
            } else if (info.isDir()) {
                const QByteArray base = QFile::encodeName(info.absoluteFilePath());
                std::vector<QByteArray> relative;
                FolderChain enclosing;
                listFolder(base, QByteArray(), 0, relative, result.folders, enclosing);
                std::sort(relative.begin(), relative.end());
                for (const QByteArray &path : relative)
                    result.files.push_back(QFile::decodeName(base + '/' + path));
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

    // Stats and (re)reads the files of a scan on all cores; true when a file was read anew.
    bool load(const Scan &scan, QHash<QString, FileEntry> &newFiles, QStringList &messages) const
    {
        const size_t count = scan.files.size();
        std::vector<FileEntry> entries(count);
        std::vector<QStringList> fileMessages(count);
        std::vector<char> reused(count, 0), present(count, 0);
        std::atomic<size_t> next{0};
        auto work = [&]() {
            for (;;) {
                const size_t i = next.fetch_add(1);
                if (i >= count)
                    return;
                const QByteArray nativePath = QFile::encodeName(scan.files[i]);
                Stamp stamp;
                if (!statFile(nativePath, &stamp))
                    continue;
                present[i] = 1;
                const auto old = files.constFind(scan.files[i]);
                if (old != files.constEnd() && old->stamp == stamp) {
                    entries[i] = *old;
                    reused[i] = 1;
                    continue;
                }
                QString error;
                const QByteArray data = readWholeFile(nativePath, &error);
                entries[i].stamp = stamp;
                if (!error.isEmpty())
                    fileMessages[i].append(
                        QStringLiteral("%1: cannot be read (%2)").arg(scan.files[i], error));
                else
                    entries[i].persons =
                        VCardReader::readData(data, scan.files[i], &fileMessages[i]);
            }
        };
        const unsigned threads =
            count < 64 ? 1u : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
        std::vector<std::thread> pool;
        for (unsigned t = 1; t < threads; ++t)
            pool.emplace_back(work);
        work();
        for (std::thread &thread : pool)
            thread.join();

        bool changed = false;
        for (size_t i = 0; i < count; ++i) {
            if (!present[i])
                continue;
            changed = changed || !reused[i];
            messages.append(fileMessages[i]);
            newFiles.insert(scan.files[i], std::move(entries[i]));
        }
        return changed;
    }

    // Persons of the files in order, with every unique id made unique: several programs
    // copy cards without giving them new ids, and the same UID twice would make two persons
    // indistinguishable.
    static QList<PersonPtr> assemble(const QStringList &order,
                                     const QHash<QString, FileEntry> &loaded)
    {
        QList<PersonPtr> people;
        QSet<QString> seen;
        for (const QString &path : order) {
            const FileEntry &entry = loaded[path];
            for (qsizetype i = 0; i < entry.persons.size(); ++i) {
                const PersonPtr &person = entry.persons[i];
                if (!seen.contains(person->uniqueId())) {
                    seen.insert(person->uniqueId());
                    people.append(person);
                    continue;
                }
                Person::Fields fields = person->fields();
                const QByteArray digest =
                    QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1)
                        .toHex()
                        .left(8);
                fields.uniqueId = QStringLiteral("%1#%2-%3")
                                      .arg(person->uniqueId(), QLatin1String(digest))
                                      .arg(i);
                seen.insert(fields.uniqueId);
                people.append(std::make_shared<const Person>(std::move(fields)));
            }
        }
        return people;
    }
};

AddressBook &AddressBook::sharedAddressBook()
{
    static AddressBook *shared = new AddressBook(configuredSourcePaths());
    return *shared;
}

void AddressBook::setSourcePaths(const QStringList &paths)
{
    configuredSourcePaths() = paths;
}

AddressBook::AddressBook(const QStringList &sourcePaths, QObject *parent)
    : QObject(parent)
    , _d(std::make_unique<Private>())
{
    _d->requestedPaths = sourcePaths;
    _d->watcher = new QFileSystemWatcher(this);
    _d->reloadTimer = new QTimer(this);
    _d->reloadTimer->setSingleShot(true);
    _d->reloadTimer->setInterval(250);
    connect(_d->reloadTimer, &QTimer::timeout, this, &AddressBook::reload);
    auto scheduleReload = [this]() { _d->reloadTimer->start(); };
    connect(_d->watcher, &QFileSystemWatcher::directoryChanged, this, scheduleReload);
    connect(_d->watcher, &QFileSystemWatcher::fileChanged, this, scheduleReload);
    reload();
}

AddressBook::~AddressBook() = default;

QList<PersonPtr> AddressBook::people() const
{
    return _d->people;
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
    QStringList roots = _d->requestedPaths;
    const bool userChoseSources =
        !roots.isEmpty() || !qEnvironmentVariableIsEmpty("BRISKO_ADDRESS_BOOK");
    if (roots.isEmpty() && userChoseSources) {
        const QStringList pieces =
            qEnvironmentVariable("BRISKO_ADDRESS_BOOK").split(QLatin1Char(':'), Qt::SkipEmptyParts);
        for (const QString &piece : pieces)
            roots.append(expandedPath(piece));
    }
    if (!userChoseSources) {
        roots = {dataHome() + QLatin1String("/contacts"),
                 dataHome() + QLatin1String("/kpeoplevcard")};
        roots.append(khardAddressBooks());
    }
    if (userChoseSources) {
        for (const QString &root : std::as_const(roots)) {
            if (!QFileInfo::exists(root))
                std::fprintf(stderr, "Brisko: address book: %s does not exist\n", qPrintable(root));
        }
    }

    Private::Scan scan = _d->scan(roots);
    QHash<QString, FileEntry> loaded;
    QStringList messages;
    bool changed = _d->load(scan, loaded, messages);
    QStringList order;
    for (const QString &path : scan.files) {
        if (loaded.contains(path))
            order.append(path);
    }
    QList<PersonPtr> people = Private::assemble(order, loaded);
    QStringList watchFolders = scan.folders;
    QStringList watchFiles = scan.watchedFiles;
    if (order.size() <= kMaxWatchedFiles)
        watchFiles.append(order);

    bool usingSample = false;
    if (!userChoseSources && people.isEmpty()) {
        const QString sample =
            Bundle::mainBundle().pathForResource(QStringLiteral("SampleContacts"), QString());
        if (!sample.isEmpty()) {
            Private::Scan sampleScan = _d->scan({sample});
            changed = _d->load(sampleScan, loaded, messages) || changed;
            QStringList sampleOrder;
            for (const QString &path : sampleScan.files) {
                if (loaded.contains(path))
                    sampleOrder.append(path);
            }
            people = Private::assemble(sampleOrder, loaded);
            // The user's (empty) files stay in the order too, so their changes are seen.
            order.append(sampleOrder);
            usingSample = true;
            roots = {sample};
        }
    }
    report(messages);

    _d->roots = roots;
    const bool firstLoad = _d->generation == 0;
    const bool differs = changed || usingSample != _d->usingSampleBook || order != _d->fileOrder;
    if (differs || firstLoad) {
        _d->people = std::move(people);
        _d->files = std::move(loaded);
        _d->fileOrder = order;
        _d->usingSampleBook = usingSample;
        ++_d->generation;
    }

    // Re-arm the watcher: atomic replacements drop the old file's watch.
    QStringList wanted = watchFolders + watchFiles;
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

    if (!firstLoad && differs)
        Q_EMIT databaseChangedExternally();
}
