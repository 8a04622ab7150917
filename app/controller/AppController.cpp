// SPDX-License-Identifier: MIT
#include "controller/AppController.h"

#include "SettingsKeys.h"
#include "addressbook/AddressBook.h"
#include "card/MyTableView.h"
#include "card/PersonView.h"
#include "chrome/FramelessWindow.h"
#include "chrome/LargeTypeWindow.h"
#include "chrome/MenuButton.h"
#include "chrome/RKWindow.h"
#include "chrome/SplashWindow.h"
#include "chrome/WindowAppearance.h"
#include "chrome/WindowExtras.h"
#include "controller/MatchesTableModel.h"
#include "controller/SearchPanel.h"
#include "dialing/ClickToCall.h"
#include "hotkey/HotKeyCenter.h"
#include "hotkey/HotKeyNotices.h"
#include "hotkey/StoredHotKey.h"
#include "hotkey/gnome/GnomeCustomShortcut.h"
#include "hotkey/portal/PortalHotKeyBackend.h"
#include "net/UrlLoading.h"
#include "script/PreferencePaneOpener.h"
#include "script/TellApplication.h"
#include "search/RKAddressBook.h"
#include "settings/UserDefaults.h"
#include "settings/UserDefaultsExtras.h"
#include "update/VersionChecker.h"
#include "utility/AdvertTextView.h"
#include "utility/AlertPanel.h"
#include "utility/RKWebsite.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLoggingCategory>
#include <QPalette>
#include <QScopedValueRollback>
#include <QThread>
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

} // namespace

AppController &AppController::sharedController()
{
    // Lives until the process ends: windows and the search engine are never torn down.
    static AppController *const sharedInstance = new AppController;
    return *sharedInstance;
}

AppController::AppController()
    : _rkAddressBook(std::make_unique<RKAddressBook>(AddressBook::sharedAddressBook()))
    , _versionChecker(std::make_unique<VersionChecker>(RKWebsite::hostname(), _appName(), kVersion,
                                                       kVersionCheckIntervalDays))
    , _controlNotifications(new ControlNotifications(*this, nullptr, nullptr, this))
{
    _checkForUpdatesAutomatically();
    // The contacts load on another thread from the first use of the address book on, so
    // the hot key is there at once; the search index follows them, also away from here.
    AddressBook &addressBook = AddressBook::sharedAddressBook();
    connect(&addressBook, &AddressBook::databaseChangedExternally, this,
            &AppController::addressBookChanged);
    connect(&addressBook, &AddressBook::loaded, _rkAddressBook.get(),
            &RKAddressBook::updateIndexInBackground);
    connect(_rkAddressBook.get(), &RKAddressBook::indexChanged, this,
            &AppController::_searchIndexChanged);
    if (addressBook.isLoaded())
        _rkAddressBook->updateIndexInBackground();
    _buildMainWindow();

    // Another program taking the focus makes the application inactive. The check waits for
    // the event loop so that focus passing between two of our own windows, which may leave
    // the application inactive for a moment, hides nothing.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                _applicationActive = state == Qt::ApplicationActive;
                if (_applicationActive) {
                    _activeSinceShown = true;
                    return;
                }
                QTimer::singleShot(0, this, [this] {
                    if (!_applicationActive && !_switchingWindows && _activeSinceShown)
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
                if (_splashWindow->isVisible())
                    _splashWindow->setNote(HotKeyNotices::splashNote(failure));
            });
}

AppController::~AppController() = default;

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
    _splashWindow = std::make_unique<SplashWindow>();

    _matchesModel = new MatchesTableModel(this);
    MyTableView *table = _panel->matchesTable();
    table->setModel(_matchesModel);
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AppController::tableViewSelectionDidChange);

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
    WindowAppearance::applySplashAppearance(_splashWindow.get());

    _panel->advertView()->setShortVersion(true);
    _panel->advertView()->setProductId(_randomProductId());

    preferenceDidChange();
    qCInfo(lcLaunch, "hot key registered");

    // The launch check answers in its own time. The greeting waits for it, so that it never
    // comes up over its alert; the hot key above and the control channel below do not.
    _greetingDue = true;
    _greetWhenDue();

    _controlNotifications->applicationDidFinishLaunching();
}

