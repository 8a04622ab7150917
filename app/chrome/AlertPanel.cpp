// SPDX-License-Identifier: MIT
#include "AlertPanel.h"

#include "chrome/RKWindow.h"

#include <QMessageBox>
#include <QPushButton>

namespace AlertPanel {

int run(const QString &title, const QString &message, const QString &defaultButton,
        const QString &alternateButton, const QString &otherButton,
        RKWindow::AlertReturn escapeButton)
{
    QMessageBox panel;
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
    case RKWindow::AlertDefaultReturn:
        panel.setEscapeButton(defaultPush);
        break;
    case RKWindow::AlertAlternateReturn:
        if (alternatePush)
            panel.setEscapeButton(alternatePush);
        break;
    case RKWindow::AlertOtherReturn:
        if (otherPush)
            panel.setEscapeButton(otherPush);
        break;
    }
    panel.exec();

    if (panel.clickedButton() == defaultPush)
        return RKWindow::AlertDefaultReturn;
    if (alternatePush && panel.clickedButton() == alternatePush)
        return RKWindow::AlertAlternateReturn;
    return RKWindow::AlertOtherReturn;
}

} // namespace AlertPanel
