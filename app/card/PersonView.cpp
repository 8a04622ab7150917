// SPDX-License-Identifier: MIT
#include "app/card/PersonView.h"

#include "app/card/CardText.h"
#include "app/card/FlippedGeometry.h"
#include "app/card/PropertyView.h"
#include "app/chrome/WindowAppearance.h"
#include "app/search/PersonExtras.h"
#include "app/settings/UserDefaultsExtras.h"
#include "common/SettingsKeys.h"
#include "common/utility/AccessibleRole.h"
#include "common/utility/Contrast.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/settings/UserDefaults.h"

#include <QBuffer>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>

#include <utility>

namespace {

constexpr qreal kNameHighlightRadius = 5;
// Room kept between the header's text and the photo.
constexpr qreal kPhotoGap = 6;

QColor settingsColor(const QString &key, const QColor &fallback)
{
    const QColor color = UserDefaultsExtras::colorForKey(UserDefaults::standardUserDefaults(), key);
    return color.isValid() ? color : fallback;
}

struct HeaderText
{
    QString name;
    QString upper; // drawn kLineStep above the lower line
    QString lower;
};

HeaderText headerText(const Person &person)
{
    HeaderText text{PersonExtras::displayName(person), {}, {}};
    if (!PersonExtras::isCompany(person)) {
        text.upper = PersonExtras::jobTitle(person);
        text.lower = PersonExtras::companyName(person);
        return text;
    }
    text.lower = PersonExtras::jobTitle(person);
    const QString first = PersonExtras::firstName(person);
    const QString last = PersonExtras::lastName(person);
    if (!first.isEmpty())
        text.upper = first + QLatin1Char(' ') + last;
    else if (!last.isEmpty())
        text.upper = last;
    return text;
}

} // namespace

PersonView::PersonView(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    AccessibleRole::set(this, QAccessible::Grouping);
    // Drawn by the card itself; the box only tells screen readers what the band says.
    _headerBox = new QWidget(this);
    _headerBox->setAttribute(Qt::WA_TransparentForMouseEvents);
    AccessibleRole::set(_headerBox, QAccessible::Heading);
    _scrollView = new QScrollArea(this);
    _scrollView->setFrameShape(QFrame::Box);
    _scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _scrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    _scrollView->setWidgetResizable(true);
    _scrollView->setFocusPolicy(Qt::NoFocus);
    _bodyBox = new QWidget;
    _bodyBox->setMouseTracking(true);
    AccessibleRole::set(_bodyBox, QAccessible::List);
    _bodyBox->setAccessibleName(tr("Contact details"));
    _bodyBox->installEventFilter(this);
    _scrollView->setWidget(_bodyBox);
    // The card's own drawing shows through wherever no row covers the body.
    _scrollView->setAutoFillBackground(false);
    _scrollView->viewport()->setAutoFillBackground(false);
    _bodyBox->setAutoFillBackground(false);
    // From the start, so that cards with only addresses or a note lose stale highlights too.
    connect(_scrollView->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &PersonView::boundsChanged);
}

PersonView::~PersonView() = default;

void PersonView::setActions(CardActions *actions)
{
    _actions = actions;
}

void PersonView::setRestingHeight(int height)
{
    if (_restingHeight == height)
        return;
    _restingHeight = height;
    _layOutParts();
    update();
}

qreal PersonView::_headerScale() const
{
    const qreal scale = CardText::scale();
    if (_restingHeight <= 0)
        return scale;
    return std::min(scale, std::max<qreal>(1, _restingHeight * 0.4 / kTopBoxHeight));
}

qreal PersonView::topBoxHeight() const
{
    return std::round(kTopBoxHeight * _headerScale());
}

void PersonView::setPerson(PersonPtr person)
{
    // The same person again (every search that finds them sets them anew) keeps the photo
    // read for them: reading it can mean decoding megabytes.
    const bool samePerson = person && person == _person;
    _person = std::move(person);
    if (!samePerson)
        _readPhotoSize();
    _setPropertyViewsForPerson(_person.get());
    _nameTracking = false;
    _pointerInName = false;
    _highlightName = false;
    _nameRect = QRectF();
    unsetCursor();
    setAccessibleName(_person ? PersonExtras::displayName(*_person) : QString());
    QStringList lines = headerLines();
    _headerBox->setAccessibleName(lines.isEmpty() ? QString() : lines.takeFirst());
    _headerBox->setAccessibleDescription(lines.join(QStringLiteral(", ")));
    update();
    Q_EMIT personChanged();
}

