<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CheckWindow</name>
    <message>
        <source>Check Kiosk System</source>
        <translation>Kiosksystem prüfen</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>Befunde</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Pages checked</source>
        <translation>Geprüfte Seiten</translation>
    </message>
    <message>
        <source>Check &amp;Again</source>
        <translation>&amp;Erneut prüfen</translation>
    </message>
    <message>
        <source>Checking %1 pages...</source>
        <translation>%1 Seiten werden geprüft...</translation>
    </message>
</context>
<context>
    <name>ChooserDialog</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>DirectoryDialog</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>ZEL - Choose Directory</source>
        <translation>ZEL - Verzeichnis wählen</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>%1 (home)</source>
        <translation>%1 (persönlicher Ordner)</translation>
    </message>
    <message>
        <source>Enter folder name:</source>
        <translation>Ordnernamen eingeben:</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Neuen Ordner anlegen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Folder %1 cannot be created</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>A folder name may be at most %1 bytes long</source>
        <translation>Ein Ordnername darf höchstens %1 Byte lang sein</translation>
    </message>
    <message>
        <source>Folder %1 already exists</source>
        <translation>Der Ordner %1 existiert bereits</translation>
    </message>
</context>
<context>
    <name>EditorRecovery</name>
    <message>
        <source>The text is not protected: its recovery copy cannot be written to %1 (%2). Save the page to keep it.</source>
        <translation>Der Text ist nicht geschützt: Seine Wiederherstellungskopie kann nicht nach %1 geschrieben werden (%2). Speichern Sie die Seite, um ihn zu behalten.</translation>
    </message>
    <message>
        <source>a new page</source>
        <translation>einer neuen Seite</translation>
    </message>
    <message>
        <source>page %1</source>
        <translation>der Seite %1</translation>
    </message>
    <message>
        <source>ZEL ended without saving the text of %1.</source>
        <translation>ZEL wurde beendet, ohne den Text %1 zu speichern.</translation>
    </message>
    <message>
        <source>Do you want to restore it into an editor?</source>
        <translation>Möchten Sie ihn in einem Editor wiederherstellen?</translation>
    </message>
</context>
<context>
    <name>EditorWindow</name>
    <message>
        <source>Page source</source>
        <translation>Seitenquelle</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Make...</source>
        <translation>&amp;Erstellen...</translation>
    </message>
    <message>
        <source>Save, Ma&amp;ke &amp;&amp; View</source>
        <translation>Speichern, erstellen &amp;&amp; &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;View...</source>
        <translation>A&amp;nzeigen...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles a&amp;uswählen</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Nä&amp;chstes suchen</translation>
    </message>
    <message>
        <source>Find Pre&amp;vious</source>
        <translation>&amp;Vorheriges suchen</translation>
    </message>
    <message>
        <source>R&amp;eplace...</source>
        <translation>Erse&amp;tzen...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>&amp;Go to Page or Picture</source>
        <translation>&amp;Gehe zu Seite oder Bild</translation>
    </message>
    <message>
        <source>&amp;Word Wrap</source>
        <translation>&amp;Zeilenumbruch</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Vergröß&amp;ern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Verkleiner&amp;n</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>Insert &amp;Button...</source>
        <translation>&amp;Schaltfläche einfügen...</translation>
    </message>
    <message>
        <source>Insert &amp;Image...</source>
        <translation>&amp;Bild einfügen...</translation>
    </message>
    <message>
        <source>Insert I&amp;tem...</source>
        <translation>&amp;Eintrag einfügen...</translation>
    </message>
    <message>
        <source>(new page, not saved yet)</source>
        <translation>(neue Seite, noch nicht gespeichert)</translation>
    </message>
    <message>
        <source>Leaf Page - %1</source>
        <translation>Blattseite - %1</translation>
    </message>
    <message>
        <source>New Leaf page</source>
        <translation>Neue Blattseite</translation>
    </message>
    <message>
        <source>Branch Page - %1</source>
        <translation>Zweigseite - %1</translation>
    </message>
    <message>
        <source>New Branch Page</source>
        <translation>Neue Zweigseite</translation>
    </message>
    <message>
        <source>Root Page</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>Selector Page - %1</source>
        <translation>Auswahlseite - %1</translation>
    </message>
    <message>
        <source>New Selector page</source>
        <translation>Neue Auswahlseite</translation>
    </message>
    <message>
        <source>ZEL (Editor) %1</source>
        <translation>ZEL (Editor) %1</translation>
    </message>
    <message>
        <source>Page %1 is open in another editor - close that editor before saving over it</source>
        <translation>Die Seite %1 ist in einem anderen Editor geöffnet - schließen Sie diesen Editor, bevor Sie sie überschreiben</translation>
    </message>
    <message>
        <source>Page already exists - do you want to replace it?</source>
        <translation>Die Seite existiert bereits - möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>The page has changed. Do you want to save the page first?</source>
        <translation>Die Seite wurde geändert. Möchten Sie die Seite zuerst speichern?</translation>
    </message>
    <message>
        <source>You can only insert at the end or the beginning of a line</source>
        <translation>Sie können nur am Ende oder am Anfang einer Zeile einfügen</translation>
    </message>
    <message>
        <source>You must save this page before you can insert an image</source>
        <translation>Sie müssen diese Seite speichern, bevor Sie ein Bild einfügen können</translation>
    </message>
    <message>
        <source>You must save this page before you can insert an item</source>
        <translation>Sie müssen diese Seite speichern, bevor Sie einen Eintrag einfügen können</translation>
    </message>
    <message>
        <source>Page source %1 no longer exists - save the page to write it again</source>
        <translation>Die Seitenquelle %1 existiert nicht mehr - speichern Sie die Seite, um sie neu zu schreiben</translation>
    </message>
    <message>
        <source>The page has not been made. Do you want to make the page first?</source>
        <translation>Die Seite wurde nicht erstellt. Möchten Sie die Seite zuerst erstellen?</translation>
    </message>
    <message>
        <source>Page has changed - do you want to save it?</source>
        <translation>Die Seite wurde geändert - möchten Sie sie speichern?</translation>
    </message>
