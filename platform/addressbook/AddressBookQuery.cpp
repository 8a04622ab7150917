// SPDX-License-Identifier: MIT
#include "platform/addressbook/AddressBookQuery.h"

#include "platform/addressbook/AddressBookSources.h"
#include "platform/addressbook/FolderCache.h"
#include "platform/addressbook/FolderWalk.h"
#include "platform/addressbook/SourceMerge.h"
#include "platform/addressbook/VCardEncoding.h"
#include "platform/addressbook/VCardReader.h"
#include "platform/core/FileDescriptor.h"

#include <QEventLoop>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace AddressBookQuery {

namespace {

using VCardSkim::Skim;

// A larger file is read a piece of this size at a time and looked at card by card: a
// condensed copy of the whole would cost as much memory again, and would pass anyway for any
// pattern worth typing.
constexpr qint64 kPieceSize = 1 << 20;
// With more wanted contacts of the store than this, every file is read whole instead of
// looked through for each of their UIDs.
constexpr size_t kMaxStoreIds = 64;

// A contact of the store whose UID a file carries is left out of the address book, so the
// files that may carry the UID of a wanted one are read whole, and their persons kept until
// the merge has decided.
class StoreIds
{
public:
    explicit StoreIds(const QList<PersonPtr> &wantedStorePersons)
    {
        for (const PersonPtr &person : wantedStorePersons) {
            const QByteArrayView id = person->storedUniqueId();
            if (id.isEmpty())
                continue; // never left out
            // Ids that the merge made unique hold a '#'; only reading every file tells
            // whether one of them is this one.
            if (id.contains('#')) {
                _all = true;
                return;
            }
            // The longest stretch the condensed text keeps whole.
            QByteArrayView longest;
            for (qsizetype start = 0; start < id.size();) {
                qsizetype end = start;
                while (end < id.size() && !VCardSkim::isLeftOut(id[end]))
                    ++end;
                if (end - start > longest.size())
                    longest = id.sliced(start, end - start);
                start = end + 1;
            }
            if (longest.isEmpty()) {
                _all = true;
                return;
            }
            QByteArray key = longest.toByteArray();
            for (char &c : key) {
                if (c >= 'A' && c <= 'Z')
                    c = char(c + 32);
            }
            _ids.push_back(std::move(key));
        }
        _all = _ids.size() > kMaxStoreIds;
    }

    bool any() const { return _all || !_ids.empty(); }

    bool mayOccur(const Skim &skim) const
    {
        if (_all)
            return true;
        if (_ids.empty())
            return false;
        if (!skim.plain)
            return true;
        for (const QByteArray &id : _ids) {
            if (::memmem(skim.condensed.constData(), size_t(skim.condensed.size()), id.constData(),
                         size_t(id.size())))
                return true;
        }
        return false;
    }

private:
    bool _all = false;
    std::vector<QByteArray> _ids;
};

// A file's place in the address book's order: its source's, then its path's.
struct Key
{
    qsizetype root = 0;
    QByteArray path;

    bool operator<(const Key &other) const
    {
        return root != other.root ? root < other.root : path < other.path;
    }
};

// The paths of the files, handed from the thread that lists the folders to the ones that read
// the files, a batch at a time, as they are listed.
class FileFeed
{
public:
    explicit FileFeed(const QStringList &roots)
        : _walker([this, roots]() { _walk(roots); })
    {}
    FileFeed(const FileFeed &) = delete;
    FileFeed &operator=(const FileFeed &) = delete;
    ~FileFeed() { _walker.join(); }

    // The next batch into `batch`; false once every file was handed out.
    bool take(std::vector<Key> &batch)
    {
        batch.clear();
        std::unique_lock<std::mutex> lock(_lock);
        _ready.wait(lock, [this]() { return _next < _keys.size() || _done; });
        const size_t end = std::min(_keys.size(), _next + kTakeBatch);
        for (; _next < end; ++_next)
            batch.push_back(std::move(_keys[_next]));
        return !batch.empty();
    }

private:
    static constexpr size_t kPutBatch = 256;
    static constexpr size_t kTakeBatch = 16;

