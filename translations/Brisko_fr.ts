<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>AppController</name>
    <message>
        <source>No match</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>%1 matches</source>
        <translation>Résultats&#xa0;: %1</translation>
    </message>
    <message>
        <source>Loading contacts…</source>
        <translation>Chargement des contacts…</translation>
    </message>
</context>
<context>
    <name>BriskoMain</name>
    <message>
        <source>Finds a person in your address book the moment you press the hot key.</source>
        <translation>Trouve une personne dans votre carnet d&apos;adresses dès que vous appuyez sur le raccourci.</translation>
    </message>
    <message>
        <source>Print the display name of every person matching PATTERN, one a line, and exit without opening a window.</source>
        <translation>Affiche le nom de chaque personne correspondant à PATTERN, un par ligne, et quitte sans ouvrir de fenêtre.</translation>
    </message>
    <message>
        <source>Read persons from PATH (a vCard file or a folder) instead of the desktop&apos;s contacts. May be given several times.</source>
        <translation>Lit les personnes depuis PATH (un fichier vCard ou un dossier) au lieu des contacts du bureau. Peut être indiqué plusieurs fois.</translation>
    </message>
</context>
<context>
    <name>HotKeyNotices</name>
    <message>
        <source>Brisko&apos;s hot key %1 is taken by another program</source>
        <translation>Le raccourci %1 de Brisko est déjà utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Taken by another program</source>
        <translation>Déjà utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 has no key on this keyboard</source>
        <translation>Le raccourci %1 de Brisko n&apos;a pas de touche sur ce clavier</translation>
    </message>
    <message>
        <source>No such key on this keyboard</source>
        <translation>Cette touche n&apos;existe pas sur ce clavier</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 was not accepted by the desktop</source>
        <translation>Le bureau a refusé le raccourci %1 de Brisko</translation>
    </message>
    <message>
        <source>Not accepted by the desktop</source>
        <translation>Refusé par le bureau</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 is not set: the desktop did not answer</source>
        <translation>Le raccourci %1 de Brisko n&apos;est pas actif&#xa0;: le bureau n&apos;a pas répondu</translation>
    </message>
    <message>
        <source>The desktop did not answer</source>
        <translation>Le bureau n&apos;a pas répondu</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 cannot work in this session</source>
        <translation>Le raccourci %1 de Brisko ne peut pas fonctionner dans cette session</translation>
    </message>
    <message>
        <source>Hot keys cannot work in this session</source>
        <translation>Les raccourcis ne peuvent pas fonctionner dans cette session</translation>
    </message>
    <message>
        <source>To open Brisko from the keyboard anyway, bind the command &quot;brisko-ctl show&quot; to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Pour ouvrir quand même Brisko au clavier, associez la commande «&#xa0;brisko-ctl show&#xa0;» à un raccourci dans les réglages du clavier du bureau.</translation>
    </message>
    <message>
        <source>Choose another key in Brisko&apos;s preferences, or bind the command &quot;brisko-ctl show&quot; to a shortcut in the desktop&apos;s keyboard settings.</source>
        <translation>Choisissez un autre raccourci dans les préférences de Brisko, ou associez la commande «&#xa0;brisko-ctl show&#xa0;» à un raccourci dans les réglages du clavier du bureau.</translation>
    </message>
    <message>
        <source>Bind &quot;brisko-ctl show&quot; to a desktop shortcut.</source>
        <translation>Associez «&#xa0;brisko-ctl show&#xa0;» à un raccourci du bureau.</translation>
    </message>
    <message>
        <source>Choose another key in the preferences.</source>
        <translation>Choisissez un autre raccourci dans les préférences.</translation>
    </message>
    <message>
        <source>Brisko&apos;s hot key %1 needs GNOME&apos;s keyboard settings</source>
        <translation>Le raccourci %1 de Brisko a besoin des réglages clavier de GNOME</translation>
    </message>
    <message>
        <source>This GNOME session gives programs no global shortcuts. Add the key with &quot;Add to GNOME Shortcuts&quot; on the General tab of Brisko&apos;s preferences.</source>
        <translation>Cette session GNOME n&apos;offre pas de raccourcis globaux aux programmes. Ajoutez la touche avec « Ajouter aux raccourcis GNOME » dans l&apos;onglet Général des préférences de Brisko.</translation>
    </message>
</context>
<context>
    <name>LargeTypeWindow</name>
    <message>
        <source>Large Type</source>
        <translation>Grands caractères</translation>
    </message>
</context>
<context>
    <name>LaunchGreeter</name>
    <message>
        <source>Thank you for choosing Brisko</source>
        <translation>Merci d&apos;avoir choisi Brisko</translation>
    </message>
    <message>
        <source>As an independent developer, our single greatest challenge is getting the word out.  Please consider taking a minute to share Brisko on your Facebook or post a review. Thank you!</source>
        <translation>Pour un développeur indépendant comme nous, le plus grand défi est de se faire connaître. Prenez une minute pour partager Brisko sur Facebook ou publier un avis. Merci&#xa0;!</translation>
    </message>
    <message>
        <source>Share on Facebook</source>
        <translation>Partager sur Facebook</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Post Review</source>
        <translation>Publier un avis</translation>
    </message>