</context>
<context>
    <name>FileHandover</name>
    <message>
        <source>is not a page of a kiosk system: a page source (.zel) lies in a folder of a kiosk system folder, the folder that holds configuration.txt or root/root.zel.</source>
        <translation>ist keine Seite eines Kiosksystems: Eine Seitenquelle (.zel) liegt in einem Ordner eines Kiosksystem-Ordners, des Ordners, der configuration.txt oder root/root.zel enthält.</translation>
    </message>
</context>
<context>
    <name>FindInPagesWindow</name>
    <message>
        <source>Find in Pages</source>
        <translation>In Seiten suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Suche &amp;nach:</translation>
    </message>
    <message>
        <source>Match ca&amp;se</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Lines holding the text</source>
        <translation>Zeilen mit dem Text</translation>
    </message>
    <message>
        <source>Type the text to find</source>
        <translation>Geben Sie den zu suchenden Text ein</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found in the pages</source>
        <translation>„%1“ wurde in den Seiten nicht gefunden</translation>
    </message>
    <message>
        <source>Lines holding &quot;%1&quot;: %2</source>
        <translation>Zeilen mit „%1“: %2</translation>
    </message>
</context>
<context>
    <name>FindReplaceDialog</name>
    <message>
        <source>&quot;%1&quot; was not found in this page</source>
        <translation>„%1“ wurde in dieser Seite nicht gefunden</translation>
    </message>
    <message>
        <source>ZEL - Find and Replace</source>
        <translation>ZEL - Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>Fi&amp;nd:</source>
        <translation>Suche &amp;nach:</translation>
    </message>
    <message>
        <source>Replace &amp;with:</source>
        <translation>&amp;Ersetzen durch:</translation>
    </message>
    <message>
        <source>Match ca&amp;se</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Find Ne&amp;xt</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>&amp;Rückwärts suchen</translation>
    </message>
    <message>
        <source>&amp;Replace</source>
        <translation>Erse&amp;tzen</translation>
    </message>
    <message>
        <source>Replace &amp;All</source>
        <translation>&amp;Alle ersetzen</translation>
    </message>
    <message>
        <source>Passed the start of the page - went on from its end</source>
        <translation>Seitenanfang überschritten - am Seitenende fortgesetzt</translation>
    </message>
    <message>
        <source>Passed the end of the page - went on from its start</source>
        <translation>Seitenende überschritten - am Seitenanfang fortgesetzt</translation>
    </message>
    <message>
        <source>Replaced 1 occurrence</source>
        <translation>1 Vorkommen ersetzt</translation>
    </message>
    <message>
        <source>Replaced %1 occurrences</source>
        <translation>%1 Vorkommen ersetzt</translation>
    </message>
</context>
<context>
    <name>FolderChooserDialog</name>
    <message>
        <source>No folders have been created in this kiosk system</source>
        <translation>In diesem Kiosksystem wurden noch keine Ordner angelegt</translation>
    </message>
