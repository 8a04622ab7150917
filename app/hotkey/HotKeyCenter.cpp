// SPDX-License-Identifier: MIT
#include "app/hotkey/HotKeyCenter.h"

#include "platform/hotkey/AssertionHandler.h"

#include <QMetaMethod>

namespace {

const QString Source = QStringLiteral("HotKeyCenter");
constexpr int EventNotHandled = -9874;

std::unique_ptr<HotKeyBackend> &pendingSharedBackend()
{
    static std::unique_ptr<HotKeyBackend> backend;
    return backend;
}

HotKeyCenter *&sharedInstance()
{
    static HotKeyCenter *center = nullptr;
    return center;
}

/// The invokable `name` of `target` that takes the center or nothing; invalid when none.
QMetaMethod actionMethod(const QObject *target, const char *name)
{
    const QMetaObject *meta = target->metaObject();
    const QByteArray wanted(name);
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != wanted || method.methodType() == QMetaMethod::Signal)
            continue;
        if (method.parameterCount() == 0)
            return method;
        if (method.parameterCount() == 1 &&
            (method.parameterType(0) == QMetaType::QObjectStar ||
             method.parameterMetaType(0) == QMetaType::fromType<HotKeyCenter *>()))
            return method;
    }
    return {};
}

} // namespace

HotKeyCenter *HotKeyCenter::sharedCenter()
{
    if (!sharedInstance()) {
        std::unique_ptr<HotKeyBackend> backend = std::move(pendingSharedBackend());
        if (!backend)
            backend = HotKeyBackend::createDefault();
        // Lives until the process ends: the backend's X connection is gone by the time static
        // destructors run.
        sharedInstance() = new HotKeyCenter(std::move(backend));
    }
    return sharedInstance();
}

bool HotKeyCenter::setSharedBackend(std::unique_ptr<HotKeyBackend> backend)
{
    if (sharedInstance())
        return false;
    pendingSharedBackend() = std::move(backend);
    return true;
}

HotKeyCenter::HotKeyCenter(std::unique_ptr<HotKeyBackend> backend, QObject *parent)
    : QObject(parent)
    , mBackend(std::move(backend))
{
    // Without a working backend the application still starts; the reason reaches the user with
    // the first registration that fails (registrationFailed).
    connect(mBackend.get(), &HotKeyBackend::hotKeyEvent, this,
            [this](const HotKeyEvent &event) { handleHotKeyEvent(event); });
    connect(mBackend.get(), &HotKeyBackend::applicationEvent, this,
            [this](const HotKeyApplicationEvent &event) { sendEvent(event); });
    connect(mBackend.get(), &HotKeyBackend::registrationFailed, this,
            &HotKeyCenter::_registrationFailed);
}

HotKeyCenter::~HotKeyCenter()
{
    for (auto &[name, hk] : mHotKeys)
        _unregisterHotKeyIfNeeded(hk.get());
    if (sharedInstance() == this)
        sharedInstance() = nullptr;
}

namespace {

/// The programming errors both forms of addHotKey refuse, reported in this order.
bool parametersAreValid(const QString &name, const std::optional<KeyCombo> &combo,
                        const QObject *target, bool hasAction)
{
    const char *failed = name.isNull() ? "name != nil"
                         : !combo      ? "combo != nil"
                         : !target     ? "target != nil"
                         : !hasAction  ? "action != nil"
                                       : nullptr;
    if (failed)
        AssertionHandler::handleInvalidParameter(Source, failed);
    return !failed;
}

} // namespace

bool HotKeyCenter::addHotKey(const QString &name, const std::optional<KeyCombo> &combo,
                             QObject *target, const char *action)
{
    if (!parametersAreValid(name, combo, target, action && *action))
        return false;
    const QMetaMethod method = actionMethod(target, action);
    if (!method.isValid()) {
        // Caught here rather than at the first press, where nobody would see the reason.
        AssertionHandler::handleInvalidParameter(Source, "[target respondsToSelector:action]");
        return false;
    }
    return _addRecord(name, *combo, target, [method, target](HotKeyCenter *center) {
        if (method.parameterCount() == 0)
            method.invoke(target, Qt::DirectConnection);
        else if (method.parameterType(0) == QMetaType::QObjectStar)
            method.invoke(target, Qt::DirectConnection,
                          Q_ARG(QObject *, static_cast<QObject *>(center)));
        else
            method.invoke(target, Qt::DirectConnection, Q_ARG(HotKeyCenter *, center));
    });
}

bool HotKeyCenter::addHotKey(const QString &name, const std::optional<KeyCombo> &combo,
                             QObject *target, Action action)
{
    if (!parametersAreValid(name, combo, target, bool(action)))
        return false;
    return _addRecord(name, *combo, target, std::move(action));
}

bool HotKeyCenter::_addRecord(const QString &name, const KeyCombo &combo, QObject *target,
                              Action action)
{
    removeHotKey(name);
    auto hk = std::make_shared<_HotKeyData>();
    hk->mId = _nextId();
    hk->mName = name;
    hk->mCombo = combo;
    hk->mTarget = target;
    hk->mAction = std::move(action);
    mHotKeys[name] = hk;
    return _registerHotKeyIfNeeded(hk.get());
}

void HotKeyCenter::removeHotKey(const QString &name)
{
    auto it = mHotKeys.find(name);
    if (it == mHotKeys.end())
        return;
    _unregisterHotKeyIfNeeded(it->second.get());
    mHotKeys.erase(it);
}

