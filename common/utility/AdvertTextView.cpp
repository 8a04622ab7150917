// SPDX-License-Identifier: MIT
#include "AdvertTextView.h"

#include "Contrast.h"
#include "RKWebsite.h"
#include "workspace/Workspace.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

AdvertTextView::AdvertTextView(QWidget *parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::NoWrap);
    // Links stay clickable, but nothing can be selected, dragged or edited.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QTextBrowser { background: transparent; }"));
    document()->setDocumentMargin(0);

    // The theme's text colour: the line sits on the search window and on the pane, both of
    // which follow the theme.
    _attributes.setForeground(palette().color(QPalette::Text));
    _attributes.setFontUnderline(false);

    connect(this, &QTextBrowser::anchorClicked, this, &AdvertTextView::_openLink);
}

void AdvertTextView::setProductId(int productId)
{
    setProductName(RKWebsite::productNameForProductId(productId),
                   RKWebsite::productDirForProductId(productId),
                   RKWebsite::blurpForProductId(productId));
    _productId = productId;
    viewport()->update();
}

void AdvertTextView::setProductName(const QString &name, const QString &directory,
                                    const QString &blurp)
{
    QTextDocument *document = this->document();
    document->clear();
    QTextCursor cursor(document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    // A product the table does not know gets no line at all rather than a lone prefix.
    if (name.isEmpty() && blurp.isEmpty()) {
        updateGeometry();
        viewport()->update();
        return;
    }

    if (!_shortVersion)
        cursor.insertText(tr("Brought to you by "), _attributes);

    const QUrl link(RKWebsite::homePageAddress() + directory + QLatin1Char('/'));
    if (!name.isEmpty() && !directory.isEmpty() && link.isValid()) {
        QTextCharFormat linkFormat = _attributes;
        linkFormat.setAnchor(true);
        linkFormat.setAnchorHref(link.toString());
        // The desktop's link colour: a white link would vanish on the light panels the line
        // sits on.
        linkFormat.setForeground(
            Contrast::readable(palette().color(QPalette::Link), palette().color(QPalette::Base)));
        linkFormat.setFontUnderline(false);
        cursor.insertText(name, linkFormat);
    }
    // A product without a description gets no dangling separator.
    if (!blurp.isEmpty())
        cursor.insertText(QLatin1String(" - ") + blurp, _attributes);
    updateGeometry();
    viewport()->update();
}

void AdvertTextView::setTextAttributes(const QTextCharFormat &attributes)
{
    _attributes = attributes;
    viewport()->update();
}

void AdvertTextView::setLineVisible(bool visible)
{
    _visible = visible;
    viewport()->update();
}

void AdvertTextView::setShortVersion(bool shortVersion)
{
    _shortVersion = shortVersion;
    viewport()->update();
}

QSize AdvertTextView::sizeHint() const
{
    const QSizeF size = document()->size();
    return {int(size.width()) + 2, int(size.height()) + 2};
}

void AdvertTextView::paintEvent(QPaintEvent *event)
{
    if (_visible)
        QTextBrowser::paintEvent(event);
}

void AdvertTextView::mousePressEvent(QMouseEvent *event)
{
    if (!_visible || anchorAt(event->position().toPoint()).isEmpty()) {
        event->ignore();
        return;
    }
    QTextBrowser::mousePressEvent(event);
}

void AdvertTextView::mouseMoveEvent(QMouseEvent *event)
{
    if (!_visible) {
        event->ignore();
        return;
    }
    QTextBrowser::mouseMoveEvent(event);
}

void AdvertTextView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!_visible) {
        event->ignore();
        return;
    }
    QTextBrowser::mouseReleaseEvent(event);
}

void AdvertTextView::_openLink(const QUrl &url)
{
    if (_visible && url.isValid())
        Workspace::shared().openUrl(url);
}

void AdvertTextView::changeEvent(QEvent *event)
{
    QTextBrowser::changeEvent(event);
    // The line is written in the theme's colours, its link's among them, so a new theme
    // writes it again, once the style has settled the palette this view ends up with.
    if (event->type() != QEvent::PaletteChange)
        return;
    QTimer::singleShot(0, this, [this] {
        _attributes.setForeground(palette().color(QPalette::Text));
        if (_productId >= 0)
            setProductId(_productId);
    });
}
