// SPDX-License-Identifier: MIT
#include "common/utility/AdvertTextView.h"

#include "common/utility/Contrast.h"
#include "common/utility/RKWebsite.h"
#include "platform/workspace/Workspace.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QtMath>

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
    // Never wider than its place: a long line is cut, not the window stretched.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    // Transparent in the viewport's palette only: the view's own palette keeps following the
    // theme, and the line's colours are read from it.
    QPalette clear = viewport()->palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        clear.setBrush(role, Qt::transparent);
    viewport()->setPalette(clear);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    document()->setDocumentMargin(0);
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
    _name = name;
    _directory = directory;
    _blurp = blurp;
    _rebuild();
}

QColor AdvertTextView::_readable(const QColor &color) const
{
    const QColor background = palette().color(backgroundRole()).rgb();
    if (_backgroundAlpha >= 1)
        return Contrast::readable(color, background);
    return Contrast::readable(
        Contrast::readable(color, Contrast::mixed(Qt::black, background, _backgroundAlpha)),
        Contrast::mixed(Qt::white, background, _backgroundAlpha));
}

void AdvertTextView::_rebuild()
{
    QTextDocument *document = this->document();
    document->clear();
    QTextCursor cursor(document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    _lineText.clear();
    // A product the table does not know gets no line at all rather than a lone prefix.
    if (_name.isEmpty() && _blurp.isEmpty()) {
        setToolTip(QString());
        updateGeometry();
        viewport()->update();
        return;
    }

    QTextCharFormat plain = _attributes;
    if (!plain.hasProperty(QTextFormat::ForegroundBrush))
        plain.setForeground(_readable(palette().color(foregroundRole())));
    QList<std::pair<QString, QTextCharFormat>> parts;
    if (!_shortVersion)
        parts.append({tr("Brought to you by "), plain});
    const QUrl link(RKWebsite::homePageAddress() + _directory + QLatin1Char('/'));
    if (!_name.isEmpty() && !_directory.isEmpty() && link.isValid()) {
        QTextCharFormat linkFormat = _attributes;
        linkFormat.setAnchor(true);
        linkFormat.setAnchorHref(link.toString());
        // The desktop's link colour: a white link would vanish on the light panels the line
        // sits on.
        linkFormat.setForeground(_readable(palette().color(QPalette::Link)));
        linkFormat.setFontUnderline(false);
        parts.append({_name, linkFormat});
    }
    // A product without a description gets no dangling separator.
    if (!_blurp.isEmpty())
        parts.append({QLatin1String(" - ") + _blurp, plain});
    for (const auto &part : std::as_const(parts))
        _lineText += part.first;

    // Cut at the end to the width there is; what is left of each part keeps its format.
    const QFontMetricsF metrics(_attributes.font().resolve(document->defaultFont()));
    const qreal room = viewport()->width() - 2;
    const QString shown =
        room > 0 ? metrics.elidedText(_lineText, Qt::ElideRight, room) : _lineText;
    const bool cut = shown != _lineText;
    qsizetype left = cut ? std::max<qsizetype>(0, shown.size() - 1) : _lineText.size();
    for (const auto &[text, format] : std::as_const(parts)) {
        const QString kept = text.left(left);
        if (!kept.isEmpty())
            cursor.insertText(kept, format);
        left -= kept.size();
        if (cut && kept.size() < text.size()) {
            cursor.insertText(QString(QChar(0x2026)), format);
            break;
        }
    }
    setToolTip(cut ? _lineText : QString());
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

void AdvertTextView::setBackgroundAlpha(qreal alpha)
{
    _backgroundAlpha = alpha;
    _rebuild();
}

void AdvertTextView::setShortVersion(bool shortVersion)
{
    _shortVersion = shortVersion;
    viewport()->update();
}

QSize AdvertTextView::sizeHint() const
{
    const QFontMetricsF metrics(_attributes.font().resolve(document()->defaultFont()));
    return {qCeil(metrics.horizontalAdvance(_lineText)) + 2, minimumSizeHint().height()};
}

QSize AdvertTextView::minimumSizeHint() const
{
    const QFontMetricsF metrics(_attributes.font().resolve(document()->defaultFont()));
    return {0, std::max(qCeil(document()->size().height()), qCeil(metrics.height())) + 2};
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
    // The line is written in the theme's colours and cut for its font, so a new theme or font
    // writes it again.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        _rebuild();
}

void AdvertTextView::resizeEvent(QResizeEvent *event)
{
    QTextBrowser::resizeEvent(event);
    if (event->oldSize().width() != event->size().width())
        _rebuild();
}
