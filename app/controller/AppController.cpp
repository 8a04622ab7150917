// SPDX-License-Identifier: MIT
#include "app/controller/AppController.h"

#include "app/card/MyTableView.h"
#include "app/card/PersonView.h"
#include "app/chrome/FramelessWindow.h"
#include "app/chrome/LargeTypeWindow.h"
#include "app/chrome/MenuButton.h"
#include "app/chrome/SplashWindow.h"
#include "app/chrome/WindowAppearance.h"
#include "app/chrome/WindowExtras.h"
#include "app/controller/MatchOrdering.h"
#include "app/controller/MatchRowDelegate.h"
#include "app/controller/MatchesTableModel.h"
#include "app/controller/SearchPanel.h"
#include "app/controller/UpdateCheck.h"
#include "app/controller/VonageDialer.h"
#include "app/hotkey/HotKeyCenter.h"
#include "app/hotkey/HotKeyNotices.h"
#include "app/hotkey/StoredHotKey.h"
#include "app/script/PreferencePaneOpener.h"
#include "app/script/TellApplication.h"
#include "app/search/RKAddressBook.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/RKWebsite.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/hotkey/gnome/GnomeCustomShortcut.h"
#include "platform/hotkey/portal/PortalHotKeyBackend.h"
#include "platform/settings/UserDefaults.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLoggingCategory>
#include <QPalette>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// The launch's milestones, for measuring it: QT_LOGGING_RULES="brisko.launch.info=true".
Q_LOGGING_CATEGORY(lcLaunch, "brisko.launch", QtWarningMsg)

UserDefaults &defaults()
{
    return UserDefaults::standardUserDefaults();
}

const QString kHotKeyName = QStringLiteral("HotKey");

HotKeyNotices &hotKeyNotices()
{
    static HotKeyNotices notices;
    return notices;
}

/// The stored hot key, or the factory one when what is stored cannot be used (said once).
KeyCombo activationHotKey()
{
    QString problem;
    const KeyCombo combo = StoredHotKey::read(defaults(), DefHotKey, &problem);
    if (!problem.isEmpty())
        hotKeyNotices().settingUnusable(problem);
    return combo;
}

AppController *liveController = nullptr;

} // namespace

AppController &AppController::sharedController()
{
    if (!liveController)
        qFatal("Brisko: the application controller was asked for before main created it");
    return *liveController;
}

AppController::AppController()
{
    // Refused before anything is built: a second controller would take the hot key and the
    // control channel from the first.
    if (liveController)
        qFatal("Brisko: a second application controller was created while one lives");
    liveController = this;

    _rkAddressBook = std::make_unique<RKAddressBook>(AddressBook::sharedAddressBook());
    _matchOrdering = std::make_unique<MatchOrdering>();
    _updateCheck = new UpdateCheck(*this, RKWebsite::hostname(), _appName(), kVersion,
                                   kVersionCheckIntervalDays, this);
    _greeter = new LaunchGreeter(*this, *_updateCheck, this);
    connect(_updateCheck, &UpdateCheck::launchCheckDidEnd, _greeter, &LaunchGreeter::greetWhenDue);
    _controlNotifications = new ControlNotifications(*this, nullptr, nullptr, this);
    _checkForUpdatesAutomatically();
    // The contacts load on another thread from the first use of the address book on, so
    // the hot key is there at once; the search index follows them, also away from here.
    AddressBook &addressBook = AddressBook::sharedAddressBook();
    connect(&addressBook, &AddressBook::databaseChangedExternally, this,
            &AppController::addressBookChanged);
    connect(&addressBook, &AddressBook::loaded, _rkAddressBook.get(),
            &RKAddressBook::updateIndexInBackground);
    connect(_rkAddressBook.get(), &RKAddressBook::indexChanged, this, [this] {
        // Results are made of the index's persons: picks are looked for among them. The names
        // of the result at hand would keep the old index alive.
        _matchOrdering->personsChanged([this](const QSet<QString> &ids) {
            return _rkAddressBook->indexedPersonsWithIds(ids);
        });
        _matchNames = FoldedNames();
        _matchesModel->dropFoldedNames();
        _searchIndexChanged();
    });
    if (addressBook.isLoaded())
        _rkAddressBook->updateIndexInBackground();
    _buildMainWindow();
    _dialer = new VonageDialer([this](const QString &text) { _setStatusText(text); }, this);

    // Another program taking the focus makes the application inactive. The check waits for
    // the event loop so that focus passing between two of our own windows, which may leave
    // the application inactive for a moment, hides nothing.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    _state.becameActive();
                    return;
                }
                _state.becameInactive();
                QTimer::singleShot(0, this, [this] {
                    if (_state.shouldResignHide())
                        applicationDidResignActive();
                });
            });

    // A hot key that does not work is told to the user, and to the splash if it is still up:
    // a desktop portal may answer only after the splash has appeared.
    connect(HotKeyCenter::sharedCenter(), &HotKeyCenter::registrationFailed, this,
            [this](const QString &name, const KeyCombo &combo, const HotKeyFailure &failure) {
                if (name != kHotKeyName)
                    return;
                hotKeyNotices().registrationFailed(combo, failure);
                if (splashWindow()->isVisible())
                    splashWindow()->setNote(HotKeyNotices::splashNote(failure));
            });
}

