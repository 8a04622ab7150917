// SPDX-License-Identifier: MIT
#include "app/card/PropertyView.h"

#include "app/card/CardActions.h"
#include "app/card/CardLinks.h"
#include "app/card/CardText.h"
#include "app/card/FlippedGeometry.h"
#include "app/chrome/WindowAppearance.h"
#include "app/helpers/MapLink.h"
#include "common/SettingsKeys.h"
#include "common/utility/AccessibleRole.h"
#include "platform/settings/UserDefaults.h"
#include "platform/workspace/Workspace.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

const QString PropertyView::PhoneProperty = QStringLiteral("Phone");
const QString PropertyView::EmailProperty = QStringLiteral("Email");
const QString PropertyView::HomePageProperty = QStringLiteral("HomePage");
const QString PropertyView::URLsProperty = QStringLiteral("URLs");
const QString PropertyView::AddressProperty = QStringLiteral("Address");
const QString PropertyView::NoteProperty = QStringLiteral("Note");

namespace {

constexpr qreal kHighlightRadius = 8;

/// A length of the design, grown with the desktop's font as the card's fonts are.
qreal scaled(qreal length)
{
    return length * CardText::scale();
}

/// Where the value starts in a row `rowWidth` wide: kValueX grown with the font, but in a
/// card narrowed to fit a small screen not beyond a quarter of the row, so the value keeps
/// room; never left of kValueX.
qreal valueX(qreal rowWidth)
{
    return std::max(PropertyView::kValueX, std::min(scaled(PropertyView::kValueX), rowWidth / 4));
}

qreal labelColumn(qreal rowWidth)
{
    return valueX(rowWidth) - scaled(PropertyView::kLabelGap);
}

QFont valueFont(bool underlined)
{
    QFont font = CardText::cardFont(PropertyView::kFontSize);
    font.setUnderline(underlined);
    return font;
}

QFont labelFont(int designSize = PropertyView::kFontSize)
{
    return CardText::cardFont(designSize, true);
}

// A label a little wider than its column ("home page" in a wide font) is set a size or two
// smaller rather than cut; only a longer one is cut.
constexpr int kSmallestLabelSize = PropertyView::kFontSize - 2;

QFont fittingLabelFont(const QString &label, qreal width)
{
    for (int size = PropertyView::kFontSize; size > kSmallestLabelSize; --size) {
        const QFont font = labelFont(size);
        if (QFontMetricsF(font).horizontalAdvance(CardText::truncated(label, 64)) <= width)
            return font;
    }
    return labelFont(kSmallestLabelSize);
}

QSizeF valueSize(const QString &text, qreal wrapWidth)
{
    const QFont font = valueFont(false);
    return wrapWidth > 0 ? CardText::wrappedSize(text, font, wrapWidth)
                         : CardText::sizeOf(text, QFontMetricsF(font));
}

qreal valueWidth(qreal rowWidth)
{
    return std::max<qreal>(0, rowWidth - valueX(rowWidth) - scaled(PropertyView::kRightMargin));
}

struct ShownValue
{
    QString text;
    bool cut = false;
    qreal wrapWidth = 0; // positive for a text that wraps
};

ShownValue shownValue(const QString &property, const QString &value, qreal rowWidth)
{
    const QFontMetricsF metrics(valueFont(false));
    const qreal width = valueWidth(rowWidth);
    if (property == PropertyView::NoteProperty) {
        const QString text = CardText::truncated(value, PropertyView::kMaxNoteCharacters);
        return {text, text.size() != value.size(), width};
    }
    const QString text = CardText::elidedLines(value, metrics, width, PropertyView::kMaxValueLines);
    return {text, text != value, 0};
}

// A rectangle with rounded corners on one side only; the highlight's two halves meet along
// their square sides.
QPainterPath halfRoundedRect(const QRectF &rect, qreal radius, bool roundLeft)
{
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    const qreal d = 2 * r;
    QPainterPath path;
    if (roundLeft) {
        path.moveTo(rect.right(), rect.top());
        path.lineTo(rect.left() + r, rect.top());
        path.arcTo(rect.left(), rect.top(), d, d, 90, 90);
        path.lineTo(rect.left(), rect.bottom() - r);
        path.arcTo(rect.left(), rect.bottom() - d, d, d, 180, 90);
        path.lineTo(rect.right(), rect.bottom());
    } else {
        path.moveTo(rect.left(), rect.top());
        path.lineTo(rect.right() - r, rect.top());
        path.arcTo(rect.right() - d, rect.top(), d, d, 90, -90);
        path.lineTo(rect.right(), rect.bottom() - r);
        path.arcTo(rect.right() - d, rect.bottom() - d, d, d, 0, -90);
        path.lineTo(rect.left(), rect.bottom());
    }
    path.closeSubpath();
    return path;
}

} // namespace