QList<PropertyView *> PersonView::rows() const
{
    QList<PropertyView *> rows;
    for (const RowPlace &place : _places)
        rows.append(place.row);
    return rows;
}

QStringList PersonView::headerLines() const
{
    if (!_person)
        return {};
    const HeaderText text = headerText(*_person);
    QStringList lines{text.name};
    for (const QString &line : {text.upper, text.lower}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

void PersonView::_setPropertyViewsForPerson(const Person *person)
{
    _removeAllSubviews();
    _selectedRow = -1;
    if (person) {
        _addViewsForPerson(PropertyView::PhoneProperty, person->phones());
        _addViewsForPerson(PropertyView::EmailProperty, person->emails());
        if (AddressBook::hasMultiValueURLs())
            _addViewsForPerson(PropertyView::URLsProperty, person->urls());
        else if (!person->homePage().isEmpty())
            _addSingleView(PropertyView::HomePageProperty, person->homePage());
        _addAddressViewsForPerson(person->addresses());
        if (!person->note().isEmpty())
            _addSingleView(PropertyView::NoteProperty, person->note());
    }
    _layOutRows();
    _scrollView->verticalScrollBar()->setValue(0);
}

void PersonView::_removeAllSubviews()
{
    for (const RowPlace &place : std::as_const(_places))
        delete place.row;
    _places.clear();
}

PropertyView *PersonView::_newRow(const QString &property, const QString &label,
                                  const QString &value)
{
    auto *row = new PropertyView(_actions, _bodyBox);
    row->setProperty(property);
    row->setLabel(label);
    row->setValue(value);
    // A choice that is no longer lit is no choice: Ctrl+Return would act on a row that does
    // not look chosen.
    connect(row, &PropertyView::highlightChanged, this, [this, row](bool highlighted) {
        if (!highlighted && selectedRow() == row)
            _selectedRow = -1;
    });
    connect(row, &PropertyView::acted, this, &PersonView::personActedOn);
    row->show();
    return row;
}

void PersonView::_addViewsForPerson(const QString &property, const QList<LabeledValue> &values)
{
    for (const LabeledValue &entry : values) {
        PropertyView *row = _newRow(property, entry.label, entry.value.toString());
        _places.append({row, 0, 2});
    }
    // A little more room after each group than between its rows.
    if (!values.isEmpty())
        _places.last().gapAfter += 5;
}

void PersonView::_addSingleView(const QString &property, const QString &value)
{
    _places.append({_newRow(property, property, value), 0, 7});
}

void PersonView::_addAddressViewsForPerson(const QList<LabeledValue> &addresses)
{
    // The last address of the record comes first.
    for (qsizetype i = addresses.size() - 1; i >= 0; --i) {
        const QVariantMap address = addresses.at(i).value.toMap();
        PropertyView *row = _newRow(PropertyView::AddressProperty, addresses.at(i).label,
                                    _stringFromAddressDictionary(address));
        row->setInfo(address);
        _places.append({row, 5, 5});
    }
}

QString PersonView::_stringFromAddressDictionary(const QVariantMap &address)
{
    const auto part = [&](const char *key) { return address.value(QLatin1String(key)).toString(); };
    QString text = part("Street") + QLatin1Char('\n') + part("City") + QLatin1Char(' ') +
                   part("State") + QLatin1Char(' ') + part("ZIP");
    if (address.contains(QStringLiteral("Country")))
        text += QLatin1Char('\n') + part("Country");
    return text;
}

void PersonView::_layOutRows()
{
    // Rows span the body, which is as wide as the scroll view leaves room for; each gets
    // kHighlightRoom above and below its text, so its highlight is never cut off. The gaps
    // grow with the rows' font.
    const qreal width = _bodyBox->width();
    const qreal scale = CardText::scale();
    const qreal room = PropertyView::kHighlightRoom * scale;
    qreal y = 0;
    qreal bottom = 0;
    for (const RowPlace &place : std::as_const(_places)) {
        const qreal height =
            PropertyView::textHeight(place.row->propertyIdentifier(), place.row->value(), width) +
            place.extraHeight * scale;
        const QRect frame(0, qRound(y), int(width), qRound(height + 2 * room));
        place.row->setGeometry(frame);
        bottom = frame.bottom() + 1;
        y += height + place.gapAfter * scale;
    }
    _bodyBox->setMinimumHeight(int(bottom));
}

bool PersonView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == _bodyBox && event->type() == QEvent::Resize)
        _layOutRows();
    return QWidget::eventFilter(watched, event);
}

