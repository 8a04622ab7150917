// SPDX-License-Identifier: MIT
#include "BriskoPanePref.h"

#include "SettingsKeys.h"
#include "binding/PaneBinder.h"
#include "hotkey/gnome/GnomeCustomShortcut.h"
#include "hotkey/portal/PortalHotKeyBackend.h"
#include "keycombo/KeyComboPanel.h"
#include "notifications/ControlCommands.h"
#include "notifications/DistributedNotificationCenter.h"
#include "process/RKProcess.h"
#include "store/BriskoDefaults.h"
#include "utility/AdvertTextView.h"
#include "utility/AlertPanel.h"
#include "utility/ClickToCallService.h"
#include "utility/RKUtility.h"
#include "utility/RKWebsite.h"
#include "view/PaneUiLoader.h"
#include "workspace/Workspace.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimeZone>
#include <QTimer>

#include <array>
#include <cstdio>

#include <unistd.h>

namespace {

const QString kApplicationName = QStringLiteral("Brisko.app");
const QString kFeedbackAddress = QStringLiteral("mailto:support@ambertide.com");
const QColor kRunningColor = QColor::fromRgbF(0.1f, 0.75f, 0.1f, 1.0f);
const QString kTagProperty = QStringLiteral("tag");

} // namespace

BriskoPanePref::BriskoPanePref(const Bundle &bundle, QObject *parent)
    : PreferencePane(bundle, parent)
    , _userDefaults(new BriskoDefaults(this, this))
    , _obsoleteCopyFolders{QStringLiteral("/opt"), QStringLiteral("~/Applications")}
    , _applicationCommand(QStringLiteral("Brisko"))
{
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
    _vonageNumbersPop = view->findChild<QComboBox *>(QStringLiteral("vonageNumbersPop"));
    _vonageSetupWindow = view->findChild<QDialog *>(QStringLiteral("vonageSetupWindow"));
    _vonageProgressWindow = view->findChild<QDialog *>(QStringLiteral("vonageProgressWindow"));
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
    if (_vonageNumbersPop)
        connect(_vonageNumbersPop, &QComboBox::activated, this,
                &BriskoPanePref::selectVonageNumber);
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
    _vonage.setName(_userDefaults->valueForKey(DefVonageName).toString());
    _vonage.setPassword(_userDefaults->valueForKey(DefVonagePassword).toString());
    _reloadVonageNumbers();
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
    _reloadVonageNumbers();
    _offerGnomeShortcut();
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
    // A copy this user cannot move is said once; ending the application and its login item
    // for it at every showing would only come back to the same question.
    bool movableCopy = false;
    for (const QString &folder : _obsoleteCopyFolders) {
        const QString path = _expandedFolder(folder) + QLatin1Char('/') + kApplicationName;
        if (!_isObsoleteCopy(path) || _unmovableCopies.contains(path) || _keptCopies.contains(path))
            continue;
        if (_canBeMoved(path))
            movableCopy = true;
        else
            _reportUnmovableCopy(path);
    }
    if (!movableCopy)
        return;
    _killBrisko();
    _removeObsoleteLoginItem();
    // The login item switch was read before the item went.
    if (_binder)
        _binder->reload();
    const int choice = runPromptSheetWithTitle(
        tr("Move old version to Trash?"),
        tr("You have an obsolete version of Brisko in your Applications folder. It is strongly "
           "recommended that it be moved to Trash to avoid confusion."),
        tr("Move to Trash"), tr("Keep Old Version"), QString());
    if (choice == AlertPanel::DefaultReturn)
        _removeObsoleteVersion();
    else
        _keptCopies = _obsoleteCopies();
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
    setVonageName(_vonage.name());
    setVonagePassword(_vonage.password());
    const int code = _vonageSetupWindow ? runPromptSheet(_vonageSetupWindow) : 0;
    if (code == 0) {
        if (!_userDefaults->valueForKey(DefSelectedVonageNumber).toString().isEmpty())
            return;
        setVonageEnabled(false);
        return;
    }
    _userDefaults->setValueForKey(_vonageName, DefVonageName);
    _userDefaults->setValueForKey(_vonagePassword, DefVonagePassword);
    _vonage.setName(_vonageName);
    _vonage.setPassword(_vonagePassword);

    if (const std::optional<QStringList> numbers = _fetchVonageNumbers()) {
        _userDefaults->setValueForKey(QVariant(*numbers).toList(), DefVonageNumbers);
        _userDefaults->setValueForKey(numbers->first(), DefSelectedVonageNumber);
        _reloadVonageNumbers();
        return;
    }
    if (_vonage.authenticationFailed())
        runPromptSheetWithTitle(tr("Authentication Failed"),
                                tr("Please check your Vonage Account Name and Password."), tr("OK"),
                                QString(), QString());
    else
        runPromptSheetWithTitle(tr("Unable to Reach Vonage"),
                                tr("Please check your network connection."), tr("OK"), QString(),
                                QString());
    _userDefaults->setBool(false, DefVonageEnabled);
    _userDefaults->setValueForKey(QVariant(), DefVonageNumbers);
    _userDefaults->setValueForKey(QVariant(), DefSelectedVonageNumber);
    _reloadVonageNumbers();
    setVonageEnabled(false);
}