PropertyView::PropertyView(CardActions *actions, QWidget *parent)
    : QWidget(parent)
    , _actions(actions)
{
    setMouseTracking(true);
    // Right clicks arrive as presses, which open the menu; no second menu from the toolkit.
    setContextMenuPolicy(Qt::PreventContextMenu);
    AccessibleRole::set(this, QAccessible::ListItem);
}

PropertyView::~PropertyView() = default;

void PropertyView::setProperty(const QString &property)
{
    _property = property;
    _invalidateLayout();
}

void PropertyView::setLabel(const QString &label)
{
    _label = displayLabel(label);
    setAccessibleName(_label);
    _invalidateLayout();
}

void PropertyView::setValue(const QString &value)
{
    _value = value;
    setAccessibleDescription(CardText::truncated(value, CardText::kToolTipCharacters));
    _invalidateLayout();
}

void PropertyView::setInfo(const QVariant &info)
{
    _info = info;
}

QString PropertyView::displayLabel(const QString &storedLabel)
{
    static const QList<std::pair<QString, const char *>> table{
        {QStringLiteral("_$!<Work>!$_"), QT_TR_NOOP("work")},
        {QStringLiteral("_$!<Main>!$_"), QT_TR_NOOP("main")},
        {QStringLiteral("_$!<Home>!$_"), QT_TR_NOOP("home")},
        {QStringLiteral("_$!<Mobile>!$_"), QT_TR_NOOP("mobile")},
        {QStringLiteral("_$!<Pager>!$_"), QT_TR_NOOP("pager")},
        {QStringLiteral("_$!<Other>!$_"), QT_TR_NOOP("other")},
        {QStringLiteral("_$!<WorkFAX>!$_"), QT_TR_NOOP("work fax")},
        {QStringLiteral("_$!<HomeFAX>!$_"), QT_TR_NOOP("home fax")},
        {QStringLiteral("_$!<HomePage>!$_"), QT_TR_NOOP("home page")},
        {QStringLiteral("HomePage"), QT_TR_NOOP("home page")},
    };
    for (const auto &[stored, shown] : table) {
        if (storedLabel == stored)
            return tr(shown);
    }
    // Other labels of the bracketed form ("_$!<Assistant>!$_") show the word inside; a label
    // the user typed shows as typed unless it begins or ends with one of the marks.
    static const QString marks = QStringLiteral("!$_<>");
    qsizetype start = 0;
    qsizetype end = storedLabel.size();
    while (start < end && marks.contains(storedLabel.at(start)))
        ++start;
    while (end > start && marks.contains(storedLabel.at(end - 1)))
        --end;
    return storedLabel.mid(start, end - start);
}

qreal PropertyView::textHeight(const QString &property, const QString &value, qreal rowWidth)
{
    const ShownValue shown = shownValue(property, value, rowWidth);
    return valueSize(shown.text, shown.wrapWidth).height();
}

void PropertyView::open()
{
    if (_property == PhoneProperty || _property == AddressProperty) {
        showLargeType();
    } else if (_property == EmailProperty) {
        const QUrl link = CardLinks::mailLink(_value);
        if (link.isEmpty()) {
            _actions->showStatusText(tr("Not opened: not an e-mail address"));
            return;
        }
        Q_EMIT acted();
        Workspace::shared().openUrl(link);
    } else if (_isWebRow()) {
        const QUrl link = CardLinks::webLink(_value);
        if (link.isEmpty()) {
            _actions->showStatusText(tr("Not opened: not a web address"));
            return;
        }
        Q_EMIT acted();
        Workspace::shared().openUrl(link);
    }
}

void PropertyView::copy()
{
    Q_EMIT acted();
    QGuiApplication::clipboard()->setText(_value);
}

void PropertyView::showLargeType()
{
    // Told first: large type takes the search window away.
    Q_EMIT acted();
    _actions->showStringInLargeType(_value);
}

void PropertyView::dialWithVonage()
{
    Q_EMIT acted();
    _actions->dialWithVonage(_value);
}

void PropertyView::dialWithSkype()
{
    Q_EMIT acted();
    _actions->dialWithSkype(_value);
}

