// SPDX-License-Identifier: MIT
#pragma once

#include "common/keycombo/KeyCombo.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class BriskoPanePref;

/// The pane's way into the application's settings domain, which another process owns. It
/// keeps no copy of anything: every read merges the application's factory settings with
/// what the domain's file holds now, and every write reaches the file before the running
/// application is told to re-read it ("Refresh", once per write).
///
/// Keys ending in "Color" (and holding "Color" nowhere earlier) read as colours; colours are
/// written as colour archives. "autoLaunch" is not stored in the domain: it is the user's
/// login item for the application.
class BriskoDefaults final : public QObject
{
    Q_OBJECT

public:
    explicit BriskoDefaults(BriskoPanePref *prefController = nullptr, QObject *parent = nullptr);

    /// The pane controller: its bundle holds the application, and it runs the pane's sheets.
    BriskoPanePref *prefController() const { return _prefController; }
    void setPrefController(BriskoPanePref *prefController) { _prefController = prefController; }

    /// The application's "FactoryDefaults", read from the application bundle inside the
    /// pane's bundle once and kept for the life of the process; empty (and asked again next
    /// time) while it cannot be read.
    QVariantMap factoryDefaults() const;
    /// A fresh merge: the factory settings overlaid with the domain as stored now.
    QVariantMap dictionary() const;

    /// Reads of any key; "autoLaunch" is answered from the login items.
    QVariant valueForKey(const QString &key) const;
    /// Writes of any key; an invalid value removes the key. False, and no "Refresh", when the
    /// value could not be put on disk.
    bool setValueForKey(const QVariant &value, const QString &key);

    /// What valueForKey() answers for stored keys: a colour for colour keys (invalid when
    /// there is none), else the merged value as it is.
    QVariant valueForUndefinedKey(const QString &key) const;
    bool setValueForUndefinedKey(const QVariant &value, const QString &key);

    bool boolForKey(const QString &key) const;
    bool setBool(bool value, const QString &key);
    /// The combination the application uses: the stored one, or the factory one when the
    /// stored value is no usable combination.
    PaneKeyCombo keyComboForKey(const QString &key) const;
    bool setKeyCombo(const PaneKeyCombo &keyCombo, const QString &key);

    /// Whether the application starts at login.
    bool autoLaunch() const;
    /// Adds or removes the login item; when the pane's bundle holds no application, a sheet
    /// says so and nothing changes.
    void setAutoLaunch(bool autoLaunch);

    /// Whether `key` reads as a colour: it ends in "Color" and holds it nowhere earlier.
    static bool isColorKey(const QString &key);
    /// The application bundle inside the pane's bundle; empty when it is missing.
    QString applicationPath() const;

private:
    // Not owned: the store is a part of its controller.
    BriskoPanePref *_prefController;
};
