<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>BriskoDefaults</name>
    <message>
        <source>Cannot Find Brisko</source>
        <translation>Brisko introuvable</translation>
    </message>
    <message>
        <source>Unable to find the background application. Please re-install Brisko.</source>
        <translation>L&apos;application d&apos;arrière-plan est introuvable. Veuillez réinstaller Brisko.</translation>
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
        <translation>&amp;Général</translation>
    </message>
    <message>
        <source>Brisko is stopped</source>
        <translation>Brisko est arrêté</translation>
    </message>
    <message>
        <source>&amp;Start Brisko</source>
        <translation>&amp;Démarrer Brisko</translation>
    </message>
    <message>
        <source>Activation Hot Key</source>
        <translation>Raccourci d&apos;activation</translation>
    </message>
    <message>
        <source>Change &amp;Hot Key…</source>
        <translation>Changer le &amp;raccourci…</translation>
    </message>
    <message>
        <source>Start-up</source>
        <translation>Démarrage</translation>
    </message>
    <message>
        <source>Start Brisko at &amp;login</source>
        <translation>Démarrer Brisko à la &amp;connexion</translation>
    </message>
    <message>
        <source>Show splash a&amp;t launch</source>
        <translation>Afficher l&apos;écran d&apos;&amp;accueil au lancement</translation>
    </message>
    <message>
        <source>Check for &amp;updates automatically</source>
        <translation>Rechercher les mises à jour a&amp;utomatiquement</translation>
    </message>
    <message>
        <source>Check &amp;Now</source>
        <translation>Vérifier &amp;maintenant</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Préférences</translation>
    </message>
    <message>
        <source>Contact Card</source>
        <translation>Fiche de contact</translation>
    </message>
    <message>
        <source>Card &amp;header:</source>
        <translation>&amp;En-tête&#xa0;:</translation>
    </message>
    <message>
        <source>Card header colour</source>
        <translation>Couleur de l&apos;en-tête</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom&#xa0;:</translation>
    </message>
    <message>
        <source>Name colour</source>
        <translation>Couleur du nom</translation>
    </message>
    <message>
        <source>&amp;Company line:</source>
        <translation>Ligne de la &amp;société&#xa0;:</translation>
    </message>
    <message>
        <source>Company line colour</source>
        <translation>Couleur de la ligne de la société</translation>
    </message>
    <message>
        <source>Large Type</source>
        <translation>Grands caractères</translation>
    </message>
    <message>
        <source>&amp;Text:</source>
        <translation>&amp;Texte&#xa0;:</translation>
    </message>
    <message>
        <source>Large type text colour</source>
        <translation>Couleur du texte en grands caractères</translation>
    </message>
    <message>
        <source>&amp;Background:</source>
        <translation>&amp;Fond&#xa0;:</translation>
    </message>
    <message>
        <source>Large type background colour</source>
        <translation>Couleur du fond en grands caractères</translation>
    </message>
    <message>
        <source>Search Window</source>
        <translation>Fenêtre de recherche</translation>
    </message>
    <message>
        <source>Hi&amp;de advert</source>
        <translation>&amp;Masquer la ligne publicitaire</translation>
    </message>
    <message>
        <source>Click-to-Call</source>
        <translation>Appel en un clic</translation>
    </message>
    <message>
        <source>Dial through &amp;Vonage</source>
        <translation>Appeler via &amp;Vonage</translation>
    </message>
    <message>
        <source>Acc&amp;ount…</source>
        <translation>&amp;Compte…</translation>
    </message>
    <message>
        <source>Caller n&amp;umber:</source>
        <translation>Numéro de l&apos;&amp;appelant&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À pr&amp;opos</translation>
    </message>
    <message>
        <source>Finds anyone in your contacts the moment you press a key.
Made by Ambertide.</source>
        <translation>Trouve n&apos;importe qui parmi vos contacts d&apos;une simple touche.
Conçu par Ambertide.</translation>
    </message>
    <message>
        <source>Visit &amp;Web Site</source>
        <translation>&amp;Visiter le site Web</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ai&amp;de</translation>
    </message>
    <message>
        <source>Send &amp;Feedback</source>
        <translation>Envoyer vos &amp;remarques</translation>
    </message>
    <message>
        <source>&amp;Share on Facebook</source>
        <translation>Partager sur &amp;Facebook</translation>
    </message>
    <message>
        <source>More &amp;Utilities</source>
        <translation>Autres &amp;utilitaires</translation>
    </message>
    <message>
        <source>&amp;Download the Bundle</source>
        <translation>&amp;Télécharger le Bundle</translation>
    </message>
    <message>
        <source>Vonage Account</source>
        <translation>Compte Vonage</translation>
    </message>
    <message>
        <source>Enter the name and password of your Vonage account. Brisko asks the click-to-call service for the account&apos;s caller numbers.</source>
        <translation>Saisissez le nom et le mot de passe de votre compte Vonage. Brisko demande au service click-to-call les numéros d&apos;appelant du compte.</translation>
    </message>
    <message>
        <source>Account &amp;name:</source>
        <translation>&amp;Nom du compte&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>Mot de &amp;passe&#xa0;:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Asking Vonage for the account&apos;s caller numbers…</source>
        <translation>Brisko demande à Vonage les numéros d&apos;appelant du compte…</translation>
    </message>
    <message>
        <source>&amp;Ignore accents when searching (“muller” finds Müller)</source>
        <translation>&amp;Ignorer les accents dans la recherche (« muller » trouve Müller)</translation>
    </message>
    <message>
        <source>&amp;Match phone numbers by their digits (“5550134” finds 555-0134)</source>
        <translation>Numéros de téléphone : comparer les c&amp;hiffres seuls (« 5550134 » trouve 555-0134)</translation>
    </message>
    <message>
        <source>Add to GNOME Sho&amp;rtcuts</source>
        <translation>Ajouter aux &amp;raccourcis GNOME</translation>
    </message>
    <message>
        <source>O&amp;rder matches by relevance</source>
        <translation>T&amp;rier les résultats par pertinence</translation>
    </message>
    <message>
        <source>People you open often and recently come first, then those whose name starts with what you type</source>
        <translation>Les personnes que vous ouvrez souvent et récemment viennent d&apos;abord, puis celles dont le nom commence par ce que vous tapez</translation>
    </message>
    <message>
        <source>&amp;Forget Search History</source>
        <translation>Ou&amp;blier l&apos;historique de recherche</translation>
    </message>
    <message>
        <source>Forgets whom you opened from the search; the history never leaves this computer</source>
        <translation>Oublie qui vous avez ouvert depuis la recherche&#xa0;; l&apos;historique ne quitte jamais cet ordinateur</translation>
    </message>
