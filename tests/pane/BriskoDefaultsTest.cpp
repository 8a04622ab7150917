// SPDX-License-Identifier: MIT
#include "pane/store/BriskoDefaults.h"
#include "common/SettingsKeys.h"
#include "common/utility/RKUtility.h"
#include "pane/BriskoPanePref.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/core/PropertyList.h"
#include "platform/settings/UserDefaults.h"
#include "tests/pane/PaneTestSupport.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const Bundle PaneBundle(QStringLiteral(BRISKO_PANE_BUNDLE_PATH));

class Store : public ::testing::Test
{
protected:
    QVariant stored(const QString &key) const
    {
        return PropertyList::readFile(UserDefaults::pathForDomain(BriskoDomain)).toMap().value(key);
    }

    TemporaryHome home;
    ControlRecorder recorder;
    BriskoPanePref pane{PaneBundle};
    BriskoDefaults &store = *pane.userDefaults();
};

TEST_F(Store, ColourKeysReadAsColoursAndOtherKeysAsStored)
{
    const QByteArray archive = ObjectArchive::archivedColor(QColor(10, 20, 30));
    const QVariantList numbers{QStringLiteral("555 0100"), QStringLiteral("555 0199")};
    ASSERT_TRUE(store.setValueForKey(QColor(10, 20, 30), DefLargeTypeBgColor));
    ASSERT_TRUE(store.setValueForKey(archive, QStringLiteral("ColorOfColor")));
    ASSERT_TRUE(store.setValueForKey(numbers, DefVonageNumbers));

    // On disk a colour is its archive; read back it is the colour again.
    EXPECT_EQ(stored(DefLargeTypeBgColor), QVariant(archive));
    EXPECT_EQ(store.valueForKey(DefLargeTypeBgColor), QVariant(QColor(10, 20, 30)));
    // Its first "Color" is not the one at the end: the data comes back as it is.
    EXPECT_EQ(store.valueForKey(QStringLiteral("ColorOfColor")), QVariant(archive));
    EXPECT_EQ(store.valueForKey(DefVonageNumbers), QVariant(numbers));
    // A colour key that holds no colour archive reads as no colour.
    ASSERT_TRUE(store.setValueForKey(QStringLiteral("red"), DefHeaderNameColor));
    EXPECT_FALSE(store.valueForKey(DefHeaderNameColor).isValid());
}

TEST_F(Store, UnstoredKeysReadAsFactorySettingsUntilWritten)
{
    EXPECT_TRUE(store.boolForKey(DefShowSplash));
    EXPECT_TRUE(store.valueForKey(DefCardHeaderBgColor).value<QColor>().isValid());
    EXPECT_EQ(store.keyComboForKey(DefHotKey),
              PaneKeyCombo(49, PaneKeyCombo::controlKey | PaneKeyCombo::optionKey));

    ASSERT_TRUE(store.setBool(false, DefShowSplash));
    EXPECT_FALSE(store.boolForKey(DefShowSplash));
    // Removing the stored value brings the factory setting back.
    ASSERT_TRUE(store.setValueForKey(QVariant(), DefShowSplash));
    EXPECT_FALSE(stored(DefShowSplash).isValid());
    EXPECT_TRUE(store.boolForKey(DefShowSplash));
}

TEST_F(Store, EveryWriteIsFollowedByExactlyOneRefresh)
{
    ASSERT_TRUE(store.setBool(true, DefHideAdvert));
    ASSERT_TRUE(store.setValueForKey(QColor(Qt::red), DefHeaderNameColor));
    ASSERT_TRUE(store.setKeyCombo(PaneKeyCombo(40, PaneKeyCombo::cmdKey), DefHotKey));
    ASSERT_TRUE(store.setValueForKey(QVariant(), DefHideAdvert));
    EXPECT_EQ(recorder.settled(), QStringList(4, ControlCommands::Refresh));

    // Reads and the login item switch tell the application nothing.
    store.valueForKey(DefHotKey);
    store.setAutoLaunch(true);
    EXPECT_EQ(recorder.settled(), QStringList());
}

