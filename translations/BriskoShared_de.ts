<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AdvertTextView</name>
    <message>
        <source>Brought to you by </source>
        <translation>Präsentiert von </translation>
    </message>
</context>
<context>
    <name>KeyCombo</name>
    <message>
        <source>Click to Set</source>
        <translation>Zum Festlegen klicken</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
</context>
<context>
    <name>PreferencePane</name>
    <message>
        <source>The pane has no main view.</source>
        <translation>Der Einstellungsbereich hat keine Hauptansicht.</translation>
    </message>
</context>
<context>
    <name>RKWebsite</name>
    <message>
        <source>Household accounts that balance themselves</source>
        <translation>Haushaltsbücher, die sich von selbst ausgleichen</translation>
    </message>
    <message>
        <source>A quiet room for long writing</source>
        <translation>Ein ruhiger Raum für lange Texte</translation>
    </message>
    <message>
        <source>Find any file by what is inside it</source>
        <translation>Jede Datei über ihren Inhalt finden</translation>
    </message>
    <message>
        <source>Recipes, shopping lists and a week of meals</source>
        <translation>Rezepte, Einkaufslisten und der Speiseplan für die Woche</translation>
    </message>
    <message>
        <source>Time tracking that stays out of your way</source>
        <translation>Zeiterfassung, die nicht im Weg steht</translation>
    </message>
    <message>
        <source>Sticky notes that remember where they go</source>
        <translation>Haftnotizen, die wissen, wo sie hingehören</translation>
    </message>
    <message>
        <source>Everything you copied, one keystroke away</source>
        <translation>Alles, was Sie kopiert haben, nur einen Tastendruck entfernt</translation>
    </message>
    <message>
        <source>Pick any colour on your screen</source>
        <translation>Jede Farbe auf dem Bildschirm aufnehmen</translation>
    </message>
    <message>
        <source>Every Ambertide utility for the price of two</source>
        <translation>Alle Ambertide-Programme zum Preis von zweien</translation>
    </message>
</context>
</TS>
