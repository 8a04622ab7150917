// SPDX-License-Identifier: MIT
#include "pane/keycombo/KeyComboPanel.h"
#include "common/SettingsKeys.h"
#include "pane/BriskoPanePref.h"
#include "pane/store/BriskoDefaults.h"
#include "platform/hotkey/KeyboardGrab.h"
#include "tests/pane/PaneFixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

constexpr qint64 Cmd = PaneKeyCombo::cmdKey;
constexpr qint64 Shift = PaneKeyCombo::shiftKey;
const PaneKeyCombo ControlOptionSpace(49, PaneKeyCombo::controlKey | PaneKeyCombo::optionKey);

/// The shared panel as a sheet of a window of the test's own.
class KeyComboPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.show();
        panel = KeyComboPanel::sharedPanelWithMainWindow(&window, PaneBundle);
        ASSERT_NE(panel, nullptr);
    }

    QWidget window;
    KeyComboPanel *panel = nullptr;
};

TEST_F(KeyComboPanelTest, ReturnAndEscapeAloneEndItAndEverythingElseIsRecorded)
{
    struct Press
    {
        int keyCode;
        Qt::KeyboardModifiers modifiers;
    };
    enum End
    {
        Return,
        Escape,
        OkButton,
        ClearThenOk,
    };
    struct Case
    {
        const char *name;
        QList<Press> presses;
        End end;
        int code;
        PaneKeyCombo recorded;
        const char *shown;
    };
    const Case cases[] = {
        {"Return alone", {}, Return, 1, ControlOptionSpace, "Ctrl+Alt+Space"},
        {"Escape alone", {}, Escape, 0, ControlOptionSpace, "Ctrl+Alt+Space"},
        {"Super+Return",
         {{36, Qt::MetaModifier}},
         Return,
         1,
         PaneKeyCombo(36, Cmd),
         "Super+Return"},
        {"Shift+Escape",
         {{53, Qt::ShiftModifier}},
         Escape,
         0,
         PaneKeyCombo(53, Shift),
         "Shift+Escape"},
        {"a letter alone", {{40, {}}}, OkButton, 1, PaneKeyCombo(40, 0), "None"},
        {"F5 alone", {{96, {}}}, Return, 1, PaneKeyCombo(96, 0), "F5"},
        {"the last of several",
         {{40, {}}, {40, Qt::MetaModifier | Qt::ShiftModifier}},
         Return,
         1,
         PaneKeyCombo(40, Cmd | Shift),
         "Shift+Super+K"},
        {"Clear then OK", {{96, {}}}, ClearThenOk, 1, PaneKeyCombo(), "None"},
    };
    for (const Case &c : cases) {
        panel->setKeyCombo(ControlOptionSpace);
        QString shown;
        bool sheet = false;
        whenRecorderIsUp([&](QDialog *recorder) {
            sheet = recorder->windowModality() == Qt::WindowModal &&
                    recorder->parentWidget() == &window;
            const auto button = [recorder](const char *name) {
                return recorder->findChild<QPushButton *>(QString::fromLatin1(name));
            };
            for (const Press &press : c.presses)
                pressInRecorder(recorder, press.keyCode, press.modifiers);
            if (c.end == ClearThenOk)
                button("clearButton")->click();
            shown = recorder->findChild<QLineEdit *>(QStringLiteral("textField"))->text();
            if (c.end == Return)
                pressInRecorder(recorder, 36);
            else if (c.end == Escape)
                pressInRecorder(recorder, 53);
            else
                button("okButton")->click();
        });
        EXPECT_EQ(panel->runModal(), c.code) << c.name;
        EXPECT_TRUE(sheet) << c.name << ": not a sheet of the window";
        EXPECT_EQ(panel->keyCombo(), c.recorded) << c.name;
        EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.name;
        EXPECT_FALSE(panel->window()->isVisible()) << c.name;
    }

    QWidget other;
    EXPECT_EQ(KeyComboPanel::sharedPanelWithMainWindow(&other, PaneBundle), panel)
        << "a second window got a panel of its own";
}

