<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AppController</name>
    <message>
        <source>No match</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>%1 Treffer</translation>
    </message>
    <message>
        <source>Loading contacts…</source>
        <translation>Kontakte werden geladen…</translation>
    </message>
</context>
<context>
    <name>BriskoMain</name>
    <message>
        <source>Finds a person in your address book the moment you press the hot key.</source>
        <translation>Findet eine Person in Ihrem Adressbuch, sobald Sie das Tastenkürzel drücken.</translation>
    </message>
    <message>
        <source>Print the display name of every person matching PATTERN, one a line, and exit without opening a window.</source>
        <translation>Gibt den Anzeigenamen jeder Person aus, auf die PATTERN passt, einen pro Zeile, und endet, ohne ein Fenster zu öffnen.</translation>
    </message>
    <message>
        <source>Read persons from PATH (a vCard file or a folder) instead of the desktop&apos;s contacts. May be given several times.</source>
        <translation>Liest die Personen aus PATH (einer vCard-Datei oder einem Ordner) statt aus den Kontakten der Arbeitsumgebung. Kann mehrmals angegeben werden.</translation>
    </message>
</context>
<context>
    <name>HotKeyNotices</name>
    <message>
        <source>Brisko&apos;s hot key %1 is taken by another program</source>
        <translation>Briskos Tastenkürzel %1 ist von einem anderen Programm belegt</translation>
    </message>
    <message>
        <source>Taken by another program</source>
        <translation>Von einem anderen Programm belegt</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 has no key on this keyboard</source>
        <translation>Für Briskos Tastenkürzel %1 fehlt auf dieser Tastatur die Taste</translation>
    </message>
    <message>
        <source>No such key on this keyboard</source>
        <translation>Diese Taste fehlt auf dieser Tastatur</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 was not accepted by the desktop</source>
        <translation>Die Arbeitsumgebung hat Briskos Tastenkürzel %1 nicht angenommen</translation>
    </message>
    <message>
        <source>Not accepted by the desktop</source>
        <translation>Von der Arbeitsumgebung nicht angenommen</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 is not set: the desktop did not answer</source>
        <translation>Briskos Tastenkürzel %1 ist nicht eingerichtet: Die Arbeitsumgebung hat nicht geantwortet</translation>
    </message>
    <message>
        <source>The desktop did not answer</source>
        <translation>Die Arbeitsumgebung hat nicht geantwortet</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 cannot work in this session</source>
        <translation>Briskos Tastenkürzel %1 kann in dieser Sitzung nicht funktionieren</translation>
    </message>
    <message>
        <source>Hot keys cannot work in this session</source>
        <translation>Tastenkürzel können in dieser Sitzung nicht funktionieren</translation>
    </message>
    <message>
        <source>To open Brisko from the keyboard anyway, bind the command &quot;brisko-ctl show&quot; to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Um Brisko trotzdem über die Tastatur zu öffnen, legen Sie in den Tastatureinstellungen der Arbeitsumgebung ein Tastenkürzel für den Befehl „brisko-ctl show“ an.</translation>
    </message>
    <message>
        <source>Choose another key in Brisko&apos;s preferences, or bind the command &quot;brisko-ctl show&quot; to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Wählen Sie in Briskos Einstellungen ein anderes Tastenkürzel oder legen Sie in den Tastatureinstellungen der Arbeitsumgebung ein Tastenkürzel für den Befehl „brisko-ctl show“ an.</translation>
    </message>
    <message>
        <source>Bind &quot;brisko-ctl show&quot; to a desktop shortcut.</source>
        <translation>Legen Sie in der Arbeitsumgebung ein Tastenkürzel für „brisko-ctl show“ an.</translation>
    </message>
    <message>
        <source>Choose another key in the preferences.</source>
        <translation>Wählen Sie in den Einstellungen ein anderes Tastenkürzel.</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 needs GNOME&apos;s keyboard settings</source>
        <translation>Brisko-Tastenkürzel %1 braucht die Tastatureinstellungen von GNOME</translation>
    </message>
    <message>
        <source>This GNOME session gives programs no global shortcuts. Add the key with &quot;Add to GNOME Shortcuts&quot; on the General tab of Brisko&apos;s preferences.</source>
        <translation>Diese GNOME-Sitzung bietet Programmen keine globalen Tastenkürzel. Fügen Sie das Kürzel mit „Zu GNOME-Tastenkürzeln hinzufügen“ im Reiter „Allgemein“ der Einstellungen von Brisko hinzu.</translation>
    </message>
</context>
<context>
    <name>LargeTypeWindow</name>
    <message>
        <source>Large Type</source>
        <translation>Großschrift</translation>
    </message>
</context>
<context>
    <name>LaunchGreeter</name>
    <message>
        <source>Thank you for choosing Brisko</source>
        <translation>Danke, dass Sie sich für Brisko entschieden haben</translation>
    </message>
    <message>
        <source>As an independent developer, our single greatest challenge is getting the word out.  Please consider taking a minute to share Brisko on your Facebook or post a review. Thank you!</source>
        <translation>Für uns als unabhängige Entwickler ist es die größte Herausforderung, bekannt zu werden. Bitte nehmen Sie sich eine Minute Zeit, um Brisko auf Facebook zu teilen oder eine Bewertung zu schreiben. Vielen Dank!</translation>
    </message>
    <message>
        <source>Share on Facebook</source>
        <translation>Auf Facebook teilen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Post Review</source>
        <translation>Bewertung schreiben</translation>
    </message>