    void _walk(const QStringList &roots)
    {
        std::vector<Key> batch;
        auto put = [&]() {
            std::lock_guard<std::mutex> lock(_lock);
            for (Key &key : batch)
                _keys.push_back(std::move(key));
            batch.clear();
            _ready.notify_all();
        };
        FolderWalk::walk(roots, [&](qsizetype root, QByteArray path) {
            batch.push_back({root, std::move(path)});
            if (batch.size() == kPutBatch)
                put();
        });
        put();
        std::lock_guard<std::mutex> lock(_lock);
        _done = true;
        _ready.notify_all();
    }

    std::mutex _lock;
    std::condition_variable _ready;
    std::vector<Key> _keys;
    size_t _next = 0;
    bool _done = false;
    std::thread _walker; // last: it starts once the rest is in place
};

// What a file gave that the answer needs: persons kept, or messages.
struct FileResult
{
    Key key;
    std::shared_ptr<const Person::Origin> origin;
    QList<PersonPtr> persons;
    QStringList messages;
};

// What each reading thread keeps of its own.
struct Reader
{
    FolderCache folders;
    // Reused from file to file: nothing read keeps a reference to them.
    QByteArray data;
    Skim skim;
    std::vector<FileResult> results;
    bool sawPersons = false;
};

void readFile(Reader &reader, Key key, const Filter &filter, const StoreIds &ids)
{
    Person::Origin origin;
    origin.nativePath = key.path;
    FileResult result{std::move(key), nullptr, {}, {}};
    QString error;
    // As the address book: a file that cannot be read gives this message and nothing else.
    auto failed = [&]() {
        result.messages = {QStringLiteral("%1: cannot be read (%2)").arg(origin.filePath(), error)};
        reader.results.push_back(std::move(result));
    };
    int fd = -1;
    switch (reader.folders.open(origin, fd, error)) {
    case FolderCache::Result::Missing:
    case FolderCache::Result::Unchanged:
        return;
    case FolderCache::Result::Failed:
        failed();
        return;
    case FolderCache::Result::Read:
        break;
    }
    const FileDescriptor file(fd);
    QByteArray &data = reader.data;
    data.resize(0);
    if (!FolderCache::readMore(fd, data, qsizetype(std::min(origin.size, kPieceSize)), error)) {
        failed();
        return;
    }
    const Person::Origin::Encoding encoding = VCardEncoding::detect(data);
    const bool utf8 = encoding == Person::Origin::Encoding::Utf8 ||
                      encoding == Person::Origin::Encoding::Utf8WithBom;
    Skim &skim = reader.skim;
    int cleanCards = -1;
    if (origin.size <= kPieceSize) {
        QByteArray converted;
        QByteArrayView text = data;
        if (encoding == Person::Origin::Encoding::Utf8WithBom) {
            text = text.sliced(3);
        } else if (!utf8) {
            converted = VCardEncoding::normalisedText(data, encoding);
            text = converted;
        }
        cleanCards = VCardSkim::cleanCardCount(text);
        VCardSkim::skim(text, skim);
        // Only a file that reading has nothing to say about may be passed over.
        if (cleanCards >= 0 && !filter.mayHoldWanted(skim) && !ids.mayOccur(skim)) {
            reader.sawPersons = reader.sawPersons || cleanCards > 0;
            return;
        }
    }
    bool cardsPassedOver = false;
    VCardReader::CardFilter cards;
    if (cleanCards != 1) {
        cards = [&](QByteArrayView card) {
            VCardSkim::skim(card, skim);
            if (filter.mayHoldWanted(skim) || ids.mayOccur(skim))
                return true;
            cardsPassedOver = true;
            return false;
        };
    }
    QList<PersonPtr> persons;
    if (origin.size > kPieceSize && utf8 && data.contains('\n')) {
        // Read a piece at a time, each up to the end of its last card: only a piece is held.
        origin.encoding = encoding;
        VCardReader::FileInPieces pieces(origin);
        qsizetype start = encoding == Person::Origin::Encoding::Utf8WithBom ? 3 : 0;
        qint64 left = origin.size - data.size();
        for (;;) {
            const QByteArrayView text = QByteArrayView(data).sliced(start);
            const qsizetype end =
                left > 0 ? VCardReader::FileInPieces::pieceEnd(text) : text.size();
            if (end > 0) {
                persons.append(pieces.read(text.first(end), &result.messages, cards));
                data.remove(0, start + end);
                start = 0;
            }
            if (left <= 0)
                break;
            const qsizetype before = data.size();
            if (!FolderCache::readMore(fd, data, qsizetype(std::min(left, kPieceSize)), error)) {
                failed();
                return;
            }
            const qsizetype got = data.size() - before;
            left = got > 0 ? left - got : 0;
        }
        pieces.finish(&result.messages);
        result.origin = pieces.origin();
    } else {
        if (!FolderCache::readMore(fd, data, qsizetype(origin.size) - data.size(), error)) {
            failed();
            return;
        }
        persons = VCardReader::readFileContents(data, std::move(origin), &result.origin,
                                                &result.messages, cards);
    }
    reader.sawPersons = reader.sawPersons || cardsPassedOver || !persons.isEmpty();
    // Until the merge has decided, every person that may hold a wanted UID is kept.
    result.persons = ids.any() ? persons : filter.wanted(persons);
    if (!result.persons.isEmpty() || !result.messages.isEmpty())
        reader.results.push_back(std::move(result));
}

struct Files
{
    // In the address book's order.
    std::vector<FileResult> results;
    bool anyPersons = false;
};

Files readFiles(FileFeed &feed, const Filter &filter, const StoreIds &ids)
{
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<Reader> readers(threads);
    auto run = [&](unsigned index) {
        Reader &reader = readers[index];
        std::vector<Key> batch;
        while (feed.take(batch)) {
            for (Key &key : batch)
                readFile(reader, std::move(key), filter, ids);
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(run, t);
    run(0);
    for (std::thread &thread : pool)
        thread.join();

    Files files;
    for (Reader &reader : readers) {
        files.anyPersons = files.anyPersons || reader.sawPersons;
        for (FileResult &result : reader.results)
            files.results.push_back(std::move(result));
    }
    std::sort(files.results.begin(), files.results.end(),
              [](const FileResult &a, const FileResult &b) { return a.key < b.key; });
    return files;
}

void waitUntilSettled(AddressBookSource &store)
{
    if (store.isSettled())
        return;
    // The store gives up by itself after its time-out, so this loop ends.
    QEventLoop loop;
    QObject::connect(&store, &AddressBookSource::personsChanged, &loop, [&store, &loop]() {
        if (store.isSettled())
            loop.quit();
    });
    loop.exec();
}

} // namespace

Result wantedPersons(const QStringList &sourcePaths, std::unique_ptr<AddressBookSource> store,
                     const Filter &filter)
{
    const AddressBookSources::Choice sources = AddressBookSources::choose(sourcePaths);
    if (sources.userChose)
        store.reset();
    // The folders are listed while the store answers; their files are read once it has, as
    // its answer tells which of them must be read whole.
    std::optional<FileFeed> feed(std::in_place, sources.roots);
    QList<PersonPtr> storePersons;
    if (store) {
        store->start();
        waitUntilSettled(*store);
        storePersons = store->persons();
    }

    const StoreIds ids(filter.wanted(storePersons));
    Files files = readFiles(*feed, filter, ids);
    QStringList messages;
    for (const FileResult &result : files.results)
        messages.append(result.messages);
    Result result;
    if (!sources.userChose && !files.anyPersons && storePersons.isEmpty() &&
        !sources.sampleBook.isEmpty()) {
        feed.emplace(QStringList{sources.sampleBook});
        files = readFiles(*feed, filter, StoreIds({}));
        for (const FileResult &sample : files.results)
            messages.append(sample.messages);
        result.usingSampleBook = true;
    }
    AddressBookSources::report(messages);

    AddressBookFiles table;
    for (FileResult &file : files.results) {
        if (file.persons.isEmpty())
            continue;
        table.files.push_back({file.origin, table.persons.size(), file.persons.size()});
        table.persons.append(std::move(file.persons));
    }
    // The merge keeps the names and fields of every person; with no store it gives each
    // person its own id and nothing more.
    const QList<PersonPtr> merged = SourceMerge::merged(table, storePersons);
    result.persons = storePersons.isEmpty() ? merged : filter.wanted(merged);
    return result;
}

} // namespace AddressBookQuery