</context>
<context>
    <name>InsertDialog</name>
    <message>
        <source>Image Linked To Item</source>
        <translation>Mit dem Eintrag verknüpftes Bild</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Find Image</source>
        <translation>Bild suchen</translation>
    </message>
    <message>
        <source>Text Alternative (what the picture shows)</source>
        <translation>Alternativtext (was das Bild zeigt)</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Image Width</source>
        <translation>Bildbreite</translation>
    </message>
    <message>
        <source>Image Alignment</source>
        <translation>Bildausrichtung</translation>
    </message>
    <message>
        <source>Linked Page</source>
        <translation>Verknüpfte Seite</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Select Existing Page</source>
        <translation>Vorhandene Seite wählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>ZEL - Insert %1</source>
        <translation>ZEL - %1 einfügen</translation>
    </message>
    <message>
        <source>Button</source>
        <translation>Schaltfläche</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Eintrag</translation>
    </message>
    <message>
        <source>Button Text is blank</source>
        <translation>Der Text der Schaltfläche ist leer</translation>
    </message>
    <message>
        <source>Width - value %1 is not valid</source>
        <translation>Breite - der Wert %1 ist ungültig</translation>
    </message>
    <message>
        <source>Value must be an integer between 1 and 100</source>
        <translation>Der Wert muss eine ganze Zahl zwischen 1 und 100 sein</translation>
    </message>
    <message>
        <source>Item text is blank</source>
        <translation>Der Text des Eintrags ist leer</translation>
    </message>
    <message>
        <source>Image is not valid</source>
        <translation>Das Bild ist ungültig</translation>
    </message>
    <message>
        <source>The image %1 already exists in the folder containing this page </source>
        <translation>Das Bild %1 existiert bereits im Ordner dieser Seite </translation>
    </message>
    <message>
        <source>Do you wish to replace it?</source>
        <translation>Möchten Sie es ersetzen?</translation>
    </message>
