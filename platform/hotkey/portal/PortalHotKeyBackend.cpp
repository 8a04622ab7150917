// SPDX-License-Identifier: MIT
#include "platform/hotkey/portal/PortalHotKeyBackend.h"

#include "globalshortcuts_interface.h"
#include "platform/core/Bundle.h"
#include "platform/hotkey/KeyCodeTable.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString ShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString SessionInterface = QStringLiteral("org.freedesktop.portal.Session");

using Shortcuts = QList<QPair<QString, QVariantMap>>;

HotKeyFailure::Cause causeOf(const QDBusError &error)
{
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
        return HotKeyFailure::Cause::Unavailable;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return HotKeyFailure::Cause::NoAnswer;
    default:
        return HotKeyFailure::Cause::Refused;
    }
}

/// The portal documents the session handle as a string; accept the object path it stands for.
/// Anything else names no session.
QString sessionHandleOf(const QVariantMap &results)
{
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return handle.value<QDBusObjectPath>().path();
    if (handle.metaType() == QMetaType::fromType<QString>())
        return handle.toString();
    return {};
}

/// The shortcuts of an answer, when they come in the portal's own signature; nothing else is
/// read, since a cast of another shape would take the process down.
std::optional<Shortcuts> shortcutsOf(const QVariantMap &results)
{
    const QVariant value = results.value(QStringLiteral("shortcuts"));
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a(sa{sv})"))
        return std::nullopt;
    return qdbus_cast<Shortcuts>(argument);
}

bool isObjectPath(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral("^(/[A-Za-z0-9_]+)+$"));
    return pattern.match(path).hasMatch();
}

/// The compositor's activation token of an Activated signal: text of a sane length in the
/// printable ASCII tokens are made of, or nothing. The environment it goes into is inherited
/// by every program Brisko starts, which a huge value would keep from starting at all.
QString activationTokenOf(const QVariantMap &options)
{
    const QVariant value = options.value(QStringLiteral("activation_token"));
    if (value.metaType() != QMetaType::fromType<QString>())
        return {};
    const QString token = value.toString();
    constexpr int MaximumLength = 256;
    if (token.size() > MaximumLength)
        return {};
    const bool printable = std::all_of(token.cbegin(), token.cend(), [](QChar c) {
        return c.unicode() > 0x20 && c.unicode() < 0x7F;
    });
    return printable ? token : QString();
}

QString seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0, 'g', 3);
}

} // namespace

PortalHotKeyBackend::PortalHotKeyBackend()
    : PortalHotKeyBackend(Timeouts())
{}

