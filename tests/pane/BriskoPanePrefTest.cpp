// SPDX-License-Identifier: MIT
#include "pane/BriskoPanePref.h"
#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/Contrast.h"
#include "common/utility/PickHistoryFile.h"
#include "common/utility/RKUtility.h"
#include "pane/binding/PaneBinder.h"
#include "pane/store/BriskoDefaults.h"
#include "pane/view/ColorWell.h"
#include "platform/archive/ObjectArchive.h"
#include "platform/core/PropertyList.h"
#include "platform/settings/UserDefaults.h"
#include "tests/pane/PaneFixture.h"
#include "tests/support/ModalAnswer.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QVBoxLayout>

namespace {

TEST_F(Pane, RunStateFollowsRequestsAndAnnouncements)
{
    struct Step
    {
        // 'S' the start/stop button, 'L' / 'T' the application's announcements, 'K' the
        // started copy ending.
        char event;
        const char *state;
        bool green;
        const char *button;
        bool spinning;
    };
    const Step steps[] = {
        {'-', "Brisko is stopped", false, "Start Brisko", false},
        {'S', "Launching Brisko ...", false, "Start Brisko", true},
        {'S', "Launching Brisko ...", false, "Start Brisko", true},
        {'L', "Brisko is running", true, "Stop Brisko", false},
        {'S', "Stopping Brisko ...", false, "Stop Brisko", true},
        {'S', "Stopping Brisko ...", false, "Stop Brisko", true},
        {'T', "Brisko is stopped", false, "Start Brisko", false},
        // Started or ended by other means than the pane.
        {'L', "Brisko is running", true, "Stop Brisko", false},
        {'T', "Brisko is stopped", false, "Start Brisko", false},
        {'S', "Launching Brisko ...", false, "Start Brisko", true},
        // The started copy goes without a word: a click starts another.
        {'K', "Launching Brisko ...", false, "Start Brisko", true},
        {'S', "Launching Brisko ...", false, "Start Brisko", true},
        {'T', "Brisko is stopped", false, "Start Brisko", false},
    };
    auto *label = control<QLabel>("appRunStateLabel");
    auto *button = control<QPushButton>("startStopButton");
    auto *spinner = control<QProgressBar>("progressIndicator");
    ASSERT_TRUE(label && button && spinner);
    // The copy the workspace would have started, coming up.
    const std::unique_ptr<QProcess> started = startCopy(false);
    QStringList posted;
    int step = 0;
    for (const Step &s : steps) {
        if (s.event == 'K') {
            started->kill();
            started->waitForFinished();
        } else if (s.event == 'S') {
            QTest::mouseClick(button, Qt::LeftButton);
            posted += recorder.settled();
        } else if (s.event == 'L') {
            announce(ControlCommands::AppDidLaunch);
        } else if (s.event == 'T') {
            announce(ControlCommands::AppDidTerminate);
        }
        // The pane's green, darkened only as far as the theme's window colour needs to read.
        const QColor shown = label->palette().color(QPalette::WindowText);
        const QColor color = s.green ? Contrast::readable(QColor::fromRgbF(0.1f, 0.75f, 0.1f),
                                                          label->palette().color(QPalette::Window))
                                     : QColor(Qt::black);
        EXPECT_EQ(label->text(), QString::fromLatin1(s.state)) << "step " << step;
        EXPECT_EQ(shown, color) << "step " << step;
        EXPECT_GE(Contrast::ratio(shown, label->palette().color(QPalette::Window)), Contrast::kText)
            << "step " << step;
        EXPECT_EQ(button->text().remove(QLatin1Char('&')), QString::fromLatin1(s.button))
            << "step " << step;
        EXPECT_EQ(spinner->isVisibleTo(view), s.spinning) << "step " << step;
        ++step;
    }
    EXPECT_EQ(launches(), 3) << "a click while a start was under way started another copy, "
                                "or one after the start had failed started none";
    EXPECT_EQ(posted, QStringList(2, ControlCommands::Shutdown));
}

TEST_F(Pane, TheRunStateIsWrittenInTheThemesTextColour)
{
    auto *label = control<QLabel>("appRunStateLabel");
    auto *button = control<QPushButton>("startStopButton");
    ASSERT_TRUE(label && button);
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(0x2a, 0x2e, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xfc, 0xfc, 0xfc));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();
    QStringList colours;
    const auto seen = [&] {
        colours.append(label->text() + QLatin1Char(' ') +
                       label->palette().color(QPalette::WindowText).name());
    };
    seen();
    QTest::mouseClick(button, Qt::LeftButton);
    seen();
    announce(ControlCommands::AppDidLaunch);
    seen();
    QTest::mouseClick(button, Qt::LeftButton);
    seen();
    QApplication::setPalette(light);
    EXPECT_EQ(colours, (QStringList{QStringLiteral("Brisko is stopped #fcfcfc"),
                                    QStringLiteral("Launching Brisko ... #fcfcfc"),
                                    QStringLiteral("Brisko is running ") +
                                        QColor::fromRgbF(0.1f, 0.75f, 0.1f).name(),
                                    QStringLiteral("Stopping Brisko ... #fcfcfc")}));
}

