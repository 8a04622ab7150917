// SPDX-License-Identifier: MIT
#include "pane/BriskoPanePref.h"

#include "common/SettingsKeys.h"
#include "common/utility/AdvertTextView.h"
#include "common/utility/AlertPanel.h"
#include "common/utility/PickHistoryFile.h"
#include "common/utility/RKUtility.h"
#include "common/utility/RKWebsite.h"
#include "pane/binding/PaneBinder.h"
#include "pane/keycombo/KeyComboPanel.h"
#include "pane/process/RKProcess.h"
#include "pane/store/BriskoDefaults.h"
#include "pane/view/PaneUiLoader.h"
#include "platform/hotkey/gnome/GnomeCustomShortcut.h"
#include "platform/hotkey/portal/PortalHotKeyBackend.h"
#include "platform/notifications/ControlCommands.h"
#include "platform/notifications/DistributedNotificationCenter.h"
#include "platform/workspace/Workspace.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <array>
#include <cstdio>

#include <unistd.h>

namespace {

const QString kFeedbackAddress = QStringLiteral("mailto:support@ambertide.com");
const QColor kRunningColor = QColor::fromRgbF(0.1f, 0.75f, 0.1f, 1.0f);
const QString kTagProperty = QStringLiteral("tag");

} // namespace

BriskoPanePref::BriskoPanePref(const Bundle &bundle, QObject *parent)
    : PreferencePane(bundle, parent)
    , _userDefaults(new BriskoDefaults(this, this))
    , _obsoleteCopies([this] { return _userDefaults->applicationPath(); },
                      [this] { return _applicationProcesses(); },
                      [this](const QString &title, const QString &message,
                             const QString &defaultButton, const QString &alternateButton) {
                          return runPromptSheetWithTitle(title, message, defaultButton,
                                                         alternateButton, QString());
                      })
    , _vonageAccount(_userDefaults, [this](const QString &title, const QString &message) {
        runPromptSheetWithTitle(title, message, tr("OK"), QString(), QString());
    })
{
    connect(&_vonageAccount, &VonageAccount::fetchingChanged, this,
            &BriskoPanePref::setIsFetchingVonageNumbers);
    connect(&_startedCopy, &ProcessEndWatch::ended, this, &BriskoPanePref::_startedCopyEnded);
}

BriskoPanePref::~BriskoPanePref() = default;

QWidget *BriskoPanePref::assignMainView()
{
    QString name = bundle().infoDictionary().value(QStringLiteral("NSMainNibFile")).toString();
    if (name.isEmpty())
        name = QStringLiteral("BriskoPane");
    const QString path = bundle().pathForResource(name, QStringLiteral("ui"));
    if (path.isEmpty()) {
        setLoadError(
            tr("The interface file %1.ui is missing from %2.").arg(name, bundle().resourcePath()));
        return nullptr;
    }
    QString error;
    PaneUiLoader loader;
    QWidget *view = loader.loadFile(path, &error);
    if (!view) {
        setLoadError(error);
        return nullptr;
    }

    _tabView = view->findChild<QTabWidget *>(QStringLiteral("tabView"));
    _progressIndicator = view->findChild<QProgressBar *>(QStringLiteral("progressIndicator"));
    _adTextView = view->findChild<AdvertTextView *>(QStringLiteral("adTextView"));
    auto *vonageNumbersPop = view->findChild<QComboBox *>(QStringLiteral("vonageNumbersPop"));
    _vonageSetupWindow = view->findChild<QDialog *>(QStringLiteral("vonageSetupWindow"));
    _vonageAccount.setControls(vonageNumbersPop,
                               view->findChild<QDialog *>(QStringLiteral("vonageProgressWindow")));
    if (_tabView) {
        connect(_tabView, &QTabWidget::currentChanged, this, [this](int index) {
            if (QWidget *page = _tabView->widget(index))
                setTabIdentifier(page->objectName());
        });
    }
    if (_progressIndicator) {
        // The indicator keeps its place while it is hidden, so nothing moves when it spins.
        QSizePolicy policy = _progressIndicator->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        _progressIndicator->setSizePolicy(policy);
        _progressIndicator->setRange(0, 0);
    }
    if (vonageNumbersPop)
        connect(vonageNumbersPop, &QComboBox::activated, this, &BriskoPanePref::selectVonageNumber);
    if (auto *version = view->findChild<QLabel *>(QStringLiteral("versionLabel")))
        version->setText(tr("Version %1")
                             .arg(bundle()
                                      .infoDictionary()
                                      .value(QStringLiteral("CFBundleShortVersionString"))
                                      .toString()));
    _binder = new PaneBinder(view, _userDefaults, this, this);
    return view;
}

