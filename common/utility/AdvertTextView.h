// SPDX-License-Identifier: MIT
#pragma once

#include <QTextBrowser>
#include <QTextCharFormat>

/// One centred line, "Brought to you by " + a linked product name + " - " + its description,
/// on a transparent background. Clicking the name opens the product page through the shared
/// workspace; the rest of the line lets mouse presses through to the window beneath. A line
/// wider than the view ends in "…" and shows whole in its tooltip.
///
/// The drawing switch is setLineVisible() rather than QWidget::setVisible(): the line keeps
/// its place in the layout and its text while it is switched off. It starts switched off.
///
/// Its colours are the theme's, brought to contrast against the colour of the view's
/// background role (the window's by default), and written again when the theme changes.
class AdvertTextView final : public QTextBrowser
{
    Q_OBJECT

public:
    explicit AdvertTextView(QWidget *parent = nullptr);

    int productId() const { return _productId; }
    /// Rebuilds the line for the product and remembers its identifier.
    void setProductId(int productId);
    /// Builds the line from explicit parts; an empty directory leaves the name out.
    void setProductName(const QString &name, const QString &directory, const QString &blurp);

    QTextCharFormat textAttributes() const { return _attributes; }
    /// Format of the plain parts, used from the next rebuild on. Without a foreground of its
    /// own the theme's text colour is used.
    void setTextAttributes(const QTextCharFormat &attributes);

    bool lineVisible() const { return _visible; }
    void setLineVisible(bool visible);

    bool shortVersion() const { return _shortVersion; }
    /// Leaves out the "Brought to you by " prefix from the next rebuild on.
    void setShortVersion(bool shortVersion);

    /// The line sits on its background role's colour shown at `alpha` over anything from
    /// black to white (a translucent window); its colours read on all of it.
    void setBackgroundAlpha(qreal alpha);

    /// The whole line as plain text, however much of it fits.
    QString lineText() const { return _lineText; }

    /// Presses on the line (outside the link) may move a window that allows it.
    bool mouseDownCanMoveWindow() const { return true; }

    /// As wide as the whole line and one line high; the view may be narrower.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void _rebuild();
    QColor _readable(const QColor &color) const;
    void _openLink(const QUrl &url);

    int _productId = -1;
    QString _name;
    QString _directory;
    QString _blurp;
    QString _lineText;
    QTextCharFormat _attributes;
    bool _visible = false;
    bool _shortVersion = false;
    qreal _backgroundAlpha = 1.0;
};