void PropertyView::call()
{
    const QUrl link = CardLinks::phoneLink(_value);
    if (link.isEmpty())
        return;
    Q_EMIT acted();
    Workspace::shared().openUrl(link);
}

void PropertyView::openMapLink()
{
    const QUrl link = _mapLink();
    if (link.isEmpty())
        return;
    Q_EMIT acted();
    Workspace::shared().openUrl(link);
}

void PropertyView::copyMapLink()
{
    // Without a link the clipboard keeps what the user put there.
    const QUrl link = _mapLink();
    if (link.isEmpty())
        return;
    Q_EMIT acted();
    QGuiApplication::clipboard()->setText(link.toString(QUrl::FullyEncoded));
}

QUrl PropertyView::_mapLink() const
{
    return MapLink::googleURLWithAddress(_info.toMap());
}

bool PropertyView::_isWebRow() const
{
    return _property == HomePageProperty || _property == URLsProperty;
}

void PropertyView::boundsChanged()
{
    _tracking = false;
    _pointerInLabel = false;
    _setHighlight(false);
}

void PropertyView::setHighlighted(bool highlighted)
{
    _setHighlight(highlighted);
}

void PropertyView::_setHighlight(bool highlight)
{
    if (_highlight == highlight)
        return;
    _highlight = highlight;
    update();
    Q_EMIT highlightChanged(highlight);
}

std::unique_ptr<QMenu> PropertyView::_menuForEvent(const QPointF *position)
{
    if (position && !_inQt(labelRect()).contains(*position))
        return nullptr;

    auto menu = std::make_unique<QMenu>();
    menu->setFont(CardText::cardFont(kMenuFontSize));
    const auto add = [&](const char *title, void (PropertyView::*action)(), bool enabled = true) {
        QAction *item = menu->addAction(tr(title));
        item->setEnabled(enabled);
        connect(item, &QAction::triggered, this, action);
    };
    if (_property == PhoneProperty) {
        add(QT_TR_NOOP("Large Type"), &PropertyView::showLargeType);
        // Whether dialing is on is read as the menu opens, so the pane's switch counts at once.
        add(QT_TR_NOOP("Dial With Vonage"), &PropertyView::dialWithVonage,
            UserDefaults::standardUserDefaults().boolForKey(DefVonageEnabled));
        if (Workspace::shared().canOpenScheme(QStringLiteral("tel")))
            add(QT_TR_NOOP("Call"), &PropertyView::call);
        add(QT_TR_NOOP("Copy"), &PropertyView::copy);
    } else if (_property == EmailProperty) {
        add(QT_TR_NOOP("Send Email"), &PropertyView::open);
        add(QT_TR_NOOP("Copy"), &PropertyView::copy);
    } else if (_isWebRow()) {
        add(QT_TR_NOOP("Go to Web Site"), &PropertyView::open);
        add(QT_TR_NOOP("Copy"), &PropertyView::copy);
    } else if (_property == AddressProperty) {
        const bool hasLink = !_mapLink().isEmpty();
        add(QT_TR_NOOP("Map Of"), &PropertyView::openMapLink, hasLink);
        add(QT_TR_NOOP("Copy Map Link"), &PropertyView::copyMapLink, hasLink);
        add(QT_TR_NOOP("Large Type"), &PropertyView::showLargeType);
        add(QT_TR_NOOP("Copy"), &PropertyView::copy);
    } else {
        add(QT_TR_NOOP("Copy"), &PropertyView::copy);
    }
    return menu;
}

void PropertyView::popUpMenu(const QPoint &globalPosition)
{
    std::unique_ptr<QMenu> menu = _menuForEvent(nullptr);
    menu->exec(globalPosition);
}

void PropertyView::_invalidateLayout()
{
    _laidOutSize = QSize();
    const ShownValue value = shownValue(_property, _value, width());
    const qreal column = labelColumn(width());
    const bool cutLabel =
        CardText::elidedLine(_label, QFontMetricsF(fittingLabelFont(_label, column)), column) !=
        _label;
    setToolTip(value.cut || cutLabel ? CardText::truncated(_label + QLatin1String(": ") + _value,
                                                           CardText::kToolTipCharacters)
                                     : QString());
    update();
}

