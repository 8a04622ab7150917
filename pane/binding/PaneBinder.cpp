// SPDX-License-Identifier: MIT
#include "pane/binding/PaneBinder.h"

#include "common/utility/Contrast.h"
#include "pane/store/BriskoDefaults.h"
#include "pane/view/ColorWell.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QWidget>

#include <cstdio>

PaneBinder::PaneBinder(QWidget *view, BriskoDefaults *store, QObject *controller, QObject *parent)
    : QObject(parent)
    , _store(store)
    , _controller(controller)
{
    QList<QWidget *> controls = view->findChildren<QWidget *>();
    controls.prepend(view);
    for (QWidget *control : controls) {
        const QString settingsKey = control->property(SettingsKey).toString();
        if (!settingsKey.isEmpty())
            _bindStoreControl(control, settingsKey);
        const QString paneKey = control->property(PaneKey).toString();
        if (!paneKey.isEmpty())
            _bindControllerControl(control, paneKey, Shown::Value);
        const QString colorKey = control->property(PaneColorKey).toString();
        if (!colorKey.isEmpty())
            _bindControllerControl(control, colorKey, Shown::Color);
        const QString enabledKey = control->property(PaneEnabledKey).toString();
        if (!enabledKey.isEmpty())
            _bindControllerControl(control, enabledKey, Shown::Enabled);
        const QString action = control->property(PaneAction).toString();
        if (!action.isEmpty())
            _bindAction(control, action);
    }
    reload();
}

QString PaneBinder::textKeepingMnemonic(const QString &titleWithMnemonic, const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    qsizetype marker = -1;
    for (qsizetype i = 0; i + 1 < titleWithMnemonic.size(); ++i) {
        if (titleWithMnemonic.at(i) != QLatin1Char('&'))
            continue;
        if (titleWithMnemonic.at(i + 1) != QLatin1Char('&')) {
            marker = i + 1;
            break;
        }
        ++i;
    }
    if (marker < 0)
        return escaped;
    const qsizetype at = escaped.indexOf(titleWithMnemonic.at(marker), 0, Qt::CaseInsensitive);
    if (at < 0 || escaped.at(at) == QLatin1Char('&'))
        return escaped;
    return escaped.insert(at, QLatin1Char('&'));
}

void PaneBinder::reload()
{
    for (const Binding &binding : std::as_const(_storeBindings))
        _showStoreValue(binding);
    _controllerChanged();
}

void PaneBinder::_bindStoreControl(QWidget *control, const QString &key)
{
    const Binding binding{control, key, {}};
    _storeBindings.append(binding);
    // Each write is followed by a fresh read, so a write the store refused shows as such.
    auto written = [this, binding](const QVariant &value) {
        _store->setValueForKey(value, binding.name);
        _showStoreValue(binding);
    };
    if (auto *well = qobject_cast<ColorWell *>(control)) {
        connect(well, &ColorWell::colorChosen, this,
                [written](const QColor &color) { written(color); });
    } else if (auto *button = qobject_cast<QAbstractButton *>(control);
               button && button->isCheckable()) {
        connect(button, &QAbstractButton::clicked, this,
                [written](bool checked) { written(checked); });
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::editingFinished, this,
                [written, edit] { written(edit->text()); });
    }
}

