// SPDX-License-Identifier: MIT
#include "app/controller/AppController.h"
#include "app/card/MyTableView.h"
#include "app/card/PersonView.h"
#include "app/card/PropertyView.h"
#include "app/chrome/LargeTypeWindow.h"
#include "app/chrome/MenuButton.h"
#include "app/controller/MatchOrdering.h"
#include "app/controller/MatchesTableModel.h"
#include "app/controller/SearchField.h"
#include "app/dialing/ClickToCall.h"
#include "app/hotkey/HotKeyCenter.h"
#include "app/search/PersonExtras.h"
#include "app/search/RKAddressBook.h"
#include "app/settings/UserDefaultsExtras.h"
#include "app/update/VersionChecker.h"
#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/ClickToCallService.h"
#include "common/utility/RKWebsite.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/core/Bundle.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/settings/UserDefaults.h"
#include "tests/doubles/RecordingWorkspace.h"
#include "tests/e2e/support/TestProcesses.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TemporaryHome.h"
#include "tests/support/WaitUntil.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

/// The address book and the settings live for the whole process, so the whole binary shares one
/// bus, one temporary home and one copy of the fixture address book; each test launches a
/// controller of its own.
class ControllerEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // The controller announces itself and posts to the session bus: a bus of its own.
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->isRunning()) << "dbus-daemon did not start a session bus";
        home = std::make_unique<TemporaryHome>();
        // Its factory settings: the hot key, the colours, the splash switch.
        Bundle::setMainBundlePath(QStringLiteral(BRISKO_APP_BUNDLE_PATH));
        contacts = home->path() + QStringLiteral("/contacts");
        QDir().mkpath(contacts);
        const QDir fixtures(QStringLiteral(BRISKO_TEST_DATA_DIR "/controller"));
        for (const QString &name : fixtures.entryList({QStringLiteral("*.vcf")}, QDir::Files))
            QFile::copy(fixtures.filePath(name), contacts + QLatin1Char('/') + name);
        AddressBook::setSourcePaths({contacts});

        site = std::make_unique<LoopbackHttpServer>();
        ASSERT_TRUE(site->isListening());
    }

    // Environments end after the application object; the bus's process must end before,
    // and only once everything posted has left, or the bus thread meets a dead connection.
    void TearDown() override
    {
        DistributedNotificationCenter::defaultCenter().flush();
        bus.reset();
    }

    std::unique_ptr<PrivateSessionBus> bus;
    std::unique_ptr<LoopbackHttpServer> site;
    std::unique_ptr<TemporaryHome> home;
    QString contacts;
};

ControllerEnvironment *environment = static_cast<ControllerEnvironment *>(
    ::testing::AddGlobalTestEnvironment(new ControllerEnvironment));

/// A controller launched as `main` launches it, with no greeting to wait for.
std::unique_ptr<AppController> launchedController()
{
    // The version checker keeps the host it was made with: the site is a loopback one.
    RKWebsite::setHostname(QString::fromLatin1(environment->site->address().mid(7)));
    auto controller = std::make_unique<AppController>();
    RKWebsite::setHostname(QString());
    controller->awakeFromNib();
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setBool(false, DefShowSplash);
    // Activations add up over the tests; past a hundred the share prompt would greet a launch.
    defaults.setBool(true, DefHasPromptedToShare);
    controller->applicationDidFinishLaunching();
    return controller;
}

QStringList displayNames(const QList<PersonPtr> &persons)
{
    QStringList names;
    for (const PersonPtr &person : persons)
        names.append(PersonExtras::displayName(*person));
    return names;
}

class SearchWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The contacts load in the background; every test here starts once they are in.
        ASSERT_TRUE(waitUntil([this] { return controller.rkAddressBook().hasIndex(); }))
            << "the contacts were not in within 10 s";
        ASSERT_FALSE(window()->isVisible());
        ASSERT_FALSE(controller.isShowingPerson());
        // The home is the whole binary's: what one test picked must not order another's list.
        controller.matchOrdering().forget();
    }

    void activate()
    {
        controller.showSearchWindow();
        ASSERT_TRUE(window()->isVisible());
    }
    void type(const QString &text) { QTest::keyClicks(field(), text); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(field(), key, modifiers);
    }

    QWidget *window() const { return controller.mainWindow(); }
    SearchField *field() const { return controller.searchField(); }
    QString status() const { return controller.matchesLabel()->text(); }
    QSize size() const { return window()->size(); }
    int selectedRow() const { return controller.matchesTableView()->selectedRow(); }
    QString cardName() const
    {
        const PersonPtr person = controller.personView()->person();
        return person ? PersonExtras::displayName(*person) : QString();
    }
    QStringList matches() const
    {
        return controller.matchingPersons() ? displayNames(*controller.matchingPersons())
                                            : QStringList();
    }

    std::unique_ptr<AppController> launched = launchedController();
    AppController &controller = *launched;
};

const QStringList kSmiths = {QStringLiteral("Ann Smith"), QStringLiteral("Anna Smithers"),
                             QStringLiteral("John Quincy Smith")};

TEST_F(SearchWindow, ActivationShowsTheCollapsedWindowWithTheApplicationName)
{
    activate();
    EXPECT_EQ(size(), QSize(300, 62));
    EXPECT_EQ(status(), QStringLiteral("Brisko"));
    EXPECT_EQ(field()->placeholderText(), QStringLiteral("Search string"));
    // Nothing but the field and the label may show in the collapsed form.
    EXPECT_GE(controller.advertView()->y(), 62);
    EXPECT_GE(controller.personView()->y(), 62);
    EXPECT_EQ(window()->focusWidget(), field())
        << "the search field does not hold the keyboard focus";
}

