// SPDX-License-Identifier: MIT
#pragma once

#include <QUiLoader>

/// Reads the pane's interface files and knows the pane's own widget classes.
class PaneUiLoader final : public QUiLoader
{
    Q_OBJECT

public:
    explicit PaneUiLoader(QObject *parent = nullptr);

    /// The file's top widget, or nullptr with `error` set when it cannot be read.
    QWidget *loadFile(const QString &path, QString *error);

    QWidget *createWidget(const QString &className, QWidget *parent = nullptr,
                          const QString &name = QString()) override;
};
