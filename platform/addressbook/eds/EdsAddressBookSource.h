// SPDX-License-Identifier: MIT
#pragma once

#include "platform/addressbook/AddressBookSource.h"

#include <memory>

/// The contacts GNOME keeps in Evolution Data Server (GNOME Contacts, Evolution, the address
/// books of online accounts): every enabled address book of its source registry, the built-in
/// personal one first, each read and then followed through a client view. Books added,
/// removed, enabled or disabled while Brisko runs are followed too.
///
/// Everything happens on the owner's thread through GLib's main context, which Qt's event loop
/// drives on Linux; connecting is asynchronous, so a server that is missing or slow holds
/// nothing up. The cards EDS hands out are read by VCardReader; a person keeps its card's text
/// (for handing it to a contacts program), and its photo stays in the file EDS keeps it in.
class EdsAddressBookSource final : public AddressBookSource
{
    Q_OBJECT

public:
    /// How long the first answer may take before the source settles without it; contacts
    /// that arrive later still come in.
    static constexpr int kDefaultTimeoutMs = 5000;

    explicit EdsAddressBookSource(int timeoutMs = kDefaultTimeoutMs, QObject *parent = nullptr);
    ~EdsAddressBookSource() override;

    void start() override;
    QList<PersonPtr> persons() const override;
    bool isSettled() const override;

    struct Private;

private:
    std::shared_ptr<Private> _d;
};
