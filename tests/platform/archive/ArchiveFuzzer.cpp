// SPDX-License-Identifier: MIT
// libFuzzer entry point for every reader of our archives. Build with
//   CC=clang CXX=clang++ cmake -DBRISKO_FUZZ=ON … && ninja ArchiveFuzzer
// and run `ArchiveFuzzer corpus/`; any crash or sanitizer report is a fault of the reader.
#include "archive/Archive.h"
#include "archive/ObjectArchive.h"
#include "keycombo/KeyCombo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(size));
    ObjectArchive::unarchiveColor(data);
    ObjectArchive::unarchiveFont(data);
    if (const std::optional<KeyCombo> combo = KeyCombo::unarchive(data)) {
        // What is accepted must archive back to the very same bytes.
        if (combo->archivedData() != data)
            __builtin_trap();
    }
    PaneKeyCombo::unarchive(data);
    ArchiveReader reader(data);
    while (reader.readInt16() || reader.isValid()) {
        if (!reader.readString())
            break;
    }
    return 0;
}