TEST_F(Pane, ACheckNowCopyThatEndsSilentlyLeavesLaterLaunchesUnasked)
{
    const std::unique_ptr<QProcess> started = startCopy(false);
    workspace->launchedProcessIdentifier = started->processId();
    QTest::mouseClick(control<QPushButton>("checkNowButton"), Qt::LeftButton);
    ASSERT_EQ(launches(), 1);
    started->kill();
    started->waitForFinished();
    QTest::qWait(500);

    // Started at login, say, long after.
    application.postNotification(ControlCommands::NotificationName, ControlCommands::AppDidLaunch);
    ASSERT_TRUE(
        waitUntil([this] { return pane.appRunState() == QLatin1String("Brisko is running"); }));
    EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::AppDidLaunch})
        << "a launch nobody asked to check was asked to";
}

TEST_F(Pane, TheAdvertLineFollowsWhatWasStored)
{
    auto *hide = control<QCheckBox>("hideAdvertSwitch");
    auto *advert = control<AdvertTextView>("adTextView");
    ASSERT_TRUE(hide && advert);
    // A folder below a plain file cannot be made, not even by root.
    QFile blocker(home.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", (blocker.fileName() + QStringLiteral("/config")).toUtf8());
    toggle(hide);
    EXPECT_FALSE(pane.HideAdvert());
    const bool hidden = !advert->lineVisible();
    const bool ticked = hide->isChecked();
    qputenv("XDG_CONFIG_HOME", home.configHome().toUtf8());
    UserDefaults::defaultsForDomain(BriskoDomain).removeObjectForKey(DefHideAdvert);
    EXPECT_FALSE(hidden) << "the advert hid though hiding it was not stored";
    EXPECT_FALSE(ticked);
}

TEST_F(Pane, AboutButtonsOpenTheirPages)
{
    const QString site = QStringLiteral("http://www.ambertide.com/");
    const struct
    {
        const char *button;
        QString address;
    } cases[] = {
        {"visitWebButton", site},
        {"helpButton", site + QStringLiteral("brisko/help/")},
        {"bundleInfoButton", site + QStringLiteral("bundle/")},
        {"downloadBundleButton", site + QStringLiteral("download/ZEVavire.zip")},
        {"feedbackButton", QStringLiteral("mailto:support@ambertide.com")},
        {"shareButton", QStringLiteral("https://www.facebook.com/share.php?u=http%3A%2F%2F"
                                       "www.ambertide.com%2Fbrisko%2F%3Ffb")},
    };
    for (const auto &c : cases) {
        workspace->requests.clear();
        QTest::mouseClick(control<QPushButton>(c.button), Qt::LeftButton);
        ASSERT_EQ(workspace->requests.size(), 1) << c.button;
        EXPECT_EQ(workspace->requests.at(0).operation, QStringLiteral("openUrl")) << c.button;
        EXPECT_EQ(QUrl(workspace->requests.at(0).target).toEncoded(), QUrl(c.address).toEncoded())
            << c.button;
    }
}

TEST_F(Pane, ALaunchThatCannotStartIsReportedInsteadOfAwaited)
{
    workspace->answer = false;
    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Okay"), &answer);
    QTest::mouseClick(control<QPushButton>("startStopButton"), Qt::LeftButton);
    EXPECT_TRUE(answer.windowModal) << "the alert is no sheet on the pane's window";
    EXPECT_EQ(answer.text, QStringLiteral("Cannot Find Brisko"));
    EXPECT_EQ(pane.appRunState(), QStringLiteral("Brisko is stopped"));
    EXPECT_FALSE(control<QProgressBar>("progressIndicator")->isVisibleTo(view));
}

TEST_F(Pane, UpdateCheckWaitsUntilTheStartedApplicationListens)
{
    auto *checkNow = control<QPushButton>("checkNowButton");
    QTest::mouseClick(checkNow, Qt::LeftButton);
    EXPECT_EQ(launches(), 1);
    EXPECT_EQ(recorder.settled(), QStringList()) << "asked before anyone could listen";

    application.postNotification(ControlCommands::NotificationName, ControlCommands::AppDidLaunch);
    ASSERT_TRUE(
        waitUntil([this] { return pane.appRunState() == QLatin1String("Brisko is running"); }));
    EXPECT_EQ(recorder.settled(),
              (QStringList{ControlCommands::AppDidLaunch, ControlCommands::CheckForUpdates}));

    QTest::mouseClick(checkNow, Qt::LeftButton);
    EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::CheckForUpdates});
    EXPECT_EQ(launches(), 1);
}