void PaneBinder::_bindControllerControl(QWidget *control, const QString &property, Shown shown)
{
    const QMetaObject *meta = _controller->metaObject();
    const int index = meta->indexOfProperty(property.toUtf8().constData());
    if (index < 0) {
        _report(control, QStringLiteral("names no property \"%1\"").arg(property));
        return;
    }
    const QMetaProperty metaProperty = meta->property(index);
    if (metaProperty.hasNotifySignal()) {
        const QMetaMethod changed =
            metaObject()->method(metaObject()->indexOfSlot("_controllerChanged()"));
        connect(_controller, metaProperty.notifySignal(), this, changed, Qt::UniqueConnection);
    }
    auto *button = qobject_cast<QAbstractButton *>(control);
    const Binding binding{control, property, button ? button->text() : QString()};
    if (shown == Shown::Color) {
        _colorBindings.append(binding);
        return;
    }
    if (shown == Shown::Enabled) {
        _enabledBindings.append(binding);
        return;
    }
    _controllerBindings.append(binding);
    if (!metaProperty.isWritable())
        return;
    QObject *controller = _controller;
    if (auto *well = qobject_cast<ColorWell *>(control)) {
        connect(well, &ColorWell::colorChosen, this, [controller, property](const QColor &c) {
            controller->setProperty(property.toUtf8().constData(), c);
        });
    } else if (button && button->isCheckable()) {
        connect(button, &QAbstractButton::clicked, this, [controller, property](bool checked) {
            controller->setProperty(property.toUtf8().constData(), checked);
        });
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        connect(edit, &QLineEdit::textEdited, this, [controller, property](const QString &text) {
            controller->setProperty(property.toUtf8().constData(), text);
        });
    }
}

void PaneBinder::_bindAction(QWidget *control, const QString &slot)
{
    auto *button = qobject_cast<QAbstractButton *>(control);
    const QMetaObject *meta = _controller->metaObject();
    const int index = meta->indexOfMethod(
        QMetaObject::normalizedSignature((slot + QLatin1String("()")).toUtf8().constData())
            .constData());
    if (!button || index < 0) {
        _report(control, QStringLiteral("names no action \"%1\"").arg(slot));
        return;
    }
    const QMetaMethod method = meta->method(index);
    QObject *controller = _controller;
    connect(button, &QAbstractButton::clicked, controller,
            [controller, method] { method.invoke(controller, Qt::DirectConnection); });
}

void PaneBinder::_controllerChanged()
{
    for (const Binding &binding : std::as_const(_controllerBindings)) {
        if (binding.control)
            _show(binding, _controller->property(binding.name.toUtf8().constData()));
    }
    for (const Binding &binding : std::as_const(_colorBindings)) {
        if (!binding.control)
            continue;
        const QColor color =
            _controller->property(binding.name.toUtf8().constData()).value<QColor>();
        // No colour of its own: the theme's, followed when the theme changes.
        if (!color.isValid()) {
            binding.control->setPalette(QPalette());
            continue;
        }
        // The pane's own colours (the green of "running") are for a light theme; on any other
        // they are brought to a contrast that still reads.
        QPalette palette = binding.control->palette();
        palette.setColor(QPalette::WindowText,
                         Contrast::readable(color, palette.color(QPalette::Window)));
        binding.control->setPalette(palette);
    }
    for (const Binding &binding : std::as_const(_enabledBindings)) {
        if (binding.control)
            binding.control->setEnabled(
                _controller->property(binding.name.toUtf8().constData()).toBool());
    }
}

void PaneBinder::_showStoreValue(const Binding &binding)
{
    if (!binding.control)
        return;
    const auto *button = qobject_cast<QAbstractButton *>(binding.control);
    if (button && button->isCheckable())
        _show(binding, _store->boolForKey(binding.name));
    else
        _show(binding, _store->valueForKey(binding.name));
}

void PaneBinder::_show(const Binding &binding, const QVariant &value)
{
    QWidget *control = binding.control;
    if (auto *well = qobject_cast<ColorWell *>(control)) {
        well->setColor(value.value<QColor>());
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        if (button->isCheckable())
            button->setChecked(value.toBool());
        else
            button->setText(textKeepingMnemonic(binding.fileTitle, value.toString()));
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(value.toString());
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        // Rewriting an unchanged text would move the cursor under the user's hands.
        if (edit->text() != value.toString())
            edit->setText(value.toString());
    }
}

void PaneBinder::_report(QWidget *control, const QString &problem)
{
    const QString text = QStringLiteral("%1 %2").arg(control->objectName(), problem);
    _problems.append(text);
    std::fprintf(stderr, "BriskoPane: the control %s\n", qPrintable(text));
}
