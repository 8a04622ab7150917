// SPDX-License-Identifier: MIT
#include "common/utility/AlertPanel.h"

#include <QMessageBox>
#include <QPushButton>

namespace AlertPanel {

int run(const QString &title, const QString &message, const QString &defaultButton,
        const QString &alternateButton, const QString &otherButton, QWidget *window,
        Return escapeButton)
{
    QMessageBox panel(window);
    if (window)
        panel.setWindowModality(Qt::WindowModal);
    panel.setIcon(QMessageBox::Information);
    panel.setWindowTitle(title);
    panel.setText(title);
    panel.setInformativeText(message);
    QPushButton *defaultPush = panel.addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton *alternatePush = alternateButton.isEmpty()
                                     ? nullptr
                                     : panel.addButton(alternateButton, QMessageBox::RejectRole);
    QPushButton *otherPush = otherButton.isEmpty()
                                 ? nullptr
                                 : panel.addButton(otherButton, QMessageBox::DestructiveRole);
    panel.setDefaultButton(defaultPush);
    switch (escapeButton) {
    case DefaultReturn:
        panel.setEscapeButton(defaultPush);
        break;
    case AlternateReturn:
        if (alternatePush)
            panel.setEscapeButton(alternatePush);
        break;
    case OtherReturn:
        if (otherPush)
            panel.setEscapeButton(otherPush);
        break;
    }
    panel.exec();

    if (panel.clickedButton() == defaultPush)
        return DefaultReturn;
    if (alternatePush && panel.clickedButton() == alternatePush)
        return AlternateReturn;
    return OtherReturn;
}

} // namespace AlertPanel