TEST_F(Pane, TabsFollowTheApplicationAndTheKeyboard)
{
    auto *tabs = control<QTabWidget>("tabView");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("general"));

    announce(ControlCommands::SetTab, {{QStringLiteral("identifier"), QStringLiteral("about")}});
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("about"));
    EXPECT_EQ(pane.tabIdentifier(), QStringLiteral("about"));

    QSignalSpy changes(&pane, &BriskoPanePref::tabIdentifierChanged);
    announce(ControlCommands::SetTab, {{QStringLiteral("identifier"), QStringLiteral("nonsense")}});
    announce(ControlCommands::SetTab, {});
    EXPECT_EQ(changes.count(), 0) << "an identifier no tab has changed the selection";

    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(pane.tabIdentifier(), QStringLiteral("preferences"));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(Pane, EachControlWritesItsKeyWithOneRefresh)
{
    BriskoDefaults &store = *pane.userDefaults();
    for (const char *name :
         {"showSplashSwitch", "autoVersionCheckSwitch", "orderByRelevanceSwitch"}) {
        auto *box = control<QCheckBox>(name);
        const QString key = box->property(PaneBinder::SettingsKey).toString();
        const bool before = store.boolForKey(key);
        EXPECT_EQ(box->isChecked(), before) << name;
        toggle(box);
        EXPECT_EQ(store.boolForKey(key), !before) << name;
        EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::Refresh}) << name;
    }

    auto *well = control<ColorWell>("largeTypeBgWell");
    const auto pickInDialog = [](const QColor &color) {
        answerNextModal<QColorDialog>([color](QColorDialog *dialog) {
            EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
            if (!color.isValid())
                return dialog->reject();
            dialog->setCurrentColor(color);
            dialog->accept();
        });
    };
    pickInDialog(QColor());
    QTest::mouseClick(well, Qt::LeftButton);
    EXPECT_EQ(recorder.settled(), QStringList()) << "a cancelled dialog wrote";

    pickInDialog(QColor(1, 2, 3, 200));
    QTest::mouseClick(well, Qt::LeftButton);
    EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::Refresh});
    EXPECT_EQ(well->color(), QColor(1, 2, 3, 200));
    const QVariant stored = PropertyList::readFile(UserDefaults::pathForDomain(BriskoDomain))
                                .toMap()
                                .value(DefLargeTypeBgColor);
    EXPECT_EQ(ObjectArchive::unarchiveColor(stored.toByteArray()), QColor(1, 2, 3, 200));

    // The login item switch writes no setting, so it tells the application nothing.
    toggle(control<QCheckBox>("autoLaunchSwitch"));
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
    EXPECT_EQ(recorder.settled(), QStringList());
}

