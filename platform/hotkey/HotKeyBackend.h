// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

/// The modifier flags key combinations store (the Carbon encoding). Backends translate them to
/// their desktop's modifiers: command ↔ Super, option ↔ Alt, control ↔ Control, shift ↔ Shift.
namespace HotKeyModifier {
inline constexpr int Command = 0x0100;
inline constexpr int Shift = 0x0200;
inline constexpr int Option = 0x0800;
inline constexpr int Control = 0x1000;
inline constexpr int All = Command | Shift | Option | Control;
} // namespace HotKeyModifier

/// What a registration hands to the backend and every event of that hot key hands back.
struct HotKeyIdentity
{
    quint32 signature = 0;
    quint32 id = 0;
    bool operator==(const HotKeyIdentity &) const = default;
};

/// A hot key event as the hot key center's handler receives it.
struct HotKeyEvent
{
    static constexpr quint32 ClassKeyboard = 0x6B657962; // 'keyb'
    static constexpr quint32 KindPressed = 5;
    static constexpr quint32 KindReleased = 6;

    quint32 eventClass = ClassKeyboard;
    quint32 kind = KindPressed;
    /// Absent when the event carries no hot key identity.
    std::optional<HotKeyIdentity> identity;
};

/// An application event of the kind that reports hot keys where the desktop has no hot key
/// events: type 14 (system-defined), subtype 6 press or 9 release, `data1` the reference.
struct HotKeyApplicationEvent
{
    static constexpr int TypeSystemDefined = 14;
    static constexpr int SubtypeHotKeyPressed = 6;
    static constexpr int SubtypeHotKeyReleased = 9;

    int type = TypeSystemDefined;
    int subtype = SubtypeHotKeyPressed;
    quint64 data1 = 0;
};

/// Status codes of the hot key event handler.
namespace HotKeyStatus {
inline constexpr int NoError = 0;
inline constexpr int EventParameterNotFound = -9870;
} // namespace HotKeyStatus

/// A handle the backend returns for a registered hot key; 0 means none.
using HotKeyRef = quint64;

/// Why a hot key could not be registered.
struct HotKeyFailure
{
    enum class Cause
    {
        /// No way to register global hot keys in this session.
        Unavailable,
        /// Another program holds the combination.
        Taken,
        /// The keyboard has no key at that position.
        NoKey,
        /// The desktop declined, or bound the shortcut to no key.
        Refused,
        /// The desktop did not answer in time.
        NoAnswer,
    };

    Cause cause = Cause::Unavailable;
    /// The particulars, in a sentence for standard error.
    QString detail;
};

/// Registers global hot keys with the desktop: the hot key center decides what is registered,
/// a backend decides how on this desktop. Events are delivered on the main thread.
class HotKeyBackend : public QObject
{
    Q_OBJECT
public:
    ~HotKeyBackend() override;

    /// The backend for this session, chosen here and nowhere else: `BRISKO_HOTKEY_BACKEND`
    /// ("x11" or "portal") when set; otherwise a Wayland session uses the desktop portal's
    /// global shortcuts where the portal offers them, and X11 (XWayland included) everywhere
    /// else. It is always returned; `isAvailable()` tells whether it works here.
    static std::unique_ptr<HotKeyBackend> createDefault();

    enum class Kind
    {
        X11,
        Portal,
    };
    struct Choice
    {
        Kind kind = Kind::X11;
        /// A sentence for standard error when the request could not be followed; else empty.
        QString note;
    };
    /// The choice itself: `requested` is the environment's value, `portalOffersShortcuts` is
    /// asked only where the answer matters, since asking may wait for the portal to start.
    static Choice choose(const QString &requested, bool waylandSession,
                         const std::function<bool()> &portalOffersShortcuts);

    /// Whether global hot keys can be registered in this session.
    virtual bool isAvailable() const = 0;
    /// Why not, in a sentence for standard error; empty when available.
    virtual QString unavailableReason() const { return {}; }
    /// Whether presses arrive as `hotKeyEvent` (true) or as `applicationEvent` carrying the
    /// reference.
    virtual bool deliversHotKeyEvents() const { return true; }

    /// Registers `keyCode` (positional virtual key code) with `modifiers` (flags above);
    /// returns the new reference, or 0 when the desktop refuses, and then says why in
    /// `failure`. A desktop that answers later may still fail the reference through
    /// `registrationFailed`, never from within this call.
    virtual HotKeyRef registerHotKey(int keyCode, int modifiers, HotKeyIdentity identity,
                                     HotKeyFailure *failure = nullptr) = 0;
    /// Unregisters a reference returned by registerHotKey; unknown references are ignored.
    virtual void unregisterHotKey(HotKeyRef ref) = 0;

Q_SIGNALS:
    void hotKeyEvent(const HotKeyEvent &event);
    void applicationEvent(const HotKeyApplicationEvent &event);
    /// A reference returned earlier did not come to work after all; the backend has forgotten
    /// it.
    void registrationFailed(HotKeyRef ref, const HotKeyFailure &failure);

protected:
    explicit HotKeyBackend(QObject *parent = nullptr);
    /// Fills `failure` (when given) and answers the reference of a refused registration.
    static HotKeyRef failed(HotKeyFailure *failure, HotKeyFailure::Cause cause,
                            const QString &detail);
};

Q_DECLARE_METATYPE(HotKeyEvent)
Q_DECLARE_METATYPE(HotKeyApplicationEvent)
Q_DECLARE_METATYPE(HotKeyFailure)