TEST_F(SearchWindow, SingleMatchOpensTheCardWithoutReturn)
{
    activate();
    type(QStringLiteral("zephyr"));
    EXPECT_TRUE(controller.isShowingPerson());
    EXPECT_EQ(size(), QSize(400, 413));
    EXPECT_EQ(status(), QString());
    EXPECT_EQ(cardName(), QStringLiteral("Zoë Zephyrine"));
    EXPECT_TRUE(controller.personView()->headerLines().contains(QStringLiteral("Miller")));
    EXPECT_FALSE(controller.matchesTableIsVisible());
    EXPECT_FALSE(controller.matchesTableView()->isVisible());

    // Centred across the screen's free area, in its upper part.
    const QRect area = window()->screen()->availableGeometry();
    EXPECT_NEAR(window()->x(), area.x() + (area.width() - 400) / 2, 1);
    EXPECT_LT(window()->y() - area.y(), area.bottom() - window()->geometry().bottom());
}

TEST_F(SearchWindow, SeveralMatchesStayCollapsedUntilReturnOrTab)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
        SCOPED_TRACE(key);
        field()->clear();
        activate();
        type(QStringLiteral("smith"));
        EXPECT_EQ(status(), QStringLiteral("3 matches"));
        EXPECT_EQ(size(), QSize(300, 62));
        EXPECT_FALSE(controller.isShowingPerson());
        EXPECT_EQ(matches(), kSmiths);

        press(key);
        EXPECT_TRUE(controller.isShowingPerson());
        EXPECT_EQ(size(), QSize(550, 413));
        EXPECT_EQ(status(), QStringLiteral("3 matches"));
        EXPECT_TRUE(controller.matchesTableIsVisible());
        EXPECT_EQ(controller.matchesTableView()->model()->rowCount(), 3);
        EXPECT_EQ(selectedRow(), 0);
        EXPECT_EQ(cardName(), QStringLiteral("Ann Smith"));
        // Tab must not have moved the keyboard out of the search field.
        EXPECT_EQ(window()->focusWidget(), field());
        EXPECT_EQ(field()->text(), QStringLiteral("smith"));
    }
}

TEST_F(SearchWindow, TheListSlidesByAHundredBetweenItsTwoPlaces)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    ASSERT_TRUE(controller.matchesTableIsVisible());
    const int shownX = controller.matchesTableView()->x();
    EXPECT_TRUE(controller.matchesTableView()->isVisible());

    // Narrowing to one match slides the list out of view.
    type(QStringLiteral("ers"));
    EXPECT_EQ(matches(), QStringList{QStringLiteral("Anna Smithers")});
    EXPECT_EQ(size(), QSize(400, 413));
    EXPECT_FALSE(controller.matchesTableIsVisible());
    EXPECT_EQ(controller.matchesTableView()->x(), shownX + 100);

    // Back to several: the list slides in again, to the same place.
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    press(Qt::Key_Backspace);
    EXPECT_EQ(size(), QSize(550, 413));
    EXPECT_TRUE(controller.matchesTableIsVisible());
    EXPECT_EQ(controller.matchesTableView()->x(), shownX);
    EXPECT_EQ(cardName(), QStringLiteral("Ann Smith"));
}

TEST_F(SearchWindow, ArrowsWalkTheMatchesAndWrapAround)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    ASSERT_EQ(selectedRow(), 0);

    press(Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(cardName(), kSmiths[1]);
    press(Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 2);
    press(Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 0) << "down on the last row wraps to the first";
    EXPECT_EQ(cardName(), kSmiths[0]);
    press(Qt::Key_Up);
    EXPECT_EQ(selectedRow(), 2) << "up on the first row wraps to the last";
    EXPECT_EQ(controller.currentPersonIndex(), 2);
    EXPECT_EQ(cardName(), kSmiths[2]);
    EXPECT_EQ(field()->text(), QStringLiteral("smith"));
}

TEST_F(SearchWindow, ArrowsLeaveTheListAloneWhileCollapsedOrSlidOut)
{
    activate();
    type(QStringLiteral("smith"));
    const int rowBefore = selectedRow();
    press(Qt::Key_Down);
    press(Qt::Key_Up);
    EXPECT_EQ(selectedRow(), rowBefore);
    EXPECT_FALSE(controller.isShowingPerson());
    EXPECT_EQ(size(), QSize(300, 62));

    field()->clear();
    type(QStringLiteral("zephyr"));
    ASSERT_FALSE(controller.matchesTableIsVisible());
    press(Qt::Key_Down);
    EXPECT_EQ(controller.currentPersonIndex(), 0);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(cardName(), QStringLiteral("Zoë Zephyrine"));
}

