// SPDX-License-Identifier: MIT
#pragma once

#include "app/card/CardActions.h"
#include "app/controller/ControllerHost.h"
#include "app/controller/LaunchGreeter.h"
#include "app/controller/SearchField.h"
#include "app/controller/SearchWindowState.h"
#include "app/notifications/ControlNotifications.h"
#include "app/search/FoldedNames.h"
#include "common/keycombo/KeyCombo.h"
#include "platform/addressbook/Person.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>

class AdvertTextView;
class FramelessWindow;
class LargeTypeWindow;
class MatchOrdering;
class MatchesTableModel;
class MenuButton;
class MyTableView;
class PersonView;
class QLabel;
class RKAddressBook;
class SearchPanel;
class SplashWindow;
class UpdateCheck;
class VersionChecker;
class VonageDialer;

/// The background application's one controller: it owns the search window and the search
/// engine, runs a search on every edit of the search field, switches the window between its
/// collapsed form (field and status label) and its expanded forms (list of matches and
/// card), walks the matches with the arrow keys and hides everything when the application
/// loses the focus. The update check, the launch greeting, the dialer and the window's state
/// are parts of their own. `main` creates the one controller; a second one while it lives is
/// refused.
class AppController final : public QObject,
                            public ControlNotificationTarget,
                            public CardActions,
                            private ControllerHost
{
    Q_OBJECT

public:
    using LaunchGreeting = LaunchGreeter::Greeting;

    static constexpr qreal kWindowPadding = 10.0;
    static constexpr int kCollapsedWidth = 300;
    static constexpr int kCollapsedHeight = 62;
    static constexpr int kSingleMatchWidth = 400;
    static constexpr int kSeveralMatchesWidth = 550;
    static constexpr int kExpandedHeight = 413;
    /// How far the list of matches slides between its two places.
    static constexpr int kMatchesTableSlide = 100;
    /// The running version, packed one hexadecimal digit per part: 4.0.3.
    static constexpr std::uint32_t kVersion = 0x403;
    static constexpr std::uint32_t kVersionCheckIntervalDays = 7;

    /// Ends the process with a message when another controller lives: the hot key, the
    /// control channel and the windows exist once.
    AppController();
    /// Takes its hot key back, closes its windows and drops a version fetch still out.
    ~AppController() override;
    /// The one live controller; it must exist.
    static AppController &sharedController();

    AppController(const AppController &) = delete;
    AppController &operator=(const AppController &) = delete;

    // Launch, in this order: construction, awakeFromNib(), applicationDidFinishLaunching().
    void awakeFromNib();
    void applicationDidFinishLaunching();

    /// The activation hot key's action: brings the search window up with the last search.
    void showSearchWindow();
    /// The search field's action, sent on every edit.
    void search();
    /// Expands the window to the list and the card of the first match.
    void showPerson();
    /// Collapses the window to the search field and the status label.
    void minimizeMainWindow();
    /// The search field's keyboard commands; answers true when it handled one.
    bool doCommandBySelector(SearchField::Command command);
    /// The list's selection changed: the card follows it.
    void tableViewSelectionDidChange();

    /// The address book was changed by another program: cached results are stale.
    void addressBookChanged();
    /// Applies the settings that can change while the application runs.
    void preferenceDidChange() override;
    void applicationDidResignActive();
    /// The application was started again while running; always answers false.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    void applicationWillTerminate();
    void hideAllWindows();
    void hideApp();

    // Menu commands of the search window.
    void showPreference();
    void showAbout();
    void showHelp();
    void checkForUpdates() override;

    // What control notifications ask of the application.
    void terminate() override;
    void synchronizeUserDefaults() override;
    void activateIgnoringOtherApps() override;
    void forgetSearchHistory() override;

    // Actions the card's rows invoke on a value.
    void showStringInLargeType(const QString &string) override;
    /// Asks the click-to-call service to connect the account's phone to `phoneNumber`,
    /// waiting for its answer; the status line says how it went.
    void dialWithVonage(const QString &phoneNumber) override;
    void dialWithSkype(const QString &phoneNumber) override;
    void showStatusText(const QString &text) override;
    /// Asks an established user, once, to share the product or review it.
    void runShareOrReviewPrompt();
    void runShareOrReviewPanelWithTitle(const QString &title, const QString &message);
    /// The social network's share page for the product's home page.
    static QUrl shareUrl();

    static QString _appName();
    /// The advert line's product identifier, changing with the minute.
    static int _randomProductId();
    static LaunchGreeting launchGreeting(qint64 activationCount, bool hasPromptedToShare,
                                         bool showSplash);

    // The window's parts, for the pieces that build on them.
    QWidget *mainWindow() const;
    SearchField *searchField() const;
    QLabel *matchesLabel() const;
    MyTableView *matchesTableView() const;
    PersonView *personView() const;
    AdvertTextView *advertView() const;
    MenuButton *menuButton() const;
    LargeTypeWindow *largeTypeWindow() const;
    SplashWindow *splashWindow() const;
    RKAddressBook &rkAddressBook() const { return *_rkAddressBook; }
    /// The order of the list and the picks it learns from.
    MatchOrdering &matchOrdering() const { return *_matchOrdering; }

    /// The current result; std::nullopt while the search field is empty. In the address book's
    /// order while the window is collapsed, in the list's order once it shows.
    const std::optional<QList<PersonPtr>> &matchingPersons() const
    {
        return _state.matchingPersons();
    }
    int currentPersonIndex() const { return _state.currentPersonIndex(); }
    bool isShowingPerson() const { return _state.isShowingPerson(); }
    bool matchesTableIsVisible() const { return _state.matchesTableIsVisible(); }
    int numAlertPanel() const { return _state.openAlerts(); }
    VersionChecker &versionChecker() const;
    /// The check at launch (see UpdateCheck::checkAutomatically()); the launch greeting waits
    /// until it has been said.
    void _checkForUpdatesAutomatically();

private:
    // What the parts ask of the controller.
    bool hasOpenAlert() const override { return _state.hasOpenAlert(); }
    void alertWillOpen() override { _state.alertOpened(); }
    void alertDidEnd() override { _alertDidEnd(); }
    void activateApplication() override { _activateApplication(); }
    KeyCombo activationHotKey() const override;
    std::optional<HotKeyFailure> activationHotKeyFailure() const override;

    void _buildMainWindow();
    void _setSearchString(const QString &string);
    bool _doCardCommand(SearchField::Command command);
    void _setMatchingPersons(std::optional<QList<PersonPtr>> persons);
    void _setMatchesTableVisible(bool visible);
    void _setStatusText(const QString &text);
    void _showMatchCount();
    void _reloadMatchesTable();
    /// Brings the window to one of its forms (a designed size; the fonts' growth is added) on
    /// the screen it comes up on.
    void _centerMainWindow(QSize size);
    /// Moves and resizes the window, the card fitted to where it comes to rest.
    void _placeMainWindow(const QSizeF &size);
    void _followInDesktopShortcuts(const KeyCombo &hotKey);
    void _activateApplication();
    void _hideSecondaryWindows();
    /// Opens the pane in the preferences host, then asks it for `tab`.
    void _openPreferencePane(const QString &tab);
    void _alertDidEnd();
    /// Searches the field's text again once the first index of the contacts is in.
    void _searchIndexChanged();
    bool _isLoadingContacts() const;
    /// What the status line says while there is no search.
    QString _idleStatusText() const;
    void _applySearchOptions();
    /// The user chose `person` from the search: it counts for the order of later results.
    void _pick(const PersonPtr &person);
    /// Orders the result by relevance, when it is not yet.
    void _putMatchesInOrder();

    SearchWindowState _state;
    // The folded names of the current result, in its order, for laying out its list.
    FoldedNames _matchNames;
    bool _matchesInOrder = true;
    std::unique_ptr<FramelessWindow> _mainWindow;
    std::unique_ptr<LargeTypeWindow> _largeTypeWindow;
    SearchPanel *_panel = nullptr;
    MatchesTableModel *_matchesModel = nullptr;
    std::unique_ptr<RKAddressBook> _rkAddressBook;
    std::unique_ptr<MatchOrdering> _matchOrdering;
    UpdateCheck *_updateCheck = nullptr;
    LaunchGreeter *_greeter = nullptr;
    VonageDialer *_dialer = nullptr;
    // Set while showSearchWindow() runs: a press meanwhile does nothing more.
    bool _showingSearchWindow = false;
    ControlNotifications *_controlNotifications = nullptr;
};
