// SPDX-License-Identifier: MIT
#include "host/PreferencesHost.h"

#include "host/PreferencesWindow.h"
#include "platform/prefpane/PreferencePane.h"
#include "platform/session/SessionInstance.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QTimer>

PreferencesHost::PreferencesHost(QObject *parent)
    : QObject(parent)
    , _window(std::make_unique<PreferencesWindow>())
{}

PreferencesHost::~PreferencesHost()
{
    if (_registered)
        QDBusConnection::sessionBus().unregisterObject(ObjectPath);
    // The panes' views live in the window; the window goes first, the panes with the loader.
    _window.reset();
}

PreferencesWindow *PreferencesHost::window() const
{
    return _window.get();
}

PreferencesHost::Claim PreferencesHost::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Claim::NoBus;
    // Answering before the name is public means no caller finds the name unanswered.
    _registered = bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    if (!_registered)
        return Claim::NoBus;
    _instance = std::make_unique<SessionInstance>(ServiceName);
    connect(_instance.get(), &SessionInstance::reopenRequested, _window.get(),
            &PreferencesWindow::present);
    switch (_instance->claim()) {
    case SessionInstance::Claim::Owned:
        return Claim::Owned;
    case SessionInstance::Claim::Taken:
        bus.unregisterObject(ObjectPath);
        _registered = false;
        _instance.reset();
        return Claim::Taken;
    case SessionInstance::Claim::NoBus:
        break;
    }
    bus.unregisterObject(ObjectPath);
    _registered = false;
    _instance.reset();
    return Claim::NoBus;
}

void PreferencesHost::showPane(const QString &identifier, Done done)
{
    const Bundle bundle = PaneLoader::findPane(identifier);
    if (!bundle.isValid()) {
        done(false, identifier.isEmpty()
                        ? tr("No preference pane was found.")
                        : tr("No preference pane \"%1\" was found.").arg(identifier));
        return;
    }
    QString error;
    PreferencePane *pane = _loader.paneForBundle(bundle, &error);
    if (!pane) {
        done(false, error);
        return;
    }
    QWidget *view = pane->loadMainView();
    if (!view) {
        done(false, pane->loadError());
        return;
    }
    _window->setPaneView(view, PaneLoader::titleForBundle(bundle));
    pane->willSelect();
    _window->present();
    QPointer<PreferencePane> shown(pane);
    _window->whenShown([this, done = std::move(done), shown] {
        done(true, QString());
        // After the answer: a pane may ask the user something as soon as it is shown. While
        // it asks, showing it again brings the window up but does not ask a second time.
        QTimer::singleShot(0, this, [this, shown] {
            if (!shown || _selecting)
                return;
            _selecting = true;
            shown->didSelect();
            _selecting = false;
        });
    });
}

void PreferencesHost::ShowPane(const QString &identifier)
{
    setDelayedReply(true);
    const QDBusMessage call = message();
    QDBusConnection bus = connection();
    showPane(identifier, [call, bus](bool shown, const QString &error) mutable {
        bus.send(shown ? call.createReply() : call.createErrorReply(QDBusError::Failed, error));
    });
}

bool PreferencesHost::askToShowPane(const QString &identifier, QString *error, int timeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *error = tr("The session bus cannot be reached.");
        return false;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, Interface,
                                                             QStringLiteral("ShowPane"))
                              << identifier;
    const QDBusMessage answer = bus.call(call, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return true;
    *error = answer.errorMessage();
    return false;
}