void BriskoPanePref::mainViewDidLoad()
{
    _vonageAccount.load();
    setTabIdentifier(QStringLiteral("general"));
    setOnOffButtonTitle(tr("Start Brisko"));
    _setRunState(tr("Brisko is stopped"), QColor(), false);
    _registerForNotifications();
    // A running application answers with "AppDidLaunch"; that is how the pane learns of it.
    _postNotificationObject(ControlCommands::ControlDidStart);
}

void BriskoPanePref::willSelect()
{
    setHotKeyTitle(_userDefaults->keyComboForKey(DefHotKey).description());
    if (_adTextView) {
        _adTextView->setProductId(_randomProductId());
        _adTextView->setLineVisible(!HideAdvert());
    }
    // The application may have changed the settings since the pane was last shown.
    if (_binder)
        _binder->reload();
    _vonageAccount.showNumbers();
    _offerGnomeShortcut();
    _setHasSearchHistory(QFileInfo::exists(PickHistoryFile::path()));
}

void BriskoPanePref::_offerGnomeShortcut()
{
    auto *button = mainView()
                       ? mainView()->findChild<QPushButton *>(QStringLiteral("gnomeShortcutButton"))
                       : nullptr;
    if (!button)
        return;
    // Only GNOME has these settings; once Brisko's entry is there, the application keeps its
    // key in step with the one chosen here.
    const bool available = GnomeCustomShortcut::isAvailable();
    button->setVisible(available);
    button->setEnabled(available && !GnomeCustomShortcut::isInstalled());
}

void BriskoPanePref::addGnomeShortcut()
{
    const PaneKeyCombo combo = _userDefaults->keyComboForKey(DefHotKey);
    const QString trigger = PortalHotKeyBackend::triggerFor(combo.keyCode(), combo.modifiers());
    if (!GnomeCustomShortcut::install(trigger, QStringLiteral("brisko-ctl show")))
        std::fprintf(stderr, "BriskoPane: GNOME's keyboard settings could not be written\n");
    _offerGnomeShortcut();
}

void BriskoPanePref::didSelect()
{
    // The login item switch was read before the item could go.
    if (_obsoleteCopies.offerRemoval() && _binder)
        _binder->reload();
}

void BriskoPanePref::setIsFetchingVonageNumbers(bool fetching)
{
    if (fetching == _isFetchingVonageNumbers)
        return;
    _isFetchingVonageNumbers = fetching;
    Q_EMIT isFetchingVonageNumbersChanged();
}

void BriskoPanePref::setHotKeyTitle(const QString &title)
{
    if (title == _hotKeyTitle)
        return;
    _hotKeyTitle = title;
    Q_EMIT hotKeyTitleChanged();
}

void BriskoPanePref::setTabIdentifier(const QString &identifier)
{
    if (_tabView) {
        QWidget *page = nullptr;
        for (int i = 0; i < _tabView->count() && !page; ++i) {
            if (_tabView->widget(i)->objectName() == identifier)
                page = _tabView->widget(i);
        }
        if (!page)
            return;
        _tabView->setCurrentWidget(page);
    }
    if (identifier == _tabIdentifier)
        return;
    _tabIdentifier = identifier;
    Q_EMIT tabIdentifierChanged();
}