TEST_F(Pane, ForgetSearchHistoryRemovesTheFileAndTellsTheApplication)
{
    auto *forget = control<QPushButton>("forgetSearchHistoryButton");
    ASSERT_TRUE(forget);
    EXPECT_FALSE(forget->isEnabled()) << "there is no history to forget";

    // The history the application keeps, and a copy of a broken one it kept aside.
    ASSERT_TRUE(PickHistoryFile::makeFolder());
    const QString history = PickHistoryFile::path();
    for (const QString &path : QStringList{history, history + QStringLiteral(".unreadable-1")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"version":1,"picks":{"ann":{"score":1,"at":1700000000}}})");
    }
    pane.willSelect();
    ASSERT_TRUE(forget->isEnabled());
    QTest::mouseClick(forget, Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(PickHistoryFile::path()));
    EXPECT_TRUE(QDir(PickHistoryFile::folder())
                    .entryList({QStringLiteral("pick-history.json*")}, QDir::Files)
                    .filter(QStringLiteral("unreadable"))
                    .isEmpty());
    // Whether or not the application runs: a running one drops what it holds.
    EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::ForgetSearchHistory});
    EXPECT_FALSE(forget->isEnabled());
}

TEST_F(Pane, HideAdvertActsAtOnceAndOnEveryShowing)
{
    auto *hide = control<QCheckBox>("hideAdvertSwitch");
    auto *advert = control<AdvertTextView>("adTextView");
    ASSERT_TRUE(hide && advert);
    EXPECT_TRUE(advert->lineVisible());
    EXPECT_TRUE(QList<int>({0, 1, 2, 3, 4, 20, 21, 22}).contains(advert->productId()));

    toggle(hide);
    EXPECT_TRUE(pane.HideAdvert());
    EXPECT_FALSE(advert->lineVisible());
    EXPECT_EQ(recorder.settled(), QStringList{ControlCommands::Refresh});
    pane.willSelect();
    EXPECT_FALSE(advert->lineVisible());
}

TEST_F(Pane, ValuesChangedElsewhereShowWhenThePaneIsShownAgain)
{
    ASSERT_TRUE(control<QCheckBox>("showSplashSwitch")->isChecked());
    // Another process writes, as the application or brisko-defaults would.
    const PaneKeyCombo commandK(40, PaneKeyCombo::cmdKey);
    ASSERT_EQ(runDefaultsTool({QStringLiteral("write"), BriskoDomain, DefShowSplash,
                               QStringLiteral("-bool"), QStringLiteral("NO")}),
              0);
    ASSERT_EQ(runDefaultsTool({QStringLiteral("write"), BriskoDomain, DefHideAdvert,
                               QStringLiteral("-bool"), QStringLiteral("YES")}),
              0);
    ASSERT_EQ(
        runDefaultsTool({QStringLiteral("write"), BriskoDomain, DefHotKey, QStringLiteral("-data"),
                         QString::fromLatin1(commandK.archivedData().toHex())}),
        0);
    pane.willSelect();
    EXPECT_FALSE(control<QCheckBox>("showSplashSwitch")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("hideAdvertSwitch")->isChecked());
    EXPECT_FALSE(control<AdvertTextView>("adTextView")->lineVisible());
    EXPECT_EQ(control<QLabel>("hotKeyLabel")->text(), commandK.description());
}

