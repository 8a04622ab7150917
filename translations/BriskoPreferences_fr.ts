<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>HostCommandLine</name>
    <message>
        <source>no session bus; later starts will open windows of their own</source>
        <translation>pas de bus de session&#xa0;; les lancements suivants ouvriront leurs propres fenêtres</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>The preference pane cannot be shown.</source>
        <translation>Impossible d&apos;afficher le panneau de préférences.</translation>
    </message>
    <message>
        <source>--show-pane needs a pane identifier</source>
        <translation>--show-pane attend l&apos;identifiant d&apos;un panneau</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>argument inconnu «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Usage: brisko-preferences [--show-pane IDENTIFIER|PATH]
Shows a preference pane; one preferences window runs per session.

  --show-pane IDENTIFIER|PATH  show the pane with this bundle identifier, or the pane
                               bundle at this path, and end once it is on screen
  -h, --help                   print this help and end
</source>
        <translation>Usage&#xa0;: brisko-preferences [--show-pane IDENTIFIANT|CHEMIN]
Affiche un panneau de préférences&#xa0;; une seule fenêtre de préférences par session.

  --show-pane IDENTIFIANT|CHEMIN  affiche le panneau portant cet identifiant de bundle,
                                  ou le bundle de panneau à ce chemin, et se termine dès
                                  qu&apos;il est à l&apos;écran
  -h, --help                      affiche cette aide et se termine
</translation>
    </message>
</context>
<context>
    <name>PaneLoader</name>
    <message>
        <source>%1 has no plug-in at %2.</source>
        <translation>%1 n&apos;a pas de module externe à l&apos;emplacement %2.</translation>
    </message>
    <message>
        <source>%1 is not a preference pane.</source>
        <translation>%1 n&apos;est pas un panneau de préférences.</translation>
    </message>
    <message>
        <source>%1 has no principal class &quot;%2&quot;.</source>
        <translation>%1 n&apos;a pas de classe principale «&#xa0;%2&#xa0;».</translation>
    </message>
</context>
<context>
    <name>PreferencesHost</name>
    <message>
        <source>No preference pane was found.</source>
        <translation>Aucun panneau de préférences n&apos;a été trouvé.</translation>
    </message>
    <message>
        <source>No preference pane &quot;%1&quot; was found.</source>
        <translation>Le panneau de préférences «&#xa0;%1&#xa0;» est introuvable.</translation>
    </message>
    <message>
        <source>The session bus cannot be reached.</source>
        <translation>Le bus de session est injoignable.</translation>
    </message>
</context>
</TS>
