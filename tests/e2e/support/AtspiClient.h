// SPDX-License-Identifier: MIT
#pragma once

#include <atspi/atspi.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>

/// One object of an application's accessible tree, as a screen reader reads it.
struct AccessibleNode
{
    QString role; // AT-SPI's role name: "text", "push button", "list item" …
    QString name;
    QString description;
};

/// One event the application sent, with its source as it was when the event arrived.
struct HeardEvent
{
    QString type; // "focus:", "object:property-change:accessible-description" …
    AccessibleNode source;
    int detail1 = 0;
};

/// A client of the accessibility bus of the session bus in DBUS_SESSION_BUS_ADDRESS, as Orca
/// is one: it finds an application on the bus's desktop, reads its tree and hears its events.
/// Events arrive through GLib's main context, which Qt's event loop runs.
class AtspiClient final
{
public:
    AtspiClient() { _ready = atspi_init() >= 0 && _desktop(); }
    ~AtspiClient()
    {
        for (const auto &[type, listener] : _listeners)
            atspi_event_listener_deregister(listener, type.toUtf8().constData(), nullptr);
        for (const auto &[type, listener] : _listeners)
            g_object_unref(listener);
    }
    AtspiClient(const AtspiClient &) = delete;
    AtspiClient &operator=(const AtspiClient &) = delete;

    /// Whether the accessibility bus answered.
    bool isReady() const { return _ready; }

    /// Hears events of `type` from now on.
    bool listen(const QString &type)
    {
        AtspiEventListener *listener =
            atspi_event_listener_new(&AtspiClient::_onEvent, this, nullptr);
        if (!atspi_event_listener_register(listener, type.toUtf8().constData(), nullptr)) {
            g_object_unref(listener);
            return false;
        }
        _listeners.append({type, listener});
        return true;
    }

    QList<HeardEvent> heard() const { return _heard; }
    void forget() { _heard.clear(); }

    /// Runs the event loop until `probe` answers true or `timeoutMs` pass.
    static bool waitUntil(const std::function<bool()> &probe, int timeoutMs)
    {
        QDeadlineTimer deadline(timeoutMs);
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (probe())
                return true;
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
    }

    /// Waits for an event of `type` whose source matches; the matching event, or nothing.
    std::optional<HeardEvent> waitForEvent(const QString &type,
                                           const std::function<bool(const AccessibleNode &)> &match,
                                           int timeoutMs)
    {
        std::optional<HeardEvent> found;
        waitUntil(
            [&] {
                for (const HeardEvent &event : std::as_const(_heard)) {
                    if (event.type == type && match(event.source)) {
                        found = event;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
    }

    /// The names of the applications on the desktop now.
    QStringList applicationNames()
    {
        QStringList names;
        AtspiAccessible *desktop = _desktop();
        const int count = desktop ? atspi_accessible_get_child_count(desktop, nullptr) : 0;
        for (int i = 0; i < count; ++i) {
            if (AtspiAccessible *app = atspi_accessible_get_child_at_index(desktop, i, nullptr)) {
                names.append(_text(atspi_accessible_get_name(app, nullptr)));
                g_object_unref(app);
            }
        }
        return names;
    }

    /// The whole tree of the application named `application`, depth first; empty when no such
    /// application is on the desktop.
    QList<AccessibleNode> tree(const QString &application)
    {
        QList<AccessibleNode> nodes;
        AtspiAccessible *desktop = _desktop();
        const int count = desktop ? atspi_accessible_get_child_count(desktop, nullptr) : 0;
        for (int i = 0; i < count; ++i) {
            AtspiAccessible *app = atspi_accessible_get_child_at_index(desktop, i, nullptr);
            if (!app)
                continue;
            if (_text(atspi_accessible_get_name(app, nullptr)) == application) {
                // What the tree says now, not what an earlier read left in the cache.
                atspi_accessible_set_cache_mask(app, ATSPI_CACHE_NONE);
                _collect(app, 0, nodes);
            }
            g_object_unref(app);
        }
        return nodes;
    }

private:
    static QString _text(gchar *text)
    {
        const QString result = QString::fromUtf8(text ? text : "");
        g_free(text);
        return result;
    }

    static AccessibleNode _node(AtspiAccessible *object)
    {
        if (!object)
            return {};
        return {_text(atspi_accessible_get_role_name(object, nullptr)),
                _text(atspi_accessible_get_name(object, nullptr)),
                _text(atspi_accessible_get_description(object, nullptr))};
    }

    static void _collect(AtspiAccessible *object, int depth, QList<AccessibleNode> &nodes)
    {
        // A broken tree must not hold the test forever.
        if (depth > 40 || nodes.size() > 5000)
            return;
        nodes.append(_node(object));
        const int count = atspi_accessible_get_child_count(object, nullptr);
        for (int i = 0; i < count; ++i) {
            if (AtspiAccessible *child = atspi_accessible_get_child_at_index(object, i, nullptr)) {
                _collect(child, depth + 1, nodes);
                g_object_unref(child);
            }
        }
    }

    static void _onEvent(AtspiEvent *event, void *client)
    {
        auto *self = static_cast<AtspiClient *>(client);
        // The source is read at once: a later change must not rewrite what this event said.
        if (event->source)
            atspi_accessible_clear_cache(event->source);
        self->_heard.append(
            {QString::fromUtf8(event->type), _node(event->source), int(event->detail1)});
        g_boxed_free(ATSPI_TYPE_EVENT, event);
    }

    AtspiAccessible *_desktop()
    {
        if (!_desktopObject)
            _desktopObject.reset(atspi_get_desktop(0));
        return _desktopObject.get();
    }

    struct Unref
    {
        void operator()(AtspiAccessible *object) const { g_object_unref(object); }
    };

    bool _ready = false;
    std::unique_ptr<AtspiAccessible, Unref> _desktopObject;
    QList<std::pair<QString, AtspiEventListener *>> _listeners;
    QList<HeardEvent> _heard;
};