</context>
<context>
    <name>BriskoPanePref</name>
    <message>
        <source>The interface file %1.ui is missing from %2.</source>
        <translation>Le fichier d&apos;interface %1.ui est absent de %2.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Start Brisko</source>
        <translation>Démarrer Brisko</translation>
    </message>
    <message>
        <source>Brisko is stopped</source>
        <translation>Brisko est arrêté</translation>
    </message>
    <message>
        <source>Stopping Brisko ...</source>
        <translation>Arrêt de Brisko…</translation>
    </message>
    <message>
        <source>Launching Brisko ...</source>
        <translation>Démarrage de Brisko…</translation>
    </message>
    <message>
        <source>Cannot Find Brisko</source>
        <translation>Brisko introuvable</translation>
    </message>
    <message>
        <source>Unable to find the background application. Please re-install Brisko.</source>
        <translation>L&apos;application d&apos;arrière-plan est introuvable. Veuillez réinstaller Brisko.</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Brisko is running</source>
        <translation>Brisko est actif</translation>
    </message>
    <message>
        <source>Stop Brisko</source>
        <translation>Arrêter Brisko</translation>
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
        <translation>Changer le raccourci</translation>
    </message>
    <message>
        <source>Press the new hot key: a key together with Ctrl, Alt, Shift or Super, or a function key alone. Return alone confirms it, Escape alone cancels.</source>
        <translation>Appuyez sur le nouveau raccourci&#xa0;: une touche avec Ctrl, Alt, Maj ou Super, ou une touche de fonction seule. Entrée seule le confirme, Échap seule annule.</translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation>Raccourci</translation>
    </message>
    <message>
        <source>Recording the keys you press…</source>
        <translation>Enregistrement des touches pressées…</translation>
    </message>
    <message>
        <source>Key recorder</source>
        <translation>Enregistreur de touches</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Your desktop&apos;s own shortcuts still act while you record: a key combination they use cannot be recorded.</source>
        <translation>Les raccourcis de votre bureau restent actifs pendant l’enregistrement : une combinaison de touches qu’ils utilisent ne peut pas être enregistrée.</translation>
    </message>
</context>
<context>
    <name>ObsoleteCopies</name>
    <message>
        <source>Move old version to Trash?</source>
        <translation>Mettre l&apos;ancienne version à la corbeille&#xa0;?</translation>
    </message>
    <message>
        <source>You have an obsolete version of Brisko in your Applications folder. It is strongly recommended that it be moved to Trash to avoid confusion.</source>
        <translation>Une version obsolète de Brisko se trouve dans votre dossier d&apos;applications. Il est vivement recommandé de la mettre à la corbeille pour éviter toute confusion.</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>Mettre à la corbeille</translation>
    </message>
    <message>
        <source>Keep Old Version</source>
        <translation>Garder l&apos;ancienne version</translation>
    </message>
    <message>
        <source>Cannot Move Old Version to Trash</source>
        <translation>Impossible de mettre l&apos;ancienne version à la corbeille</translation>
    </message>
    <message>
        <source>The obsolete version of Brisko at %1 cannot be moved to Trash. Please remove it as an administrator.</source>
        <translation>La version obsolète de Brisko située dans %1 ne peut pas être mise à la corbeille. Veuillez la supprimer en tant qu&apos;administrateur.</translation>
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
        <translation>Impossible d&apos;ouvrir %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>VonageAccount</name>
    <message>
        <source>Authentication Failed</source>
        <translation>Échec de l&apos;authentification</translation>
    </message>
    <message>
        <source>Please check your Vonage Account Name and Password.</source>
        <translation>Vérifiez le nom et le mot de passe de votre compte Vonage.</translation>
    </message>
    <message>
        <source>Unable to Reach Vonage</source>
        <translation>Impossible de joindre Vonage</translation>
    </message>
    <message>
        <source>Please check your network connection.</source>
        <translation>Vérifiez votre connexion réseau.</translation>
    </message>
    <message>
        <source>Unavailable</source>
        <translation>Indisponible</translation>
    </message>
</context>
</TS>
