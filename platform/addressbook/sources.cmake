# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  addressbook/StoredLabel.cpp addressbook/StoredLabel.h
  addressbook/Person.cpp addressbook/Person.h
  addressbook/AsciiText.h
  addressbook/VCardEncoding.cpp addressbook/VCardEncoding.h
  addressbook/VCardProperty.cpp addressbook/VCardProperty.h
  addressbook/VCardScanner.cpp addressbook/VCardScanner.h
  addressbook/VCardValue.cpp addressbook/VCardValue.h
  addressbook/VCardPhoto.cpp addressbook/VCardPhoto.h
  addressbook/VCardInterpreter.cpp addressbook/VCardInterpreter.h
  addressbook/VCardReader.cpp addressbook/VCardReader.h
  addressbook/VCardSkim.cpp addressbook/VCardSkim.h
  addressbook/AddressBookSource.cpp addressbook/AddressBookSource.h
  addressbook/ShellPath.cpp addressbook/ShellPath.h
  addressbook/KhardConfiguration.cpp addressbook/KhardConfiguration.h
  addressbook/AddressBookSources.cpp addressbook/AddressBookSources.h
  addressbook/FolderWalk.cpp addressbook/FolderWalk.h
  addressbook/FolderCache.cpp addressbook/FolderCache.h
  addressbook/SourceMerge.cpp addressbook/SourceMerge.h
  addressbook/AddressBook.cpp addressbook/AddressBook.h
  addressbook/AddressBookQuery.cpp addressbook/AddressBookQuery.h)
if(BRISKO_HAVE_EDS)
  target_sources(BriskoPlatform PRIVATE
    addressbook/eds/EdsAddressBookSource.cpp addressbook/eds/EdsAddressBookSource.h)
  target_compile_definitions(BriskoPlatform PRIVATE BRISKO_WITH_EDS)
  target_link_libraries(BriskoPlatform PRIVATE PkgConfig::EBOOK)
endif()