std::optional<QStringList> BriskoPanePref::_fetchVonageNumbers()
{
    setIsFetchingVonageNumbers(true);
    if (_vonageProgressWindow) {
        // A dialog of the interface file belongs to the pane's window already.
        _vonageProgressWindow->setWindowModality(Qt::WindowModal);
        _vonageProgressWindow->show();
    }
    const std::optional<QStringList> numbers = _vonage.numbersWhileHandlingEvents();
    setIsFetchingVonageNumbers(false);
    if (_vonageProgressWindow)
        _vonageProgressWindow->hide();
    return numbers;
}

void BriskoPanePref::selectVonageNumber(int index)
{
    // "Unavailable" stands for no number at all and is never stored as one.
    if (!_vonageNumbersPop || !_vonageNumbersPop->isEnabled() || index < 0)
        return;
    _userDefaults->setValueForKey(_vonageNumbersPop->itemText(index), DefSelectedVonageNumber);
}

void BriskoPanePref::_reloadVonageNumbers()
{
    if (!_vonageNumbersPop)
        return;
    const QSignalBlocker blocker(_vonageNumbersPop);
    _vonageNumbersPop->clear();
    QStringList stored;
    for (const QVariant &number : _userDefaults->valueForKey(DefVonageNumbers).toList()) {
        if (number.metaType().id() == QMetaType::QString && !number.toString().isEmpty())
            stored.append(number.toString());
    }
    // What an older version stored from a hostile answer is shown no more than a new answer.
    const QStringList numbers = ClickToCallService::acceptedCallerNumbers(stored);
    _vonageNumbersPop->setEnabled(!numbers.isEmpty());
    if (numbers.isEmpty()) {
        _vonageNumbersPop->addItem(tr("Unavailable"));
        return;
    }
    _vonageNumbersPop->addItems(numbers);
    const qsizetype selected =
        numbers.indexOf(_userDefaults->valueForKey(DefSelectedVonageNumber).toString());
    if (selected >= 0)
        _vonageNumbersPop->setCurrentIndex(int(selected));
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

int BriskoPanePref::_randomProductId()
{
    return _randomProductIdAt(QDateTime::currentDateTimeUtc());
}

int BriskoPanePref::_randomProductIdAt(const QDateTime &now)
{
    static constexpr std::array<int, 8> kProducts{0, 1, 2, 3, 4, 20, 21, 22};
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    // The whole seconds are kept in 32 bits, as they always were; a count past that range
    // wraps instead of overflowing.
    const auto seconds = static_cast<qint32>(reference.msecsTo(now) / 1000);
    const qint32 remainder = (seconds / 60) % 8;
    return remainder < 0 ? kProducts[0] : kProducts[std::size_t(remainder)];
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

QString BriskoPanePref::_expandedFolder(const QString &folder) const
{
    if (folder == QLatin1String("~"))
        return QDir::homePath();
    if (folder.startsWith(QLatin1String("~/")))
        return QDir::homePath() + folder.mid(1);
    return folder;
}

bool BriskoPanePref::_isObsoleteCopy(const QString &path) const
{
    const QFileInfo copy(path);
    if (!copy.isDir())
        return false;
    // A link to the application this pane carries is the current version, not an old one.
    const QString current = QFileInfo(_userDefaults->applicationPath()).canonicalFilePath();
    return current.isEmpty() || copy.canonicalFilePath() != current;
}

bool BriskoPanePref::_obsoleteVersionInstalled() const
{
    for (const QString &folder : _obsoleteCopyFolders) {
        if (_isObsoleteCopy(_expandedFolder(folder) + QLatin1Char('/') + kApplicationName))
            return true;
    }
    return false;
}

QList<RKProcess> BriskoPanePref::_applicationProcesses() const
{
    QList<RKProcess> processes = RKProcess::processesForCommand(_applicationCommand);
    const int user = int(::getuid());
    processes.removeIf([user](const RKProcess &p) { return p.realUserIdentifier() != user; });
    return processes;
}

QStringList BriskoPanePref::_obsoleteCopies() const
{
    QStringList copies;
    for (const QString &folder : _obsoleteCopyFolders) {
        const QString path = _expandedFolder(folder) + QLatin1Char('/') + kApplicationName;
        if (_isObsoleteCopy(path))
            copies.append(path);
    }
    return copies;
}

bool BriskoPanePref::_liesInObsoleteCopy(const QString &path) const
{
    const QString file = QFileInfo(path).canonicalFilePath();
    if (file.isEmpty())
        return false;
    for (const QString &copy : _obsoleteCopies()) {
        const QString folder = QFileInfo(copy).canonicalFilePath();
        if (!folder.isEmpty() && (file == folder || file.startsWith(folder + QLatin1Char('/'))))
            return true;
    }
    return false;
}

void BriskoPanePref::_killBrisko()
{
    // Only what runs from an old copy: a program of the same name elsewhere, this version
    // included, is none of the pane's business here.
    for (const RKProcess &process : _applicationProcesses()) {
        if (_liesInObsoleteCopy(process.executablePath()))
            process.terminate();
    }
}

void BriskoPanePref::_removeObsoleteLoginItem()
{
    // The login item of this version has the same name; only one that starts an old copy
    // goes.
    for (const QVariant &item : RKUtility::_getAutoLaunchedApplications()) {
        const QString path = item.toMap().value(QStringLiteral("Path")).toString();
        if (QFileInfo(path).fileName() == kApplicationName && _liesInObsoleteCopy(path)) {
            RKUtility::removeAutoLaunchAppNamed(kApplicationName);
            return;
        }
    }
}

bool BriskoPanePref::_removeObsoleteVersion()
{
    for (const QString &folder : _obsoleteCopyFolders)
        _removeBriskoInDirectory(folder);
    return false;
}

void BriskoPanePref::_removeBriskoInDirectory(const QString &directory)
{
    const QString path = _expandedFolder(directory) + QLatin1Char('/') + kApplicationName;
    if (_isObsoleteCopy(path) && !_unmovableCopies.contains(path) &&
        !Workspace::shared().recycle(path))
        _reportUnmovableCopy(path);
}

bool BriskoPanePref::_canBeMoved(const QString &path) const
{
    // Moving takes the right to change the folder that holds the copy, and for a folder also
    // the right to change the folder itself.
    const QFileInfo copy(path);
    if (::access(QFile::encodeName(copy.path()).constData(), W_OK | X_OK) != 0)
        return false;
    return copy.isSymLink() || ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

void BriskoPanePref::_reportUnmovableCopy(const QString &path)
{
    _unmovableCopies.insert(path);
    runPromptSheetWithTitle(tr("Cannot Move Old Version to Trash"),
                            tr("The obsolete version of Brisko at %1 cannot be moved to Trash. "
                               "Please remove it as an administrator.")
                                .arg(path),
                            tr("OK"), QString(), QString());
}
