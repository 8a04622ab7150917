// SPDX-License-Identifier: MIT
// Every reader of our archives: colours, fonts and key combinations as the settings file holds
// them, written by either deliverable or by hand.
#include "tests/fuzz/FuzzSupport.h"

#include "common/keycombo/KeyCombo.h"
#include "platform/archive/Archive.h"
#include "platform/archive/ObjectArchive.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts need a GUI application.
    FuzzSupport::start(argc, argv, FuzzSupport::Application::Gui);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data = FuzzSupport::bytes(bytes, size);

    // What is accepted archives back to the very same bytes...
    if (const std::optional<KeyCombo> combo = KeyCombo::unarchive(data))
        FUZZ_CHECK(combo->archivedData() == data,
                   QStringLiteral("key combination %1").arg(combo->userDisplayRep()));
    if (const std::optional<PaneKeyCombo> combo = PaneKeyCombo::unarchive(data)) {
        FUZZ_CHECK(combo->archivedData() == data,
                   QStringLiteral("pane key combination %1").arg(combo->userDisplayRep()));
        // ...and either deliverable reads what the other wrote.
        const std::optional<KeyCombo> same = KeyCombo::unarchive(combo->archivedData());
        FUZZ_CHECK(same && same->keyCode() == combo->keyCode() &&
                       same->modifiers() == combo->modifiers(),
                   QStringLiteral("the application reads the pane's archive otherwise"));
    }
    // A colour or font read is written again as an archive that reads the same.
    const QColor color = ObjectArchive::unarchiveColor(data);
    if (color.isValid()) {
        const QColor again = ObjectArchive::unarchiveColor(ObjectArchive::archivedColor(color));
        FUZZ_CHECK(again == color,
                   QStringLiteral("colour %1 became %2")
                       .arg(color.name(QColor::HexArgb), again.name(QColor::HexArgb)));
    }
    if (const std::optional<QFont> font = ObjectArchive::unarchiveFont(data)) {
        const std::optional<QFont> again =
            ObjectArchive::unarchiveFont(ObjectArchive::archivedFont(*font));
        FUZZ_CHECK(again && *again == *font,
                   QStringLiteral("font %1 read back otherwise").arg(font->toString()));
    }

    // The reader alone, one value type at a time: a failed read leaves it failed.
    for (int type = 0; type < 6; ++type) {
        ArchiveReader reader(data);
        bool read = reader.isValid();
        while (read) {
            switch (type) {
            case 0:
                read = reader.readInt16().has_value();
                break;
            case 1:
                read = reader.readInt32().has_value();
                break;
            case 2:
                read = reader.readInt64().has_value();
                break;
            case 3:
                read = reader.readFloat().has_value();
                break;
            case 4:
                read = reader.readDouble().has_value();
                break;
            default:
                read = reader.readString().has_value();
                break;
            }
        }
        reader.finish();
    }
    ArchiveReader::classNameOf(data);
    return 0;
}
