// SPDX-License-Identifier: MIT
#pragma once

#include "pane/obsolete/ObsoleteCopies.h"
#include "pane/process/ProcessEndWatch.h"
#include "pane/vonage/VonageAccount.h"
#include "platform/prefpane/PreferencePane.h"

#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

class AdvertTextView;
class BriskoDefaults;
class PaneBinder;
class QAbstractButton;
class QComboBox;
class QDialog;
class QProgressBar;
class QTabWidget;
class QWidget;

/// The Brisko preference pane: shows whether the application runs and starts or stops it,
/// edits the application's settings through its store, and offers the maker's pages. It
/// talks to the application only through control notifications and the settings domain,
/// and signals its processes only to put an obsolete copy out of the way.
///
/// The main view is read at run time from the bundle's interface file; its controls bind to
/// the store and to this controller's properties by name (PaneBinder).
class BriskoPanePref final : public PreferencePane
{
    Q_OBJECT
    Q_PROPERTY(bool isFetchingVonageNumbers READ isFetchingVonageNumbers WRITE
                   setIsFetchingVonageNumbers NOTIFY isFetchingVonageNumbersChanged)
    Q_PROPERTY(QString hotKeyTitle READ hotKeyTitle WRITE setHotKeyTitle NOTIFY hotKeyTitleChanged)
    Q_PROPERTY(
        QString tabIdentifier READ tabIdentifier WRITE setTabIdentifier NOTIFY tabIdentifierChanged)
    Q_PROPERTY(QString onOffButtonTitle READ onOffButtonTitle WRITE setOnOffButtonTitle NOTIFY
                   onOffButtonTitleChanged)
    Q_PROPERTY(QString appRunState READ appRunState WRITE setAppRunState NOTIFY appRunStateChanged)
    Q_PROPERTY(QColor appRunStateColor READ appRunStateColor WRITE setAppRunStateColor NOTIFY
                   appRunStateColorChanged)
    Q_PROPERTY(QString vonageName READ vonageName WRITE setVonageName NOTIFY vonageNameChanged)
    Q_PROPERTY(QString vonagePassword READ vonagePassword WRITE setVonagePassword NOTIFY
                   vonagePasswordChanged)
    Q_PROPERTY(bool vonageCredentialIsValid READ vonageCredentialIsValid NOTIFY
                   vonageCredentialIsValidChanged)
    Q_PROPERTY(
        bool VonageEnabled READ VonageEnabled WRITE setVonageEnabled NOTIFY VonageEnabledChanged)
    Q_PROPERTY(bool HideAdvert READ HideAdvert WRITE setHideAdvert NOTIFY HideAdvertChanged)
    Q_PROPERTY(bool hasSearchHistory READ hasSearchHistory NOTIFY hasSearchHistoryChanged)

public:
    explicit BriskoPanePref(const Bundle &bundle, QObject *parent = nullptr);
    ~BriskoPanePref() override;

    BriskoDefaults *userDefaults() const { return _userDefaults; }
    /// The Vonage account's client, holding the stored name and password.
    VonageProxy &vonage() { return _vonageAccount.proxy(); }

    void mainViewDidLoad() override;
    void willSelect() override;
    void didSelect() override;

    bool isFetchingVonageNumbers() const { return _isFetchingVonageNumbers; }
    void setIsFetchingVonageNumbers(bool fetching);
    QString hotKeyTitle() const { return _hotKeyTitle; }
    void setHotKeyTitle(const QString &title);
    QString tabIdentifier() const { return _tabIdentifier; }
    /// Selects the tab of that identifier; an identifier no tab has changes nothing.
    void setTabIdentifier(const QString &identifier);
    QString onOffButtonTitle() const { return _onOffButtonTitle; }
    void setOnOffButtonTitle(const QString &title);
    QString appRunState() const { return _appRunState; }
    void setAppRunState(const QString &state);
    /// Invalid for the theme's text colour, which is black on a light theme.
    QColor appRunStateColor() const { return _appRunStateColor; }
    void setAppRunStateColor(const QColor &color);
    QString vonageName() const { return _vonageName; }
    void setVonageName(const QString &name);
    QString vonagePassword() const { return _vonagePassword; }
    void setVonagePassword(const QString &password);
    /// Both the account name and its password hold a character.
    bool vonageCredentialIsValid() const;