TEST_F(Store, AWriteThatCannotReachTheDiskIsNotAnnounced)
{
    // A folder below a plain file cannot be made, not even by root.
    QFile blocker(home.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", (blocker.fileName() + QStringLiteral("/config")).toUtf8());
    EXPECT_FALSE(store.setBool(true, DefHideAdvert));
    EXPECT_EQ(recorder.settled(), QStringList());
    EXPECT_FALSE(store.boolForKey(DefHideAdvert)) << "the refused value reads as if stored";
    qputenv("XDG_CONFIG_HOME", home.configHome().toUtf8());
    // The refused change must not reach the next test's home.
    UserDefaults::defaultsForDomain(BriskoDomain).removeObjectForKey(DefHideAdvert);
}

// The application registers the factory key for what it cannot use; the pane shows that one.
TEST_F(Store, KeyCombinationsThatCannotBeUsedAreTheFactoryOneAsInTheApplication)
{
    const PaneKeyCombo commandK(40, PaneKeyCombo::cmdKey);
    const PaneKeyCombo factory(49, PaneKeyCombo::controlKey | PaneKeyCombo::optionKey);
    struct Case
    {
        const char *name;
        QVariant value;
        PaneKeyCombo expected;
    };
    const Case cases[] = {
        {"a stored combination", commandK.archivedData(), commandK},
        {"no hot key", PaneKeyCombo().archivedData(), PaneKeyCombo::clearKeyCombo()},
        {"foreign data", QByteArray("not an archive"), factory},
        {"a colour archive", ObjectArchive::archivedColor(Qt::red), factory},
        {"text", QStringLiteral("Ctrl+K"), factory},
        {"a key code no keyboard has", PaneKeyCombo(300, PaneKeyCombo::controlKey).archivedData(),
         factory},
        {"flags only beyond the four modifiers", PaneKeyCombo(0, 0x10000).archivedData(), factory},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(store.setValueForKey(c.value, DefHotKey)) << c.name;
        EXPECT_EQ(store.keyComboForKey(DefHotKey), c.expected) << c.name;
    }
}

TEST_F(Store, TheLoginItemStartsTheApplicationInThePane)
{
    EXPECT_FALSE(store.valueForKey(DefAutoLaunch).toBool());
    store.setValueForKey(true, DefAutoLaunch);
    EXPECT_TRUE(store.boolForKey(DefAutoLaunch));
    const QVariantList items = RKUtility::_getAutoLaunchedApplications();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first().toMap().value(QStringLiteral("Path")).toString(),
              PaneBundle.pathForResource(QStringLiteral("Brisko"), QStringLiteral("app")));
    store.setValueForKey(false, DefAutoLaunch);
    EXPECT_FALSE(store.autoLaunch());
    EXPECT_TRUE(RKUtility::_getAutoLaunchedApplications().isEmpty());
}

TEST_F(Store, APaneWithoutTheApplicationSaysSoAndChangesNothing)
{
    // A pane bundle whose resources lost the application.
    QTemporaryDir dir;
    const QString bundle = dir.path() + QStringLiteral("/Broken.prefPane");
    ASSERT_TRUE(QDir().mkpath(bundle + QStringLiteral("/Contents/Resources")));
    ASSERT_TRUE(QFile::copy(PaneBundle.bundlePath() + QStringLiteral("/Contents/Info.plist"),
                            bundle + QStringLiteral("/Contents/Info.plist")));
    BriskoPanePref broken{Bundle(bundle)};

    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Okay"), &answer);
    broken.userDefaults()->setAutoLaunch(true);
    ASSERT_TRUE(answer.seen) << "no alert";
    EXPECT_EQ(answer.text, QStringLiteral("Cannot Find Brisko"));
    EXPECT_EQ(
        answer.informativeText,
        QStringLiteral("Unable to find the background application. Please re-install Brisko."));
    EXPECT_EQ(answer.buttons, QStringList{QStringLiteral("Okay")});
    EXPECT_TRUE(RKUtility::_getAutoLaunchedApplications().isEmpty());
}

TEST_F(Store, ABrokenSettingsFileReadsAsTheFactorySettings)
{
    ASSERT_TRUE(store.setBool(false, DefShowSplash));
    QFile file(UserDefaults::pathForDomain(BriskoDomain));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<plist><dict><key>ShowSplash</key>");
    file.close();

    EXPECT_TRUE(store.boolForKey(DefShowSplash));
    EXPECT_EQ(QDir(home.configHome())
                  .entryList({BriskoDomain + QStringLiteral(".plist.unreadable-*")}, QDir::Files)
                  .size(),
              1)
        << "the broken file was not kept aside";
    // A write after that starts a readable file again.
    ASSERT_TRUE(store.setBool(false, DefShowSplash));
    EXPECT_EQ(stored(DefShowSplash), QVariant(false));
}

} // namespace