AppController::~AppController()
{
    // The center outlives every controller: a key left registered would grab the keyboard
    // for nobody.
    HotKeyCenter::sharedCenter()->removeHotKey(kHotKeyName);
    _mainWindow->close();
    _largeTypeWindow->close();
    splashWindow()->close();
    liveController = nullptr;
}

void AppController::_buildMainWindow()
{
    _mainWindow = std::make_unique<FramelessWindow>();
    _mainWindow->setWindowTitle(_appName());
    auto *layout = new QVBoxLayout(_mainWindow.get());
    layout->setContentsMargins(0, 0, 0, 0);
    _panel = new SearchPanel(_mainWindow.get());
    _panel->personView()->setActions(this);
    layout->addWidget(_panel);
    _mainWindow->resize(kCollapsedWidth, kCollapsedHeight + _panel->extraHeight());
    _largeTypeWindow = std::make_unique<LargeTypeWindow>();

    _matchesModel = new MatchesTableModel(this);
    MyTableView *table = _panel->matchesTable();
    table->setModel(_matchesModel);
    table->setItemDelegate(new MatchRowDelegate(table));
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AppController::tableViewSelectionDidChange);
    // A click chooses a person as Return does; walking the list with the arrows only looks.
    connect(table, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { _pick(_state.personAt(index.row())); });
    connect(_panel->personView(), &PersonView::personActedOn, this,
            [this] { _pick(_panel->personView()->person()); });

    MenuButton *menu = _panel->menuButton();
    connect(menu, &MenuButton::showAbout, this, &AppController::showAbout);
    connect(menu, &MenuButton::showPreference, this, &AppController::showPreference);
    connect(menu, &MenuButton::showHelp, this, &AppController::showHelp);
    // "Quit Brisko" quits the application, whose aboutToQuit runs applicationWillTerminate.

    SearchField *field = _panel->searchField();
    connect(field, &QLineEdit::textChanged, this, &AppController::search);
    field->setCommandHandler(
        [this](SearchField::Command command) { return doCommandBySelector(command); });
    _setStatusText(_idleStatusText());
}

void AppController::awakeFromNib()
{
    if (!UserDefaultsExtras::registerDefaultsWithResource(defaults(),
                                                          QStringLiteral("FactoryDefaults")))
        qWarning("Brisko: the factory settings could not be read from the application bundle");
}

void AppController::applicationDidFinishLaunching()
{
    WindowAppearance::applySearchWindowAppearance(_mainWindow.get());
    MyTableView *table = _panel->matchesTable();
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, WindowAppearance::searchWindowBackgroundColor());
    table->setPalette(palette);
    WindowAppearance::applyLargeTypeAppearance(
        _largeTypeWindow.get(), UserDefaultsExtras::colorForKey(defaults(), DefLargeTypeBgColor));
    WindowAppearance::applySplashAppearance(splashWindow());

    _panel->advertView()->setShortVersion(true);
    _panel->advertView()->setProductId(_randomProductId());

    preferenceDidChange();
    qCInfo(lcLaunch, "hot key registered");

    // The launch check answers in its own time. The greeting waits for it, so that it never
    // comes up over its alert; the hot key above and the control channel below do not.
    _greeter->launchDidFinish();

    _controlNotifications->applicationDidFinishLaunching();
}