TEST_F(SearchWindow, PersonsTheUserPicksComeFirstUntilTheHistoryIsForgotten)
{
    const auto score = [this](const QString &name) {
        for (const PersonPtr &person : AddressBook::sharedAddressBook().people()) {
            if (PersonExtras::displayName(*person) == name)
                return controller.matchOrdering().history().score(person->uniqueId(),
                                                                  QDateTime::currentDateTimeUtc());
        }
        return -1.0;
    };
    // Return opens the card: a pick. Walking the list only looks; Return on a row picks it.
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    EXPECT_NEAR(score(kSmiths[0]), 1.0, 0.01);
    EXPECT_EQ(score(kSmiths[1]), 0.0);
    activate();
    field()->clear();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    press(Qt::Key_Up);
    press(Qt::Key_Return);
    EXPECT_NEAR(score(kSmiths[0]), 2.0, 0.01);
    EXPECT_NEAR(score(kSmiths[2]), 1.0, 0.01);

    // A click on a row and an action on a card's row are picks too, once per showing.
    activate();
    field()->clear();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    EXPECT_EQ(matches(), (QStringList{kSmiths[0], kSmiths[2], kSmiths[1]}));
    MyTableView *table = controller.matchesTableView();
    const int anna = int(matches().indexOf(kSmiths[1]));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(table->model()->index(anna, 0)).center());
    ASSERT_EQ(cardName(), kSmiths[1]);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_NEAR(score(kSmiths[1]), 1.0, 0.01);
    // A new showing: the same row's action counts again.
    activate();
    field()->deselect();
    if (!controller.personView()->selectedRow())
        press(Qt::Key_Down, Qt::ControlModifier);
    ASSERT_NE(controller.personView()->selectedRow(), nullptr);
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_NEAR(score(kSmiths[1]), 2.0, 0.01);

    // The most picked first (Ann three times, Anna twice, John once), then by how the name
    // meets the word. The list is put in order as it shows: collapsed, typing pays for the
    // search alone.
    const auto listed = [this](const char *pattern) {
        field()->clear();
        type(QString::fromLatin1(pattern));
        press(Qt::Key_Return);
        return matches();
    };
    activate();
    EXPECT_EQ(listed("smith"), (QStringList{kSmiths[0], kSmiths[1], kSmiths[2]}));
    EXPECT_EQ(listed("jo").first(), kSmiths[2])
        << "the picked John before Joan, whose name starts so too";

    // The switch off: the names' order, heard as the pane's other switches are.
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setBool(false, DefOrderByRelevance);
    controller.preferenceDidChange();
    EXPECT_EQ(listed("jo").first(), QStringLiteral("Joan Baker"));
    defaults.setBool(true, DefOrderByRelevance);
    controller.preferenceDidChange();

    // The pane's "Forget Search History" reaches the running application over the bus.
    DistributedNotificationCenter pane;
    pane.postNotification(ControlCommands::NotificationName, ControlCommands::ForgetSearchHistory);
    ASSERT_TRUE(waitUntil([this] { return controller.matchOrdering().history().isEmpty(); }))
        << "the application did not forget within 10 s";
    EXPECT_EQ(listed("jo").first(), QStringLiteral("Joan Baker"));
    EXPECT_EQ(listed("smith"), kSmiths);
}

TEST_F(SearchWindow, ARowMatchedOnAnotherPropertySaysSoOnATallerRow)
{
    activate();
    type(QStringLiteral("mi"));
    press(Qt::Key_Return);
    MyTableView *table = controller.matchesTableView();
    const QAbstractItemModel *model = table->model();
    ASSERT_EQ(model->rowCount(), 4);
    const QModelIndex zoe = model->index(3, 0);
    EXPECT_EQ(zoe.data().toString(), QStringLiteral("Zoë Zephyrine"));
    EXPECT_EQ(zoe.data(Qt::AccessibleDescriptionRole).toString(),
              QStringLiteral("job title: Miller"));
    EXPECT_TRUE(model->index(0, 0).data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    EXPECT_GT(table->visualRect(zoe).height(), table->visualRect(model->index(0, 0)).height());
    // The card shows the person as ever.
    table->selectRow(3);
    EXPECT_EQ(cardName(), QStringLiteral("Zoë Zephyrine"));
}

TEST_F(SearchWindow, ClickingARowShowsItsPersonAndKeepsTypingInTheField)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    MyTableView *table = controller.matchesTableView();
    EXPECT_EQ(table->focusPolicy(), Qt::NoFocus);
    const QRect row = table->visualRect(table->model()->index(2, 0));
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(cardName(), kSmiths[2]);
    EXPECT_EQ(controller.currentPersonIndex(), 2);
    EXPECT_EQ(window()->focusWidget(), field());
    press(Qt::Key_Down);
    EXPECT_EQ(selectedRow(), 0);
}

TEST_F(SearchWindow, EscapeHidesAndTheNextActivationShowsTheSameSearch)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    press(Qt::Key_Escape);
    EXPECT_FALSE(window()->isVisible());

    activate();
    EXPECT_EQ(field()->text(), QStringLiteral("smith"));
    EXPECT_EQ(status(), QStringLiteral("3 matches"));
    EXPECT_EQ(size(), QSize(550, 413));
    EXPECT_TRUE(controller.isShowingPerson());
    EXPECT_EQ(matches(), kSmiths);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(cardName(), kSmiths[1]);
    // The last search comes back selected, so typing replaces it.
    EXPECT_EQ(field()->selectedText(), QStringLiteral("smith"));
    type(QStringLiteral("zephyr"));
    EXPECT_EQ(field()->text(), QStringLiteral("zephyr"));
}

TEST_F(SearchWindow, ReturnWithTheListShowingKeepsThePersonChosenInIt)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
        press(key);
        EXPECT_EQ(selectedRow(), 1);
        EXPECT_EQ(cardName(), kSmiths[1]);
    }
}

TEST_F(SearchWindow, TheCardsRowsAreReachedFromTheSearchField)
{
    activate();
    type(QStringLiteral("ann.smith"));
    ASSERT_EQ(cardName(), kSmiths[0]);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    ASSERT_NE(controller.personView()->selectedRow(), nullptr);
    EXPECT_TRUE(controller.personView()->selectedRow()->isHighlighted());
    // Ctrl+C copies the row unless text is selected in the field.
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ann.smith@example.org"));
    field()->selectAll();
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ann.smith"));

    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(controller.largeTypeWindow()->isVisible());
    EXPECT_EQ(controller.largeTypeWindow()->largeTypeView()->displayString().text,
              QStringLiteral("+44 20 7946 0011"));
    EXPECT_EQ(field()->text(), QStringLiteral("ann.smith"));
}