PortalHotKeyBackend::PortalHotKeyBackend(const Timeouts &timeouts, const QString &description)
    : _timeouts(timeouts)
    , _description(description.isEmpty()
                       ? QStringLiteral("Show %1").arg(QCoreApplication::applicationName())
                       : description)
    , _connectionName(
          QStringLiteral("brisko-hotkey-portal-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
    // A connection of its own: the portal must hear the application's name before any other
    // call on the connection, and Qt itself may have asked the portal things on the shared one.
    , _connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, _connectionName))
{
    qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
    qDBusRegisterMetaType<Shortcuts>();
    if (!_connection.isConnected()) {
        _unavailableReason = QStringLiteral("There is no session bus, so the desktop portal "
                                            "cannot be asked for global shortcuts.");
        return;
    }
    _registerApplication();
    _unavailableReason = _probe();
    if (!_unavailableReason.isEmpty())
        return;

    _portal = std::make_unique<OrgFreedesktopPortalGlobalShortcutsInterface>(
        PortalService, PortalPath, _connection);
    _portal->setTimeout(_timeouts.callMs);
    // One subscription to every answer of the portal, made before the first call: an answer
    // may arrive before the reply that names its request, and none may pass unheard.
    const bool listening =
        _connection.connect(PortalService, QString(), RequestInterface, QStringLiteral("Response"),
                            this, SLOT(_response(uint, QVariantMap, QDBusMessage))) &&
        _connection.connect(PortalService, QString(), SessionInterface, QStringLiteral("Closed"),
                            this, SLOT(_sessionClosed(QVariantMap, QDBusMessage))) &&
        // Straight from the connection, like the answers: the generated proxy's own
        // subscription missed every activation until the connection had sent a call of its own.
        _connection.connect(PortalService, PortalPath, ShortcutsInterface,
                            QStringLiteral("Activated"), this,
                            SLOT(_activated(QDBusObjectPath, QString, qulonglong, QVariantMap))) &&
        _connection.connect(PortalService, PortalPath, ShortcutsInterface,
                            QStringLiteral("Deactivated"), this,
                            SLOT(_deactivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    if (!listening)
        _unavailableReason = QStringLiteral("The desktop portal's answers cannot be received.");
}

PortalHotKeyBackend::~PortalHotKeyBackend()
{
    // Leaving the bus is enough: the portal closes the sessions of a client that has gone.
    _bindings.clear();
    _portal.reset();
    QDBusConnection::disconnectFromBus(_connectionName);
}

bool PortalHotKeyBackend::isAvailable() const
{
    return _unavailableReason.isEmpty() && _connection.isConnected();
}

QString PortalHotKeyBackend::unavailableReason() const
{
    if (_unavailableReason.isEmpty() && !_connection.isConnected())
        return QStringLiteral("The connection to the desktop portal was lost.");
    return _unavailableReason;
}

QString PortalHotKeyBackend::triggerFor(int keyCode, int modifiers)
{
    const QByteArray keysym = KeyCodeTable::keysymNameForVirtualKeyCode(keyCode);
    if (keysym.isEmpty())
        return {};
    static const struct
    {
        int flag;
        const char *name;
    } names[] = {
        {HotKeyModifier::Control, "CTRL"},
        {HotKeyModifier::Option, "ALT"},
        {HotKeyModifier::Shift, "SHIFT"},
        {HotKeyModifier::Command, "LOGO"},
    };
    QString trigger;
    for (const auto &name : names) {
        if (modifiers & name.flag)
            trigger += QLatin1String(name.name) + QLatin1Char('+');
    }
    return trigger + QString::fromLatin1(keysym);
}

void PortalHotKeyBackend::_registerApplication()
{
    // The portal knows sandboxed applications by their sandbox; others may name themselves,
    // with the name of their desktop entry: the bundle's identifier.
    const QString identifier = Bundle::mainBundle().bundleIdentifier();
    if (identifier.isEmpty())
        return;
    // Not waited for: the bus keeps it ahead of every later call on this connection, and a
    // portal without the registry answers with an error that changes nothing.
    OrgFreedesktopHostPortalRegistryInterface registry(PortalService, PortalPath, _connection);
    registry.Register(identifier, {});
}

QString PortalHotKeyBackend::_probe()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        PortalService, PortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << ShortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = _connection.call(get, QDBus::Block, _timeouts.callMs);
    if (reply.type() == QDBusMessage::ReplyMessage &&
        reply.arguments().value(0).value<QDBusVariant>().variant().toUInt() >= 1)
        return {};
    switch (causeOf(QDBusError(reply))) {
    case HotKeyFailure::Cause::Unavailable:
        return QStringLiteral("No desktop portal (org.freedesktop.portal.Desktop) runs on the "
                              "session bus, so there are no global shortcuts.");
    case HotKeyFailure::Cause::NoAnswer:
        return QStringLiteral("The desktop portal did not answer within %1 seconds.")
            .arg(seconds(_timeouts.callMs));
    default:
        return QStringLiteral("The desktop portal offers no global shortcuts; KDE Plasma 5.27, "
                              "GNOME 48 and Hyprland are among the desktops that do.");
    }
}

QString PortalHotKeyBackend::_newToken()
{
    return QStringLiteral("brisko%1").arg(_nextToken++);
}

QString PortalHotKeyBackend::sessionTokenFor(int slot)
{
    return QStringLiteral("brisko_hotkey%1").arg(slot);
}

int PortalHotKeyBackend::_freeSlot() const
{
    int slot = 1;
    while (std::any_of(_bindings.cbegin(), _bindings.cend(),
                       [slot](const auto &entry) { return entry.second.slot == slot; }))
        ++slot;
    return slot;
}

QList<QPair<QString, QVariantMap>> PortalHotKeyBackend::_shortcutsOf(const Binding &binding) const
{
    return {{binding.trigger,
             {{QStringLiteral("description"), _description},
              {QStringLiteral("preferred_trigger"), binding.trigger}}}};
}

QString PortalHotKeyBackend::_handlePath(const QString &kind, const QString &token) const
{
    // The portal's own naming, so the path of an answer is known before the call is made.
    QString sender = _connection.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return PortalPath + QLatin1Char('/') + kind + QLatin1Char('/') + sender + QLatin1Char('/') +
           token;
}

HotKeyRef PortalHotKeyBackend::registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                                              HotKeyFailure *failure)
{
    using Cause = HotKeyFailure::Cause;
    if (!isAvailable())
        return failed(failure, Cause::Unavailable, unavailableReason());
    const QString trigger = triggerFor(keyCode, modifiers);
    if (trigger.isEmpty())
        return failed(failure, Cause::NoKey,
                      QStringLiteral("No key of a PC keyboard sits at position %1.").arg(keyCode));

    const HotKeyRef ref = _nextRef++;
    Binding &binding = _bindings[ref];
    binding.identity = identity;
    binding.trigger = trigger;
    binding.slot = _freeSlot();
    const QString requestToken = _newToken();
    const QString sessionToken = sessionTokenFor(binding.slot);
    binding.sessionPath = _handlePath(QStringLiteral("session"), sessionToken);
    _await(ref, _handlePath(QStringLiteral("request"), requestToken), _timeouts.sessionMs);
    // KDE Plasma 5.27 takes shortcuts only here and ignores those of BindShortcuts; Plasma 6
    // and GNOME take them when bound. Both get them, so either kind of desktop binds the key.
    _watch(ref, _portal->CreateSession(
                    {{QStringLiteral("handle_token"), requestToken},
                     {QStringLiteral("session_handle_token"), sessionToken},
                     {QStringLiteral("shortcuts"), QVariant::fromValue(_shortcutsOf(binding))}}));
    return ref;
}

