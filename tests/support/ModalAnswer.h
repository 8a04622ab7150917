// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

/// Hands the next modal window of type `Modal` (named `objectName`, when given) to `answer` once
/// it is up. When none comes up within `timeoutMs`, the test fails saying so and every dialog
/// still open is rejected, so a nested loop waiting on one ends instead of holding the test
/// until ctest's time-out.
template <typename Modal>
void answerNextModal(std::function<void(Modal *)> answer, const QString &objectName = QString(),
                     int timeoutMs = 10000)
{
    auto *poll = new QTimer;
    const QDeadlineTimer deadline(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, answer, objectName, timeoutMs] {
        auto *modal = qobject_cast<Modal *>(QApplication::activeModalWidget());
        if (modal && !objectName.isEmpty() && modal->objectName() != objectName)
            modal = nullptr;
        if (!modal && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (modal) {
            answer(modal);
            return;
        }
        ADD_FAILURE() << "no " << Modal::staticMetaObject.className() << ' '
                      << qPrintable(objectName) << " came up within " << timeoutMs / 1000 << " s";
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible())
                dialog->reject();
        }
    });
    poll->start(10);
}