void AppController::_alertDidEnd()
{
    _state.alertClosed();
    // From the event loop: the greeting may run a panel of its own, which must not nest in
    // the code that ran this one.
    QTimer::singleShot(0, _greeter, &LaunchGreeter::greetWhenDue);
}

void AppController::showSearchWindow()
{
    // A press that comes while the window is being brought up (a desktop portal may send a
    // flood of them) finds nothing left to do.
    if (_showingSearchWindow)
        return;
    const QScopedValueRollback showing(_showingSearchWindow, true);
    // Only a window that had the focus can lose it to another program. A loss of focus that
    // reaches us after the window was brought up again, but before it has the focus (a press
    // through the desktop portal comes in no order with the window system's events, and the
    // fade lets both in), is one from before: it must not hide the window again.
    _state.shown();
    _matchOrdering->windowShown();
    if (_state.hasOpenAlert()) {
        _activateApplication();
        return;
    }
    _hideSecondaryWindows();

    SearchField *field = _panel->searchField();
    if (field->text().isEmpty())
        minimizeMainWindow();
    else if (!_mainWindow->isVisible())
        // Kept in its form, but brought to the screen under the pointer.
        _placeMainWindow(QSizeF(_mainWindow->size()));
    field->setFocus(Qt::OtherFocusReason);
    // The last search comes back selected, so typing replaces it.
    field->selectAll();
    WindowExtras::fadeIn(_mainWindow.get());
    _activateApplication();
    qCInfo(lcLaunch, "search window shown");
    UserDefaultsExtras::incrementIntegerForKey(defaults(), DefActivationCount);
}

void AppController::search()
{
    _setSearchString(_panel->searchField()->text());
}

void AppController::_setSearchString(const QString &string)
{
    std::optional<QList<PersonPtr>> result;
    _matchNames = FoldedNames();
    // While the contacts load the text waits in the field; it is searched once they are in.
    if (!string.isEmpty() && !_isLoadingContacts()) {
        result = _rkAddressBook->personsMatchingPattern(string);
        _matchNames = _rkAddressBook->foldedNamesOf(string);
    }
    // Only a list on screen needs an order: while the window stays collapsed a keystroke costs
    // the search alone, and showPerson() puts in order what it shows.
    _matchesInOrder = false;
    _setMatchingPersons(std::move(result));

    const int count = _state.matchCount();
    if (_state.isShowingPerson()) {
        _putMatchesInOrder();
        _reloadMatchesTable();
        if (count == 1) {
            showPerson();
        } else if (count == 0) {
            _panel->personView()->setPerson(nullptr);
            minimizeMainWindow();
            // Collapsing names the application, but a search that found nobody must say
            // so, as it does when the window was collapsed already.
            _showMatchCount();
        } else {
            showPerson();
            _panel->matchesTable()->selectRow(0);
            _panel->personView()->setPerson(_state.matchingPersons()->first());
        }
    } else if (count == 1) {
        // A single match opens the card by itself.
        showPerson();
    }
}

void AppController::_setMatchingPersons(std::optional<QList<PersonPtr>> persons)
{
    _state.setMatchingPersons(std::move(persons));
    _showMatchCount();
}

void AppController::_showMatchCount()
{
    const std::optional<QList<PersonPtr>> &persons = _state.matchingPersons();
    if (!persons)
        _setStatusText(_idleStatusText());
    else if (persons->isEmpty())
        _setStatusText(tr("No match"));
    else if (persons->size() == 1)
        _setStatusText(QString());
    else
        _setStatusText(tr("%1 matches").arg(persons->size()));
}

void AppController::showPerson()
{
    _state.cardShown();
    if (_panel->searchField()->text().isEmpty() || _state.matchCount() == 0) {
        showSearchWindow();
        return;
    }

    _putMatchesInOrder();
    const PersonPtr first = _state.matchingPersons()->first();
    _state.firstPersonShown();
    _reloadMatchesTable();
    _panel->matchesTable()->selectRow(0);
    _panel->personView()->setPerson(first);

    if (_state.matchCount() == 1) {
        _setMatchesTableVisible(false);
        _centerMainWindow(QSize(kSingleMatchWidth, kExpandedHeight) +
                          _panel->expandedExtraSize(false));
    } else {
        _setMatchesTableVisible(true);
        _centerMainWindow(QSize(kSeveralMatchesWidth, kExpandedHeight) +
                          _panel->expandedExtraSize(true));
    }
    _panel->personView()->setPerson(first);
}