void BriskoPanePref::setOnOffButtonTitle(const QString &title)
{
    if (title == _onOffButtonTitle)
        return;
    _onOffButtonTitle = title;
    Q_EMIT onOffButtonTitleChanged();
}

void BriskoPanePref::setAppRunState(const QString &state)
{
    if (state == _appRunState)
        return;
    _appRunState = state;
    Q_EMIT appRunStateChanged();
}

void BriskoPanePref::setAppRunStateColor(const QColor &color)
{
    if (color == _appRunStateColor)
        return;
    _appRunStateColor = color;
    Q_EMIT appRunStateColorChanged();
}

void BriskoPanePref::setVonageName(const QString &name)
{
    if (name == _vonageName)
        return;
    _vonageName = name;
    Q_EMIT vonageNameChanged();
    Q_EMIT vonageCredentialIsValidChanged();
}

void BriskoPanePref::setVonagePassword(const QString &password)
{
    if (password == _vonagePassword)
        return;
    _vonagePassword = password;
    Q_EMIT vonagePasswordChanged();
    Q_EMIT vonageCredentialIsValidChanged();
}

bool BriskoPanePref::vonageCredentialIsValid() const
{
    return !_vonageName.isEmpty() && !_vonagePassword.isEmpty();
}

bool BriskoPanePref::VonageEnabled() const
{
    return _userDefaults->boolForKey(DefVonageEnabled);
}

void BriskoPanePref::setVonageEnabled(bool enabled)
{
    _userDefaults->setBool(enabled, DefVonageEnabled);
    Q_EMIT VonageEnabledChanged();
    if (!enabled)
        return;
    const QVariantList numbers = _userDefaults->valueForKey(DefVonageNumbers).toList();
    if (numbers.isEmpty() ||
        _userDefaults->valueForKey(DefSelectedVonageNumber).toString().isEmpty())
        QTimer::singleShot(0, this, &BriskoPanePref::setupVonage);
}

bool BriskoPanePref::HideAdvert() const
{
    return _userDefaults->boolForKey(DefHideAdvert);
}

void BriskoPanePref::setHideAdvert(bool hide)
{
    _userDefaults->setBool(hide, DefHideAdvert);
    // What was stored, which a failed write leaves as it was.
    if (_adTextView)
        _adTextView->setLineVisible(!HideAdvert());
    Q_EMIT HideAdvertChanged();
}

void BriskoPanePref::_setRunState(const QString &state, const QColor &color, bool spinning)
{
    setAppRunState(state);
    setAppRunStateColor(color);
    if (_progressIndicator)
        _progressIndicator->setVisible(spinning);
}

void BriskoPanePref::startStop()
{
    if (_appIsRunning) {
        _setRunState(tr("Stopping Brisko ..."), QColor(), true);
        _stopBrisko();
        return;
    }
    // While the copy started last is still coming up, another would only bring its search
    // window up; once it has gone without a word, starting again is what the user asks for.
    if (_launchPending && !_applicationProcesses().isEmpty())
        return;
    _setRunState(tr("Launching Brisko ..."), QColor(), true);
    _startBrisko();
}

bool BriskoPanePref::_startBrisko()
{
    const QString application = _userDefaults->applicationPath();
    qint64 started = 0;
    if (!application.isEmpty() &&
        Workspace::shared().launchApplication(application, {}, &started)) {
        _launchPending = true;
        _startedCopy.watch(started);
        return true;
    }
    // Nothing will announce itself: waiting would never end.
    _launchPending = false;
    _setRunState(tr("Brisko is stopped"), QColor(), false);
    runPromptSheetWithTitle(
        tr("Cannot Find Brisko"),
        tr("Unable to find the background application. Please re-install Brisko."), tr("Okay"),
        QString(), QString());
    return false;
}

void BriskoPanePref::_stopBrisko()
{
    _postNotificationObject(ControlCommands::Shutdown);
}

