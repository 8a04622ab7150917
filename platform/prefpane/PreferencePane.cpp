// SPDX-License-Identifier: MIT
#include "platform/prefpane/PreferencePane.h"

PreferencePane::PreferencePane(const Bundle &bundle, QObject *parent)
    : QObject(parent)
    , _bundle(bundle)
{}

PreferencePane::~PreferencePane() = default;

QWidget *PreferencePane::loadMainView()
{
    if (_mainView)
        return _mainView;
    _loadError.clear();
    _mainView = assignMainView();
    if (!_mainView) {
        if (_loadError.isEmpty())
            _loadError = tr("The pane has no main view.");
        return nullptr;
    }
    mainViewDidLoad();
    return _mainView;
}
