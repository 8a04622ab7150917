// SPDX-License-Identifier: MIT
#pragma once

#include <QListView>

/// The list of matches. It never takes the keyboard: clicking a row selects it while typing
/// carries on in the search field, which also walks the rows with the arrow keys.
class MyTableView final : public QListView
{
    Q_OBJECT

public:
    explicit MyTableView(QWidget *parent = nullptr);

    /// Selects `row` alone, without extending the selection, and scrolls it into view.
    void selectRow(int row);
    /// The selected row, or -1 when none is selected.
    int selectedRow() const;

Q_SIGNALS:
    /// Another row was selected, by the keyboard's walk or a click; -1 for none.
    void selectedRowChanged(int row);

protected:
    void changeEvent(QEvent *event) override;
    /// A name cut short to fit the list shows whole in a tooltip.
    bool viewportEvent(QEvent *event) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
};
