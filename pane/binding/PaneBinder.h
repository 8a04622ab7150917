// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

class BriskoDefaults;
class QAbstractButton;
class QWidget;

/// Connects the controls of an interface file to the settings and to the pane controller,
/// by names the controls carry as dynamic properties:
///
/// - `settingsKey`: the control shows and edits that key of the store. A change is written
///   at once, and the control then shows what the store holds.
/// - `paneKey`: the control shows and edits that property of the controller, and follows
///   the property's changes.
/// - `paneColorKey`: a label's text takes the colour of that property of the controller (the
///   theme's text colour while the property holds none).
/// - `paneEnabledKey`: the control is enabled exactly while that boolean property of the
///   controller holds.
/// - `paneAction`: a button runs that slot of the controller when pressed.
///
/// Switches (checkable buttons) edit booleans, colour wells colours, line edits texts;
/// labels and other buttons show texts (a button keeps the mnemonic its file gave it).
class PaneBinder final : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *SettingsKey = "settingsKey";
    static constexpr const char *PaneKey = "paneKey";
    static constexpr const char *PaneColorKey = "paneColorKey";
    static constexpr const char *PaneEnabledKey = "paneEnabledKey";
    static constexpr const char *PaneAction = "paneAction";

    PaneBinder(QWidget *view, BriskoDefaults *store, QObject *controller,
               QObject *parent = nullptr);

    /// Shows every control's value afresh: the store's as it holds it now, and the
    /// controller's, which may stand for stored values too.
    void reload();
    /// Bindings that name no property or slot of the controller; each was also reported on
    /// standard error.
    QStringList problems() const { return _problems; }

    /// `text` with the mnemonic of `titleWithMnemonic` ("&Start Brisko") put back on the same
    /// letter, where `text` has it.
    static QString textKeepingMnemonic(const QString &titleWithMnemonic, const QString &text);

private Q_SLOTS:
    void _controllerChanged();

private:
    struct Binding
    {
        QPointer<QWidget> control;
        QString name;
        // The title the file gave a button, for its mnemonic.
        QString fileTitle;
    };

    void _bindStoreControl(QWidget *control, const QString &key);
    enum class Shown
    {
        Value,
        Color,
        Enabled,
    };

    void _bindControllerControl(QWidget *control, const QString &property, Shown shown);
    void _bindAction(QWidget *control, const QString &slot);
    void _showStoreValue(const Binding &binding);
    void _show(const Binding &binding, const QVariant &value);
    void _report(QWidget *control, const QString &problem);

    BriskoDefaults *_store;
    QObject *_controller;
    QList<Binding> _storeBindings;
    QList<Binding> _controllerBindings;
    QList<Binding> _colorBindings;
    QList<Binding> _enabledBindings;
    QStringList _problems;
};
