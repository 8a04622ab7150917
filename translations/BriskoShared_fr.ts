<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>AdvertTextView</name>
    <message>
        <source>Brought to you by </source>
        <translation>Présenté par </translation>
    </message>
</context>
<context>
    <name>KeyCombo</name>
    <message>
        <source>Click to Set</source>
        <translation>Cliquer pour définir</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
</context>
<context>
    <name>PreferencePane</name>
    <message>
        <source>The pane has no main view.</source>
        <translation>Le panneau n&apos;a pas de vue principale.</translation>
    </message>
</context>
<context>
    <name>RKWebsite</name>
    <message>
        <source>Household accounts that balance themselves</source>
        <translation>Des comptes du ménage qui s&apos;équilibrent tout seuls</translation>
    </message>
    <message>
        <source>A quiet room for long writing</source>
        <translation>Une pièce tranquille pour écrire longtemps</translation>
    </message>
    <message>
        <source>Find any file by what is inside it</source>
        <translation>Retrouvez tout fichier par son contenu</translation>
    </message>
    <message>
        <source>Recipes, shopping lists and a week of meals</source>
        <translation>Recettes, listes de courses et repas de la semaine</translation>
    </message>
    <message>
        <source>Time tracking that stays out of your way</source>
        <translation>Le suivi du temps qui sait se faire oublier</translation>
    </message>
    <message>
        <source>Sticky notes that remember where they go</source>
        <translation>Des pense-bêtes qui savent où se placer</translation>
    </message>
    <message>
        <source>Everything you copied, one keystroke away</source>
        <translation>Tout ce que vous avez copié, à portée de touche</translation>
    </message>
    <message>
        <source>Pick any colour on your screen</source>
        <translation>Prélevez n&apos;importe quelle couleur à l&apos;écran</translation>
    </message>
    <message>
        <source>Every Ambertide utility for the price of two</source>
        <translation>Tous les utilitaires Ambertide pour le prix de deux</translation>
    </message>
</context>
</TS>