TEST_F(Pane, CredentialIsValidOnceBothFieldsHoldACharacter)
{
    QSignalSpy changes(&pane, &BriskoPanePref::vonageCredentialIsValidChanged);
    pane.setVonageName(QStringLiteral("ann"));
    EXPECT_FALSE(pane.vonageCredentialIsValid());
    pane.setVonagePassword(QStringLiteral("x"));
    EXPECT_TRUE(pane.vonageCredentialIsValid());
    pane.setVonageName(QString());
    EXPECT_FALSE(pane.vonageCredentialIsValid());
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(Pane, PromptSheetsEndWithTheTagOfTheirButton)
{
    QDialog sheet;
    auto *frame = new QWidget(&sheet);
    auto *ok = new QPushButton(QStringLiteral("OK"), frame);
    ok->setProperty("tag", 7);
    auto *own = new QPushButton(QStringLiteral("Own"), &sheet);
    own->setProperty(PaneBinder::PaneAction, QStringLiteral("somethingElse"));
    for (QPushButton *press : {own, ok}) {
        QTimer::singleShot(10, press, [press] { press->click(); });
    }
    QTimer::singleShot(200, &sheet, [&sheet] {
        if (sheet.isVisible())
            sheet.done(-5);
    });
    EXPECT_EQ(pane.runPromptSheet(&sheet), 7) << "a button with an action of its own ended it";
    EXPECT_EQ(sheet.parentWidget(), &window);
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_FALSE(sheet.isVisible());

    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Other"), &answer);
    EXPECT_EQ(pane.runPromptSheetWithTitle(QStringLiteral("T"), QStringLiteral("100%"),
                                           QStringLiteral("Default"), QStringLiteral("Alternate"),
                                           QStringLiteral("Other")),
              -1);
    EXPECT_EQ(answer.informativeText, QStringLiteral("100%"));
    answerNextAlert(QStringLiteral("Alternate"), &answer);
    EXPECT_EQ(pane.runPromptSheetWithTitle(QStringLiteral("T"), QStringLiteral("m"),
                                           QStringLiteral("Default"), QStringLiteral("Alternate"),
                                           QString()),
              0);
}

/// The obsolete-copy check, in folders and with a program of the test's own.
class ObsoleteCopy : public Pane
{
protected:
    void SetUp() override
    {
        optFolder = home.path() + QStringLiteral("/opt");
        Pane::SetUp();
    }

    void makeCopy(const QString &folder)
    {
        const QString contents = folder + QStringLiteral("/Brisko.app/Contents");
        ASSERT_TRUE(QDir().mkpath(contents));
        ASSERT_TRUE(QFile::copy(ApplicationPath + QStringLiteral("/Contents/Info.plist"),
                                contents + QStringLiteral("/Info.plist")));
    }

    /// The application's program inside the copy in `folder`.
    QString programInCopy(const QString &folder)
    {
        const QString linux = folder + QStringLiteral("/Brisko.app/Contents/Linux");
        EXPECT_TRUE(QDir().mkpath(linux));
        EXPECT_TRUE(QFile::copy(programs.filePath(command), linux + QLatin1Char('/') + command));
        return linux + QLatin1Char('/') + command;
    }

    /// Whether didSelect() asks anything; a question is turned down.
    bool asksWhenShown()
    {
        bool asked = false;
        QTimer refuse;
        QObject::connect(&refuse, &QTimer::timeout, [&asked] {
            if (auto *alert = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                alert->reject();
            }
        });
        refuse.start(10);
        pane.didSelect();
        return asked;
    }

    QString optFolder;
};

TEST_F(ObsoleteCopy, KeepingTheCopyEndsOnlyWhatStartsFromItAndIsAskedOnce)
{
    makeCopy(optFolder);
    const auto fromCopy = startCopy(false, programInCopy(optFolder));
    // A program of the same name started elsewhere, as this version or another one.
    const auto elsewhere = startCopy(false);
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(optFolder + QStringLiteral("/Brisko.app"), false));

    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Keep Old Version"), &answer);
    pane.didSelect();
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(answer.text, QStringLiteral("Move old version to Trash?"));
    EXPECT_EQ(answer.buttons,
              (QStringList{QStringLiteral("Move to Trash"), QStringLiteral("Keep Old Version")}));
    // The alert's own event loop may have seen it end already.
    EXPECT_TRUE(fromCopy->state() == QProcess::NotRunning || fromCopy->waitForFinished(5000))
        << "the old copy's process was not ended";
    EXPECT_EQ(fromCopy->exitStatus(), QProcess::CrashExit);
    elsewhere->waitForFinished(300);
    EXPECT_EQ(elsewhere->state(), QProcess::Running) << "a program not of the old copy was ended";
    EXPECT_FALSE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
    EXPECT_TRUE(workspace->requests.isEmpty());

    // The answer holds for the later showings.
    EXPECT_FALSE(asksWhenShown());
}