void PortalHotKeyBackend::unregisterHotKey(HotKeyRef ref)
{
    auto it = _bindings.find(ref);
    if (it == _bindings.end())
        return;
    // A session still being created is closed by the answer that names it (see _response).
    _closeSession(it->second.sessionPath);
    _bindings.erase(it);
}

void PortalHotKeyBackend::_await(HotKeyRef ref, const QString &requestPath, int timeoutMs)
{
    Binding &binding = _bindings.at(ref);
    binding.requestPath = requestPath;
    binding.deadline = std::make_unique<QTimer>();
    binding.deadline->setSingleShot(true);
    // Queued, since the time-out ends the binding and with it the timer that is signalling; the
    // request's path tells whether the binding still waits for that very answer by then.
    connect(
        binding.deadline.get(), &QTimer::timeout, this,
        [this, ref, requestPath, timeoutMs] {
            auto it = _bindings.find(ref);
            if (it != _bindings.end() && it->second.requestPath == requestPath)
                _fail(ref, HotKeyFailure::Cause::NoAnswer,
                      QStringLiteral("The desktop portal did not answer within %1 seconds.")
                          .arg(seconds(timeoutMs)));
        },
        Qt::QueuedConnection);
    binding.deadline->start(timeoutMs);
}

void PortalHotKeyBackend::_watch(HotKeyRef ref, const QDBusPendingCall &call)
{
    const QString expected = _bindings.at(ref).requestPath;
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, ref, expected](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                auto it = _bindings.find(ref);
                if (it == _bindings.end() || it->second.requestPath != expected)
                    return;
                if (reply.isError()) {
                    _fail(ref, causeOf(reply.error()),
                          QStringLiteral("The desktop portal answered %1: %2")
                              .arg(reply.error().name(), reply.error().message()));
                    return;
                }
                // Portals older than the handle token answer on a path of their own.
                it->second.requestPath = reply.value().path();
            });
}

void PortalHotKeyBackend::_response(uint response, const QVariantMap &results,
                                    const QDBusMessage &message)
{
    for (auto &[ref, binding] : _bindings) {
        if (binding.requestPath != message.path())
            continue;
        if (response != 0) {
            _fail(ref, HotKeyFailure::Cause::Refused,
                  response == 1 ? QStringLiteral("The shortcut was cancelled in the desktop's "
                                                 "dialog.")
                                : QStringLiteral("The desktop portal refused the shortcut."));
        } else if (binding.stage == Stage::CreatingSession) {
            const QString session = sessionHandleOf(results);
            if (!session.isEmpty())
                binding.sessionPath = session;
            _bind(ref);
        } else if (binding.stage == Stage::Binding) {
            _bound(ref, results);
        }
        return;
    }
    // The answer for a hot key given up meanwhile: the session it opened must not outlive it,
    // unless a hot key registered since has opened its own under the same token.
    const QString session = sessionHandleOf(results);
    const bool inUse = std::any_of(_bindings.cbegin(), _bindings.cend(), [&](const auto &entry) {
        return entry.second.sessionPath == session;
    });
    if (response == 0 && !session.isEmpty() && !inUse)
        _closeSession(session);
}

void PortalHotKeyBackend::_bind(HotKeyRef ref)
{
    Binding &binding = _bindings.at(ref);
    if (!isObjectPath(binding.sessionPath)) {
        _fail(ref, HotKeyFailure::Cause::Refused,
              QStringLiteral("The desktop portal named no usable session."));
        return;
    }
    binding.stage = Stage::Binding;
    const QString token = _newToken();
    _await(ref, _handlePath(QStringLiteral("request"), token), _timeouts.bindMs);
    // Never ListShortcuts: KDE Plasma 5.27 switches a session's shortcuts off when asked.
    _watch(ref, _portal->BindShortcuts(QDBusObjectPath(binding.sessionPath), _shortcutsOf(binding),
                                       QString(), {{QStringLiteral("handle_token"), token}}));
}