</context>
<context>
    <name>KiosksWindow</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 d</source>
        <translation>%1 T</translation>
    </message>
    <message>
        <source>Kiosks</source>
        <translation>Kioske</translation>
    </message>
    <message>
        <source>Broker...</source>
        <translation>Broker...</translation>
    </message>
    <message>
        <source>Kiosk</source>
        <translation>Kiosk</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Since</source>
        <translation>Seit</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Latest</source>
        <translation>Neueste</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Drawn</source>
        <translation>Angezeigt</translation>
    </message>
    <message>
        <source>Restarts 24 h</source>
        <translation>Neustarts 24 h</translation>
    </message>
    <message>
        <source>Screen</source>
        <translation>Bildschirm</translation>
    </message>
    <message>
        <source>Views today</source>
        <translation>Aufrufe heute</translation>
    </message>
    <message>
        <source>No broker set: choose Broker... to set the one the kiosks report to.</source>
        <translation>Kein Broker eingestellt: Wählen Sie Broker..., um den einzustellen, an den die Kioske melden.</translation>
    </message>
    <message>
        <source>Broker: %1 (connecting)</source>
        <translation>Broker: %1 (Verbindung wird aufgebaut)</translation>
    </message>
    <message>
        <source>Broker: %1</source>
        <translation>Broker: %1</translation>
    </message>
    <message>
        <source>Broker: %1 (trying again)</source>
        <translation>Broker: %1 (neuer Versuch)</translation>
    </message>
    <message>
        <source>Broker</source>
        <translation>Broker</translation>
    </message>
    <message>
        <source>none: no TLS</source>
        <translation>keine: ohne TLS</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Topic prefix:</source>
        <translation>Themenpräfix:</translation>
    </message>
    <message>
        <source>TLS CA file:</source>
        <translation>TLS-CA-Datei:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>online</source>
        <translation>online</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>offline</translation>
    </message>
    <message>
        <source>before %1</source>
        <translation>vor %1</translation>
    </message>
    <message>
        <source>behind the latest version %1</source>
        <translation>hinter der neuesten Version %1</translation>
    </message>
    <message>
        <source>on</source>
        <translation>an</translation>
    </message>
    <message>
        <source>off (closed)</source>
        <translation>aus (geschlossen)</translation>
    </message>
    <message>
        <source>always open</source>
        <translation>immer geöffnet</translation>
    </message>
    <message>
        <source>Broker: %1 (not connected: no screenshot asked for)</source>
        <translation>Broker: %1 (nicht verbunden: kein Bildschirmfoto angefordert)</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ostervale Information Kiosk (ZEL)</source>
        <translation>Ostervale Information Kiosk (ZEL)</translation>
    </message>
    <message>
        <source>No kiosk system open</source>
        <translation>Kein Kiosksystem geöffnet</translation>
    </message>
    <message>
        <source>Kiosk system: %1</source>
        <translation>Kiosksystem: %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open Kiosk System...</source>
        <translation>Kiosksystem ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Create New Kiosk System...</source>
        <translation>&amp;Neues Kiosksystem anlegen...</translation>
    </message>
    <message>
        <source>&amp;Install Kiosk System ...</source>
        <translation>Kiosksystem &amp;installieren ...</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>&amp;Veröffentlichen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Edit Page...</source>
        <translation>Seite &amp;bearbeiten...</translation>
    </message>
    <message>
        <source>New &amp;Branch Page...</source>
        <translation>Neue &amp;Zweigseite...</translation>
    </message>
    <message>
        <source>New &amp;Leaf Page...</source>
        <translation>Neue Bla&amp;ttseite...</translation>
    </message>
    <message>
        <source>New &amp;Selector Page...</source>
        <translation>Neue &amp;Auswahlseite...</translation>
    </message>
    <message>
        <source>New &amp;Folder ...</source>
        <translation>Neuer &amp;Ordner ...</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Export Folder...</source>
        <translation>Ordner &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Make All Pages...</source>
        <translation>&amp;Alle Seiten erstellen...</translation>
    </message>
    <message>
        <source>&amp;Check Kiosk System...</source>
        <translation>Kiosksystem &amp;prüfen...</translation>
    </message>
    <message>
        <source>Kiosk System &amp;Overview...</source>
        <translation>Kiosksystem-Ü&amp;bersicht...</translation>
    </message>
    <message>
        <source>&amp;Kiosks...</source>
        <translation>&amp;Kioske...</translation>
    </message>
    <message>
        <source>&amp;References...</source>
        <translation>&amp;Verweise...</translation>
    </message>
    <message>
        <source>&amp;Find in Pages...</source>
        <translation>In Seiten &amp;suchen...</translation>
    </message>
    <message>
        <source>Re&amp;name Page...</source>
        <translation>Seite &amp;umbenennen...</translation>
    </message>
    <message>
        <source>Mo&amp;ve Page...</source>
        <translation>Seite versc&amp;hieben...</translation>
    </message>
    <message>
        <source>Rename Fol&amp;der...</source>
        <translation>&amp;Ordner umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Ostervale Information Kiosk (ZEL)</source>
        <translation>Ü&amp;ber Ostervale Information Kiosk (ZEL)</translation>
    </message>
    <message>
        <source>You must close ALL ZEL editor windows BEFORE you can open another Kiosk System</source>
        <translation>Sie müssen ALLE ZEL-Editorfenster schließen, BEVOR Sie ein anderes Kiosksystem öffnen können</translation>
    </message>
    <message>
        <source>Kiosk System Folder - %1 already holds a Kiosk System - nothing was copied</source>
        <translation>Kiosksystem-Ordner - %1 enthält bereits ein Kiosksystem - es wurde nichts kopiert</translation>
    </message>
    <message>
        <source>Open it with Open Kiosk System, or choose an empty folder</source>
        <translation>Öffnen Sie es mit Kiosksystem öffnen, oder wählen Sie einen leeren Ordner</translation>
    </message>
    <message>
        <source>InstallKioskSystem not implemented yet</source>
        <translation>Kiosksystem installieren ist noch nicht verfügbar</translation>
    </message>
    <message>
        <source>Ostervale Information Kiosk (ZEL) Version %1.%2 Revision %3</source>
        <translation>Ostervale Information Kiosk (ZEL) Version %1.%2 Revision %3</translation>
    </message>
    <message>
        <source>A page has been changed  - do you wish to save it first?</source>
        <translation>Eine Seite wurde geändert - möchten Sie sie zuerst speichern?</translation>
    </message>
    <message>
        <source>Last make %1: %2 of %3 pages made, %4 problems</source>
        <translation>Letzte Erstellung %1: %2 von %3 Seiten erstellt, %4 Probleme</translation>
    </message>
    <message>
        <source>Unable to export folder - unable to find system utility Makecab.exe</source>
        <translation>Der Ordner kann nicht exportiert werden - das Systemprogramm Makecab.exe wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Sorry an error occurred when exporting the folder</source>
        <translation>Leider ist beim Exportieren des Ordners ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>The cab file has not been created</source>
        <translation>Die CAB-Datei wurde nicht erstellt</translation>
    </message>
    <message>
        <source>New name of page %1 in folder %2:</source>
        <translation>Neuer Name der Seite %1 im Ordner %2:</translation>
    </message>
    <message>
        <source>Rename Page</source>
        <translation>Seite umbenennen</translation>
    </message>
    <message>
        <source>New name of folder %1:</source>
        <translation>Neuer Name des Ordners %1:</translation>
    </message>
    <message>
        <source>Rename Folder</source>
        <translation>Ordner umbenennen</translation>
    </message>
    <message>
        <source>The pages that lead to the renamed pages must be made again. Make all pages now?</source>
        <translation>Die Seiten, die zu den umbenannten Seiten führen, müssen neu erstellt werden. Jetzt alle Seiten erstellen?</translation>
    </message>