TEST_F(Pane, ChangeHotKeyStoresOnlyAConfirmedValidKeyAndAlwaysResumes)
{
    struct Case
    {
        const char *name;
        Qt::KeyboardModifiers modifiers;
        int endKey;
        bool stored;
    };
    const Case cases[] = {
        {"cancelled", Qt::MetaModifier | Qt::ShiftModifier, 53, false},
        {"an invalid key confirmed", {}, 36, false},
        {"a valid key confirmed", Qt::MetaModifier | Qt::ShiftModifier, 36, true},
    };
    BriskoDefaults &store = *pane.userDefaults();
    const PaneKeyCombo factory = store.keyComboForKey(DefHotKey);
    ASSERT_EQ(factory, ControlOptionSpace);
    for (const Case &c : cases) {
        whenRecorderIsUp([&c](QDialog *recorder) {
            pressInRecorder(recorder, 40, c.modifiers);
            pressInRecorder(recorder, c.endKey);
        });
        QTest::mouseClick(control<QPushButton>("changeHotKeyButton"), Qt::LeftButton);
        EXPECT_EQ(store.keyComboForKey(DefHotKey),
                  c.stored ? PaneKeyCombo(40, Cmd | Shift) : factory)
            << c.name;
        EXPECT_EQ(control<QLabel>("hotKeyLabel")->text(),
                  QLatin1String(c.stored ? "Shift+Super+K" : "Ctrl+Alt+Space"))
            << c.name;
        // The store tells of its write itself; the application takes the stored key before it
        // listens again.
        const QStringList told =
            c.stored ? QStringList{ControlCommands::Suspend, ControlCommands::Refresh,
                                   ControlCommands::Refresh, ControlCommands::Resume}
                     : QStringList{ControlCommands::Suspend, ControlCommands::Refresh,
                                   ControlCommands::Resume};
        EXPECT_EQ(recorder.settled(), told) << c.name;
    }
}

TEST_F(KeyComboPanelTest, SaysSoWhereTheDesktopKeepsItsShortcutsWhileRecording)
{
    // The unit tests run on Qt's offscreen platform, which, like a native Wayland window, has
    // no keyboard to take.
    ASSERT_FALSE(KeyboardGrab::isPossible());
    const auto *limitation =
        panel->window()->findChild<QLabel *>(QStringLiteral("limitationLabel"));
    ASSERT_NE(limitation, nullptr);
    EXPECT_TRUE(limitation->text().contains(QStringLiteral("shortcuts still act")));
}

TEST(KeyComboPanelResource, ThatCannotBeReadIsLoggedAndTheButtonChangesNothing)
{
    static QStringList logged;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
            logged.append(message);
        });
    for (const QByteArray &contents : {QByteArray(), QByteArray("<ui version=\"4.0\"><widget")}) {
        logged.clear();
        TemporaryHome home;
        ControlRecorder recorder;
        QTemporaryDir dir;
        const QString bundle = dir.path() + QStringLiteral("/BriskoPane.prefPane");
        const QString resources = bundle + QStringLiteral("/Contents/Resources/");
        ASSERT_TRUE(QDir().mkpath(resources));
        for (const char *file :
             {"Info.plist", "Resources/BriskoPane.ui", "Resources/KeyCodes.plist"})
            ASSERT_TRUE(QFile::copy(PaneBundle.bundlePath() + QStringLiteral("/Contents/") +
                                        QLatin1String(file),
                                    bundle + QStringLiteral("/Contents/") + QLatin1String(file)));
        if (!contents.isEmpty()) {
            QFile file(resources + QStringLiteral("KeyComboPanel.ui"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        BriskoPanePref pane{Bundle(bundle)};
        QWidget *view = pane.loadMainView();
        ASSERT_NE(view, nullptr) << qPrintable(pane.loadError());
        recorder.settled();
        const QByteArray stored = pane.userDefaults()->valueForKey(DefHotKey).toByteArray();

        pane.setupHotKey();
        EXPECT_TRUE(logged.contains(QStringLiteral("Failed to load KeyComboPanel nib file.")))
            << qPrintable(logged.join(QLatin1Char('\n')));
        EXPECT_EQ(recorder.settled(), QStringList()) << "the application was told something";
        EXPECT_EQ(pane.userDefaults()->valueForKey(DefHotKey).toByteArray(), stored);
        delete view;
    }
    qInstallMessageHandler(previous);
}

} // namespace