TEST_F(SearchWindow, ActivatingWithAnEmptyFieldCollapses)
{
    activate();
    type(QStringLiteral("zephyr"));
    ASSERT_EQ(size(), QSize(400, 413));
    press(Qt::Key_Escape);
    field()->selectAll();
    QTest::keyClick(field(), Qt::Key_Backspace);
    ASSERT_TRUE(field()->text().isEmpty());

    activate();
    EXPECT_EQ(size(), QSize(300, 62));
    EXPECT_EQ(status(), QStringLiteral("Brisko"));
    EXPECT_FALSE(controller.isShowingPerson());
    EXPECT_FALSE(controller.matchingPersons().has_value());

    // Return on an empty field expands nothing.
    press(Qt::Key_Return);
    EXPECT_EQ(size(), QSize(300, 62));
    EXPECT_FALSE(controller.isShowingPerson());
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(SearchWindow, NoMatchWhileExpandedClearsTheCardAndCollapses)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);
    ASSERT_FALSE(cardName().isEmpty());

    type(QStringLiteral("xq"));
    EXPECT_TRUE(controller.matchingPersons().has_value());
    EXPECT_TRUE(matches().isEmpty());
    EXPECT_EQ(controller.personView()->person(), nullptr);
    EXPECT_TRUE(controller.personView()->headerLines().isEmpty());
    EXPECT_FALSE(controller.isShowingPerson());
    EXPECT_EQ(size(), QSize(300, 62));
    EXPECT_EQ(status(), QStringLiteral("No match"));

    // Typing on in the collapsed window keeps saying so.
    type(QStringLiteral("z"));
    EXPECT_EQ(status(), QStringLiteral("No match"));
    EXPECT_EQ(size(), QSize(300, 62));
}

TEST_F(SearchWindow, EmptyingTheFieldWhileExpandedCollapsesWithTheApplicationName)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Tab);
    field()->selectAll();
    press(Qt::Key_Backspace);
    EXPECT_EQ(size(), QSize(300, 62));
    EXPECT_EQ(status(), QStringLiteral("Brisko"));
    EXPECT_EQ(controller.personView()->person(), nullptr);
}

TEST_F(SearchWindow, EachActivationAddsOneToTheActivationCountOnDisk)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const qint64 before = defaults.integerForKey(DefActivationCount);
    activate();
    activate();
    EXPECT_EQ(defaults.integerForKey(DefActivationCount), before + 2);

    // Written through at once, where another process reads it.
    const QVariantMap onDisk = UserDefaults::persistentDomainForName(defaults.domain());
    EXPECT_EQ(onDisk.value(DefActivationCount).toLongLong(), before + 2);
}

// A desktop portal can send thousands of presses at once; each waits for the one before, or
// they nest until the stack runs out.
TEST_F(SearchWindow, AFloodOfActivationsIsAnsweredOneAfterAnotherNeverNested)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const qint64 before = defaults.integerForKey(DefActivationCount);
    constexpr int Presses = 300;
    int depth = 0;
    int deepest = 0;
    int answered = 0;
    for (int i = 0; i < Presses; ++i) {
        QMetaObject::invokeMethod(
            &controller,
            [&] {
                deepest = std::max(deepest, ++depth);
                controller.showSearchWindow();
                --depth;
                ++answered;
            },
            Qt::QueuedConnection);
    }
    ASSERT_TRUE(waitUntil([&] { return answered == Presses; }, 60000));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(defaults.integerForKey(DefActivationCount), before + Presses);
    EXPECT_TRUE(window()->isVisible());

    // One that comes while the window is being brought up finds nothing left to do.
    controller.hideAllWindows();
    struct Reentering final : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Show)
                AppController::sharedController().showSearchWindow();
            return false;
        }
    } reentering;
    window()->installEventFilter(&reentering);
    activate();
    window()->removeEventFilter(&reentering);
    EXPECT_EQ(defaults.integerForKey(DefActivationCount), before + Presses + 1);
}

TEST_F(SearchWindow, LosingTheFocusHidesTheWindowAndKeepsTheSearch)
{
    activate();
    type(QStringLiteral("smith"));
    press(Qt::Key_Return);

    // The offscreen platform has no other application to give the focus to, so the test
    // announces what the platform announces when the user clicks into one.
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(waitUntil([this] { return !window()->isVisible(); }))
        << "the search window stayed up after the application lost the focus";
    EXPECT_EQ(field()->text(), QStringLiteral("smith"));
    EXPECT_EQ(status(), QStringLiteral("3 matches"));
    EXPECT_TRUE(controller.isShowingPerson());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
}