</context>
<context>
    <name>MakeDialog</name>
    <message>
        <source>ZEL - Make Page</source>
        <translation>ZEL - Seite erstellen</translation>
    </message>
    <message>
        <source>Pages made</source>
        <translation>Erstellte Seiten</translation>
    </message>
    <message>
        <source>Pictures done: %1 of %2</source>
        <translation>Bilder fertig: %1 von %2</translation>
    </message>
</context>
<context>
    <name>NewFolderDialog</name>
    <message>
        <source>Create New Folder</source>
        <translation>Neuen Ordner anlegen</translation>
    </message>
    <message>
        <source>No folder name entered</source>
        <translation>Kein Ordnername eingegeben</translation>
    </message>
    <message>
        <source>Folder already exists</source>
        <translation>Der Ordner existiert bereits</translation>
    </message>
</context>
<context>
    <name>OpenKioskSystem</name>
    <message>
        <source>Warning your screen is NOT the same size as required for the Kiosk System</source>
        <translation>Achtung: Ihr Bildschirm hat NICHT die Größe, die das Kiosksystem verlangt</translation>
    </message>
    <message>
        <source>Some pages may NOT display correctly</source>
        <translation>Manche Seiten werden womöglich NICHT richtig angezeigt</translation>
    </message>
    <message>
        <source>Required width is %1 actual width is %2</source>
        <translation>Verlangte Breite ist %1, tatsächliche Breite ist %2</translation>
    </message>
    <message>
        <source>Required height is %1 actual height is %2</source>
        <translation>Verlangte Höhe ist %1, tatsächliche Höhe ist %2</translation>
    </message>
</context>
<context>
    <name>OverviewWindow</name>
    <message>
        <source>cannot be read (%1)</source>
        <translation>kann nicht gelesen werden (%1)</translation>
    </message>
    <message>
        <source>on show now: </source>
        <translation>jetzt sichtbar: </translation>
    </message>
    <message>
        <source>off show now: </source>
        <translation>jetzt ausgeblendet: </translation>
    </message>
    <message>
        <source>not made</source>
        <translation>nicht erstellt</translation>
    </message>
    <message>
        <source>up to date</source>
        <translation>aktuell</translation>
    </message>
    <message>
        <source>out of date</source>
        <translation>veraltet</translation>
    </message>
    <message>
        <source>Kiosk System Overview</source>
        <translation>Kiosksystem-Übersicht</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Made</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <source>Views</source>
        <translation>Aufrufe</translation>
    </message>
    <message>
        <source>Page views %1 %2</source>
        <translation>Seitenaufrufe %1 %2</translation>
    </message>
    <message>
        <source>Page views %1: %2 line not counted (not a date, a page and a count of 0 or more)</source>
        <translation>Seitenaufrufe %1: %2 Zeile nicht gezählt (kein Datum, keine Seite und keine Anzahl von 0 oder mehr)</translation>
    </message>
    <message>
        <source>Page views %1: %2 lines not counted (not a date, a page and a count of 0 or more)</source>
        <translation>Seitenaufrufe %1: %2 Zeilen nicht gezählt (kein Datum, keine Seite und keine Anzahl von 0 oder mehr)</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Make</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>References</source>
        <translation>Verweise</translation>
    </message>