void AppController::_greetWhenDue()
{
    if (!_greetingDue || _launchCheckPending || _numAlertPanel > 0)
        return;
    _greetingDue = false;
    switch (launchGreeting(defaults().integerForKey(DefActivationCount),
                           defaults().boolForKey(DefHasPromptedToShare),
                           defaults().boolForKey(DefShowSplash))) {
    case LaunchGreeting::SharePrompt:
        runShareOrReviewPrompt();
        defaults().setBool(true, DefHasPromptedToShare);
        defaults().synchronize();
        break;
    case LaunchGreeting::Splash:
        _showSplashScreen();
        break;
    case LaunchGreeting::Nothing:
        break;
    }
}

void AppController::_alertDidEnd()
{
    --_numAlertPanel;
    // From the event loop: the greeting may run a panel of its own, which must not nest in
    // the code that ran this one.
    QTimer::singleShot(0, this, &AppController::_greetWhenDue);
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
    _activeSinceShown = _applicationActive;
    if (_numAlertPanel > 0) {
        _activateApplication();
        return;
    }
    _hideSecondaryWindows();

    SearchField *field = _panel->searchField();
    if (field->text().isEmpty())
        minimizeMainWindow();
    else if (!_mainWindow->isVisible())
        // Kept in its form, but brought to the screen under the pointer.
        WindowExtras::centerWithSize(_mainWindow.get(), QSizeF(_mainWindow->size()),
                                     kWindowPadding);
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
    // While the contacts load the text waits in the field; it is searched once they are in.
    if (!string.isEmpty() && !_isLoadingContacts())
        result = _rkAddressBook->personsMatchingPattern(string);
    _setMatchingPersons(std::move(result));

    const int count = _matchCount();
    if (_showingPerson) {
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
            _panel->personView()->setPerson(_matchingPersons->first());
        }
    } else if (count == 1) {
        // A single match opens the card by itself.
        showPerson();
    }
}

void AppController::_setMatchingPersons(std::optional<QList<PersonPtr>> persons)
{
    _matchingPersons = std::move(persons);
    _showMatchCount();
}

void AppController::_showMatchCount()
{
    if (!_matchingPersons)
        _setStatusText(_idleStatusText());
    else if (_matchingPersons->isEmpty())
        _setStatusText(tr("No match"));
    else if (_matchingPersons->size() == 1)
        _setStatusText(QString());
    else
        _setStatusText(tr("%1 matches").arg(_matchingPersons->size()));
}

void AppController::showPerson()
{
    _showingPerson = true;
    if (_panel->searchField()->text().isEmpty() || _matchCount() == 0) {
        showSearchWindow();
        return;
    }

    const PersonPtr first = _matchingPersons->first();
    _currentPersonIndex = 0;
    _reloadMatchesTable();
    _panel->matchesTable()->selectRow(0);
    _panel->personView()->setPerson(first);

    if (_matchCount() == 1) {
        _setMatchesTableVisible(false);
        _centerMainWindow(kSingleMatchWidth, kExpandedHeight);
    } else {
        _setMatchesTableVisible(true);
        _centerMainWindow(kSeveralMatchesWidth, kExpandedHeight);
    }
    _panel->personView()->setPerson(first);
}

void AppController::_setMatchesTableVisible(bool visible)
{
    if (_matchesTableIsVisible == visible)
        return;
    MyTableView *table = _panel->matchesTable();
    table->move(table->x() + (visible ? -kMatchesTableSlide : kMatchesTableSlide), table->y());
    // Slid out, the list rests under the card, whose panel is translucent: hide it as well.
    table->setVisible(visible);
    _matchesTableIsVisible = visible;
    _mainWindow->update();
}

void AppController::minimizeMainWindow()
{
    _centerMainWindow(kCollapsedWidth, kCollapsedHeight);
    _showingPerson = false;
    _setStatusText(_idleStatusText());
}