void AppController::_setMatchesTableVisible(bool visible)
{
    if (_state.matchesTableIsVisible() == visible)
        return;
    MyTableView *table = _panel->matchesTable();
    table->move(table->x() + (visible ? -kMatchesTableSlide : kMatchesTableSlide), table->y());
    // Slid out, the list rests under the card, whose panel is translucent: hide it as well.
    table->setVisible(visible);
    _state.matchesTableShown(visible);
    _mainWindow->update();
}

void AppController::minimizeMainWindow()
{
    _centerMainWindow(QSize(kCollapsedWidth, kCollapsedHeight));
    _state.collapsed();
    _setStatusText(_idleStatusText());
}

bool AppController::doCommandBySelector(SearchField::Command command)
{
    switch (command) {
    case SearchField::Command::InsertNewline:
    case SearchField::Command::InsertTab:
        // With the list showing, the person picked in it stays on the card.
        if (!_state.isChoosingFromTheList())
            showPerson();
        // Opening the card, or choosing from the list, is the user's pick.
        if (_state.isShowingPerson())
            _pick(_panel->personView()->person());
        return true;
    case SearchField::Command::CancelOperation:
        hideApp();
        return true;
    case SearchField::Command::ShowMenu:
        _panel->menuButton()->popUpMenuFromKeyboard();
        return true;
    case SearchField::Command::MoveUp:
    case SearchField::Command::MoveDown:
        break;
    case SearchField::Command::NextCardRow:
    case SearchField::Command::PreviousCardRow:
    case SearchField::Command::OpenCardRow:
    case SearchField::Command::CopyCardRow:
    case SearchField::Command::CardRowMenu:
        return _doCardCommand(command);
    }

    if (!_state.walksTheList())
        return false;
    if (_state.matchCount() == 0)
        return true;
    const int row = command == SearchField::Command::MoveUp ? _state.moveUp() : _state.moveDown();
    // The card follows through the selection change.
    _panel->matchesTable()->selectRow(row);
    return true;
}

bool AppController::_doCardCommand(SearchField::Command command)
{
    if (!_state.isShowingPerson())
        return false;
    PersonView *card = _panel->personView();
    switch (command) {
    case SearchField::Command::NextCardRow:
        return card->selectNextRow();
    case SearchField::Command::PreviousCardRow:
        return card->selectPreviousRow();
    case SearchField::Command::OpenCardRow:
        return card->openSelectedRow();
    case SearchField::Command::CopyCardRow:
        // Text selected in the field is what Ctrl+C copies.
        return !_panel->searchField()->hasSelectedText() && card->copySelectedRow();
    case SearchField::Command::CardRowMenu:
        return card->showMenuForSelectedRow();
    default:
        return false;
    }
}

void AppController::tableViewSelectionDidChange()
{
    const int row = _panel->matchesTable()->selectedRow();
    _panel->personView()->setPerson(_state.personAt(row));
    _state.selectionChanged(row);
}

void AppController::_putMatchesInOrder()
{
    if (_matchesInOrder || !_state.matchingPersons())
        return;
    _matchesInOrder = true;
    _state.setMatchingPersons(_matchOrdering->ordered(*_state.matchingPersons(),
                                                      _panel->searchField()->text(),
                                                      _rkAddressBook->options(), &_matchNames));
}

void AppController::_pick(const PersonPtr &person)
{
    _matchOrdering->personPicked(person);
}

void AppController::forgetSearchHistory()
{
    _matchOrdering->forget();
}

void AppController::addressBookChanged()
{
    _rkAddressBook->clearCache();
    // Built on another thread: until the new index is in, typing is answered from the old one.
    _rkAddressBook->updateIndexInBackground();
}

void AppController::_searchIndexChanged()
{
    if (_isLoadingContacts() || !_state.takeFirstIndex())
        return;
    qCInfo(lcLaunch, "contacts in");
    search();
}

bool AppController::_isLoadingContacts() const
{
    return !_rkAddressBook->hasIndex();
}

QString AppController::_idleStatusText() const
{
    return _isLoadingContacts() ? tr("Loading contacts…") : _appName();
}