void PortalHotKeyBackend::_bound(HotKeyRef ref, const QVariantMap &results)
{
    Binding &binding = _bindings.at(ref);
    const std::optional<Shortcuts> answer = shortcutsOf(results);
    if (!answer) {
        _fail(ref, HotKeyFailure::Cause::Refused,
              QStringLiteral("The desktop portal answered the binding in a form it does not "
                             "define."));
        return;
    }
    const Shortcuts &bound = *answer;
    const auto shortcut = std::find_if(bound.cbegin(), bound.cend(), [&binding](const auto &s) {
        return s.first == binding.trigger;
    });
    if (shortcut == bound.cend()) {
        _fail(ref, HotKeyFailure::Cause::Refused,
              QStringLiteral("The desktop did not bind the shortcut."));
        return;
    }
    // Desktops that could not give the shortcut its key bind it to none and say so here.
    const auto trigger = shortcut->second.constFind(QStringLiteral("trigger_description"));
    if (trigger != shortcut->second.cend() && trigger->toString().isEmpty()) {
        _fail(ref, HotKeyFailure::Cause::Refused,
              QStringLiteral("The desktop bound the shortcut to no key."));
        return;
    }
    binding.stage = Stage::Bound;
    binding.requestPath.clear();
    binding.deadline.reset();
}

void PortalHotKeyBackend::_fail(HotKeyRef ref, HotKeyFailure::Cause cause, const QString &detail)
{
    auto it = _bindings.find(ref);
    if (it == _bindings.end())
        return;
    _closeSession(it->second.sessionPath);
    _bindings.erase(it);
    Q_EMIT registrationFailed(ref, {cause, detail});
}

void PortalHotKeyBackend::_sessionClosed(const QVariantMap &, const QDBusMessage &message)
{
    for (auto &[ref, binding] : _bindings) {
        if (binding.sessionPath != message.path())
            continue;
        const HotKeyRef closed = ref;
        _bindings.erase(closed);
        Q_EMIT registrationFailed(closed, {HotKeyFailure::Cause::Refused,
                                           QStringLiteral("The desktop ended the shortcut's "
                                                          "portal session.")});
        return;
    }
}

void PortalHotKeyBackend::_closeSession(const QString &sessionPath)
{
    if (!isObjectPath(sessionPath))
        return;
    // Not waited for: a session the portal no longer knows answers with an error, which is fine.
    _connection.asyncCall(QDBusMessage::createMethodCall(PortalService, sessionPath,
                                                         SessionInterface, QStringLiteral("Close")),
                          _timeouts.callMs);
}

PortalHotKeyBackend::Binding *PortalHotKeyBackend::_bindingForSession(const QString &sessionPath,
                                                                      const QString &shortcutId)
{
    for (auto &[ref, binding] : _bindings) {
        if (binding.stage == Stage::Bound && binding.sessionPath == sessionPath &&
            binding.trigger == shortcutId)
            return &binding;
    }
    return nullptr;
}

void PortalHotKeyBackend::_activated(const QDBusObjectPath &session, const QString &shortcutId,
                                     qulonglong, const QVariantMap &options)
{
    // Sessions given up no longer fire, even when the portal's signal was already on its way.
    const Binding *binding = _bindingForSession(session.path(), shortcutId);
    if (!binding)
        return;
    // The compositor's leave to take the focus, where the portal passes one on; Qt's Wayland
    // plug-in spends it on the window activation the press brings about, which happens while
    // the press is handled. It is lent for that alone: through XWayland nobody spends it, and
    // every program started later would inherit it.
    const QString token = activationTokenOf(options);
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    Q_EMIT hotKeyEvent({HotKeyEvent::ClassKeyboard, HotKeyEvent::KindPressed, binding->identity});
    if (!token.isEmpty())
        qunsetenv("XDG_ACTIVATION_TOKEN");
}

void PortalHotKeyBackend::_deactivated(const QDBusObjectPath &session, const QString &shortcutId,
                                       qulonglong, const QVariantMap &)
{
    if (const Binding *binding = _bindingForSession(session.path(), shortcutId))
        Q_EMIT hotKeyEvent(
            {HotKeyEvent::ClassKeyboard, HotKeyEvent::KindReleased, binding->identity});
}
