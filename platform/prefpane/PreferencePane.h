// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/Bundle.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

/// The base of a preference pane's principal class: the host creates it with the pane's
/// bundle, asks it for its main view once, and tells it each time the view is about to be
/// shown and has been shown.
///
/// Host and pane are built apart and meet only through this class's virtual functions and
/// the plug-in interface below, so the host never casts to or connects to anything else of
/// the pane's.
class PreferencePane : public QObject
{
    Q_OBJECT

public:
    explicit PreferencePane(const Bundle &bundle, QObject *parent = nullptr);
    ~PreferencePane() override;

    virtual Bundle bundle() const { return _bundle; }

    /// Builds the main view the first time (assignMainView(), then mainViewDidLoad()) and
    /// hands back the same view afterwards; nullptr, with loadError() saying why, when it
    /// cannot be built.
    virtual QWidget *loadMainView();
    virtual QWidget *mainView() const { return _mainView; }
    virtual QString loadError() const { return _loadError; }

    /// After the main view was built and its parts connected.
    virtual void mainViewDidLoad() {}
    /// Each time the main view is about to be shown.
    virtual void willSelect() {}
    /// Each time the main view has been shown.
    virtual void didSelect() {}

    /// The window that holds the main view, which sheets and alerts belong to.
    QWidget *mainWindow() const { return _mainView ? _mainView->window() : nullptr; }

protected:
    /// Builds the main view from the pane's interface file; nullptr and setLoadError() when
    /// it cannot.
    virtual QWidget *assignMainView() = 0;
    void setLoadError(const QString &error) { _loadError = error; }

private:
    Bundle _bundle;
    QPointer<QWidget> _mainView;
    QString _loadError;
};

/// What a pane's plug-in exports: its principal class by the name its Info.plist gives
/// under "NSPrincipalClass".
class PreferencePaneFactory
{
public:
    virtual ~PreferencePaneFactory() = default;
    /// A new instance of `className` for the pane in `bundle`, owned by the caller; nullptr
    /// for a class the plug-in does not have.
    virtual PreferencePane *createPrincipalClass(const QString &className,
                                                 const Bundle &bundle) = 0;
};

#define PreferencePaneFactory_iid "com.ambertide.PreferencePaneFactory/1"
Q_DECLARE_INTERFACE(PreferencePaneFactory, PreferencePaneFactory_iid)