</context>
<context>
    <name>PageDocument</name>
    <message>
        <source>Error number %1</source>
        <translation>Fehlernummer %1</translation>
    </message>
    <message>
        <source>Invalid ZEL Page</source>
        <translation>Ungültige ZEL-Seite</translation>
    </message>
    <message>
        <source>Unable to read file %1</source>
        <translation>Die Datei %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Unable to write file %1</source>
        <translation>Die Datei %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>PageLineList</name>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>PageMaker</name>
    <message>
        <source>Images folder %1 is a symbolic link - no picture is copied into it</source>
        <translation>Der Bilderordner %1 ist eine symbolische Verknüpfung - es wird kein Bild hineinkopiert</translation>
    </message>
    <message>
        <source>Image %1 does not exist</source>
        <translation>Das Bild %1 existiert nicht</translation>
    </message>
    <message>
        <source>Unsupported image file type</source>
        <translation>Nicht unterstützter Bilddateityp</translation>
    </message>
    <message>
        <source>Picture copy %1 would have a name too long for the file system - it is not made</source>
        <translation>Die Bildkopie %1 hätte einen für das Dateisystem zu langen Namen - sie wird nicht erstellt</translation>
    </message>
    <message>
        <source>Too many buttons on page</source>
        <translation>Zu viele Schaltflächen auf der Seite</translation>
    </message>
    <message>
        <source>Invalid Zel Page</source>
        <translation>Ungültige ZEL-Seite</translation>
    </message>
    <message>
        <source>Kiosk System Folder - %1 does NOT exist - no pages were made</source>
        <translation>Kiosksystem-Ordner - %1 existiert NICHT - es wurden keine Seiten erstellt</translation>
    </message>
    <message>
        <source>Making page %1 in folder %2</source>
        <translation>Seite %1 im Ordner %2 wird erstellt</translation>
    </message>
    <message>
        <source>show directive is not for the root page, which is always on show</source>
        <translation>Die show-Anweisung gilt nicht für die Startseite, die immer sichtbar ist</translation>
    </message>
    <message>
        <source>Invalid show directive - %1 - the page is always on show</source>
        <translation>Ungültige show-Anweisung - %1 - die Seite ist immer sichtbar</translation>
    </message>
    <message>
        <source>Reference to non-existent page</source>
        <translation>Verweis auf eine nicht existierende Seite</translation>
    </message>
    <message>
        <source>Expected valid directive</source>
        <translation>Gültige Anweisung erwartet</translation>
    </message>
    <message>
        <source>Invalid item directive</source>
        <translation>Ungültige item-Anweisung</translation>
    </message>
    <message>
        <source>You can not put buttons on a leaf page</source>
        <translation>Auf eine Blattseite können keine Schaltflächen gesetzt werden</translation>
    </message>
    <message>
        <source>Invalid button directive</source>
        <translation>Ungültige button-Anweisung</translation>
    </message>
    <message>
        <source>Image %1 %2</source>
        <translation>Bild %1 %2</translation>
    </message>
    <message>
        <source>Page file - %1 could not be put in place: its folder is gone</source>
        <translation>Seitendatei - %1 konnte nicht an ihren Platz gebracht werden: Ihr Ordner existiert nicht mehr</translation>
    </message>
    <message>
        <source>Page source - %1 %2 - the page was not made</source>
        <translation>Seitenquelle - %1 %2 - die Seite wurde nicht erstellt</translation>
    </message>
    <message>
        <source>Page source - %1 would overwrite %2.htm of page source %3 - the page was not made</source>
        <translation>Seitenquelle - %1 würde %2.htm der Seitenquelle %3 überschreiben - die Seite wurde nicht erstellt</translation>
    </message>
    <message>
        <source>Page source - %1 has a name too long for its made file %2 - the page was not made</source>
        <translation>Seitenquelle - %1 hat einen zu langen Namen für ihre erstellte Datei %2 - die Seite wurde nicht erstellt</translation>
    </message>
    <message>
        <source>Dead references: %1 (buttons or items to pages that do not exist strand the visitor)</source>
        <translation>Tote Verweise: %1 (Schaltflächen oder Einträge, die auf nicht existierende Seiten führen, lassen den Besucher festsitzen)</translation>
    </message>