</context>
<context>
    <name>MatchesTableModel</name>
    <message>
        <source>name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>nickname</source>
        <translation>Spitzname</translation>
    </message>
    <message>
        <source>address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>job title</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>web</source>
        <translation>Web</translation>
    </message>
    <message>
        <source>note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>%1: </source>
        <comment>a property named before its value</comment>
        <translation>%1: </translation>
    </message>
</context>
<context>
    <name>MenuButton</name>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>About Brisko</source>
        <translation>Über Brisko</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quit Brisko</source>
        <translation>Brisko beenden</translation>
    </message>
    <message>
        <source>Menu (%1)</source>
        <translation>Menü (%1)</translation>
    </message>
</context>
<context>
    <name>MyTableView</name>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
</context>
<context>
    <name>PersonExtras</name>
    <message>
        <source>No Name</source>
        <translation>Kein Name</translation>
    </message>
</context>
<context>
    <name>PersonView</name>
    <message>
        <source>Contact details</source>
        <translation>Kontaktdaten</translation>
    </message>
</context>
<context>
    <name>PropertyView</name>
    <message>
        <source>work</source>
        <translation>Arbeit</translation>
    </message>
    <message>
        <source>main</source>
        <translation>Haupt</translation>
    </message>
    <message>
        <source>home</source>
        <translation>Privat</translation>
    </message>
    <message>
        <source>mobile</source>
        <translation>Mobil</translation>
    </message>
    <message>
        <source>pager</source>
        <translation>Pager</translation>
    </message>
    <message>
        <source>other</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>work fax</source>
        <translation>Fax Arbeit</translation>
    </message>
    <message>
        <source>home fax</source>
        <translation>Fax privat</translation>
    </message>
    <message>
        <source>home page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Not opened: not an e-mail address</source>
        <translation>Nicht geöffnet: keine E-Mail-Adresse</translation>
    </message>
    <message>
        <source>Not opened: not a web address</source>
        <translation>Nicht geöffnet: keine Webadresse</translation>
    </message>
    <message>
        <source>Large Type</source>
        <translation>Großschrift</translation>
    </message>
    <message>
        <source>Dial With Vonage</source>
        <translation>Mit Vonage wählen</translation>
    </message>
    <message>
        <source>Call</source>
        <translation>Anrufen</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Send Email</source>
        <translation>E-Mail senden</translation>
    </message>
    <message>
        <source>Go to Web Site</source>
        <translation>Website öffnen</translation>
    </message>
    <message>
        <source>Map Of</source>
        <translation>Auf Karte zeigen</translation>
    </message>
    <message>
        <source>Copy Map Link</source>
        <translation>Kartenlink kopieren</translation>
    </message>
</context>
<context>
    <name>RKWindow</name>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>SearchField</name>
    <message>
        <source>Search string</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>Search contacts</source>
        <translation>Kontakte durchsuchen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
</context>
<context>
    <name>SearchPanel</name>
    <message>
        <source>%1, %2 of %3</source>
        <translation>%1, %2 von %3</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>Activation hot key: %1</source>
        <translation>Tastenkürzel zum Aktivieren: %1</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>New Version Available!</source>
        <translation>Neue Version verfügbar!</translation>
    </message>
    <message>
        <source>Brisko %1 is now available for download.</source>
        <translation>Brisko %1 steht jetzt zum Download bereit.</translation>
    </message>
    <message>
        <source>Visit Website</source>
        <translation>Website besuchen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Latest Version</source>
        <translation>Neueste Version</translation>
    </message>
    <message>
        <source>You are currently running Brisko %1, the latest version available.</source>
        <translation>Sie verwenden Brisko %1, die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Update Check Failed</source>
        <translation>Suche nach Updates fehlgeschlagen</translation>
    </message>
    <message>
        <source>Brisko could not find out whether a newer version is available (%1). Please try again later.</source>
        <translation>Brisko konnte nicht feststellen, ob eine neuere Version verfügbar ist (%1). Bitte versuchen Sie es später erneut.</translation>
    </message>
</context>
<context>
    <name>VersionChecker</name>
    <message>
        <source>New Version Available!</source>
        <translation>Neue Version verfügbar!</translation>
    </message>
    <message>
        <source>%1 %2 is now available for download.</source>
        <translation>%1 %2 steht jetzt zum Download bereit.</translation>
    </message>
    <message>
        <source>Visit Website</source>
        <translation>Website besuchen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Latest Version</source>
        <translation>Neueste Version</translation>
    </message>
    <message>
        <source>You are currently running %1 %2, the latest version available.</source>
        <translation>Sie verwenden %1 %2, die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>VonageDialer</name>
    <message>
        <source>Dialing ...</source>
        <translation>Wird gewählt …</translation>
    </message>
    <message>
        <source>Failed (no answer)</source>
        <translation>Fehlgeschlagen (keine Antwort)</translation>
    </message>
    <message>
        <source>Failed (error %1)</source>
        <translation>Fehlgeschlagen (Fehler %1)</translation>
    </message>
</context>
</TS>
