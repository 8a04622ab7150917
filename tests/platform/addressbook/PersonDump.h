// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/Person.h"

#include <QList>
#include <QString>
#include <QStringList>

/// The persons read from a card file as plain text, one value a line, for the expected files
/// beside the samples: stable (no absolute path, no id made from one), and readable enough to
/// be checked by eye against the card.
namespace PersonDump {

/// `messages` and `persons` as read from one file; `folder` is cut from the messages' paths.
QString dump(const QList<PersonPtr> &persons, const QStringList &messages, const QString &folder);

} // namespace PersonDump
