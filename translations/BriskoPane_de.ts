<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>BriskoDefaults</name>
    <message>
        <source>Cannot Find Brisko</source>
        <translation>Brisko nicht gefunden</translation>
    </message>
    <message>
        <source>Unable to find the background application. Please re-install Brisko.</source>
        <translation>Das Hintergrundprogramm wurde nicht gefunden. Bitte installieren Sie Brisko neu.</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>BriskoPane</name>
    <message>
        <source>&amp;General</source>
        <translation>&amp;Allgemein</translation>
    </message>
    <message>
        <source>Brisko is stopped</source>
        <translation>Brisko läuft nicht</translation>
    </message>
    <message>
        <source>&amp;Start Brisko</source>
        <translation>Brisko &amp;starten</translation>
    </message>
    <message>
        <source>Activation Hot Key</source>
        <translation>Tastenkürzel zum Aktivieren</translation>
    </message>
    <message>
        <source>Change &amp;Hot Key…</source>
        <translation>&amp;Tastenkürzel ändern …</translation>
    </message>
    <message>
        <source>Start-up</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Start Brisko at &amp;login</source>
        <translation>Brisko beim Anme&amp;lden starten</translation>
    </message>
    <message>
        <source>Show splash a&amp;t launch</source>
        <translation>Begrüßungsfenster beim Start &amp;zeigen</translation>
    </message>
    <message>
        <source>Check for &amp;updates automatically</source>
        <translation>Automatisch nach &amp;Updates suchen</translation>
    </message>
    <message>
        <source>Check &amp;Now</source>
        <translation>Jetzt &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>Contact Card</source>
        <translation>Kontaktkarte</translation>
    </message>
    <message>
        <source>Card &amp;header:</source>
        <translation>&amp;Kartenkopf:</translation>
    </message>
    <message>
        <source>Card header colour</source>
        <translation>Farbe des Kartenkopfs</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Name colour</source>
        <translation>Farbe des Namens</translation>
    </message>
    <message>
        <source>&amp;Company line:</source>
        <translation>&amp;Firmenzeile:</translation>
    </message>
    <message>
        <source>Company line colour</source>
        <translation>Farbe der Firmenzeile</translation>
    </message>
    <message>
        <source>Large Type</source>
        <translation>Großschrift</translation>
    </message>
    <message>
        <source>&amp;Text:</source>
        <translation>&amp;Text:</translation>
    </message>
    <message>
        <source>Large type text colour</source>
        <translation>Textfarbe der Großschrift</translation>
    </message>
    <message>
        <source>&amp;Background:</source>
        <translation>&amp;Hintergrund:</translation>
    </message>
    <message>
        <source>Large type background colour</source>
        <translation>Hintergrundfarbe der Großschrift</translation>
    </message>
    <message>
        <source>Search Window</source>
        <translation>Suchfenster</translation>
    </message>
    <message>
        <source>Hi&amp;de advert</source>
        <translation>&amp;Werbezeile ausblenden</translation>
    </message>
    <message>
        <source>Click-to-Call</source>
        <translation>Click-to-Call</translation>
    </message>
    <message>
        <source>Dial through &amp;Vonage</source>
        <translation>Über &amp;Vonage wählen</translation>
    </message>
    <message>
        <source>Acc&amp;ount…</source>
        <translation>K&amp;onto …</translation>
    </message>
    <message>
        <source>Caller n&amp;umber:</source>
        <translation>&amp;Rufnummer:</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Finds anyone in your contacts the moment you press a key.
Made by Ambertide.</source>
        <translation>Findet jeden in Ihren Kontakten, sobald Sie eine Taste drücken.
Von Ambertide.</translation>
    </message>
    <message>
        <source>Visit &amp;Web Site</source>
        <translation>&amp;Website besuchen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Send &amp;Feedback</source>
        <translation>&amp;Feedback senden</translation>
    </message>
    <message>
        <source>&amp;Share on Facebook</source>
        <translation>Auf Facebook &amp;teilen</translation>
    </message>
    <message>
        <source>More &amp;Utilities</source>
        <translation>Weitere &amp;Dienstprogramme</translation>
    </message>
    <message>
        <source>&amp;Download the Bundle</source>
        <translation>Das B&amp;undle herunterladen</translation>
    </message>
    <message>
        <source>Vonage Account</source>
        <translation>Vonage-Konto</translation>
    </message>
    <message>
        <source>Enter the name and password of your Vonage account. Brisko asks the click-to-call service for the account&apos;s caller numbers.</source>
        <translation>Geben Sie den Namen und das Passwort Ihres Vonage-Kontos ein. Brisko fragt den Click-to-Call-Dienst nach den Rufnummern des Kontos.</translation>
    </message>
    <message>
        <source>Account &amp;name:</source>
        <translation>Konto&amp;name:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Asking Vonage for the account&apos;s caller numbers…</source>
        <translation>Vonage wird nach den Rufnummern des Kontos gefragt …</translation>
    </message>
    <message>
        <source>&amp;Ignore accents when searching (“muller” finds Müller)</source>
        <translation>Akzente beim Suchen &amp;ignorieren („muller“ findet Müller)</translation>
    </message>
    <message>
        <source>&amp;Match phone numbers by their digits (“5550134” finds 555-0134)</source>
        <translation>Telefonnummern nach ihren &amp;Ziffern vergleichen („5550134“ findet 555-0134)</translation>
    </message>
    <message>
        <source>Add to GNOME Sho&amp;rtcuts</source>
        <translation>Zu GNOME-Tastenkü&amp;rzeln hinzufügen</translation>
    </message>
    <message>
        <source>O&amp;rder matches by relevance</source>
        <translation>Treffer nach Re&amp;levanz ordnen</translation>
    </message>
    <message>
        <source>People you open often and recently come first, then those whose name starts with what you type</source>
        <translation>Wen Sie oft und zuletzt geöffnet haben, steht zuerst, danach, wessen Name mit dem Getippten beginnt</translation>
    </message>
    <message>
        <source>&amp;Forget Search History</source>
        <translation>&amp;Suchverlauf vergessen</translation>
    </message>
    <message>
        <source>Forgets whom you opened from the search; the history never leaves this computer</source>
        <translation>Vergisst, wen Sie aus der Suche geöffnet haben; der Verlauf verlässt diesen Rechner nie</translation>
    </message>