bool AppController::doCommandBySelector(SearchField::Command command)
{
    switch (command) {
    case SearchField::Command::InsertNewline:
    case SearchField::Command::InsertTab:
        // With the list showing, the person picked in it stays on the card.
        if (!(_showingPerson && _matchesTableIsVisible && _matchCount() > 1))
            showPerson();
        return true;
    case SearchField::Command::CancelOperation:
        hideApp();
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

    if (!_showingPerson || !_matchesTableIsVisible)
        return false;
    const int count = _matchCount();
    if (count == 0)
        return true;
    if (command == SearchField::Command::MoveUp) {
        --_currentPersonIndex;
        // Also mends an index left beyond the end of a shorter result.
        if (_currentPersonIndex < 0 || _currentPersonIndex >= count)
            _currentPersonIndex = count - 1;
    } else {
        ++_currentPersonIndex;
        if (_currentPersonIndex >= count || _currentPersonIndex < 0)
            _currentPersonIndex = 0;
    }
    // The card follows through the selection change.
    _panel->matchesTable()->selectRow(_currentPersonIndex);
    return true;
}

bool AppController::_doCardCommand(SearchField::Command command)
{
    if (!_showingPerson)
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
    // No selected row (-1) must not pick a person, nor must a row of a stale list.
    const bool inRange = row >= 0 && row < _matchCount();
    _panel->personView()->setPerson(inRange ? _matchingPersons->at(row) : nullptr);
    _currentPersonIndex = row;
}

void AppController::addressBookChanged()
{
    _rkAddressBook->clearCache();
    // Built on another thread: until the new index is in, typing is answered from the old one.
    _rkAddressBook->updateIndexInBackground();
}

void AppController::_searchIndexChanged()
{
    if (!_searchWhenIndexIsIn || _isLoadingContacts())
        return;
    _searchWhenIndexIsIn = false;
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
    // The factory settings are not registered yet at construction: only a stored choice counts.
    if (!defaults().boolForKey(DefAutoVersionCheck) || !_versionChecker->needAutoVersionCheck())
        return;
    // Away from the main thread: a site that does not answer must hold neither the launch
    // nor the hot key. The alert comes from the event loop, never inside the construction of
    // the shared controller.
    _launchCheckPending = true;
    _versionChecker->fetchLatestVersionInBackground([this](std::uint32_t latest) {
        // An alert already open, the menu's check asked meanwhile, says as much.
        if (latest > kVersion && _numAlertPanel == 0) {
            ++_numAlertPanel;
            const bool visit = _runNewVersionAlert();
            if (visit)
                RKWebsite::visitPage(QStringLiteral("brisko"));
            _alertDidEnd();
        }
        _launchCheckPending = false;
        _greetWhenDue();
    });
}

bool AppController::_runNewVersionAlert()
{
    return AlertPanel::run(tr("New Version Available!"),
                           tr("Brisko %1 is now available for download.")
                               .arg(_versionChecker->latestVersionString()),
                           tr("Visit Website"), tr("Later")) == RKWindow::AlertDefaultReturn;
}

bool AppController::_runReportAlert(const QString &title, const QString &message)
{
    // Only its button may open the site: Escape, and closing the alert as logging out or
    // "Shutdown" does, mean "OK".
    return AlertPanel::run(title, message, tr("OK"), tr("Visit Website"), QString(), nullptr,
                           AlertPanel::DefaultReturn) == AlertPanel::AlternateReturn;
}

void AppController::checkForUpdates()
{
    // A second check while the first one's alert is open is refused silently.
    if (_numAlertPanel > 0)
        return;
    ++_numAlertPanel;
    WindowExtras::fadeOut(_mainWindow.get());
    WindowExtras::fadeOut(_splashWindow.get());
    bool visit = false;
    if (_versionChecker->latestVersion() == 0) {
        // Nothing is known of newer versions; calling this one the latest would mislead.
        visit = _runReportAlert(tr("Update Check Failed"),
                                tr("Brisko could not find out whether a newer version is "
                                   "available (%1). Please try again later.")
                                    .arg(_versionChecker->fetchError()));
    } else if (_versionChecker->hasNewer()) {
        visit = _runNewVersionAlert();
    } else {
        visit = _runReportAlert(tr("Latest Version"),
                                tr("You are currently running Brisko %1, the latest version "
                                   "available.")
                                    .arg(_versionChecker->currentVersionString()));
    }
    if (visit)
        RKWebsite::visitProductPage(RKWebsite::Brisko);
    _alertDidEnd();
}

void AppController::showStringInLargeType(const QString &string)
{
    // Between the search window going and the large type coming, no window of ours has the
    // focus; the fades hand the window system's events on meanwhile, which must not take that
    // for the user leaving.
    const QScopedValueRollback switching(_switchingWindows, true);
    WindowExtras::fadeOut(_mainWindow.get());
    _largeTypeWindow->setDisplayString(string);
    WindowExtras::fadeIn(_largeTypeWindow.get());
    _largeTypeWindow->raise();
    _largeTypeWindow->activateWindow();
}

void AppController::dialWithVonage(const QString &phoneNumber)
{
    _setStatusText(tr("Dialing ..."));
    _dialWithVonageUrl(_vonageUrlForNumber(phoneNumber));
}

QUrl AppController::_vonageUrlForNumber(const QString &phoneNumber) const
{
    return ClickToCall::requestUrl(defaults().stringForKey(DefVonageName),
                                   defaults().stringForKey(DefVonagePassword),
                                   defaults().stringForKey(DefSelectedVonageNumber), phoneNumber);
}

void AppController::_dialWithVonageUrl(const QUrl &url)
{
    struct Outcome
    {
        std::optional<QByteArray> answer;
        QString error;
    };
    const auto outcome = std::make_shared<Outcome>();
    // A service that does not answer holds the request for its whole time-out: on a thread
    // of its own, while the window, the hot key and the control channel go on answering.
    QThread *request = QThread::create([outcome, url] {
        outcome->answer = UrlLoading::dataWithContentsOfURL(url, UrlLoading::kDefaultTimeoutSeconds,
                                                            &outcome->error);
    });
    connect(request, &QThread::finished, this,
            [this, outcome] { _dialAnswered(outcome->answer, outcome->error); });
    connect(request, &QThread::finished, request, &QObject::deleteLater);
    request->start();
}

void AppController::_dialAnswered(const std::optional<QByteArray> &answer, const QString &error)
{
    if (!answer) {
        // No call is being placed, so the status line must not read as if one were.
        qWarning("Brisko: the click-to-call service could not be asked: %s", qPrintable(error));
        _setStatusText(tr("Failed (no answer)"));
        return;
    }
    const std::optional<int> code = ClickToCall::statusCode(*answer);
    if (!code) {
        qWarning("Brisko: the click-to-call service's answer carries no status");
        _setStatusText(tr("Failed (no answer)"));
        return;
    }
    _setStatusText(*code == 0 ? QString() : tr("Failed (error %1)").arg(*code));
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
    runShareOrReviewPanelWithTitle(
        tr("Thank you for choosing Brisko"),
        tr("As an independent developer, our single greatest challenge is getting the word "
           "out.  Please consider taking a minute to share Brisko on your Facebook or post a "
           "review. Thank you!"));
}

void AppController::runShareOrReviewPanelWithTitle(const QString &title, const QString &message)
{
    // While the panel is up the hot key only brings the application forward.
    ++_numAlertPanel;
    const int choice =
        AlertPanel::run(title, message, tr("Share on Facebook"), tr("Close"), tr("Post Review"));
    _alertDidEnd();

    if (choice == RKWindow::AlertDefaultReturn)
        Workspace::shared().openUrl(shareUrl());
    else if (choice == RKWindow::AlertOtherReturn)
        RKWebsite::visitPage(QStringLiteral("brisko/vt/"));
    _activateApplication();
}

QUrl AppController::shareUrl()
{
    return RKWebsite::shareUrl();
}

void AppController::_showSplashScreen()
{
    const std::optional<HotKeyFailure> failure =
        HotKeyCenter::sharedCenter()->failureForName(kHotKeyName);
    _splashWindow->showSplash(activationHotKey().description(),
                              failure ? HotKeyNotices::splashNote(*failure) : QString());
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
    if (activationCount > 100 && !hasPromptedToShare)
        return LaunchGreeting::SharePrompt;
    if (showSplash)
        return LaunchGreeting::Splash;
    return LaunchGreeting::Nothing;
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
    _matchesModel->reloadData(_matchingPersons.value_or(QList<PersonPtr>()));
}

void AppController::_centerMainWindow(int width, int height)
{
    WindowExtras::centerWithSize(_mainWindow.get(),
                                 QSizeF(width, height + _panel->extraHeight()), kWindowPadding);
}

void AppController::_hideSecondaryWindows()
{
    WindowExtras::fadeOut(_largeTypeWindow.get());
    _splashWindow->hide();
}

LargeTypeWindow *AppController::largeTypeWindow() const
{
    return _largeTypeWindow.get();
}

SplashWindow *AppController::splashWindow() const
{
    return _splashWindow.get();
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

int AppController::_matchCount() const
{
    return _matchingPersons ? int(_matchingPersons->size()) : 0;
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
