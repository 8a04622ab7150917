// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/Person.h"
#include "card/CardActions.h"
#include "controller/SearchField.h"
#include "keycombo/KeyCombo.h"
#include "notifications/ControlNotifications.h"

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
class MatchesTableModel;
class MenuButton;
class MyTableView;
class PersonView;
class QLabel;
class RKAddressBook;
class SearchPanel;
class VersionChecker;
class SplashWindow;

/// The background application's one controller: it owns the search window and the search
/// engine, runs a search on every edit of the search field, switches the window between its
/// collapsed form (field and status label) and its expanded forms (list of matches and
/// card), walks the matches with the arrow keys and hides everything when the application
/// loses the focus. Created on first use and never destroyed.
class AppController final : public QObject, public ControlNotificationTarget, public CardActions
{
    Q_OBJECT

public:
    /// What greets the user at launch (never both).
    enum class LaunchGreeting
    {
        Nothing,
        SharePrompt,
        Splash,
    };

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

    // Actions the card's rows invoke on a value.
    void showStringInLargeType(const QString &string) override;
    /// Asks the click-to-call service to connect the account's phone to `phoneNumber`,
    /// waiting for its answer; the status line says how it went.
    void dialWithVonage(const QString &phoneNumber) override;
    QUrl _vonageUrlForNumber(const QString &phoneNumber) const;
    void _dialWithVonageUrl(const QUrl &url);
    void _dialAnswered(const std::optional<QByteArray> &answer, const QString &error);
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

    /// The current result; std::nullopt while the search field is empty.
    const std::optional<QList<PersonPtr>> &matchingPersons() const { return _matchingPersons; }
    int currentPersonIndex() const { return _currentPersonIndex; }
    bool isShowingPerson() const { return _showingPerson; }
    bool matchesTableIsVisible() const { return _matchesTableIsVisible; }
    int numAlertPanel() const { return _numAlertPanel; }
    VersionChecker &versionChecker() const { return *_versionChecker; }
    /// The check at launch: when the user asked for automatic checks and one is due, the
    /// version is fetched in the background, and an alert offers the product's page if it is
    /// newer. The launch greeting waits until that has been said.
    void _checkForUpdatesAutomatically();

private:
    AppController();
    ~AppController() override;

    void _buildMainWindow();
    void _setSearchString(const QString &string);
    bool _doCardCommand(SearchField::Command command);
    void _setMatchingPersons(std::optional<QList<PersonPtr>> persons);
    void _setMatchesTableVisible(bool visible);
    void _setStatusText(const QString &text);
    void _showMatchCount();
    void _reloadMatchesTable();
    void _centerMainWindow(int width, int height);
    void _followInDesktopShortcuts(const KeyCombo &hotKey);
    void _activateApplication();
    /// "New Version Available!"; true when the user chose to visit the web site.
    bool _runNewVersionAlert();
    /// An update check's "OK" alert; true when the user chose to visit the web site instead.
    bool _runReportAlert(const QString &title, const QString &message);
    void _hideSecondaryWindows();
    void _showSplashScreen();
    /// Opens the pane in the preferences host, then asks it for `tab`.
    void _openPreferencePane(const QString &tab);
    /// The share prompt or the splash, once launched, with the launch check done and no alert
    /// open.
    void _greetWhenDue();
    void _alertDidEnd();
    /// Searches the field's text again once the first index of the contacts is in.
    void _searchIndexChanged();
    bool _isLoadingContacts() const;
    /// What the status line says while there is no search.
    QString _idleStatusText() const;
    void _applySearchOptions();
    int _matchCount() const;

    std::unique_ptr<FramelessWindow> _mainWindow;
    std::unique_ptr<LargeTypeWindow> _largeTypeWindow;
    std::unique_ptr<SplashWindow> _splashWindow;
    SearchPanel *_panel = nullptr;
    MatchesTableModel *_matchesModel = nullptr;
    std::unique_ptr<RKAddressBook> _rkAddressBook;
    std::unique_ptr<VersionChecker> _versionChecker;
    ControlNotifications *_controlNotifications;
    std::optional<QList<PersonPtr>> _matchingPersons;
    int _currentPersonIndex = 0;
    bool _showingPerson = false;
    bool _matchesTableIsVisible = true;
    int _numAlertPanel = 0;
    bool _launchCheckPending = false;
    bool _greetingDue = false;
    bool _applicationActive = false;
    bool _switchingWindows = false;
    /// Whether the application had the focus since the search window was last brought up.
    bool _activeSinceShown = false;
    bool _showingSearchWindow = false;
    bool _searchWhenIndexIsIn = true;
};