void BriskoPanePref::checkForUpdates()
{
    if (_appIsRunning) {
        _postNotificationObject(ControlCommands::CheckForUpdates);
        return;
    }
    // The request goes out once the application says it listens: sent earlier, it is lost.
    _checkForUpdatesOnLaunch = true;
    if (_launchPending && !_applicationProcesses().isEmpty())
        return;
    _setRunState(tr("Launching Brisko ..."), QColor(), true);
    if (!_startBrisko())
        _checkForUpdatesOnLaunch = false;
}

void BriskoPanePref::_startedCopyEnded()
{
    // Gone without a word: what it was started for goes with it, or the next copy to come up,
    // at login say, would be asked to check for updates.
    if (_appIsRunning)
        return;
    _launchPending = false;
    _checkForUpdatesOnLaunch = false;
}

void BriskoPanePref::appDidLaunch()
{
    _appIsRunning = true;
    _launchPending = false;
    _startedCopy.stop();
    _setRunState(tr("Brisko is running"), kRunningColor, false);
    setOnOffButtonTitle(tr("Stop Brisko"));
    if (_checkForUpdatesOnLaunch) {
        _checkForUpdatesOnLaunch = false;
        _postNotificationObject(ControlCommands::CheckForUpdates);
    }
}

void BriskoPanePref::appDidTerminate()
{
    _appIsRunning = false;
    _launchPending = false;
    _setRunState(tr("Brisko is stopped"), QColor(), false);
    setOnOffButtonTitle(tr("Start Brisko"));
}

void BriskoPanePref::setTab(const QString &identifier)
{
    setTabIdentifier(identifier);
}

void BriskoPanePref::_registerForNotifications()
{
    DistributedNotificationCenter &center = DistributedNotificationCenter::defaultCenter();
    const QString &name = ControlCommands::NotificationName;
    center.addObserver(this, name, ControlCommands::AppDidLaunch,
                       [this](const DistributedNotification &) { appDidLaunch(); });
    center.addObserver(this, name, ControlCommands::AppDidTerminate,
                       [this](const DistributedNotification &) { appDidTerminate(); });
    center.addObserver(
        this, name, ControlCommands::SetTab, [this](const DistributedNotification &notification) {
            setTab(notification.userInfo.value(QStringLiteral("identifier")).toString());
        });
    // The observers must be in place on the bus before anyone is asked to answer them.
    center.flush();
}

void BriskoPanePref::_postNotificationObject(const QString &command)
{
    DistributedNotificationCenter::defaultCenter().postNotification(
        ControlCommands::NotificationName, command);
}

void BriskoPanePref::setupHotKey()
{
    KeyComboPanel *panel = KeyComboPanel::sharedPanelWithMainWindow(mainWindow(), bundle());
    if (!panel)
        return;
    panel->setKeyCombo(_userDefaults->keyComboForKey(DefHotKey));
    // The running application lets go of its hot key, so typing it here does not call it.
    _postNotificationObject(ControlCommands::Suspend);
    const int result = panel->runModal();
    const PaneKeyCombo keyCombo = panel->keyCombo();
    if (result == 1 && keyCombo.isValid() && _userDefaults->setKeyCombo(keyCombo, DefHotKey))
        setHotKeyTitle(keyCombo.description());
    // Refresh first: the application takes the stored key before it listens again.
    _postNotificationObject(ControlCommands::Refresh);
    _postNotificationObject(ControlCommands::Resume);
}

void BriskoPanePref::setupVonage()
{
    setVonageName(_vonageAccount.proxy().name());
    setVonagePassword(_vonageAccount.proxy().password());
    const int code = _vonageSetupWindow ? runPromptSheet(_vonageSetupWindow) : 0;
    if (code == 0 ? !_vonageAccount.hasChosenNumber()
                  : !_vonageAccount.storeAndFetchNumbers(_vonageName, _vonagePassword))
        setVonageEnabled(false);
}

void BriskoPanePref::selectVonageNumber(int index)
{
    _vonageAccount.chooseNumber(index);
}

void BriskoPanePref::visitWeb()
{
    RKWebsite::visitHomePage();
}

void BriskoPanePref::showHelp()
{
    RKWebsite::visitPage(QStringLiteral("brisko/help/"));
}