</context>
<context>
    <name>BriskoPanePref</name>
    <message>
        <source>The interface file %1.ui is missing from %2.</source>
        <translation>Die Oberflächendatei %1.ui fehlt in %2.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Start Brisko</source>
        <translation>Brisko starten</translation>
    </message>
    <message>
        <source>Brisko is stopped</source>
        <translation>Brisko läuft nicht</translation>
    </message>
    <message>
        <source>Stopping Brisko ...</source>
        <translation>Brisko wird beendet …</translation>
    </message>
    <message>
        <source>Launching Brisko ...</source>
        <translation>Brisko wird gestartet …</translation>
    </message>
    <message>
        <source>Cannot Find Brisko</source>
        <translation>Brisko nicht gefunden</translation>
    </message>
    <message>
        <source>Unable to find the background application. Please re-install Brisko.</source>
        <translation>Das Hintergrundprogramm wurde nicht gefunden. Bitte installieren Sie Brisko neu.</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Brisko is running</source>
        <translation>Brisko läuft</translation>
    </message>
    <message>
        <source>Stop Brisko</source>
        <translation>Brisko beenden</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>KeyComboPanel</name>
    <message>
        <source>Change Hot Key</source>
        <translation>Tastenkürzel ändern</translation>
    </message>
    <message>
        <source>Press the new hot key: a key together with Ctrl, Alt, Shift or Super, or a function key alone. Return alone confirms it, Escape alone cancels.</source>
        <translation>Drücken Sie das neue Tastenkürzel: eine Taste zusammen mit Strg, Alt, Umschalt oder Super, oder eine Funktionstaste allein. Die Eingabetaste allein bestätigt es, Escape allein bricht ab.</translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Recording the keys you press…</source>
        <translation>Die gedrückten Tasten werden aufgezeichnet …</translation>
    </message>
    <message>
        <source>Key recorder</source>
        <translation>Tastenaufzeichnung</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Your desktop&apos;s own shortcuts still act while you record: a key combination they use cannot be recorded.</source>
        <translation>Die Tastenkürzel Ihrer Arbeitsumgebung wirken auch während der Aufnahme: Eine Tastenkombination, die sie belegen, kann nicht aufgezeichnet werden.</translation>
    </message>
</context>
<context>
    <name>ObsoleteCopies</name>
    <message>
        <source>Move old version to Trash?</source>
        <translation>Alte Version in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>You have an obsolete version of Brisko in your Applications folder. It is strongly recommended that it be moved to Trash to avoid confusion.</source>
        <translation>In Ihrem Programmordner liegt eine veraltete Version von Brisko. Es wird dringend empfohlen, sie in den Papierkorb zu verschieben, um Verwechslungen zu vermeiden.</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb</translation>
    </message>
    <message>
        <source>Keep Old Version</source>
        <translation>Alte Version behalten</translation>
    </message>
    <message>
        <source>Cannot Move Old Version to Trash</source>
        <translation>Alte Version kann nicht in den Papierkorb verschoben werden</translation>
    </message>
    <message>
        <source>The obsolete version of Brisko at %1 cannot be moved to Trash. Please remove it as an administrator.</source>
        <translation>Die veraltete Version von Brisko unter %1 kann nicht in den Papierkorb verschoben werden. Bitte entfernen Sie sie als Administrator.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PaneUiLoader</name>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>VonageAccount</name>
    <message>
        <source>Authentication Failed</source>
        <translation>Anmeldung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Please check your Vonage Account Name and Password.</source>
        <translation>Bitte prüfen Sie den Namen und das Passwort Ihres Vonage-Kontos.</translation>
    </message>
    <message>
        <source>Unable to Reach Vonage</source>
        <translation>Vonage ist nicht erreichbar</translation>
    </message>
    <message>
        <source>Please check your network connection.</source>
        <translation>Bitte prüfen Sie Ihre Netzwerkverbindung.</translation>
    </message>
    <message>
        <source>Unavailable</source>
        <translation>Nicht verfügbar</translation>
    </message>
</context>
</TS>