void AppController::_applySearchOptions()
{
    const RKAddressBook::Options options{defaults().boolForKey(DefIgnoreAccents),
                                         defaults().boolForKey(DefMatchPhoneDigits)};
    if (options == _rkAddressBook->options())
        return;
    _rkAddressBook->setOptions(options);
    _rkAddressBook->clearCache();
    if (AddressBook::sharedAddressBook().isLoaded())
        _rkAddressBook->updateIndexInBackground();
}

void AppController::preferenceDidChange()
{
    const KeyCombo hotKey = activationHotKey();
    HotKeyCenter::sharedCenter()->addHotKey(kHotKeyName, hotKey, this,
                                            [this](HotKeyCenter *) { showSearchWindow(); });
    _followInDesktopShortcuts(hotKey);
    const QColor largeTypeBackground =
        UserDefaultsExtras::colorForKey(defaults(), DefLargeTypeBgColor);
    // An unreadable colour keeps the one the window has rather than no background at all.
    if (largeTypeBackground.isValid())
        _largeTypeWindow->setBackgroundColor(largeTypeBackground);
    _panel->advertView()->setLineVisible(!defaults().boolForKey(DefHideAdvert));
    _applySearchOptions();
    // Heard at the next search: a list on screen does not reorder under the user's eyes.
    _matchOrdering->setEnabled(defaults().boolForKey(DefOrderByRelevance));
}

void AppController::_followInDesktopShortcuts(const KeyCombo &hotKey)
{
    // GNOME before 48 has no global shortcuts for programs on Wayland: an X11 grab hears the
    // key only over X11 windows, and GNOME's own keyboard settings are the way to have it.
    if (!GnomeCustomShortcut::isAvailable())
        return;
    const QString trigger = PortalHotKeyBackend::triggerFor(hotKey.keyCode(), hotKey.modifiers());
    if (GnomeCustomShortcut::isInstalled()) {
        GnomeCustomShortcut::update(trigger);
        return;
    }
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") && hotKey.isValid())
        hotKeyNotices().gnomeShortcutWanted(hotKey);
}

void AppController::applicationDidResignActive()
{
    WindowExtras::fadeOut(_mainWindow.get());
    _hideSecondaryWindows();
}

bool AppController::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows)
        showSearchWindow();
    return false;
}

void AppController::applicationWillTerminate()
{
    defaults().synchronize();
    _controlNotifications->applicationWillTerminate();
}

void AppController::hideAllWindows()
{
    WindowExtras::fadeOut(_mainWindow.get());
    _hideSecondaryWindows();
}

void AppController::hideApp()
{
    // Hiding every window is all there is to hiding an application on this desktop; the
    // window manager gives the focus back to whoever had it.
    hideAllWindows();
}

void AppController::showPreference()
{
    WindowExtras::fadeOut(_mainWindow.get());
    _openPreferencePane(QStringLiteral("preferences"));
}

void AppController::showAbout()
{
    WindowExtras::fadeOut(_mainWindow.get());
    _openPreferencePane(QStringLiteral("about"));
}

void AppController::showHelp()
{
    WindowExtras::fadeOut(_mainWindow.get());
    RKWebsite::visitPage(QStringLiteral("brisko/help/"));
}

void AppController::_checkForUpdatesAutomatically()
{
    _updateCheck->checkAutomatically();
}

VersionChecker &AppController::versionChecker() const
{
    return _updateCheck->versionChecker();
}

void AppController::checkForUpdates()
{
    // A second check while the first one's alert is open is refused silently.
    if (_state.hasOpenAlert())
        return;
    _state.alertOpened();
    WindowExtras::fadeOut(_mainWindow.get());
    WindowExtras::fadeOut(splashWindow());
    _updateCheck->runCheckAlert();
    _alertDidEnd();
}

void AppController::showStringInLargeType(const QString &string)
{
    // Between the search window going and the large type coming, no window of ours has the
    // focus; the fades hand the window system's events on meanwhile, which must not take that
    // for the user leaving.
    _state.windowSwitchBegan();
    WindowExtras::fadeOut(_mainWindow.get());
    _largeTypeWindow->setDisplayString(string);
    WindowExtras::fadeIn(_largeTypeWindow.get());
    _largeTypeWindow->raise();
    _largeTypeWindow->activateWindow();
    _state.windowSwitchEnded();
}

void AppController::dialWithVonage(const QString &phoneNumber)
{
    _dialer->dialWithVonage(phoneNumber);
}

