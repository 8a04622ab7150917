// SPDX-License-Identifier: MIT
#include "card/PersonView.h"

#include "search/PersonExtras.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel *headerLabel(QWidget *parent, int pointSize, bool bold)
{
    auto *label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

PersonView::PersonView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(2);
    _nameLabel = headerLabel(this, 16, true);
    _companyLabel = headerLabel(this, 12, false);
    _jobTitleLabel = headerLabel(this, 12, false);
    layout->addWidget(_nameLabel);
    layout->addWidget(_companyLabel);
    layout->addWidget(_jobTitleLabel);
    layout->addStretch(1);
}

void PersonView::setPerson(PersonPtr person)
{
    _person = std::move(person);
    if (!_person) {
        _nameLabel->clear();
        _companyLabel->clear();
        _jobTitleLabel->clear();
        return;
    }
    _nameLabel->setText(PersonExtras::displayName(*_person));
    // A company card already shows the organization as its name.
    _companyLabel->setText(PersonExtras::isCompany(*_person) ? QString()
                                                             : PersonExtras::companyName(*_person));
    _jobTitleLabel->setText(PersonExtras::jobTitle(*_person));
}

QString PersonView::nameText() const
{
    return _nameLabel->text();
}

QString PersonView::companyText() const
{
    return _companyLabel->text();
}

QString PersonView::jobTitleText() const
{
    return _jobTitleLabel->text();
}
