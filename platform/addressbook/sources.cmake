# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  addressbook/Person.cpp addressbook/Person.h
  addressbook/VCardReader.cpp addressbook/VCardReader.h
  addressbook/AddressBook.cpp addressbook/AddressBook.h)