void PropertyView::_layOut() const
{
    if (_laidOutSize == size())
        return;
    _laidOutSize = size();
    const qreal column = labelColumn(width());
    _labelFont = fittingLabelFont(_label, column);
    const QFontMetricsF labelMetrics(_labelFont);
    const ShownValue value = shownValue(_property, _value, width());
    _shownValue = value.text;
    _wrapWidth = value.wrapWidth;
    _shownLabel = CardText::elidedLine(_label, labelMetrics, column);

    const qreal rowHeight = height();
    const QSizeF shownSize = valueSize(_shownValue, _wrapWidth);
    const QSizeF labelSize = CardText::sizeOf(_shownLabel, labelMetrics);
    // The value is centred in the row; the label ends kLabelGap before it with its top level
    // with the value's first line.
    const qreal valueY = (rowHeight - shownSize.height()) * 0.5;
    _valueRect = QRectF(QPointF(valueX(width()), valueY), shownSize);
    _labelRect = QRectF(
        QPointF(column - labelSize.width(), valueY + shownSize.height() - labelSize.height()),
        labelSize);
}

QRectF PropertyView::labelRect() const
{
    _layOut();
    return _labelRect;
}

QRectF PropertyView::valueRect() const
{
    _layOut();
    return _valueRect;
}

QString PropertyView::displayedLabel() const
{
    _layOut();
    return _shownLabel;
}

QString PropertyView::displayedValue() const
{
    _layOut();
    return _shownValue;
}

QRectF PropertyView::_inQt(const QRectF &yUp) const
{
    return FlippedGeometry::flipped(yUp, height());
}

void PropertyView::paintEvent(QPaintEvent *)
{
    _layOut();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Shapes are built y-up, where the layout rules are stated, and flipped once here.
    painter.setTransform(FlippedGeometry::flipTransform(height()));

    const WindowAppearance::CardColors colors = WindowAppearance::cardColors(palette());
    if (_highlight) {
        const qreal room = scaled(kHighlightRoom);
        const QRectF value = _valueRect.adjusted(-scaled(3), -room, scaled(3), room);
        const QRectF label = _labelRect.adjusted(-room, -room, room, room);
        painter.fillPath(halfRoundedRect(value, scaled(kHighlightRadius), false),
                         colors.highlightedValueBackground);
        painter.fillPath(halfRoundedRect(label, scaled(kHighlightRadius), true),
                         colors.highlightedLabelBackground);
    }
    painter.resetTransform();

    const QFont font = valueFont(_isWebRow());
    painter.setFont(font);
    painter.setPen(_isWebRow() ? colors.link : _highlight ? colors.highlightedValue : colors.value);
    const QRectF valueArea = _inQt(_valueRect);
    if (_wrapWidth > 0)
        CardText::drawWrapped(painter, valueArea.topLeft(), _shownValue, font, _wrapWidth);
    else
        painter.drawText(valueArea, Qt::AlignLeft | Qt::AlignTop, _shownValue);

    painter.setFont(_labelFont);
    painter.setPen(_highlight ? colors.highlightedLabel : colors.label);
    painter.drawText(_inQt(_labelRect), Qt::AlignLeft | Qt::AlignTop, _shownLabel);

    // Like a tracking area added where the label was drawn, not assuming the pointer inside.
    if (!_tracking) {
        _tracking = true;
        _pointerInLabel = false;
    }
}

void PropertyView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (event->button() == Qt::RightButton || (event->button() == Qt::LeftButton && control)) {
        popUpMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF position = event->position();
    if (std::unique_ptr<QMenu> menu = _menuForEvent(&position))
        menu->exec(event->globalPosition().toPoint());
}

void PropertyView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (std::exchange(_releaseEndsDoubleClick, false))
        return;
    if (event->button() == Qt::LeftButton && !event->modifiers().testFlag(Qt::ControlModifier) &&
        _inQt(valueRect()).contains(event->position()))
        open();
}

void PropertyView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The first click of the pair has run the action (or opened the menu) already; the
    // second would open a second browser tab or mail window.
    event->accept();
    _releaseEndsDoubleClick = true;
}

void PropertyView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    if (_inQt(valueRect()).contains(position))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    if (!_tracking)
        return;
    const bool inside = _inQt(labelRect()).contains(position);
    if (inside != _pointerInLabel) {
        _pointerInLabel = inside;
        _setHighlight(inside);
    }
}

void PropertyView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    unsetCursor();
    if (_pointerInLabel) {
        _pointerInLabel = false;
        _setHighlight(false);
    }
}

void PropertyView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    _invalidateLayout();
}

void PropertyView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The row's fonts and columns grow with the desktop's font.
    if (event->type() == QEvent::FontChange)
        _invalidateLayout();
}
