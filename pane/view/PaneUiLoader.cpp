// SPDX-License-Identifier: MIT
#include "pane/view/PaneUiLoader.h"

#include "common/keycombo/KeyBroadcaster.h"
#include "common/utility/AdvertTextView.h"
#include "pane/view/ColorWell.h"

#include <QFile>

PaneUiLoader::PaneUiLoader(QObject *parent)
    : QUiLoader(parent)
{
    // The pane's widgets are its own; Designer plug-ins of whatever is installed are not.
    clearPluginPaths();
}

QWidget *PaneUiLoader::loadFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("Cannot open %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    QWidget *view = load(&file);
    if (!view)
        *error = tr("Cannot read %1: %2").arg(path, errorString());
    return view;
}

QWidget *PaneUiLoader::createWidget(const QString &className, QWidget *parent, const QString &name)
{
    QWidget *widget = nullptr;
    if (className == QLatin1String("ColorWell"))
        widget = new ColorWell(parent);
    else if (className == QLatin1String("AdvertTextView"))
        widget = new AdvertTextView(parent);
    else if (className == QLatin1String("KeyBroadcaster"))
        widget = new KeyBroadcaster(parent);
    else
        return QUiLoader::createWidget(className, parent, name);
    widget->setObjectName(name);
    return widget;
}
