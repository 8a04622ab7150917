// SPDX-License-Identifier: MIT
#include "platform/hotkey/HotKeyBackend.h"

#include "platform/hotkey/portal/PortalHotKeyBackend.h"
#include "platform/hotkey/xcb/XcbHotKeyBackend.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

bool isWaylandSession()
{
    return (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
            QGuiApplication::platformName() == QLatin1String("wayland")) ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

} // namespace

HotKeyBackend::HotKeyBackend(QObject *parent)
    : QObject(parent)
{}

HotKeyBackend::~HotKeyBackend() = default;

HotKeyRef HotKeyBackend::failed(HotKeyFailure *failure, HotKeyFailure::Cause cause,
                                const QString &detail)
{
    if (failure)
        *failure = {cause, detail};
    return 0;
}

HotKeyBackend::Choice HotKeyBackend::choose(const QString &requested, bool waylandSession,
                                            const std::function<bool()> &portalOffersShortcuts)
{
    const QString wanted = requested.trimmed().toLower();
    if (wanted == QLatin1String("x11"))
        return {Kind::X11, {}};
    if (wanted == QLatin1String("portal"))
        return {Kind::Portal, {}};
    QString note;
    if (!wanted.isEmpty())
        note = QStringLiteral("BRISKO_HOTKEY_BACKEND=\"%1\" is neither \"x11\" nor \"portal\"; "
                              "the session decides.")
                   .arg(requested);
    // X11 sessions never ask the portal: starting one just to hear it would delay the launch.
    if (waylandSession && portalOffersShortcuts())
        return {Kind::Portal, note};
    return {Kind::X11, note};
}

std::unique_ptr<HotKeyBackend> HotKeyBackend::createDefault()
{
    std::unique_ptr<PortalHotKeyBackend> portal;
    const Choice choice =
        choose(qEnvironmentVariable("BRISKO_HOTKEY_BACKEND"), isWaylandSession(), [&portal] {
            portal = std::make_unique<PortalHotKeyBackend>();
            return portal->isAvailable();
        });
    if (!choice.note.isEmpty())
        std::fprintf(stderr, "Brisko: %s\n", qUtf8Printable(choice.note));
    if (choice.kind == Kind::Portal)
        return portal ? std::move(portal) : std::make_unique<PortalHotKeyBackend>();
    auto x11 = std::make_unique<XcbHotKeyBackend>();
    if (portal && !x11->isAvailable()) {
        // Neither works: the reason the portal gave belongs next to the one X11 gives.
        std::fprintf(stderr, "Brisko: %s\n", qUtf8Printable(portal->unavailableReason()));
    }
    std::fflush(stderr);
    return x11;
}