</context>
<context>
    <name>MatchesTableModel</name>
    <message>
        <source>name</source>
        <translation>nom</translation>
    </message>
    <message>
        <source>nickname</source>
        <translation>surnom</translation>
    </message>
    <message>
        <source>address</source>
        <translation>adresse</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>téléphone</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>e-mail</translation>
    </message>
    <message>
        <source>job title</source>
        <translation>fonction</translation>
    </message>
    <message>
        <source>company</source>
        <translation>société</translation>
    </message>
    <message>
        <source>web</source>
        <translation>web</translation>
    </message>
    <message>
        <source>note</source>
        <translation>note</translation>
    </message>
    <message>
        <source>%1: </source>
        <comment>a property named before its value</comment>
        <translation>%1&#xa0;: </translation>
    </message>
</context>
<context>
    <name>MenuButton</name>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>About Brisko</source>
        <translation>À propos de Brisko</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Quit Brisko</source>
        <translation>Quitter Brisko</translation>
    </message>
    <message>
        <source>Menu (%1)</source>
        <translation>Menu (%1)</translation>
    </message>
</context>
<context>
    <name>MyTableView</name>
    <message>
        <source>Matches</source>
        <translation>Résultats</translation>
    </message>
</context>
<context>
    <name>PersonExtras</name>
    <message>
        <source>No Name</source>
        <translation>Sans nom</translation>
    </message>
</context>
<context>
    <name>PersonView</name>
    <message>
        <source>Contact details</source>
        <translation>Coordonnées</translation>
    </message>
</context>
<context>
    <name>PropertyView</name>
    <message>
        <source>work</source>
        <translation>travail</translation>
    </message>
    <message>
        <source>main</source>
        <translation>principal</translation>
    </message>
    <message>
        <source>home</source>
        <translation>domicile</translation>
    </message>
    <message>
        <source>mobile</source>
        <translation>mobile</translation>
    </message>
    <message>
        <source>pager</source>
        <translation>pager</translation>
    </message>
    <message>
        <source>other</source>
        <translation>autre</translation>
    </message>
    <message>
        <source>work fax</source>
        <translation>fax travail</translation>
    </message>
    <message>
        <source>home fax</source>
        <translation>fax domicile</translation>
    </message>
    <message>
        <source>home page</source>
        <translation>page d&apos;accueil</translation>
    </message>
    <message>
        <source>Not opened: not an e-mail address</source>
        <translation>Non ouvert&#xa0;: ce n&apos;est pas une adresse e-mail</translation>
    </message>
    <message>
        <source>Not opened: not a web address</source>
        <translation>Non ouvert&#xa0;: ce n&apos;est pas une adresse Web</translation>
    </message>
    <message>
        <source>Large Type</source>
        <translation>Grands caractères</translation>
    </message>
    <message>
        <source>Dial With Vonage</source>
        <translation>Appeler avec Vonage</translation>
    </message>
    <message>
        <source>Call</source>
        <translation>Appeler</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Send Email</source>
        <translation>Envoyer un e-mail</translation>
    </message>
    <message>
        <source>Go to Web Site</source>
        <translation>Ouvrir le site Web</translation>
    </message>
    <message>
        <source>Map Of</source>
        <translation>Voir sur la carte</translation>
    </message>
    <message>
        <source>Copy Map Link</source>
        <translation>Copier le lien de la carte</translation>
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
        <translation>Texte à rechercher</translation>
    </message>
    <message>
        <source>Search contacts</source>
        <translation>Rechercher des contacts</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
</context>
<context>
    <name>SearchPanel</name>
    <message>
        <source>%1, %2 of %3</source>
        <translation>%1, %2 sur %3</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>Activation hot key: %1</source>
        <translation>Raccourci d&apos;activation&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>New Version Available!</source>
        <translation>Nouvelle version disponible&#xa0;!</translation>
    </message>
    <message>
        <source>Brisko %1 is now available for download.</source>
        <translation>Brisko %1 est disponible au téléchargement.</translation>
    </message>
    <message>
        <source>Visit Website</source>
        <translation>Visiter le site Web</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Latest Version</source>
        <translation>Dernière version</translation>
    </message>
    <message>
        <source>You are currently running Brisko %1, the latest version available.</source>
        <translation>Vous utilisez Brisko %1, la version la plus récente.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Update Check Failed</source>
        <translation>Échec de la recherche de mises à jour</translation>
    </message>
    <message>
        <source>Brisko could not find out whether a newer version is available (%1). Please try again later.</source>
        <translation>Brisko n&apos;a pas pu déterminer si une version plus récente est disponible (%1). Veuillez réessayer plus tard.</translation>
    </message>
</context>
<context>
    <name>VersionChecker</name>
    <message>
        <source>New Version Available!</source>
        <translation>Nouvelle version disponible&#xa0;!</translation>
    </message>
    <message>
        <source>%1 %2 is now available for download.</source>
        <translation>%1 %2 est disponible au téléchargement.</translation>
    </message>
    <message>
        <source>Visit Website</source>
        <translation>Visiter le site Web</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>Latest Version</source>
        <translation>Dernière version</translation>
    </message>
    <message>
        <source>You are currently running %1 %2, the latest version available.</source>
        <translation>Vous utilisez %1 %2, la version la plus récente.</translation>
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
        <translation>Appel en cours…</translation>
    </message>
    <message>
        <source>Failed (no answer)</source>
        <translation>Échec (pas de réponse)</translation>
    </message>
    <message>
        <source>Failed (error %1)</source>
        <translation>Échec (erreur %1)</translation>
    </message>
</context>
</TS>