void BriskoPanePref::visitBundleInfo()
{
    RKWebsite::visitPage(QStringLiteral("bundle/"));
}

void BriskoPanePref::downloadBundle()
{
    RKWebsite::visitPage(QStringLiteral("download/ZEVavire.zip"));
}

void BriskoPanePref::sendFeedback()
{
    Workspace::shared().openUrl(QUrl(kFeedbackAddress));
}

void BriskoPanePref::shareOnFacebook()
{
    Workspace::shared().openUrl(RKWebsite::shareUrl());
}

void BriskoPanePref::forgetSearchHistory()
{
    // Removed here whether or not the application runs, so a history is gone even when the
    // application does not answer; a running one also drops the picks it holds in memory.
    QString error;
    if (!PickHistoryFile::remove(PickHistoryFile::path(), &error))
        std::fprintf(stderr, "BriskoPane: the search history could not be removed: %s\n",
                     qPrintable(error));
    _postNotificationObject(ControlCommands::ForgetSearchHistory);
    _setHasSearchHistory(QFileInfo::exists(PickHistoryFile::path()));
}

void BriskoPanePref::_setHasSearchHistory(bool has)
{
    if (has == _hasSearchHistory)
        return;
    _hasSearchHistory = has;
    Q_EMIT hasSearchHistoryChanged();
}

int BriskoPanePref::_randomProductId()
{
    return RKWebsite::advertProductIdAt(QDateTime::currentDateTimeUtc(),
                                        RKWebsite::AdvertPlace::Pane);
}

int BriskoPanePref::runPromptSheet(QDialog *sheet)
{
    _setButtonActionForView(sheet, sheet);
    if (QWidget *window = mainWindow(); window && sheet->parentWidget() != window)
        sheet->setParent(window, Qt::Dialog);
    sheet->setWindowModality(sheet->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    const int code = sheet->exec();
    sheet->hide();
    return code;
}

int BriskoPanePref::runPromptSheetWithTitle(const QString &title, const QString &message,
                                            const QString &defaultButton,
                                            const QString &alternateButton,
                                            const QString &otherButton)
{
    return AlertPanel::run(title, message, defaultButton, alternateButton, otherButton,
                           mainWindow());
}

void BriskoPanePref::endPromptSheet(QAbstractButton *button)
{
    if (auto *sheet = qobject_cast<QDialog *>(button->window()))
        sheet->done(button->property(kTagProperty.toLatin1().constData()).toInt());
}

void BriskoPanePref::_setButtonActionForView(QWidget *view, QDialog *sheet)
{
    const QList<QWidget *> subviews =
        view->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *subview : subviews) {
        if (auto *button = qobject_cast<QAbstractButton *>(subview)) {
            if (button->property(PaneBinder::PaneAction).isValid())
                continue;
            button->setProperty(PaneBinder::PaneAction, QStringLiteral("endPromptSheet"));
            connect(button, &QAbstractButton::clicked, sheet,
                    [this, button] { endPromptSheet(button); });
        } else if (!subview->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)
                        .isEmpty()) {
            _setButtonActionForView(subview, sheet);
        }
    }
}

bool BriskoPanePref::_obsoleteVersionInstalled() const
{
    return _obsoleteCopies.anyInstalled();
}

QList<RKProcess> BriskoPanePref::_applicationProcesses() const
{
    QList<RKProcess> processes = RKProcess::processesForCommand(_applicationCommand);
    const int user = int(::getuid());
    processes.removeIf([user](const RKProcess &p) { return p.realUserIdentifier() != user; });
    return processes;
}

void BriskoPanePref::_killBrisko()
{
    _obsoleteCopies.endProcesses();
}

bool BriskoPanePref::_removeObsoleteVersion()
{
    for (const QString &folder : _obsoleteCopies.folders())
        _removeBriskoInDirectory(folder);
    return false;
}

void BriskoPanePref::_removeBriskoInDirectory(const QString &directory)
{
    _obsoleteCopies.moveToTrash(directory);
}
