// SPDX-License-Identifier: MIT
#pragma once

#include "addressbook/Person.h"

#include <QWidget>

class QLabel;

/// The contact card of the search window: the person the controller hands over, or
/// nothing. For now it shows the header lines (display name, organization, job title);
/// the rows of phone numbers, addresses and the rest belong to the full card.
class PersonView final : public QWidget
{
    Q_OBJECT

public:
    explicit PersonView(QWidget *parent = nullptr);

    /// Shows `person`; nullptr clears the card.
    void setPerson(PersonPtr person);
    PersonPtr person() const { return _person; }

    QString nameText() const;
    QString companyText() const;
    QString jobTitleText() const;

private:
    PersonPtr _person;
    QLabel *_nameLabel = nullptr;
    QLabel *_companyLabel = nullptr;
    QLabel *_jobTitleLabel = nullptr;
};