</context>
<context>
    <name>PageRenaming</name>
    <message>
        <source>Nothing was renamed: %1: %2</source>
        <translation>Es wurde nichts umbenannt: %1: %2</translation>
    </message>
    <message>
        <source>Renaming failed: %1: %2. These files could not be put back as they were: %3</source>
        <translation>Das Umbenennen ist fehlgeschlagen: %1: %2. Diese Dateien konnten nicht wiederhergestellt werden: %3</translation>
    </message>
    <message>
        <source>The root page keeps its name and folder: every Home button leads to root\root.</source>
        <translation>Die Startseite behält ihren Namen und Ordner: Jede Home-Schaltfläche führt zu root\root.</translation>
    </message>
    <message>
        <source>There is no page %1 in folder %2</source>
        <translation>Im Ordner %2 gibt es keine Seite %1</translation>
    </message>
    <message>
        <source>The page already has that name.</source>
        <translation>Die Seite hat bereits diesen Namen.</translation>
    </message>
    <message>
        <source>There is no folder %1</source>
        <translation>Es gibt keinen Ordner %1</translation>
    </message>
    <message>
        <source>Page %1 can not be used in folder %2: %3 is there</source>
        <translation>Die Seite %1 kann im Ordner %2 nicht verwendet werden: Dort liegt %3</translation>
    </message>
    <message>
        <source>The root folder keeps its name: every Home button leads to root\root.</source>
        <translation>Der Ordner root behält seinen Namen: Jede Home-Schaltfläche führt zu root\root.</translation>
    </message>
    <message>
        <source>The folder already has that name.</source>
        <translation>Der Ordner hat bereits diesen Namen.</translation>
    </message>
    <message>
        <source>There is already a folder %1</source>
        <translation>Es gibt bereits einen Ordner %1</translation>
    </message>
</context>
<context>
    <name>PageSourceWatch</name>
    <message>
        <source>Page source %1 has been changed by another program.</source>
        <translation>Die Seitenquelle %1 wurde von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <source>Do you want to load it and lose the changes made in this editor?</source>
        <translation>Möchten Sie sie laden und die Änderungen in diesem Editor verwerfen?</translation>
    </message>
    <message>
        <source>Do you want to load it?</source>
        <translation>Möchten Sie sie laden?</translation>
    </message>
    <message>
        <source>Do you want to replace it with the text in this editor?</source>
        <translation>Möchten Sie sie durch den Text in diesem Editor ersetzen?</translation>
    </message>
</context>
<context>
    <name>PictureFileDialog</name>
    <message>
        <source>Find Image</source>
        <translation>Bild suchen</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>Jpeg Files (*.jpg)</source>
        <translation>JPEG-Dateien (*.jpg)</translation>
    </message>
</context>
<context>
    <name>PictureWindow</name>
    <message>
        <source>ZEL (Picture) %1</source>
        <translation>ZEL (Bild) %1</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>ZEL (Preview)</source>
        <translation>ZEL (Vorschau)</translation>
    </message>
    <message>
        <source>new page</source>
        <translation>neue Seite</translation>
    </message>
    <message>
        <source>Problems of the page</source>
        <translation>Probleme der Seite</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>Show as at</source>
        <translation>Zeigen wie am</translation>
    </message>
    <message>
        <source>Show the kiosk as at</source>
        <translation>Den Kiosk zeigen wie am</translation>
    </message>
    <message>
        <source>No page to preview: Preview in an editor shows its page here.</source>
        <translation>Keine Seite in der Vorschau: Vorschau in einem Editor zeigt seine Seite hier.</translation>
    </message>
    <message>
        <source>No page to preview.</source>
        <translation>Keine Seite in der Vorschau.</translation>
    </message>
    <message>
        <source>no problems</source>
        <translation>keine Probleme</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
    <message>
        <source>%1 - %2 - made in %3 ms</source>
        <translation>%1 - %2 - erstellt in %3 ms</translation>
    </message>
    <message>
        <source>The preview could not be made: %1</source>
        <translation>Die Vorschau konnte nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
</context>
<context>
    <name>Problem</name>
    <message>
        <source>In line - </source>
        <translation>In Zeile - </translation>
    </message>
    <message>
        <source>In file - </source>
        <translation>In Datei - </translation>
    </message>
</context>
<context>
    <name>PublishDialog</name>
    <message>
        <source>Publish</source>
        <translation>Veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Choose the origin folder</source>
        <translation>Den Ursprungsordner wählen</translation>
    </message>
    <message>
        <source>&amp;Origin folder:</source>
        <translation>&amp;Ursprungsordner:</translation>
    </message>
    <message>
        <source>&amp;Note:</source>
        <translation>&amp;Notiz:</translation>
    </message>
    <message>
        <source>&amp;Versions kept:</source>
        <translation>Aufbewahrte Ve&amp;rsionen:</translation>
    </message>
    <message>
        <source>&amp;Publish</source>
        <translation>&amp;Veröffentlichen</translation>
    </message>
    <message>
        <source>Origin folder</source>
        <translation>Ursprungsordner</translation>
    </message>
