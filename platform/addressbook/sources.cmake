# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  addressbook/Person.cpp addressbook/Person.h
  addressbook/VCardReader.cpp addressbook/VCardReader.h
  addressbook/AddressBookSource.cpp addressbook/AddressBookSource.h
  addressbook/AddressBook.cpp addressbook/AddressBook.h
  addressbook/test/ScriptedAddressBookSource.cpp addressbook/test/ScriptedAddressBookSource.h)