TEST_F(ObsoleteCopy, TheLoginItemOfThisVersionIsKept)
{
    makeCopy(optFolder);
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(ApplicationPath, false));
    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Keep Old Version"), &answer);
    pane.didSelect();
    ASSERT_TRUE(answer.seen);
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
}

TEST_F(ObsoleteCopy, TheLoginItemSwitchShowsTheItemTheCheckRemoved)
{
    makeCopy(optFolder);
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(optFolder + QStringLiteral("/Brisko.app"), false));
    pane.willSelect();
    auto *box = control<QCheckBox>("autoLaunchSwitch");
    ASSERT_TRUE(box->isChecked());
    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Keep Old Version"), &answer);
    pane.didSelect();
    ASSERT_TRUE(answer.seen);
    EXPECT_FALSE(box->isChecked()) << "the switch shows a login item that is gone";
}

TEST_F(ObsoleteCopy, ACopyThatCannotBeMovedIsSaidAndThenLeftAlone)
{
    makeCopy(optFolder);
    workspace->answer = false;
    AlertAnswer question;
    AlertAnswer report;
    answerNextModal<QMessageBox>([&](QMessageBox *alert) {
        question.seen = true;
        answerNextAlert(QStringLiteral("OK"), &report);
        for (QAbstractButton *button : alert->buttons()) {
            if (button->text() == QLatin1String("Move to Trash"))
                button->click();
        }
    });
    pane.didSelect();
    ASSERT_TRUE(question.seen);
    ASSERT_TRUE(report.seen) << "the failed move was not said";
    EXPECT_TRUE(report.windowModal);
    EXPECT_TRUE(report.informativeText.contains(optFolder + QStringLiteral("/Brisko.app")))
        << qPrintable(report.informativeText);
    EXPECT_TRUE(report.informativeText.contains(QLatin1String("administrator")))
        << qPrintable(report.informativeText);

    // The next showings neither ask again nor end the application or its login item.
    const auto running = startCopy(false, programInCopy(optFolder));
    ASSERT_TRUE(RKUtility::addAutoLaunchPath(optFolder + QStringLiteral("/Brisko.app"), false));
    EXPECT_FALSE(asksWhenShown());
    running->waitForFinished(300);
    EXPECT_EQ(running->state(), QProcess::Running) << "the running application was ended";
    EXPECT_TRUE(RKUtility::appAutoLaunches(QStringLiteral("Brisko.app")));
}

TEST_F(ObsoleteCopy, MovingToTheTrashTakesBothCopies)
{
    makeCopy(optFolder);
    makeCopy(home.path() + QStringLiteral("/Applications"));
    AlertAnswer answer;
    answerNextAlert(QStringLiteral("Move to Trash"), &answer);
    pane.didSelect();
    ASSERT_TRUE(answer.seen);
    ASSERT_EQ(workspace->requests.size(), 2);
    EXPECT_EQ(workspace->requests.at(0).operation, QStringLiteral("recycle"));
    EXPECT_EQ(workspace->requests.at(0).target, optFolder + QStringLiteral("/Brisko.app"));
    EXPECT_EQ(workspace->requests.at(1).target,
              home.path() + QStringLiteral("/Applications/Brisko.app"));
}

TEST_F(ObsoleteCopy, ALinkToThisPanesApplicationIsNoOldCopy)
{
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/Applications")));
    ASSERT_TRUE(
        QFile::link(ApplicationPath, home.path() + QStringLiteral("/Applications/Brisko.app")));
    EXPECT_FALSE(pane._obsoleteVersionInstalled());
    pane._removeObsoleteVersion();
    EXPECT_TRUE(workspace->requests.isEmpty());
}

