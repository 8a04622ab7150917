// SPDX-License-Identifier: MIT
// The autostart entries of the user's login items, written by Brisko, by other programs or by
// hand, and the entry Brisko writes for a path of any spelling.
#include "tests/fuzz/FuzzSupport.h"

#include "common/utility/RKUtility.h"

#include <QDir>
#include <QVariantMap>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    FuzzSupport::start(argc, argv);
    FuzzSupport::privateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const QString folder = RKUtility::_autostartDirectory();
    QDir(folder).removeRecursively();

    // The first byte chooses: an entry another program wrote, or a path Brisko writes one for.
    if (input.isEmpty() || input.front() != 'P') {
        FuzzSupport::writeFile(folder + QLatin1String("/Other.desktop"), input);
        const QVariantList items = RKUtility::_getAutoLaunchedApplications();
        FUZZ_CHECK(items.size() <= 1,
                   QStringLiteral("%1 login items from one entry").arg(items.size()));
        for (const QVariant &item : items)
            FUZZ_CHECK(!item.toMap().value(QStringLiteral("Path")).toString().isEmpty(),
                       QStringLiteral("a login item without a path"));
        return 0;
    }

    // A login item Brisko adds is read back with the very path it was given.
    const QString path = QString::fromUtf8(input.mid(1));
    const bool hide = path.size() % 2 == 1;
    if (!RKUtility::addAutoLaunchPath(path, hide))
        return 0;
    const QString expected = QDir::cleanPath(QDir(path).absolutePath());
    const QVariantList items = RKUtility::_getAutoLaunchedApplications();
    FUZZ_CHECK(items.size() == 1,
               QStringLiteral("%1 login items for \"%2\"").arg(items.size()).arg(path));
    const QVariantMap item = items.constFirst().toMap();
    FUZZ_CHECK(item.value(QStringLiteral("Path")).toString() == expected,
               QStringLiteral("\"%1\" was read back as \"%2\"")
                   .arg(expected, item.value(QStringLiteral("Path")).toString()));
    FUZZ_CHECK(item.value(QStringLiteral("Hide")).toBool() == hide, QStringLiteral("hide flag"));
    const QString name = expected.section(QLatin1Char('/'), -1);
    FUZZ_CHECK(RKUtility::appAutoLaunches(name),
               QStringLiteral("\"%1\" not seen as launching").arg(name));
    return 0;
}