</context>
<context>
    <name>ReferenceNavigation</name>
    <message>
        <source>Page %1 does not exist</source>
        <translation>Die Seite %1 existiert nicht</translation>
    </message>
    <message>
        <source>Picture %1 does not exist</source>
        <translation>Das Bild %1 existiert nicht</translation>
    </message>
    <message>
        <source>Picture %1 can not be shown</source>
        <translation>Das Bild %1 kann nicht angezeigt werden</translation>
    </message>
</context>
<context>
    <name>ReferencesWindow</name>
    <message>
        <source>References</source>
        <translation>Verweise</translation>
    </message>
    <message>
        <source>Lines referring to the page</source>
        <translation>Zeilen, die auf die Seite verweisen</translation>
    </message>
    <message>
        <source>Lines naming %1\%2: %3</source>
        <translation>Zeilen, die %1\%2 nennen: %3</translation>
    </message>
</context>
<context>
    <name>SaveFileDialog</name>
    <message>
        <source>ZEL - Save Page As</source>
        <translation>ZEL - Seite speichern unter</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Keine Seite ausgewählt</translation>
    </message>
</context>
<context>
    <name>SelectFileDialog</name>
    <message>
        <source>ZEL - Select Page</source>
        <translation>ZEL - Seite auswählen</translation>
    </message>
    <message>
        <source>No page selected</source>
        <translation>Keine Seite ausgewählt</translation>
    </message>
</context>
<context>
    <name>SelectFolderDialog</name>
    <message>
        <source>ZEL - Select Folder</source>
        <translation>ZEL - Ordner auswählen</translation>
    </message>
    <message>
        <source>No folder selected</source>
        <translation>Kein Ordner ausgewählt</translation>
    </message>
</context>
<context>
    <name>StartView</name>
    <message>
        <source>&amp;Recent kiosk systems:</source>
        <translation>&amp;Zuletzt geöffnete Kiosksysteme:</translation>
    </message>
    <message>
        <source>Recent kiosk systems</source>
        <translation>Zuletzt geöffnete Kiosksysteme</translation>
    </message>
    <message>
        <source>%1 page sources</source>
        <translation>%1 Seitenquellen</translation>
    </message>
    <message>
        <source>Not made in this session yet</source>
        <translation>In dieser Sitzung noch nicht erstellt</translation>
    </message>
</context>
<context>
    <name>Support</name>
    <message>
        <source>%1 is not a valid %2 name</source>
        <translation>%1 ist kein gültiger Name für %2</translation>
    </message>
    <message>
        <source>A valid %1 name may only contain</source>
        <translation>Ein gültiger Name für %1 darf nur Folgendes enthalten:</translation>
    </message>
    <message>
        <source> lower case letters,</source>
        <translation> Kleinbuchstaben,</translation>
    </message>
    <message>
        <source> digits,</source>
        <translation> Ziffern,</translation>
    </message>
    <message>
        <source> underscores(_) and dashes(-)</source>
        <translation> Unterstriche (_) und Bindestriche (-)</translation>
    </message>
    <message>
        <source>A valid %1 name may be at most %2 characters long</source>
        <translation>Ein gültiger Name für %1 darf höchstens %2 Zeichen lang sein</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>einen Ordner</translation>
    </message>
    <message>
        <source>page</source>
        <translation>eine Seite</translation>
    </message>
</context>
<context>
    <name>ViewerWindow</name>
    <message>
        <source>Our apologies - a system error has occurred.<byte value="xd"/>
<byte value="xd"/>
You should shortly be returned to the last page that you were viewing.<byte value="xd"/>
<byte value="xd"/>
If this problem persists, please inform one of our staff.</source>
        <translation>Wir bitten um Entschuldigung - ein Systemfehler ist aufgetreten.<byte value="xd"/>
<byte value="xd"/>
Sie kehren in Kürze zur zuletzt angesehenen Seite zurück.<byte value="xd"/>
<byte value="xd"/>
Wenn das Problem bestehen bleibt, wenden Sie sich bitte an unser Personal.</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 in %2</translation>
    </message>
</context>
<context>
    <name>WebWindows</name>
    <message>
        <source>The viewer and the preview cannot be shown: their part of the program (%1) could not be loaded (%2). Installing ZEL again puts it back.</source>
        <translation>Die Seitenansicht und die Vorschau können nicht gezeigt werden: ihr Teil des Programms (%1) konnte nicht geladen werden (%2). Eine erneute Installation von ZEL stellt ihn wieder her.</translation>
    </message>
</context>
</TS>