TEST_F(ObsoleteCopy, ProcessesOfOtherUsersAreLeftAlone)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "starting a process as another user needs root";
    makeCopy(optFolder);
    const QString program = programInCopy(optFolder);
    // Another user may start it only from where they may look.
    for (QString folder = QFileInfo(program).path(); folder.startsWith(home.path());
         folder = QFileInfo(folder).path())
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner | QFile::ReadOther |
                                                      QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther));
    const auto theirs = startCopy(true, program);
    const auto ours = startCopy(false, program);
    pane._killBrisko();
    EXPECT_TRUE(ours->waitForFinished(5000)) << "this user's copy was not ended";
    // Signals are sent before _killBrisko returns: theirs, if signalled, would have its signal
    // pending or be ending by now.
    QFile status(QStringLiteral("/proc/%1/status").arg(theirs->processId()));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly)) << "another user's copy was ended";
    const QByteArray text = status.readAll();
    EXPECT_TRUE(text.contains("\nState:\tS")) << "another user's copy was ended";
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith("SigPnd:") || line.startsWith("ShdPnd:")) {
            EXPECT_EQ(line.mid(7).trimmed().toULongLong(nullptr, 16) & (1u << (SIGTERM - 1)), 0u)
                << "another user's copy was sent the termination signal";
        }
    }
    theirs->kill();
    theirs->waitForFinished();
}

TEST(PaneInterface, AnInterfaceFileThatCannotBeReadIsReported)
{
    struct Case
    {
        const char *name;
        QByteArray contents; // empty: no file at all
        const char *reason;
    };
    const Case cases[] = {
        {"missing", {}, "BriskoPane.ui is missing"},
        {"not a form", "<ui version=\"4.0\"><widget class=\"NoSuchWidget\"", "Cannot read"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString bundle = dir.path() + QStringLiteral("/BriskoPane.prefPane");
        ASSERT_TRUE(QDir().mkpath(bundle + QStringLiteral("/Contents/Resources")));
        ASSERT_TRUE(QFile::copy(PaneBundle.bundlePath() + QStringLiteral("/Contents/Info.plist"),
                                bundle + QStringLiteral("/Contents/Info.plist")));
        if (!c.contents.isEmpty()) {
            QFile file(bundle + QStringLiteral("/Contents/Resources/BriskoPane.ui"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.contents);
        }
        BriskoPanePref pane{Bundle(bundle)};
        EXPECT_EQ(pane.loadMainView(), nullptr) << c.name;
        EXPECT_TRUE(pane.loadError().contains(QLatin1String(c.reason)))
            << c.name << ": " << qPrintable(pane.loadError());
    }
}

TEST(PaneInterface, TheShippedInterfaceFileBindsEveryControlWithoutAWarning)
{
    TemporaryHome home;
    QStringList warnings;
    static QStringList *captured = nullptr;
    captured = &warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                captured->append(text);
        });
    BriskoPanePref pane{PaneBundle};
    QWidget *view = pane.loadMainView();
    qInstallMessageHandler(previous);
    ASSERT_NE(view, nullptr) << qPrintable(pane.loadError());
    EXPECT_EQ(warnings, QStringList());
    const PaneBinder binder(view, pane.userDefaults(), &pane);
    EXPECT_EQ(binder.problems(), QStringList());
}

TEST(PaneBinding, NamesThatAreNotThereAreReported)
{
    TemporaryHome home;
    BriskoPanePref pane{PaneBundle};
    QWidget view;
    auto *typo = new QCheckBox(&view);
    typo->setObjectName(QStringLiteral("typo"));
    typo->setProperty(PaneBinder::PaneKey, QStringLiteral("HideAdvrt"));
    auto *action = new QPushButton(&view);
    action->setObjectName(QStringLiteral("action"));
    action->setProperty(PaneBinder::PaneAction, QStringLiteral("startStart"));
    const PaneBinder binder(&view, pane.userDefaults(), &pane);
    EXPECT_EQ(binder.problems(),
              (QStringList{QStringLiteral("typo names no property \"HideAdvrt\""),
                           QStringLiteral("action names no action \"startStart\"")}));
}

TEST(PaneBinding, ButtonTitlesKeepTheirMnemonic)
{
    struct Case
    {
        const char *file;
        const char *text;
        const char *shown;
    };
    const Case cases[] = {
        {"&Start Brisko", "Stop Brisko", "&Stop Brisko"},
        {"Check &Now", "Later", "Later"},
        {"Save", "Run & Stop", "Run && Stop"},
        {"&& &Run", "Go & Run", "Go && &Run"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(
            PaneBinder::textKeepingMnemonic(QString::fromUtf8(c.file), QString::fromUtf8(c.text)),
            QString::fromUtf8(c.shown))
            << c.file;
}

} // namespace
