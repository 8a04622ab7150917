<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>HostCommandLine</name>
    <message>
        <source>no session bus; later starts will open windows of their own</source>
        <translation>kein Sitzungsbus; spätere Aufrufe öffnen eigene Fenster</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>The preference pane cannot be shown.</source>
        <translation>Der Einstellungsbereich kann nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>--show-pane needs a pane identifier</source>
        <translation>--show-pane braucht die Kennung eines Einstellungsbereichs</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>unbekanntes Argument „%1“</translation>
    </message>
    <message>
        <source>Usage: brisko-preferences [--show-pane IDENTIFIER|PATH]
Shows a preference pane; one preferences window runs per session.

  --show-pane IDENTIFIER|PATH  show the pane with this bundle identifier, or the pane
                               bundle at this path, and end once it is on screen
  -h, --help                   print this help and end
</source>
        <translation>Aufruf: brisko-preferences [--show-pane KENNUNG|PFAD]
Zeigt einen Einstellungsbereich; je Sitzung läuft ein Einstellungsfenster.

  --show-pane KENNUNG|PFAD  den Bereich mit dieser Bundle-Kennung oder das Bereichs-Bundle
                            unter diesem Pfad zeigen und enden, sobald er zu sehen ist
  -h, --help                diese Hilfe ausgeben und enden
</translation>
    </message>
</context>
<context>
    <name>PaneLoader</name>
    <message>
        <source>%1 has no plug-in at %2.</source>
        <translation>%1 hat kein Plug-in unter %2.</translation>
    </message>
    <message>
        <source>%1 is not a preference pane.</source>
        <translation>%1 ist kein Einstellungsbereich.</translation>
    </message>
    <message>
        <source>%1 has no principal class &quot;%2&quot;.</source>
        <translation>%1 hat keine Hauptklasse „%2“.</translation>
    </message>
</context>
<context>
    <name>PreferencesHost</name>
    <message>
        <source>No preference pane was found.</source>
        <translation>Es wurde kein Einstellungsbereich gefunden.</translation>
    </message>
    <message>
        <source>No preference pane &quot;%1&quot; was found.</source>
        <translation>Der Einstellungsbereich „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The session bus cannot be reached.</source>
        <translation>Der Sitzungsbus ist nicht erreichbar.</translation>
    </message>
</context>
</TS>