TEST_F(SearchWindow, FocusPassingBetweenOurOwnWindowsHidesNothing)
{
    activate();
    // Inactive for a moment, then active again before the event loop turns: one of our own
    // windows handing the focus to another.
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(SearchWindow, AnAddressBookChangedByAnotherProgramIsSearchedAfresh)
{
    activate();
    type(QStringLiteral("xanthippe"));
    ASSERT_EQ(status(), QStringLiteral("No match"));

    QFile card(environment->contacts + QStringLiteral("/zz-new.vcf"));
    ASSERT_TRUE(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Xanthippe;Thea;;;\r\nFN:Thea Xanthippe\r\n"
               "END:VCARD\r\n");
    card.close();
    AddressBook::sharedAddressBook().reload();
    // The index is brought up to date before anyone types, not by the next keystroke.
    EXPECT_TRUE(waitUntil([this] { return controller.rkAddressBook().isIndexCurrent(); }));

    field()->clear();
    type(QStringLiteral("xanthippe"));
    EXPECT_EQ(matches(), QStringList{QStringLiteral("Thea Xanthippe")});
    EXPECT_EQ(cardName(), QStringLiteral("Thea Xanthippe"));
}

TEST_F(SearchWindow, TheSearchOptionsFollowTheSettingsOnRefresh)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    auto search = [&](const QString &text) {
        field()->clear();
        type(text);
        return matches();
    };
    activate();
    EXPECT_EQ(search(QStringLiteral("zoe")), QStringList());
    EXPECT_EQ(search(QStringLiteral("7946-0011")), QStringList());

    defaults.setBool(true, DefIgnoreAccents);
    defaults.setBool(true, DefMatchPhoneDigits);
    controller.preferenceDidChange();
    ASSERT_TRUE(waitUntil([this] { return controller.rkAddressBook().isIndexCurrent(); }));
    EXPECT_EQ(search(QStringLiteral("zoe")), QStringList{QStringLiteral("Zoë Zephyrine")});
    EXPECT_EQ(search(QStringLiteral("7946-0011")), QStringList{QStringLiteral("Ann Smith")});

    defaults.setBool(false, DefIgnoreAccents);
    defaults.setBool(false, DefMatchPhoneDigits);
    controller.preferenceDidChange();
    ASSERT_TRUE(waitUntil([this] { return controller.rkAddressBook().isIndexCurrent(); }));
    EXPECT_EQ(search(QStringLiteral("zoe")), QStringList());
}

TEST_F(SearchWindow, LargeTypeTakesThePlaceOfTheSearchWindowUntilTheNextActivation)
{
    activate();
    type(QStringLiteral("zephyr"));
    controller.showStringInLargeType(QStringLiteral("+44 20 7946 0011"));
    LargeTypeWindow *largeType = controller.largeTypeWindow();
    EXPECT_FALSE(window()->isVisible());
    EXPECT_TRUE(largeType->isVisible());
    EXPECT_EQ(largeType->largeTypeView()->displayString().text, QStringLiteral("+44 20 7946 0011"));

    activate();
    EXPECT_FALSE(largeType->isVisible());
    EXPECT_EQ(cardName(), QStringLiteral("Zoë Zephyrine"));
    controller.showStringInLargeType(QStringLiteral("x"));
    controller.hideApp();
    EXPECT_FALSE(largeType->isVisible());
}

TEST_F(SearchWindow, ReopeningShowsTheWindowOnlyWhenNoneIsVisible)
{
    EXPECT_FALSE(controller.applicationShouldHandleReopen(false));
    EXPECT_TRUE(window()->isVisible());
    controller.hideApp();
    EXPECT_FALSE(controller.applicationShouldHandleReopen(true));
    EXPECT_FALSE(window()->isVisible());
}

/// Presses the button titled `title` on the next modal panel, and notes what the panel said.
struct PanelAnswer
{
    QString text;
    QString informativeText;
    QStringList buttons;
    int alertPanelsWhileUp = -1;
};

/// Notes what the next modal panel says, then lets `answer` end it.
void answerNextPanel(const std::function<void(QMessageBox *)> &answer, PanelAnswer *noted)
{
    answerNextModal<QMessageBox>([answer, noted](QMessageBox *panel) {
        noted->text = panel->text();
        noted->informativeText = panel->informativeText();
        noted->alertPanelsWhileUp = AppController::sharedController().numAlertPanel();
        for (QAbstractButton *button : panel->buttons())
            noted->buttons.append(button->text());
        answer(panel);
    });
}

void answerNextPanel(const QString &title, PanelAnswer *noted)
{
    answerNextPanel(
        [title](QMessageBox *panel) {
            for (QAbstractButton *button : panel->buttons()) {
                if (button->text() == title) {
                    button->click();
                    return;
                }
            }
            panel->reject();
        },
        noted);
}

TEST_F(SearchWindow, TheSharePromptOpensTheChosenPageOrNothing)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));

    PanelAnswer shared;
    answerNextPanel(QStringLiteral("Share on Facebook"), &shared);
    controller.runShareOrReviewPrompt();
    EXPECT_EQ(shared.text, QStringLiteral("Thank you for choosing Brisko"));
    EXPECT_TRUE(shared.informativeText.contains(QStringLiteral("getting the word out.  Please")));
    EXPECT_EQ(shared.buttons.size(), 3);
    EXPECT_EQ(shared.alertPanelsWhileUp, 1);
    EXPECT_EQ(controller.numAlertPanel(), 0);
    ASSERT_EQ(workspace->requests.size(), 1);
    const QUrl share(workspace->requests.takeFirst().target);
    EXPECT_EQ(share.host(), QStringLiteral("www.facebook.com"));
    EXPECT_EQ(share.path(), QStringLiteral("/share.php"));
    // One query value: the product page with "?fb" on it, encoded whole.
    EXPECT_EQ(share.query(QUrl::FullyEncoded),
              QStringLiteral("u=http%3A%2F%2Fwww.ambertide.com%2Fbrisko%2F%3Ffb"));

    PanelAnswer reviewed;
    answerNextPanel(QStringLiteral("Post Review"), &reviewed);
    controller.runShareOrReviewPrompt();
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests.takeFirst().target,
              QStringLiteral("http://www.ambertide.com/brisko/vt/"));

    PanelAnswer closed;
    answerNextPanel(QStringLiteral("Close"), &closed);
    controller.runShareOrReviewPrompt();
    EXPECT_EQ(closed.buttons.size(), 3) << "the panel did not come up";
    EXPECT_TRUE(workspace->requests.isEmpty());

    Workspace::setShared(nullptr);
}