void AppController::showStatusText(const QString &text)
{
    _setStatusText(text);
}

void AppController::dialWithSkype(const QString &phoneNumber)
{
    // Skype missing or refusing the call is Skype's to show; nothing is reported here.
    TellApplication::dialWithSkype(phoneNumber);
}

void AppController::runShareOrReviewPrompt()
{
    _greeter->runShareOrReviewPrompt();
}

void AppController::runShareOrReviewPanelWithTitle(const QString &title, const QString &message)
{
    _greeter->runShareOrReviewPanelWithTitle(title, message);
}

QUrl AppController::shareUrl()
{
    return LaunchGreeter::shareUrl();
}

KeyCombo AppController::activationHotKey() const
{
    return ::activationHotKey();
}

std::optional<HotKeyFailure> AppController::activationHotKeyFailure() const
{
    return HotKeyCenter::sharedCenter()->failureForName(kHotKeyName);
}

void AppController::_openPreferencePane(const QString &tab)
{
    // The tab is asked for only once the pane is on screen: a host that is still starting
    // would not hear it. A host that cannot be started shows nothing, and the menu item with it.
    PreferencePaneOpener::open(TellApplication::paneIdentifier(), this, [this, tab] {
        _controlNotifications->_postNotificationObject(ControlCommands::SetTab,
                                                       {{QStringLiteral("identifier"), tab}});
    });
}

QString AppController::_appName()
{
    return QStringLiteral("Brisko");
}

int AppController::_randomProductId()
{
    return RKWebsite::advertProductIdAt(QDateTime::currentDateTimeUtc(),
                                        RKWebsite::AdvertPlace::Application);
}

AppController::LaunchGreeting
AppController::launchGreeting(qint64 activationCount, bool hasPromptedToShare, bool showSplash)
{
    return LaunchGreeter::launchGreeting(activationCount, hasPromptedToShare, showSplash);
}

QWidget *AppController::mainWindow() const
{
    return _mainWindow.get();
}

SearchField *AppController::searchField() const
{
    return _panel->searchField();
}

QLabel *AppController::matchesLabel() const
{
    return _panel->matchesLabel();
}

MyTableView *AppController::matchesTableView() const
{
    return _panel->matchesTable();
}

PersonView *AppController::personView() const
{
    return _panel->personView();
}

AdvertTextView *AppController::advertView() const
{
    return _panel->advertView();
}

MenuButton *AppController::menuButton() const
{
    return _panel->menuButton();
}

void AppController::_setStatusText(const QString &text)
{
    _panel->setStatusText(text);
}

void AppController::_reloadMatchesTable()
{
    _matchesModel->reloadData(_state.matchingPersons().value_or(QList<PersonPtr>()),
                              _panel->searchField()->text(), _rkAddressBook->options(),
                              _matchNames);
}

void AppController::_centerMainWindow(QSize size)
{
    _placeMainWindow(QSizeF(size.width(), size.height() + _panel->extraHeight()));
}

void AppController::_placeMainWindow(const QSizeF &size)
{
    _panel->setRestingSize(
        WindowExtras::centeredFrame(_mainWindow.get(), size, kWindowPadding).size());
    WindowExtras::centerWithSize(_mainWindow.get(), size, kWindowPadding);
}

void AppController::_hideSecondaryWindows()
{
    WindowExtras::fadeOut(_largeTypeWindow.get());
    splashWindow()->hide();
}

LargeTypeWindow *AppController::largeTypeWindow() const
{
    return _largeTypeWindow.get();
}

SplashWindow *AppController::splashWindow() const
{
    return _greeter->splashWindow();
}

void AppController::_activateApplication()
{
    // An open alert is what the user must see: raising the search window instead would leave
    // it buried, and the application would seem not to answer.
    if (QWidget *alert = QApplication::activeModalWidget()) {
        alert->raise();
        alert->activateWindow();
        return;
    }
    _mainWindow->raise();
    _mainWindow->activateWindow();
    WindowExtras::activateOnRequest(_mainWindow.get());
}

void AppController::terminate()
{
    // The normal path: aboutToQuit runs applicationWillTerminate, which posts "AppDidTerminate".
    QCoreApplication::quit();
}

void AppController::synchronizeUserDefaults()
{
    defaults().synchronize();
}

void AppController::activateIgnoringOtherApps()
{
    _activateApplication();
}