    bool VonageEnabled() const;
    /// Enabling without a chosen caller number opens the account setup once the current
    /// event is handled.
    void setVonageEnabled(bool enabled);
    bool HideAdvert() const;
    /// Shows the advert line exactly when the advert is not hidden.
    void setHideAdvert(bool hide);
    /// Whether the application keeps a history of whom the user picked, as the pane was last
    /// shown or since it forgot it.
    bool hasSearchHistory() const { return _hasSearchHistory; }

    /// Runs `sheet` on the pane's window until one of its buttons ends it; the code is the
    /// button's "tag" property. Buttons that already have an action ("paneAction") keep it.
    int runPromptSheet(QDialog *sheet);
    /// An alert sheet on the pane's window: 1 for the default button, 0 for the alternate,
    /// -1 for the other (empty titles mean no such button).
    int runPromptSheetWithTitle(const QString &title, const QString &message,
                                const QString &defaultButton, const QString &alternateButton,
                                const QString &otherButton);

    /// The advert's product for the minute: eight of the maker's products in turn.
    static int _randomProductId();

    // Where old copies are looked for and what the application's processes are called.
    // Tests point them at their own folders and programs; the pane uses "/opt",
    // "~/Applications" and "Brisko".
    void setObsoleteCopyFolders(const QStringList &folders) { _obsoleteCopies.setFolders(folders); }
    void setApplicationCommand(const QString &command) { _applicationCommand = command; }

    /// A copy of the application lies in one of the obsolete-copy folders.
    bool _obsoleteVersionInstalled() const;
    /// Sends the terminate signal to every process of this user running the application from
    /// an obsolete copy.
    void _killBrisko();
    /// Moves the copies in both folders to the Trash, saying which cannot be moved; always
    /// false, as nothing checks it.
    bool _removeObsoleteVersion();
    void _removeBriskoInDirectory(const QString &directory);

public Q_SLOTS:
    void startStop();
    void checkForUpdates();
    void setupHotKey();
    /// Adds Brisko's hot key to GNOME's own keyboard shortcuts, running `brisko-ctl show`.
    void addGnomeShortcut();
    void setupVonage();
    void selectVonageNumber(int index);
    void visitWeb();
    void showHelp();
    void visitBundleInfo();
    void downloadBundle();
    void sendFeedback();
    void shareOnFacebook();
    /// Forgets whom the user picked from the search: the pane removes the history's file, and
    /// a running application drops what it holds.
    void forgetSearchHistory();

    // What the application announces.
    void appDidLaunch();
    void appDidTerminate();
    void setTab(const QString &identifier);

    /// Ends the running prompt sheet with the button's "tag".
    void endPromptSheet(QAbstractButton *button);

Q_SIGNALS:
    void isFetchingVonageNumbersChanged();
    void hotKeyTitleChanged();
    void tabIdentifierChanged();
    void onOffButtonTitleChanged();
    void appRunStateChanged();
    void appRunStateColorChanged();
    void vonageNameChanged();
    void vonagePasswordChanged();
    void vonageCredentialIsValidChanged();
    void VonageEnabledChanged();
    void HideAdvertChanged();
    void hasSearchHistoryChanged();

protected:
    QWidget *assignMainView() override;

private:
    void _setRunState(const QString &state, const QColor &color, bool spinning);
    bool _startBrisko();
    void _stopBrisko();
    void _registerForNotifications();
    void _offerGnomeShortcut();
    void _postNotificationObject(const QString &command);
    void _setButtonActionForView(QWidget *view, QDialog *sheet);
    void _startedCopyEnded();
    void _setHasSearchHistory(bool has);
    /// This user's processes running the application; other users' are never touched.
    QList<RKProcess> _applicationProcesses() const;

    BriskoDefaults *_userDefaults;
    PaneBinder *_binder = nullptr;
    QPointer<QTabWidget> _tabView;
    QPointer<QProgressBar> _progressIndicator;
    QPointer<AdvertTextView> _adTextView;
    QPointer<QDialog> _vonageSetupWindow;

    bool _appIsRunning = false;
    bool _launchPending = false;
    bool _checkForUpdatesOnLaunch = false;
    bool _isFetchingVonageNumbers = false;
    bool _hasSearchHistory = false;
    QString _hotKeyTitle;
    QString _tabIdentifier;
    QString _onOffButtonTitle;
    QString _appRunState;
    QColor _appRunStateColor;
    QString _vonageName;
    QString _vonagePassword;

    ObsoleteCopies _obsoleteCopies;
    VonageAccount _vonageAccount;
    QString _applicationCommand = QStringLiteral("Brisko");
    // The copy the pane started last, until it announces itself.
    ProcessEndWatch _startedCopy;
};