QAction *menuItem(AppController &controller, const QString &title)
{
    for (QAction *action : controller.menuButton()->contextMenu()->actions()) {
        if (action->text() == title)
            return action;
    }
    return nullptr;
}

TEST_F(SearchWindow, MenuItemsHideTheWindowAndAskForTheirPages)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));

    // A preferences host that takes as long as the test likes: it says the pane is shown (and
    // ends) only once a file "go" appears, and fails when "fail" is there instead.
    QTemporaryDir bin;
    QFile host(bin.filePath(QStringLiteral("brisko-preferences")));
    ASSERT_TRUE(host.open(QIODevice::WriteOnly));
    host.write("#!/bin/sh\ncd \"$(dirname \"$0\")\"\necho \"$*\" >> asked\n"
               "while [ ! -e go ] && [ ! -e fail ]; do sleep 0.02; done\n"
               "rm -f go; [ ! -e fail ]\n");
    host.close();
    host.setPermissions(host.permissions() | QFileDevice::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + savedPath);
    const auto asked = [&bin] {
        QFile file(bin.filePath(QStringLiteral("asked")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const auto release = [&bin](const char *name) {
        QFile(bin.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    };

    QList<QVariantMap> tabs;
    QObject observer;
    DistributedNotificationCenter &center = DistributedNotificationCenter::defaultCenter();
    center.addObserver(&observer, ControlCommands::NotificationName, ControlCommands::SetTab,
                       [&tabs](const DistributedNotification &n) { tabs.append(n.userInfo); });
    bool marked = false;
    center.addObserver(&observer, ControlCommands::NotificationName, QStringLiteral("marker"),
                       [&marked](const DistributedNotification &) { marked = true; });
    ASSERT_TRUE(center.flush());
    // Whatever the application posted before the marker has arrived once the marker has.
    const auto settle = [&] {
        marked = false;
        center.postNotification(ControlCommands::NotificationName, QStringLiteral("marker"));
        return waitUntil([&marked] { return marked; });
    };

    activate();
    ASSERT_NE(menuItem(controller, QStringLiteral("Help")), nullptr);
    menuItem(controller, QStringLiteral("Help"))->trigger();
    EXPECT_FALSE(window()->isVisible());
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_TRUE(workspace->requests.first().target.endsWith(QStringLiteral("/brisko/help/")))
        << qPrintable(workspace->requests.first().target);

    const struct
    {
        const char *item;
        const char *tab;
    } items[] = {{"Preferences", "preferences"}, {"About Brisko", "about"}};
    for (const auto &item : items) {
        activate();
        tabs.clear();
        QFile::remove(bin.filePath(QStringLiteral("asked")));
        menuItem(controller, QString::fromLatin1(item.item))->trigger();
        EXPECT_FALSE(window()->isVisible()) << item.item;
        ASSERT_TRUE(waitUntil([&] { return !asked().isEmpty(); })) << "the host was not asked";
        EXPECT_EQ(asked(), QStringLiteral("--show-pane com.ambertide.BriskoPane\n"));
        ASSERT_TRUE(settle());
        EXPECT_TRUE(tabs.isEmpty()) << "the tab was asked for before the host showed the pane";

        release("go");
        ASSERT_TRUE(waitUntil([&tabs] { return tabs.size() == 1; })) << item.item;
        EXPECT_EQ(tabs.first().value(QStringLiteral("identifier")).toString(),
                  QString::fromLatin1(item.tab));
    }

    // A host that cannot show the pane gets asked for no tab.
    tabs.clear();
    release("fail");
    activate();
    menuItem(controller, QStringLiteral("About Brisko"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return asked().count(QLatin1Char('\n')) == 2; }));
    // Until the host has ended and the application has seen it, nothing could have been sent.
    ASSERT_TRUE(waitUntil([this] { return controller.findChildren<QProcess *>().isEmpty(); }));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(tabs.isEmpty());

    qputenv("PATH", savedPath);
    Workspace::setShared(nullptr);
}

TEST_F(SearchWindow, TheStoredHotKeyIsRegisteredAndAChangedOneReplacesIt)
{
    HotKeyCenter *center = HotKeyCenter::sharedCenter();
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const KeyCombo factory = UserDefaultsExtras::keyComboForKey(defaults, DefHotKey);
    ASSERT_EQ(factory, KeyCombo(49, KeyCombo::controlKey | KeyCombo::optionKey));
    EXPECT_EQ(center->keyComboForName(QStringLiteral("HotKey")), factory);

    const KeyCombo controlShiftK(40, KeyCombo::controlKey | KeyCombo::shiftKey);
    UserDefaultsExtras::setKeyCombo(defaults, controlShiftK, DefHotKey);
    controller.preferenceDidChange();
    EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
    EXPECT_EQ(center->keyComboForName(QStringLiteral("HotKey")), controlShiftK);

    // A value that is no combination leaves the application with the factory key, not none.
    defaults.setObject(QByteArray("not an archive"), DefHotKey);
    controller.preferenceDidChange();
    EXPECT_EQ(center->keyComboForName(QStringLiteral("HotKey")), factory);

    UserDefaultsExtras::setKeyCombo(defaults, factory, DefHotKey);
    controller.preferenceDidChange();
}

/// The account of click-to-call, pointed at `service`, for as long as the object lives.
class VonageAccount final
{
public:
    explicit VonageAccount(const LoopbackHttpServer &service)
    {
        ClickToCallService::setServiceAddress(QString::fromLatin1(service.address()));
        defaults.setObject(QStringLiteral("ann"), DefVonageName);
        defaults.setObject(QStringLiteral("se&cret"), DefVonagePassword);
        defaults.setObject(QStringLiteral("15550001111"), DefSelectedVonageNumber);
    }
    ~VonageAccount()
    {
        ClickToCallService::setServiceAddress(QString());
        for (const QString &key : {DefVonageName, DefVonagePassword, DefSelectedVonageNumber})
            defaults.removeObjectForKey(key);
    }
    VonageAccount(const VonageAccount &) = delete;
    VonageAccount &operator=(const VonageAccount &) = delete;

private:
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
};

TEST_F(SearchWindow, DialingAsksTheServiceAndTheStatusLineTellsTheOutcome)
{
    LoopbackHttpServer service;
    ASSERT_TRUE(service.isListening());
    const VonageAccount account(service);
    activate();
    const auto dial = [this](const QString &number) {
        controller.dialWithVonage(number);
        EXPECT_EQ(status(), QStringLiteral("Dialing ..."));
        EXPECT_TRUE(waitUntil([this] { return status() != QStringLiteral("Dialing ..."); }))
            << "no outcome within 5 s";
        return status();
    };

    service.setAnswer(200, "000 call placed");
    EXPECT_EQ(dial(QStringLiteral("(555) 123-4567")), QString());
    ASSERT_EQ(service.requestTargets().size(), 1);
    EXPECT_EQ(service.requestTargets().first(),
              QByteArray("/tpcc/makecall?username=ann&password=se%26cret&fromnumber=15550001111"
                         "&tonumber=5551234567"));

    service.setAnswer(200, "401 bad login");
    EXPECT_EQ(dial(QStringLiteral("555 0100")), QStringLiteral("Failed (error 401)"));
    service.setAnswer(200, "12a");
    EXPECT_EQ(dial(QStringLiteral("555 0100")), QStringLiteral("Failed (error 12)"));
    // A service that cannot be asked placed no call, and must not look as if it had.
    service.setAnswer(503, "000");
    EXPECT_EQ(dial(QStringLiteral("555 0100")), QStringLiteral("Failed (no answer)"));
    // Nor must a login page that something on the way put in the service's place.
    service.setAnswer(200, "<html>Sign in to the Wi-Fi</html>");
    EXPECT_EQ(dial(QStringLiteral("555 0100")), QStringLiteral("Failed (no answer)"));
}

TEST_F(SearchWindow, WhileTheServiceKeepsACallWaitingTheApplicationAnswersAndSaysItIsDialing)
{
    LoopbackHttpServer service;
    ASSERT_TRUE(service.isListening());
    service.setSilent(true);
    const VonageAccount account(service);
    activate();
    controller.dialWithVonage(QStringLiteral("555 0100"));
    ASSERT_TRUE(waitUntil([&] { return service.holdsOpenRequest(); }));

    // What `brisko-ctl ping` asks, from another connection to the bus.
    DistributedNotificationCenter pane;
    QObject context;
    bool answered = false;
    pane.addObserver(&context, ControlCommands::NotificationName, ControlCommands::AppDidLaunch,
                     [&](const DistributedNotification &) { answered = true; });
    ASSERT_TRUE(pane.flush());
    pane.postNotification(ControlCommands::NotificationName, ControlCommands::ControlDidStart);
    EXPECT_TRUE(waitUntil([&] { return answered; })) << "a ping went unanswered while dialing";
    EXPECT_TRUE(service.holdsOpenRequest());
    EXPECT_EQ(status(), QStringLiteral("Dialing ..."));

    service.setAnswer(200, "000 call placed");
    service.releaseHeldRequests();
    EXPECT_TRUE(waitUntil([this] { return status().isEmpty(); })) << qPrintable(status());
}

TEST_F(SearchWindow, UpdateCheckTellsWhetherANewerVersionExistsAndOffersItsPage)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    LoopbackHttpServer &site = *environment->site;

    site.setAnswer(200, "404");
    controller.versionChecker().clearCache();
    activate();
    PanelAnswer newer;
    answerNextPanel(QStringLiteral("Visit Website"), &newer);
    controller.checkForUpdates();
    EXPECT_FALSE(window()->isVisible());
    EXPECT_EQ(newer.text, QStringLiteral("New Version Available!"));
    EXPECT_EQ(newer.informativeText, QStringLiteral("Brisko 4.0.4 is now available for download."));
    EXPECT_EQ(newer.alertPanelsWhileUp, 1);
    EXPECT_EQ(controller.numAlertPanel(), 0);
    ASSERT_EQ(workspace->requests.size(), 1);
    EXPECT_EQ(workspace->requests.takeFirst().target,
              RKWebsite::urlForProductId(RKWebsite::Brisko).toString());

    site.setAnswer(200, "403");
    controller.versionChecker().clearCache();
    PanelAnswer latest;
    answerNextPanel(QStringLiteral("OK"), &latest);
    controller.checkForUpdates();
    EXPECT_EQ(latest.text, QStringLiteral("Latest Version"));
    EXPECT_EQ(latest.informativeText,
              QStringLiteral("You are currently running Brisko 4.0.3, the latest version "
                             "available."));
    EXPECT_EQ(latest.buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Visit Website")}));
    EXPECT_TRUE(workspace->requests.isEmpty());

    site.setAnswer(200, QByteArray());
    controller.versionChecker().clearCache();
    Workspace::setShared(nullptr);
}

// A check that could not ask the site knows nothing of newer versions and must say so; and no
// way of leaving an alert but its button may open the site.
TEST_F(SearchWindow, AFailedUpdateCheckSaysSoAndOnlyItsButtonOpensThePage)
{
    auto recording = std::make_unique<RecordingWorkspace>();
    RecordingWorkspace *workspace = recording.get();
    Workspace::setShared(std::move(recording));
    LoopbackHttpServer &site = *environment->site;
    const auto check = [this](const std::function<void(QMessageBox *)> &answer) {
        controller.versionChecker().clearCache();
        PanelAnswer noted;
        answerNextPanel(answer, &noted);
        controller.checkForUpdates();
        return noted;
    };

    const struct
    {
        const char *what;
        std::function<void()> arrange;
        QString reason;
    } failures[] = {
        {"refused", [] { VersionChecker::setServiceAddress(QStringLiteral("http://127.0.0.1:1")); },
         QStringLiteral("port 1")},
        {"status 500", [&site] { site.setAnswer(500, "404"); }, QStringLiteral("500")},
        {"timed out",
         [this, &site] {
             site.setSilent(true);
             controller.versionChecker().setTimeout(1);
         },
         QStringLiteral("timed out")},
    };
    for (const auto &[what, arrange, reason] : failures) {
        arrange();
        const PanelAnswer failed = check([](QMessageBox *panel) { panel->reject(); });
        EXPECT_EQ(failed.text.toStdString(), "Update Check Failed") << what;
        EXPECT_TRUE(failed.informativeText.contains(reason)) << qPrintable(failed.informativeText);
        VersionChecker::setServiceAddress(QString());
    }
    site.setSilent(false);
    controller.versionChecker().setTimeout(VersionChecker::kFetchTimeoutSeconds);

    // Escape, and closing the alert as logging out or "Shutdown" does, mean "OK".
    site.setAnswer(200, "403");
    const std::function<void(QMessageBox *)> dismissals[] = {
        [](QMessageBox *panel) { QTest::keyClick(panel, Qt::Key_Escape); },
        [](QMessageBox *panel) { panel->close(); },
    };
    for (const auto &dismiss : dismissals)
        EXPECT_EQ(check(dismiss).text.toStdString(), "Latest Version");
    EXPECT_TRUE(workspace->requests.isEmpty()) << qPrintable(workspace->requests.first().target);

    site.setAnswer(200, QByteArray());
    controller.versionChecker().clearCache();
    Workspace::setShared(nullptr);
}

// A buried alert must come forward when the user asks for the application, or the hot key
// seems dead; the search window stays away meanwhile.
TEST_F(SearchWindow, AskingForTheApplicationWhileAnAlertIsOpenBringsTheAlertForward)
{
    environment->site->setAnswer(200, "403");
    controller.versionChecker().clearCache();
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    const qint64 activations = defaults.integerForKey(DefActivationCount);
    const struct
    {
        const char *what;
        std::function<void()> ask;
    } ways[] = {
        {"the hot key", [this] { controller.showSearchWindow(); }},
        {"CheckForUpdates",
         [] {
             DistributedNotificationCenter::defaultCenter().postNotification(
                 ControlCommands::NotificationName, ControlCommands::CheckForUpdates);
         }},
    };
    QWidget elsewhere;
    elsewhere.show();
    PanelAnswer noted;
    answerNextPanel(
        [&](QMessageBox *panel) {
            for (const auto &[what, ask] : ways) {
                elsewhere.activateWindow();
                EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &elsewhere; }))
                    << what;
                ask();
                EXPECT_TRUE(waitUntil([&] { return QApplication::activeWindow() == panel; }))
                    << what << ": the alert stayed buried";
                EXPECT_FALSE(window()->isVisible()) << what;
            }
            panel->buttons().first()->click();
        },
        &noted);
    controller.checkForUpdates();
    EXPECT_EQ(noted.text.toStdString(), "Latest Version");
    EXPECT_EQ(defaults.integerForKey(DefActivationCount), activations);
    environment->site->setAnswer(200, QByteArray());
    controller.versionChecker().clearCache();
}

TEST(ControllerLifetime, AnEndedControllerLeavesNoHotKeyNorWindowNorPendingCallBehind)
{
    HotKeyCenter *center = HotKeyCenter::sharedCenter();
    const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
    {
        const std::unique_ptr<AppController> controller = launchedController();
        EXPECT_EQ(&AppController::sharedController(), controller.get());
        EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
        controller->showSearchWindow();
        controller->showStringInLargeType(QStringLiteral("x"));
        // A loss of focus is looked at once the event loop turns, by then without a controller.
        Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(center->allNames().isEmpty()) << "the hot key outlived its controller";
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);

    // The next launch starts as the first did.
    const std::unique_ptr<AppController> again = launchedController();
    EXPECT_EQ(center->allNames(), QStringList{QStringLiteral("HotKey")});
    again->showSearchWindow();
    EXPECT_TRUE(again->mainWindow()->isVisible());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
}

TEST(ControllerLifetime, ASecondControllerWhileOneLivesIsRefused)
{
    const std::unique_ptr<AppController> first = launchedController();
    EXPECT_DEATH({ AppController second; }, "a second application controller");
    EXPECT_EQ(&AppController::sharedController(), first.get());
}

} // namespace