QStringList HotKeyCenter::allNames() const
{
    QStringList names;
    for (const auto &[name, hk] : mHotKeys)
        names.append(name);
    return names;
}

std::optional<KeyCombo> HotKeyCenter::keyComboForName(const QString &name) const
{
    auto it = mHotKeys.find(name);
    if (it == mHotKeys.end())
        return std::nullopt;
    return it->second->mCombo;
}

std::optional<HotKeyFailure> HotKeyCenter::failureForName(const QString &name) const
{
    auto it = mHotKeys.find(name);
    if (it == mHotKeys.end())
        return std::nullopt;
    return it->second->mFailure;
}

void HotKeyCenter::setEnabled(bool enabled)
{
    mEnabled = enabled;
    for (auto &[name, hk] : mHotKeys) {
        if (enabled)
            _registerHotKeyIfNeeded(hk.get());
        else
            _unregisterHotKeyIfNeeded(hk.get());
    }
}

bool HotKeyCenter::_systemSupportsHotKeys() const
{
    return mBackend->deliversHotKeyEvents();
}

bool HotKeyCenter::_registerHotKeyIfNeeded(_HotKeyData *hk)
{
    if (!hk) {
        AssertionHandler::handleInvalidParameter(Source, "hk != nil");
        return false;
    }
    if (!mEnabled || hk->mRegistered || !hk->mCombo.isValid())
        return true;
    hk->mFailure.reset();
    // modifiers() is the 16-bit value; the implicit widening sign-extends it, as registration
    // expects.
    HotKeyFailure failure;
    const HotKeyRef ref = mBackend->registerHotKey(hk->mCombo.keyCode(), hk->mCombo.modifiers(),
                                                   {Signature, hk->mId}, &failure);
    if (ref == 0) {
        hk->mFailure = failure;
        Q_EMIT registrationFailed(hk->mName, hk->mCombo, failure);
        return false;
    }
    hk->mRef = ref;
    hk->mRegistered = true;
    return true;
}

void HotKeyCenter::_unregisterHotKeyIfNeeded(_HotKeyData *hk)
{
    if (!hk) {
        AssertionHandler::handleInvalidParameter(Source, "hk != nil");
        return;
    }
    if (!hk->mRegistered || hk->mRef == 0)
        return;
    mBackend->unregisterHotKey(hk->mRef);
    hk->mRegistered = false;
    hk->mRef = 0;
}

void HotKeyCenter::_registrationFailed(HotKeyRef ref, const HotKeyFailure &failure)
{
    const Record hk = _findHotKeyWithRef(ref);
    if (!hk || !hk->mRegistered)
        return;
    // The backend has forgotten the reference already; only the record is left to update.
    hk->mRegistered = false;
    hk->mRef = 0;
    hk->mFailure = failure;
    Q_EMIT registrationFailed(hk->mName, hk->mCombo, failure);
}

int HotKeyCenter::handleHotKeyEvent(const HotKeyEvent &event)
{
    if (!_systemSupportsHotKeys()) {
        AssertionHandler::handleFailure(Source, QString());
        return EventNotHandled;
    }
    if (event.eventClass != HotKeyEvent::ClassKeyboard) {
        AssertionHandler::handleFailure(Source, QStringLiteral("Got unhandled event class"));
        return EventNotHandled;
    }
    if (!event.identity)
        return HotKeyStatus::EventParameterNotFound;
    if (event.identity->signature != Signature) {
        AssertionHandler::handleFailure(Source, QStringLiteral("Got unknown hot key"));
        return EventNotHandled;
    }
    if (event.identity->id == 0) {
        AssertionHandler::handleFailure(Source, QStringLiteral("Got bad hot key"));
        return EventNotHandled;
    }
    const Record hk = _findHotKeyWithId(event.identity->id);
    if (hk) {
        if (event.kind == HotKeyEvent::KindPressed)
            _hotKeyDown(hk);
        else if (event.kind == HotKeyEvent::KindReleased)
            _hotKeyUp(hk);
    }
    return HotKeyStatus::NoError;
}

void HotKeyCenter::sendEvent(const HotKeyApplicationEvent &event)
{
    if (_systemSupportsHotKeys())
        return;
    if (event.type != HotKeyApplicationEvent::TypeSystemDefined ||
        event.subtype != HotKeyApplicationEvent::SubtypeHotKeyPressed || event.data1 == 0)
        return;
    if (const Record hk = _findHotKeyWithRef(event.data1))
        _hotKeyDown(hk);
}

void HotKeyCenter::_hotKeyDown(const Record &hk)
{
    // The action may replace or remove this very hot key; the shared record outlives that.
    if (hk->mTarget && hk->mAction) {
        const Action action = hk->mAction;
        action(this);
    }
}

void HotKeyCenter::_hotKeyUp(const Record &)
{
    // Only presses act.
}

HotKeyCenter::Record HotKeyCenter::_findHotKeyWithId(quint32 id) const
{
    for (const auto &[name, hk] : mHotKeys) {
        if (hk->mId == id)
            return hk;
    }
    return {};
}

HotKeyCenter::Record HotKeyCenter::_findHotKeyWithRef(HotKeyRef ref) const
{
    for (const auto &[name, hk] : mHotKeys) {
        if (hk->mRef == ref)
            return hk;
    }
    return {};
}

quint32 HotKeyCenter::_nextId()
{
    // Ids stay unique among the current records and are never 0, even after wrapping.
    do {
        ++mLastId;
    } while (mLastId == 0 || _findHotKeyWithId(mLastId));
    return mLastId;
}