void PersonView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    _layOutParts();
}

void PersonView::_layOutParts()
{
    // The body fills the card below the header, whatever size the window gives the card.
    const int band = int(topBoxHeight());
    _scrollView->setGeometry(0, band, width(), std::max(0, height() - band));
    _headerBox->setGeometry(0, 0, width(), band);
}

void PersonView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The band and the rows grow with the desktop's font.
    if (event->type() == QEvent::FontChange) {
        _layOutParts();
        _layOutRows();
        update();
    }
}

bool PersonView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (_person && _headerElided && _headerBox->geometry().contains(help->pos()))
            QToolTip::showText(help->globalPos(), headerLines().join(QLatin1Char('\n')), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PersonView::boundsChanged()
{
    for (const RowPlace &place : std::as_const(_places))
        place.row->boundsChanged();
}

bool PersonView::selectNextRow()
{
    if (_places.isEmpty())
        return false;
    return _selectRow(_selectedRow + 1 >= _places.size() ? 0 : _selectedRow + 1);
}

bool PersonView::selectPreviousRow()
{
    if (_places.isEmpty())
        return false;
    return _selectRow(_selectedRow <= 0 ? _places.size() - 1 : _selectedRow - 1);
}

bool PersonView::_selectRow(qsizetype index)
{
    // Scrolling resets every highlight, so the row is brought into view first.
    PropertyView *row = _places.at(index).row;
    _scrollView->ensureWidgetVisible(row, 0, 0);
    for (const RowPlace &place : std::as_const(_places))
        place.row->setHighlighted(place.row == row);
    _selectedRow = index;
    Q_EMIT selectedRowChanged();
    return true;
}

PropertyView *PersonView::selectedRow() const
{
    return _selectedRow >= 0 && _selectedRow < _places.size() ? _places.at(_selectedRow).row
                                                              : nullptr;
}

bool PersonView::openSelectedRow()
{
    PropertyView *row = selectedRow();
    if (row)
        row->open();
    return row;
}

bool PersonView::copySelectedRow()
{
    PropertyView *row = selectedRow();
    if (row)
        row->copy();
    return row;
}

bool PersonView::showMenuForSelectedRow()
{
    PropertyView *row = selectedRow();
    if (row) {
        const QRectF label = FlippedGeometry::flipped(row->labelRect(), row->height());
        row->popUpMenu(row->mapToGlobal(label.bottomLeft().toPoint()));
    }
    return row;
}

QRectF PersonView::_topBox() const
{
    const qreal band = topBoxHeight();
    return QRectF(0, height() - band, width(), band);
}

QRectF PersonView::_inQt(const QRectF &yUp) const
{
    return FlippedGeometry::flipped(yUp, height());
}

void PersonView::_readPhotoSize()
{
    _photo = QImage();
    _photoPixels = QSize();
    _photoLoaded = false;
    _photoData = _person ? _person->imageData() : QByteArray();
    if (_photoData.isEmpty())
        return;
    // Only the picture's header is read now; the picture itself when it is first drawn.
    QBuffer buffer(&_photoData);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize pixels = reader.size();
    if (!pixels.isValid() || pixels.isEmpty()) {
        _photoData.clear();
        return;
    }
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        pixels.transpose();
    _photoPixels = pixels;
}

const QImage &PersonView::_imageForPerson()
{
    if (_photoLoaded || !_person || _photoPixels.isEmpty())
        return _photo;
    _photoLoaded = true;
    // Decoded once: the bytes are not needed again.
    QByteArray data = std::exchange(_photoData, QByteArray());
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // Decoded at the size it is drawn, so a camera's full-size picture costs no more memory
    // than a thumbnail.
    QSize scaled = (photoRect().size() * devicePixelRatioF()).toSize().expandedTo(QSize(1, 1));
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        scaled.transpose();
    if (scaled.width() < reader.size().width())
        reader.setScaledSize(scaled);
    _photo = reader.read();
    return _photo;
}

QRectF PersonView::photoRect() const
{
    if (!_photoPixels.isValid() || _photoPixels.isEmpty())
        return {};
    const QRectF top = _topBox();
    const qreal p = top.height() * (kPhotoMargin / kTopBoxHeight);
    const qreal box = top.height() - 2 * p;
    // As tall as the band allows, but never wider than it is tall: a panorama would cover
    // the name.
    const qreal aspect = qreal(_photoPixels.width()) / _photoPixels.height();
    const QSizeF size = aspect <= 1 ? QSizeF(box * aspect, box) : QSizeF(box, box / aspect);
    return QRectF(top.x() + top.width() - size.width() - p, top.y() + p + (box - size.height()) / 2,
                  size.width(), size.height());
}

void PersonView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF top = _topBox();
    const QColor background = settingsColor(DefCardHeaderBgColor, QColor());
    if (background.isValid())
        painter.fillRect(_inQt(top), background);

    if (_person) {
        const qreal scale = _headerScale();
        const QImage &photo = _imageForPerson();
        const QRectF photoArea = photo.isNull() ? QRectF() : photoRect();
        const qreal x = top.x() + kTextInset * scale;
        const qreal textRight = photo.isNull() ? top.right() - kTextInset * scale
                                               : photoArea.left() - kPhotoGap * scale;
        const qreal available = std::max<qreal>(0, textRight - x);
        const qreal m = top.height() * 0.1;
        const HeaderText text = headerText(*_person);

        const QColor nameColor =
            settingsColor(DefHeaderNameColor, palette().color(QPalette::WindowText));
        const QFont nameFont = CardText::systemFont(kNameFontSize * scale, true);
        const QFontMetricsF nameMetrics(nameFont);
        const QString name = CardText::elidedLine(text.name, nameMetrics, available);
        _headerElided = name != text.name;
        const QSizeF nameSize = CardText::sizeOf(name, nameMetrics);
        _nameRect = QRectF(QPointF(x, top.y() + top.height() - nameSize.height() - m), nameSize);
        if (_highlightName) {
            QPainterPath shape;
            shape.addRoundedRect(
                _inQt(_nameRect.adjusted(-3 * scale, -2 * scale, 3 * scale, 2 * scale)),
                kNameHighlightRadius * scale, kNameHighlightRadius * scale);
            painter.fillPath(shape, nameHighlightColor(nameColor));
        }
        painter.setFont(nameFont);
        painter.setPen(nameColor);
        painter.drawText(_inQt(_nameRect), Qt::AlignLeft | Qt::AlignTop, name);

        const QFont lineFont = CardText::systemFont(kSecondaryFontSize * scale);
        const QFontMetricsF lineMetrics(lineFont);
        painter.setFont(lineFont);
        painter.setPen(settingsColor(DefHeaderCompanyColor, palette().color(QPalette::WindowText)));
        const auto drawLine = [&](const QString &line, qreal y) {
            if (line.isEmpty())
                return;
            const QString shown = CardText::elidedLine(line, lineMetrics, available);
            _headerElided = _headerElided || shown != line;
            const QRectF area(QPointF(x, y), CardText::sizeOf(shown, lineMetrics));
            painter.drawText(_inQt(area), Qt::AlignLeft | Qt::AlignTop, shown);
        };
        drawLine(text.lower, top.y() + m);
        drawLine(text.upper, top.y() + m + kLineStep * scale);

        if (!photo.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(_inQt(photoArea), photo);
        }
        // Like a tracking area made where the name was drawn, not assuming the pointer inside.
        if (!_nameTracking) {
            _nameTracking = true;
            _pointerInName = false;
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(WindowAppearance::cardColors(palette()).outline, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

QColor PersonView::nameHighlightColor(const QColor &nameColor)
{
    // The factory's white name reads on the blue at 4.3:1 only.
    return Contrast::readable(QColor::fromRgbF(0.4f, 0.4f, 1.0f), nameColor);
}

void PersonView::_setNameHighlight(bool highlight)
{
    if (_highlightName == highlight)
        return;
    _highlightName = highlight;
    update();
}

void PersonView::mousePressEvent(QMouseEvent *event)
{
    // Taken here, so a press on the card never reaches the window behind it.
    event->accept();
}

void PersonView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    // What counts is that the name is lit, not where the button comes up.
    if (event->button() == Qt::LeftButton && _highlightName && _person) {
        Q_EMIT personActedOn();
        PersonExtras::openInAddressBook(*_person);
    }
}

void PersonView::mouseMoveEvent(QMouseEvent *event)
{
    if (!_nameTracking)
        return;
    const bool inside = _inQt(_nameRect).contains(event->position());
    if (inside)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    if (inside != _pointerInName) {
        _pointerInName = inside;
        _setNameHighlight(inside);
    }
}

void PersonView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    unsetCursor();
    if (_pointerInName) {
        _pointerInName = false;
        _setNameHighlight(false);
    }
}
