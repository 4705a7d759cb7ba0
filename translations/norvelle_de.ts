<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Common</name>
    <message>
        <source>About Norvelle</source>
        <translation>Über Norvelle</translation>
    </message>
    <message>
        <source>Norvelle Version %1</source>
        <translation>Norvelle Version %1</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>For technical support, send e-mail to:</source>
        <translation>Technische Hilfe per E-Mail an:</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>This e-mail address has been copied to the clipboard.</source>
        <translation>Diese E-Mail-Adresse wurde in die Zwischenablage kopiert.</translation>
    </message>
</context>
<context>
    <name>Health</name>
    <message>
        <source> - address replaced</source>
        <translation> – Adresse ersetzt</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Final Address</source>
        <translation>Endgültige Adresse</translation>
    </message>
    <message>
        <source>Check Links</source>
        <translation>Links prüfen</translation>
    </message>
    <message>
        <source>Links checked</source>
        <translation>Geprüfte Links</translation>
    </message>
    <message>
        <source>Results</source>
        <translation>Ergebnisse</translation>
    </message>
    <message>
        <source>&amp;Select in List</source>
        <translation>In der Liste aus&amp;wählen</translation>
    </message>
    <message>
        <source>Use &amp;New Address</source>
        <translation>&amp;Neue Adresse verwenden</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Selects the rows of the chosen results in the main list</source>
        <translation>Wählt die Zeilen der gewählten Ergebnisse in der Hauptliste aus</translation>
    </message>
    <message>
        <source>Gives the chosen moved links their new address (Undo takes it back)</source>
        <translation>Gibt den gewählten umgezogenen Links ihre neue Adresse (Rückgängig nimmt es zurück)</translation>
    </message>
    <message>
        <source>Checking links: %1 of %2 done.</source>
        <translation>Links werden geprüft: %1 von %2 erledigt.</translation>
    </message>
    <message>
        <source>Stopped after %2 of %1 link.</source>
        <translation>Angehalten nach %2 von %1 Link.</translation>
    </message>
    <message>
        <source>Stopped after %2 of %1 links.</source>
        <translation>Angehalten nach %2 von %1 Links.</translation>
    </message>
    <message>
        <source>Checked %1 link.</source>
        <translation>%1 Link geprüft.</translation>
    </message>
    <message>
        <source>Checked %1 links.</source>
        <translation>%1 Links geprüft.</translation>
    </message>
    <message>
        <source>  %1 link needs a look.</source>
        <translation>  %1 Link braucht einen Blick.</translation>
    </message>
    <message>
        <source>  %1 links need a look.</source>
        <translation>  %1 Links brauchen einen Blick.</translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation>%1 Kopien</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>behalten</translation>
    </message>
    <message>
        <source>selected</source>
        <translation>ausgewählt</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Hinzugefügt</translation>
    </message>
    <message>
        <source>In the List</source>
        <translation>In der Liste</translation>
    </message>
    <message>
        <source>Find Duplicates</source>
        <translation>Doppelte finden</translation>
    </message>
    <message>
        <source>1 group of links points to the same place.  </source>
        <translation>1 Gruppe von Links zeigt auf dieselbe Stelle.  </translation>
    </message>
    <message>
        <source>%1 groups of links point to the same place.  </source>
        <translation>%1 Gruppen von Links zeigen auf dieselbe Stelle.  </translation>
    </message>
    <message>
        <source>The newer copy is selected in the list and the oldest is not: press Delete to remove it (Undo brings it back).</source>
        <translation>Die neuere Kopie ist in der Liste ausgewählt, die älteste nicht: Entfernen nimmt sie heraus (Rückgängig holt sie zurück).</translation>
    </message>
    <message>
        <source>The %1 newer copies are selected in the list and the oldest of each group is not: press Delete to remove them (Undo brings them back).</source>
        <translation>Die %1 neueren Kopien sind in der Liste ausgewählt, die älteste jeder Gruppe nicht: Entfernen nimmt sie heraus (Rückgängig holt sie zurück).</translation>
    </message>
    <message>
        <source>Links that point to the same place</source>
        <translation>Links, die auf dieselbe Stelle zeigen</translation>
    </message>
    <message>
        <source>Get Title from Page</source>
        <translation>Titel von der Seite holen</translation>
    </message>
    <message>
        <source>Getting the title of %1...</source>
        <translation>Der Titel von %1 wird geholt...</translation>
    </message>
    <message>
        <source>Getting the titles of %1 link...</source>
        <translation>Die Titel von %1 Link werden geholt...</translation>
    </message>
    <message>
        <source>Getting the titles of %1 links...</source>
        <translation>Die Titel von %1 Links werden geholt...</translation>
    </message>
    <message>
        <source>Pages read</source>
        <translation>Gelesene Seiten</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>There are no links to check.</source>
        <translation>Es gibt keine Links zu prüfen.</translation>
    </message>
    <message>
        <source>Check all %1 link?</source>
        <translation>Alle %1 Links prüfen?</translation>
    </message>
    <message>
        <source>Check all %1 links?</source>
        <translation>Alle %1 Links prüfen?</translation>
    </message>
    <message>
        <source>No two links point to the same place.</source>
        <translation>Keine zwei Links zeigen auf dieselbe Stelle.</translation>
    </message>
    <message>
        <source>Get Title from Page needs a web address (http or https) in the Link field.</source>
        <translation>„Titel von der Seite holen“ braucht eine Webadresse (http oder https) im Feld Link.</translation>
    </message>
    <message>
        <source>The Title is filled in already.  Empty it to get the title of the page.</source>
        <translation>Der Titel ist schon ausgefüllt.  Leeren Sie ihn, um den Titel der Seite zu holen.</translation>
    </message>
    <message>
        <source>Could not get the title of %1: %2.</source>
        <translation>Der Titel von %1 konnte nicht geholt werden: %2.</translation>
    </message>
    <message>
        <source>the page has no title</source>
        <translation>die Seite hat keinen Titel</translation>
    </message>
    <message>
        <source>The title of %1 is in the Title field.</source>
        <translation>Der Titel von %1 steht im Feld Titel.</translation>
    </message>
    <message>
        <source>Every selected web link has a title and a description already.</source>
        <translation>Jeder ausgewählte Weblink hat schon einen Titel und eine Beschreibung.</translation>
    </message>
    <message>
        <source>Stopped.  </source>
        <translation>Angehalten.  </translation>
    </message>
    <message>
        <source>Got the titles of %1 link.</source>
        <translation>Den Titel von %1 Link geholt.</translation>
    </message>
    <message>
        <source>Got the titles of %1 links.</source>
        <translation>Die Titel von %1 Links geholt.</translation>
    </message>
    <message>
        <source>Got the descriptions of %1 link.</source>
        <translation>Die Beschreibung von %1 Link geholt.</translation>
    </message>
    <message>
        <source>Got the descriptions of %1 links.</source>
        <translation>Die Beschreibungen von %1 Links geholt.</translation>
    </message>
    <message>
        <source>Got the titles of %1 link</source>
        <translation>Den Titel von %1 Link</translation>
    </message>
    <message>
        <source>Got the titles of %1 links</source>
        <translation>Die Titel von %1 Links</translation>
    </message>
    <message>
        <source> and the descriptions of %1 link.</source>
        <translation> und die Beschreibung von %1 Link geholt.</translation>
    </message>
    <message>
        <source> and the descriptions of %1 links.</source>
        <translation> und die Beschreibungen von %1 Links geholt.</translation>
    </message>
    <message>
        <source>  %1 page gave none.</source>
        <translation>  %1 Seite gab keine.</translation>
    </message>
    <message>
        <source>  %1 pages gave none.</source>
        <translation>  %1 Seiten gaben keine.</translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.  It holds a control character (%2), so what would be opened is not what is shown.</source>
        <translation>„%1“ konnte nicht geöffnet werden.  Der Link enthält ein Steuerzeichen (%2), also wäre das Geöffnete nicht das Gezeigte.</translation>
    </message>
    <message>
        <source>Could not launch &quot;%1...&quot;.  The link is %2 characters long, and this system opens links of at most %3.</source>
        <translation>„%1...“ konnte nicht geöffnet werden.  Der Link ist %2 Zeichen lang, und dieses System öffnet Links mit höchstens %3.</translation>
    </message>
    <message>
        <source>This link starts a program:  %1  Start it?</source>
        <translation>Dieser Link startet ein Programm:  %1  Starten?</translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.  This file was not found.</source>
        <translation>„%1“ konnte nicht geöffnet werden.  Diese Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>  You may need to use Windows Explorer to set up an association for this link or full filename.</source>
        <translation>  Richten Sie im Windows Explorer eine Verknüpfung für diesen Link oder vollständigen Dateinamen ein.</translation>
    </message>
    <message>
        <source>  Windows denied access to this file.</source>
        <translation>  Windows hat den Zugriff auf diese Datei verweigert.</translation>
    </message>
    <message>
        <source>  You may need to use the Finder to set up an association for this link or full filename.</source>
        <translation>  Richten Sie im Finder eine Verknüpfung für diesen Link oder vollständigen Dateinamen ein.</translation>
    </message>
    <message>
        <source>  Access to this file was denied.</source>
        <translation>  Der Zugriff auf diese Datei wurde verweigert.</translation>
    </message>
    <message>
        <source>  You may need to use your file manager to set up an association for this link or full filename.</source>
        <translation>  Richten Sie in Ihrer Dateiverwaltung eine Verknüpfung für diesen Link oder vollständigen Dateinamen ein.</translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>  This file was not found.</source>
        <translation>  Diese Datei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>  There isn&apos;t enough available memory.  Try closing another application.</source>
        <translation>  Es ist nicht genug Speicher frei.  Schließen Sie ein anderes Programm.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>moved permanently</source>
        <translation>dauerhaft umgezogen</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>refused or forbidden</source>
        <translation>abgelehnt oder verboten</translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation>braucht ein Passwort</translation>
    </message>
    <message>
        <source>redirected to a local address (not checked)</source>
        <translation>auf eine lokale Adresse umgeleitet (nicht geprüft)</translation>
    </message>
    <message>
        <source>server error</source>
        <translation>Serverfehler</translation>
    </message>
    <message>
        <source>no such host</source>
        <translation>kein solcher Host</translation>
    </message>
    <message>
        <source>timed out</source>
        <translation>Zeit überschritten</translation>
    </message>
    <message>
        <source>could not connect</source>
        <translation>keine Verbindung</translation>
    </message>
    <message>
        <source>other</source>
        <translation>anderes</translation>
    </message>
    <message>
        <source>exists</source>
        <translation>vorhanden</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>not readable</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>too many redirects</source>
        <translation>zu viele Umleitungen</translation>
    </message>
    <message>
        <source>redirected to an address that is not checked</source>
        <translation>auf eine Adresse umgeleitet, die nicht geprüft wird</translation>
    </message>
    <message>
        <source>redirect without an address</source>
        <translation>Umleitung ohne Adresse</translation>
    </message>
    <message>
        <source>not a web address</source>
        <translation>keine Webadresse</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Host %1 nicht gefunden</translation>
    </message>
    <message>
        <source>redirected to a local address</source>
        <translation>auf eine lokale Adresse umgeleitet</translation>
    </message>
    <message>
        <source>the service sent the question to a local address, which is not asked</source>
        <translation>der Dienst leitete die Frage an eine lokale Adresse um, die nicht gefragt wird</translation>
    </message>
    <message>
        <source>the answer is too large</source>
        <translation>die Antwort ist zu groß</translation>
    </message>
    <message>
        <source>the answer is not the service&apos;s</source>
        <translation>die Antwort ist nicht die des Dienstes</translation>
    </message>
    <message>
        <source> - archived copy used</source>
        <translation> – Archivkopie verwendet</translation>
    </message>
    <message>
        <source> - looking for an archived copy...</source>
        <translation> – Archivkopie wird gesucht...</translation>
    </message>
    <message>
        <source> - archived copy of %1</source>
        <translation> – Archivkopie vom %1</translation>
    </message>
    <message>
        <source> - no archived copy</source>
        <translation> – keine Archivkopie</translation>
    </message>
    <message>
        <source>Find &amp;Archived Copies</source>
        <translation>Archivkopien &amp;finden</translation>
    </message>
    <message>
        <source>&amp;Use Archived Copy</source>
        <translation>Archivkopie &amp;verwenden</translation>
    </message>
    <message>
        <source>&amp;Open Archived Copy</source>
        <translation>Archivkopie &amp;öffnen</translation>
    </message>
    <message>
        <source>Asks the Internet Archive for the copy of each chosen dead link nearest the day it was saved</source>
        <translation>Fragt das Internet Archive nach der Kopie jedes gewählten toten Links, die dem Tag seines Speicherns am nächsten ist</translation>
    </message>
    <message>
        <source>Gives the chosen links the address of their archived copy, keeping the old one in the description (Undo takes it back)</source>
        <translation>Gibt den gewählten Links die Adresse ihrer Archivkopie und behält die alte in der Beschreibung (Rückgängig nimmt es zurück)</translation>
    </message>
    <message>
        <source>Find &amp;Archived Copy</source>
        <translation>Archivkopie &amp;finden</translation>
    </message>
    <message>
        <source>Looking for archived copies is turned off on the Misc. page of Options.</source>
        <translation>Die Suche nach Archivkopien ist auf der Seite Sonstiges der Optionen ausgeschaltet.</translation>
    </message>
    <message>
        <source>Norvelle will send the addresses of the selected links to the Internet Archive (archive.org) to look for archived copies.  Continue?</source>
        <translation>Norvelle sendet die Adressen der ausgewählten Links an das Internet Archive (archive.org), um nach Archivkopien zu suchen.  Fortfahren?</translation>
    </message>
    <message>
        <source>Do not ask again</source>
        <translation>Nicht mehr fragen</translation>
    </message>
    <message>
        <source> - the archive could not say: %1</source>
        <translation> – das Archiv konnte nichts sagen: %1</translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>Import stopped.  </source>
        <translation>Import angehalten.  </translation>
    </message>
    <message>
        <source>Imported %1 link.</source>
        <translation>%1 Link importiert.</translation>
    </message>
    <message>
        <source>Imported %1 links.</source>
        <translation>%1 Links importiert.</translation>
    </message>
    <message>
        <source>  Skipped %1 link already in the list.</source>
        <translation>  %1 Link, der schon in der Liste war, übersprungen.</translation>
    </message>
    <message>
        <source>  Skipped %1 links already in the list.</source>
        <translation>  %1 Links, die schon in der Liste waren, übersprungen.</translation>
    </message>
    <message>
        <source>  Left out %1 link with neither a title nor an address.</source>
        <translation>  %1 Link ohne Titel und ohne Adresse ausgelassen.</translation>
    </message>
    <message>
        <source>  Left out %1 links with neither a title nor an address.</source>
        <translation>  %1 Links ohne Titel und ohne Adresse ausgelassen.</translation>
    </message>
    <message>
        <source>  Texts longer than 1 MiB were cut to that length.</source>
        <translation>  Texte über 1 MiB wurden auf diese Länge gekürzt.</translation>
    </message>
    <message>
        <source>  Folders nested more than %1 levels deep were put into the deepest one kept.</source>
        <translation>  Ordner, die tiefer als %1 Ebenen verschachtelt waren, kamen in den tiefsten behaltenen.</translation>
    </message>
    <message>
        <source>Could not read the bookmarks in &quot;%.259s&quot;: </source>
        <translation>Die Lesezeichen in „%.259s“ konnten nicht gelesen werden: </translation>
    </message>
    <message>
        <source>Please enter a filename (with its path) before pressing the Import button.  You could either type in this filename, press the Browse button and select a file, or press the Find button, click on a filename when it appears in the list box and press the Select button.</source>
        <translation>Bitte geben Sie einen Dateinamen (mit Pfad) ein, bevor Sie auf Importieren klicken.  Sie können den Namen eintippen, mit Durchsuchen eine Datei wählen, oder mit Finden suchen, einen gefundenen Dateinamen in der Liste anklicken und auf Auswählen klicken.</translation>
    </message>
    <message>
        <source>Could not open bookmark file &quot;%.259s&quot;.</source>
        <translation>Die Lesezeichendatei „%.259s“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Could not read from &quot;%.259s&quot;.</source>
        <translation>Aus „%.259s“ konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; does not appear to be a standard bookmark file.  Continue anyway?</source>
        <translation>„%.259s“ scheint keine übliche Lesezeichendatei zu sein.  Trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>Did not find any links in &quot;%.259s&quot;.</source>
        <translation>In „%.259s“ wurden keine Links gefunden.</translation>
    </message>
    <message>
        <source>%1 link</source>
        <translation>%1 Link</translation>
    </message>
    <message>
        <source>%1 links</source>
        <translation>%1 Links</translation>
    </message>
    <message>
        <source> (counting links...)</source>
        <translation> (Links werden gezählt...)</translation>
    </message>
    <message>
        <source> (cannot be read)</source>
        <translation> (nicht lesbar)</translation>
    </message>
    <message>
        <source>Norvelle found bookmarks in your browsers (%1).  Import them now?</source>
        <translation>Norvelle hat Lesezeichen in Ihren Browsern gefunden (%1).  Jetzt importieren?</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation>&amp;Nicht jetzt</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t Ask Again</source>
        <translation>Nicht mehr &amp;fragen</translation>
    </message>
    <message>
        <source>There are no links to export.</source>
        <translation>Es gibt keine Links zu exportieren.</translation>
    </message>
    <message>
        <source>Could not write the bookmark file &quot;%.259s&quot;.</source>
        <translation>Die Lesezeichendatei „%.259s“ konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Exported %1 link.</source>
        <translation>%1 Link exportiert.</translation>
    </message>
    <message>
        <source>Exported %1 links.</source>
        <translation>%1 Links exportiert.</translation>
    </message>
    <message>
        <source>Export only the %1 selected links, or all %2 links?</source>
        <translation>Nur die %1 ausgewählten Links exportieren oder alle %2 Links?</translation>
    </message>
    <message>
        <source>&amp;Selected Links</source>
        <translation>&amp;Ausgewählte Links</translation>
    </message>
    <message>
        <source>&amp;All Links</source>
        <translation>A&amp;lle Links</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Export Bookmarks</source>
        <translation>Lesezeichen exportieren</translation>
    </message>
    <message>
        <source>Add %1 link?</source>
        <translation>%1 Link hinzufügen?</translation>
    </message>
    <message>
        <source>Add %1 links?</source>
        <translation>%1 Links hinzufügen?</translation>
    </message>
    <message>
        <source>There isn&apos;t enough available memory to save this link.  Try closing another application.</source>
        <translation>Es ist nicht genug Speicher frei, um diesen Link zu speichern.  Schließen Sie ein anderes Programm.</translation>
    </message>
    <message>
        <source>Imports Favorites or Bookmarks</source>
        <translation>Favoriten oder Lesezeichen importieren</translation>
    </message>
    <message>
        <source>Browser pr&amp;ofiles:</source>
        <translation>Browser-&amp;Profile:</translation>
    </message>
    <message>
        <source>File&amp;name with path (ex: C:\bookmark.htm):</source>
        <translation>Datei&amp;name mit Pfad (z. B. C:\bookmark.htm):</translation>
    </message>
    <message>
        <source>File&amp;name with path (ex: ~/bookmarks.html):</source>
        <translation>Datei&amp;name mit Pfad (z. B. ~/bookmarks.html):</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Datei...</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>&amp;Ort:</translation>
    </message>
    <message>
        <source>&amp;Pattern:</source>
        <translation>Fi&amp;lter:</translation>
    </message>
    <message>
        <source>&amp;Allow typos.</source>
        <translation>&amp;Tippfehler zulassen.</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Finden</translation>
    </message>
    <message>
        <source>Files found</source>
        <translation>Gefundene Dateien</translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation>Aus&amp;wählen</translation>
    </message>
    <message>
        <source>S&amp;how folder names.</source>
        <translation>Ordnernamen &amp;zeigen.</translation>
    </message>
    <message>
        <source>&amp;Keep the dates saved by the browser</source>
        <translation>Browser-Datum &amp;behalten</translation>
    </message>
    <message>
        <source>Skip links already in the &amp;list</source>
        <translation>Vorhandene Links übe&amp;rspringen</translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation>Fortschritt des Imports</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>No browser profiles were found on this computer.</source>
        <translation>Auf diesem Computer wurden keine Browser-Profile gefunden.</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Please select a file.</source>
        <translation>Bitte wählen Sie eine Datei.</translation>
    </message>
    <message>
        <source>The pattern&apos;s length is too short or too long.</source>
        <translation>Das Muster ist zu kurz oder zu lang.</translation>
    </message>
    <message>
        <source>Found %1 file in %2 second.</source>
        <translation>%1 Datei in %2 Sekunde gefunden.</translation>
    </message>
    <message>
        <source>Found %1 file in %2 seconds.</source>
        <translation>%1 Datei in %2 Sekunden gefunden.</translation>
    </message>
    <message>
        <source>Found %1 files in %2 second.</source>
        <translation>%1 Dateien in %2 Sekunde gefunden.</translation>
    </message>
    <message>
        <source>Found %1 files in %2 seconds.</source>
        <translation>%1 Dateien in %2 Sekunden gefunden.</translation>
    </message>
    <message>
        <source>File searching stopped.  </source>
        <translation>Dateisuche angehalten.  </translation>
    </message>
    <message>
        <source>Could not read the %1 file &quot;%2&quot;: %3.  No link was imported.</source>
        <translation>Die %1-Datei „%2“ konnte nicht gelesen werden: %3.  Kein Link wurde importiert.</translation>
    </message>
    <message>
        <source>Bookmark File (*.html *.htm)</source>
        <translation>Lesezeichendatei (*.html *.htm)</translation>
    </message>
    <message>
        <source>XBEL (*.xbel)</source>
        <translation>XBEL (*.xbel)</translation>
    </message>
    <message>
        <source>Markdown (*.md)</source>
        <translation>Markdown (*.md)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <source>Bookmarks and Exports (*.htm *.html *.csv *.json *.xbel *.md *.txt places.sqlite Bookmarks);;All Files (*)</source>
        <translation>Lesezeichen und Exporte (*.htm *.html *.csv *.json *.xbel *.md *.txt places.sqlite Bookmarks);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>&amp;Statistics...</source>
        <translation>&amp;Statistik...</translation>
    </message>
    <message>
        <source>Multi-C&amp;olumn Sorting...</source>
        <translation>Nach mehreren Spalten s&amp;ortieren...</translation>
    </message>
    <message>
        <source>Chec&amp;k Links...</source>
        <translation>Links &amp;prüfen...</translation>
    </message>
    <message>
        <source>F&amp;ind Duplicates...</source>
        <translation>&amp;Doppelte finden...</translation>
    </message>
    <message>
        <source>&amp;Get Title from Page</source>
        <translation>&amp;Titel von der Seite holen</translation>
    </message>
    <message>
        <source>In&amp;vert Selection</source>
        <translation>Auswahl &amp;umkehren</translation>
    </message>
    <message>
        <source>Se&amp;lect All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>&amp;Word Wrap</source>
        <translation>&amp;Zeilen umbrechen</translation>
    </message>
    <message>
        <source>&amp;Title Case</source>
        <translation>&amp;Großschreibung</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation>Wi&amp;ederholen</translation>
    </message>
    <message>
        <source>Activate &amp;Preview</source>
        <translation>Vorschau a&amp;ktivieren</translation>
    </message>
    <message>
        <source>Import &amp;Favorites...</source>
        <translation>&amp;Favoriten importieren...</translation>
    </message>
    <message>
        <source>&amp;Export Bookmarks...</source>
        <translation>Lesezeichen e&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Quick Help...	F1</source>
        <translation>&amp;Hilfe...	F1</translation>
    </message>
    <message>
        <source>Tip of t&amp;he Day...</source>
        <translation>T&amp;ipp des Tages...</translation>
    </message>
    <message>
        <source>&amp;About Norvelle...</source>
        <translation>Ü&amp;ber Norvelle...</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>&amp;Verschieben</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimieren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Only the beginning of this text is shown: it is %1 bytes long, too long to change here.  It is kept whole.</source>
        <translation>Nur der Anfang dieses Textes wird gezeigt: Er ist %1 Bytes lang, zu lang, um ihn hier zu ändern.  Er bleibt ganz erhalten.</translation>
    </message>
    <message>
        <source>Norvelle Help</source>
        <translation>Norvelle-Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Hinzugefügt</translation>
    </message>
    <message>
        <source>Last Modified</source>
        <translation>Zuletzt geändert</translation>
    </message>
    <message>
        <source>The data file &quot;%.259s&quot; is open in another Norvelle window too.  Before either window saves, it checks whether the other one changed the file.</source>
        <translation>Die Datendatei „%.259s“ ist auch in einem anderen Norvelle-Fenster offen.  Bevor eines der Fenster speichert, prüft es, ob das andere die Datei geändert hat.</translation>
    </message>
    <message>
        <source>Norvelle Desk</source>
        <translation>Norvelle Desk</translation>
    </message>
    <message>
        <source>No links yet.

Type a Title and a Link below and press Add, drag a link here from your browser, or bring in your bookmarks with Import Favorites (Ctrl+F).</source>
        <translation>Noch keine Links.

Tippen Sie unten einen Titel und einen Link ein und klicken Sie auf Hinzufügen, ziehen Sie einen Link aus Ihrem Browser hierher, oder holen Sie Ihre Lesezeichen mit „Favoriten importieren“ (Strg+F).</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>&amp;Entfernen...</translation>
    </message>
    <message>
        <source>&amp;Delete!</source>
        <translation>&amp;Entfernen!</translation>
    </message>
    <message>
        <source>%1 Selected Link</source>
        <translation>Ausgewählt: %1</translation>
    </message>
    <message>
        <source>%1 Selected Links</source>
        <translation>Ausgewählt: %1</translation>
    </message>
    <message>
        <source>%1 Total Link</source>
        <translation>Gesamt: %1</translation>
    </message>
    <message>
        <source>%1 Total Links</source>
        <translation>Gesamt: %1</translation>
    </message>
    <message>
        <source>No item is selected for modification.</source>
        <translation>Kein Eintrag ist zum Ändern ausgewählt.</translation>
    </message>
    <message>
        <source>Delete %1 item?</source>
        <translation>%1 Eintrag entfernen?</translation>
    </message>
    <message>
        <source>Delete %1 items?</source>
        <translation>%1 Einträge entfernen?</translation>
    </message>
    <message>
        <source>Please put a link or full filename in the Link field.</source>
        <translation>Bitte geben Sie einen Link oder vollständigen Dateinamen im Feld Link ein.</translation>
    </message>
    <message>
        <source>Do you want to exit Norvelle?</source>
        <translation>Möchten Sie Norvelle beenden?</translation>
    </message>
    <message>
        <source>Your changes will be lost.  Proceed?</source>
        <translation>Ihre Änderungen gehen verloren.  Fortfahren?</translation>
    </message>
    <message>
        <source>Norvelle is closing. Save the link again in a moment.</source>
        <translation>Norvelle wird beendet. Speichern Sie den Link gleich noch einmal.</translation>
    </message>
    <message>
        <source>Norvelle is waiting for an answer in its window. Answer it, then save the link again.</source>
        <translation>Norvelle wartet in seinem Fenster auf eine Antwort. Antworten Sie, dann speichern Sie den Link noch einmal.</translation>
    </message>
    <message>
        <source>Saved from the browser: %1</source>
        <translation>Aus dem Browser gespeichert: %1</translation>
    </message>
    <message>
        <source>Could not restore all of the deleted links.</source>
        <translation>Nicht alle entfernten Links konnten zurückgeholt werden.</translation>
    </message>
    <message>
        <source>There isn&apos;t enough available memory to save this link.  Try closing another application.</source>
        <translation>Es ist nicht genug Speicher frei, um diesen Link zu speichern.  Schließen Sie ein anderes Programm.</translation>
    </message>
    <message>
        <source>Annotated Link</source>
        <translation>Kommentierter Link</translation>
    </message>
    <message>
        <source>List o&amp;f Links:</source>
        <translation>&amp;Liste der Links:</translation>
    </message>
    <message>
        <source>Commands (Alt+Space or F10)</source>
        <translation>Befehle (Alt+Leertaste oder F10)</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>Annotated links</source>
        <translation>Kommentierte Links</translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>Lin&amp;k:</source>
        <translation>Lin&amp;k:</translation>
    </message>
    <message>
        <source>Descr&amp;iption:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>Categor&amp;y:</source>
        <translation>Kate&amp;gorie:</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation>Ä&amp;ndern</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Lee&amp;ren</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Copy Link</source>
        <translation>Link &amp;kopieren</translation>
    </message>
    <message>
        <source>Check Lin&amp;k</source>
        <translation>Link &amp;prüfen</translation>
    </message>
    <message>
        <source>Co&amp;mmands</source>
        <translation>&amp;Befehle</translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation>Tipp des Tages</translation>
    </message>
    <message>
        <source>&amp;Show tips on start-up.  (May be changed on Options screen.)</source>
        <translation>&amp;Tipps beim Start zeigen.  (In den Optionen änderbar.)</translation>
    </message>
    <message>
        <source>Tip</source>
        <translation>Tipp</translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation>&amp;Erster</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Tip %1 of %2</source>
        <translation>Tipp %1 von %2</translation>
    </message>
    <message>
        <source>Could not open &quot;%.259s&quot;.</source>
        <translation>„%.259s“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Could not read from &quot;%.259s&quot;.</source>
        <translation>Aus „%.259s“ konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Could not load Tip of the Day file.</source>
        <translation>Die Datei der Tipps des Tages konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Move the window with the arrow keys.  Enter ends the move; Esc puts the window back.</source>
        <translation>Verschieben Sie das Fenster mit den Pfeiltasten.  Eingabe beendet das Verschieben; Esc setzt das Fenster zurück.</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Category name</source>
        <translation>Name der Kategorie</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>&amp;Rename this category in existing items.</source>
        <translation>Diese Kategorie in vorhandenen Einträgen &amp;umbenennen.</translation>
    </message>
    <message>
        <source>&amp;Select when Clear button is pressed:</source>
        <translation>Nach „Leeren“ aus&amp;wählen:</translation>
    </message>
    <message>
        <source>This category already exists in the list.</source>
        <translation>Diese Kategorie steht schon in der Liste.</translation>
    </message>
    <message>
        <source>Move the first line in the Description field to an empty &amp;Title field.</source>
        <translation>Die erste Zeile der Beschreibung in ein leeres Feld &amp;Titel verschieben.</translation>
    </message>
    <message>
        <source>Move the last line in the Description field to an empty &amp;Link field.</source>
        <translation>Die letzte Zeile der Beschreibung in ein leeres Feld &amp;Link verschieben.</translation>
    </message>
    <message>
        <source>When retrieving an item, &amp;copy its link to the clipboard.</source>
        <translation>Beim Aufrufen eines Eintrags seinen Link in die Zwischenablage &amp;kopieren.</translation>
    </message>
    <message>
        <source>When &amp;deleting items, ask for confirmation.</source>
        <translation>Vor dem &amp;Entfernen von Einträgen nachfragen.</translation>
    </message>
    <message>
        <source>&amp;Save changes to the current annotated link when the program moves away from it or closes.</source>
        <translation>Änderungen am aktuellen Link &amp;speichern, wenn das Programm ihn verlässt oder endet.</translation>
    </message>
    <message>
        <source>&amp;Restore previous window position.</source>
        <translation>Letzte Fensterposition &amp;wiederherstellen.</translation>
    </message>
    <message>
        <source>Show tips &amp;on start-up.</source>
        <translation>Tipps beim Start &amp;zeigen.</translation>
    </message>
    <message>
        <source>When the Add or Modify buttons are pressed:</source>
        <translation>Beim Klick auf Hinzufügen oder Ändern:</translation>
    </message>
    <message>
        <source>&amp;Insert thousands separators.</source>
        <translation>&amp;Tausendertrennzeichen einfügen.</translation>
    </message>
    <message>
        <source>&amp;Comma</source>
        <translation>&amp;Komma</translation>
    </message>
    <message>
        <source>&amp;Dot</source>
        <translation>&amp;Punkt</translation>
    </message>
    <message>
        <source>&amp;Space</source>
        <translation>&amp;Leerzeichen</translation>
    </message>
    <message>
        <source>&amp;Other:</source>
        <translation>&amp;Anderes:</translation>
    </message>
    <message>
        <source>Other separator</source>
        <translation>Anderes Trennzeichen</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Please select an item.  (The current item may have been deselected.)</source>
        <translation>Bitte wählen Sie einen Eintrag.  (Der aktuelle Eintrag wurde vielleicht abgewählt.)</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Title Case</source>
        <translation>Großschreibung</translation>
    </message>
    <message>
        <source>Numbers</source>
        <translation>Zahlen</translation>
    </message>
    <message>
        <source>Misc.</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>&amp;After this many Add/Modify button presses:</source>
        <translation>&amp;Nach so vielen Klicks auf Hinzufügen/Ändern:</translation>
    </message>
    <message>
        <source>Saves the data file after this many presses of Add and Modify.</source>
        <translation>Speichert die Datendatei nach so vielen Klicks auf Hinzufügen und Ändern.</translation>
    </message>
    <message>
        <source>&amp;Every this many minutes:</source>
        <translation>&amp;Alle so vielen Minuten:</translation>
    </message>
    <message>
        <source>Saves the data file on a timer, whenever something changed since the last save.</source>
        <translation>Speichert die Datendatei nach einer Zeituhr, wenn sich seit dem letzten Speichern etwas geändert hat.</translation>
    </message>
    <message>
        <source>&amp;When this program closes</source>
        <translation>&amp;Beim Beenden des Programms</translation>
    </message>
    <message>
        <source>Saves the data file when Norvelle closes.</source>
        <translation>Speichert die Datendatei, wenn Norvelle endet.</translation>
    </message>
    <message>
        <source>One more press</source>
        <translation>Ein Klick mehr</translation>
    </message>
    <message>
        <source>Saves after one more press.</source>
        <translation>Speichert nach einem Klick mehr.</translation>
    </message>
    <message>
        <source>One press fewer</source>
        <translation>Ein Klick weniger</translation>
    </message>
    <message>
        <source>Saves after one press fewer.</source>
        <translation>Speichert nach einem Klick weniger.</translation>
    </message>
    <message>
        <source>Data &amp;File:</source>
        <translation>&amp;Datendatei:</translation>
    </message>
    <message>
        <source>The data file that holds your links: type a path, or choose one you used before.</source>
        <translation>Die Datendatei mit Ihren Links: Tippen Sie einen Pfad ein oder wählen Sie eine früher benutzte.</translation>
    </message>
    <message>
        <source>&amp;Load</source>
        <translation>&amp;Laden</translation>
    </message>
    <message>
        <source>Opens the named data file in place of the links you have (it asks first if some are unsaved).</source>
        <translation>Öffnet die genannte Datendatei anstelle Ihrer Links (fragt vorher, wenn welche nicht gespeichert sind).</translation>
    </message>
    <message>
        <source>Appen&amp;d</source>
        <translation>An&amp;fügen</translation>
    </message>
    <message>
        <source>Adds the links of the named data file to the ones you have.</source>
        <translation>Fügt die Links der genannten Datendatei zu Ihren hinzu.</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Writes a copy of your links into the named file now.</source>
        <translation>Schreibt jetzt eine Kopie Ihrer Links in die genannte Datei.</translation>
    </message>
    <message>
        <source>&amp;New File</source>
        <translation>Neue Da&amp;tei</translation>
    </message>
    <message>
        <source>Starts an empty collection, saved into the named file once you press OK.</source>
        <translation>Beginnt eine leere Sammlung, die nach OK in die genannte Datei gespeichert wird.</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Takes the name off this list; the file itself stays on disk.</source>
        <translation>Nimmt den Namen aus dieser Liste; die Datei selbst bleibt auf dem Datenträger.</translation>
    </message>
    <message>
        <source>Puts the name typed above into the list.</source>
        <translation>Setzt den oben eingetippten Namen in die Liste.</translation>
    </message>
    <message>
        <source>Takes the selected name into the field above to change it; Add puts it back.</source>
        <translation>Holt den ausgewählten Namen zum Ändern ins Feld oben; Hinzufügen setzt ihn zurück.</translation>
    </message>
    <message>
        <source>Takes the selected names off the list.</source>
        <translation>Nimmt die ausgewählten Namen aus der Liste.</translation>
    </message>
    <message>
        <source>With a name changed through Edit and Add, every link that has the old name gets the new one.</source>
        <translation>Wird ein Name mit Bearbeiten und Hinzufügen geändert, bekommt jeder Link mit dem alten Namen den neuen.</translation>
    </message>
    <message>
        <source>What the Category field shows after Clear: the last category (LAST), none (NONE) or this one.</source>
        <translation>Was das Feld Kategorie nach Leeren zeigt: die letzte Kategorie (LAST), keine (NONE) oder diese.</translation>
    </message>
    <message>
        <source>De&amp;fault</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <source>Brings back the built-in list of words that Title Case leaves as they are.</source>
        <translation>Holt die eingebaute Liste der Wörter zurück, die die Großschreibung lässt, wie sie sind.</translation>
    </message>
    <message>
        <source>E&amp;xceptions:</source>
        <translation>A&amp;usnahmen:</translation>
    </message>
    <message>
        <source>Words that Title Case leaves in the letter case you typed them (a, of, the ...).</source>
        <translation>Wörter, die die Großschreibung so lässt, wie Sie sie getippt haben (a, of, the ...).</translation>
    </message>
    <message>
        <source>&amp;Title fields</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>The Search box looks in the titles.</source>
        <translation>Das Suchfeld sucht in den Titeln.</translation>
    </message>
    <message>
        <source>&amp;Description fields</source>
        <translation>&amp;Beschreibungen</translation>
    </message>
    <message>
        <source>The Search box looks in the descriptions.</source>
        <translation>Das Suchfeld sucht in den Beschreibungen.</translation>
    </message>
    <message>
        <source>&amp;Category fields</source>
        <translation>&amp;Kategorien</translation>
    </message>
    <message>
        <source>The Search box looks in the categories.</source>
        <translation>Das Suchfeld sucht in den Kategorien.</translation>
    </message>
    <message>
        <source>&amp;Link fields</source>
        <translation>&amp;Links</translation>
    </message>
    <message>
        <source>The Search box looks in the links.</source>
        <translation>Das Suchfeld sucht in den Links.</translation>
    </message>
    <message>
        <source>&amp;Position reference point for Previous and Next buttons on the last link found.</source>
        <translation>Be&amp;zugspunkt für Zurück und Weiter auf den zuletzt gefundenen Link setzen.</translation>
    </message>
    <message>
        <source>A search shows its last match first, and Previous and Next step from there.</source>
        <translation>Eine Suche zeigt ihren letzten Treffer zuerst, und Zurück und Weiter gehen von dort aus.</translation>
    </message>
    <message>
        <source>&amp;Allow typos (typographical errors).</source>
        <translation>Tipp&amp;fehler zulassen.</translation>
    </message>
    <message>
        <source>Finds a word also with a letter swapped, missing, extra or wrong.</source>
        <translation>Findet ein Wort auch mit einem vertauschten, fehlenden, zusätzlichen oder falschen Buchstaben.</translation>
    </message>
    <message>
        <source>Typo &amp;Separation:</source>
        <translation>&amp;Abstand der Tippfehler:</translation>
    </message>
    <message>
        <source>How far apart two typos in one word must be for the word to match.</source>
        <translation>Wie weit zwei Tippfehler in einem Wort auseinander sein müssen, damit das Wort passt.</translation>
    </message>
    <message>
        <source>&amp;Use interruptible incremental searching.</source>
        <translation>&amp;Unterbrechbar beim Tippen suchen.</translation>
    </message>
    <message>
        <source>Searches very large collections in the background, so that typing never waits for the search.</source>
        <translation>Sucht in sehr großen Sammlungen im Hintergrund, damit das Tippen nie auf die Suche wartet.</translation>
    </message>
    <message>
        <source>Writes every count with a separator between thousands (1,234).</source>
        <translation>Schreibt jede Zahl mit einem Trennzeichen zwischen den Tausendern (1.234).</translation>
    </message>
    <message>
        <source>1,234</source>
        <translation>1,234</translation>
    </message>
    <message>
        <source>1.234</source>
        <translation>1.234</translation>
    </message>
    <message>
        <source>1 234</source>
        <translation>1 234</translation>
    </message>
    <message>
        <source>A separator of your choice, typed into the field beside it.</source>
        <translation>Ein Trennzeichen Ihrer Wahl, im Feld daneben eingetippt.</translation>
    </message>
    <message>
        <source>The separator of your choice: one character.</source>
        <translation>Das Trennzeichen Ihrer Wahl: ein Zeichen.</translation>
    </message>
    <message>
        <source>Add and Modify move the first line of the Description into an empty Title.</source>
        <translation>Hinzufügen und Ändern verschieben die erste Zeile der Beschreibung in einen leeren Titel.</translation>
    </message>
    <message>
        <source>Add and Modify move the last line of the Description into an empty Link.</source>
        <translation>Hinzufügen und Ändern verschieben die letzte Zeile der Beschreibung in einen leeren Link.</translation>
    </message>
    <message>
        <source>Picking a row copies its link, ready to paste.</source>
        <translation>Ein Klick auf eine Zeile kopiert ihren Link, bereit zum Einfügen.</translation>
    </message>
    <message>
        <source>Delete asks before it takes links out of the list.</source>
        <translation>Entfernen fragt, bevor es Links aus der Liste nimmt.</translation>
    </message>
    <message>
        <source>An edit typed into the form is stored when you pick another row, open Options or close Norvelle.</source>
        <translation>Eine Änderung im Formular wird gespeichert, wenn Sie eine andere Zeile wählen, die Optionen öffnen oder Norvelle beenden.</translation>
    </message>
    <message>
        <source>Norvelle opens where you left it.</source>
        <translation>Norvelle öffnet sich dort, wo Sie es verlassen haben.</translation>
    </message>
    <message>
        <source>Shows the Tip of the Day when Norvelle starts.</source>
        <translation>Zeigt den Tipp des Tages beim Start von Norvelle.</translation>
    </message>
    <message>
        <source>Type a name, then press Add or Enter.</source>
        <translation>Tippen Sie einen Namen ein, dann Hinzufügen oder Eingabe.</translation>
    </message>
    <message>
        <source>Select names to Edit or Delete them.</source>
        <translation>Wählen Sie Namen zum Bearbeiten oder Entfernen.</translation>
    </message>
    <message>
        <source> Save Changes to Disk </source>
        <translation> Änderungen auf den Datenträger speichern </translation>
    </message>
    <message>
        <source>%1 button press</source>
        <translation>%1 Klick</translation>
    </message>
    <message>
        <source>%1 button presses</source>
        <translation>%1 Klicks</translation>
    </message>
    <message>
        <source>Finished writing to the data file.</source>
        <translation>Die Datendatei ist geschrieben.</translation>
    </message>
    <message>
        <source>Your changes will be lost.  Proceed?</source>
        <translation>Ihre Änderungen gehen verloren.  Fortfahren?</translation>
    </message>
    <message>
        <source>Finished reading from the data file.</source>
        <translation>Die Datendatei ist gelesen.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Möchten Sie Ihre Änderungen speichern?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Please choose at least one option for saving changes to disk.</source>
        <translation>Bitte wählen Sie mindestens eine Art, Änderungen zu speichern.</translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter an integer between 1 and 99.</source>
        <translation>Bitte geben Sie eine ganze Zahl zwischen 1 und 99 ein.</translation>
    </message>
    <message>
        <source>Please enter no more than 259 characters.</source>
        <translation>Bitte geben Sie höchstens 259 Zeichen ein.</translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; is a folder.  Please enter the name of a data file.</source>
        <translation>„%.259s“ ist ein Ordner.  Bitte geben Sie den Namen einer Datendatei ein.</translation>
    </message>
    <message>
        <source>The folder of &quot;%.259s&quot; does not exist.  Please choose a data file in a folder that exists.</source>
        <translation>Der Ordner von „%.259s“ existiert nicht.  Bitte wählen Sie eine Datendatei in einem vorhandenen Ordner.</translation>
    </message>
    <message>
        <source>links of a newer version of Norvelle</source>
        <translation>Links einer neueren Version von Norvelle</translation>
    </message>
    <message>
        <source>%1 link</source>
        <translation>%1 Link</translation>
    </message>
    <message>
        <source>%1 links</source>
        <translation>%1 Links</translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; already holds %1.

Load them into the window, or replace them with the links of this window?</source>
        <translation>„%.259s“ enthält schon %1.

Ins Fenster laden oder durch die Links dieses Fensters ersetzen?</translation>
    </message>
    <message>
        <source>&amp;Load It</source>
        <translation>&amp;Laden</translation>
    </message>
    <message>
        <source>&amp;Replace It</source>
        <translation>&amp;Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Do you want to load the current data file?</source>
        <translation>Möchten Sie die aktuelle Datendatei laden?</translation>
    </message>
    <message>
        <source>Look In</source>
        <translation>Suchen in</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Gering</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Exception</source>
        <translation>Ausnahme</translation>
    </message>
    <message>
        <source>Exceptions</source>
        <translation>Ausnahmen</translation>
    </message>
    <message>
        <source>The first word, last word and first word following a colon will be capitalized.</source>
        <translation>Das erste Wort, das letzte Wort und das erste Wort nach einem Doppelpunkt werden großgeschrieben.</translation>
    </message>
    <message>
        <source>This title-case exception already exists in the list.</source>
        <translation>Diese Ausnahme steht schon in der Liste.</translation>
    </message>
    <message>
        <source>Look for &amp;archived copies of dead links at the Internet Archive.</source>
        <translation>Beim Internet Archive nach &amp;Archivkopien toter Links suchen.</translation>
    </message>
    <message>
        <source>Check Links may send the addresses of dead links to archive.org to find saved copies of their pages.</source>
        <translation>„Links prüfen“ darf die Adressen toter Links an archive.org senden, um gespeicherte Kopien ihrer Seiten zu finden.</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>Norvelle</source>
        <translation>Norvelle</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Could not save annotated links into &quot;%.259s&quot;.  There are no links to save.</source>
        <translation>Die Links konnten nicht in „%.259s“ gespeichert werden.  Es gibt keine Links zu speichern.</translation>
    </message>
    <message>
        <source>Part of the data file could not be read.  The whole file as it was is kept in &quot;%.259s&quot;.</source>
        <translation>Ein Teil der Datendatei konnte nicht gelesen werden.  Die ganze Datei, wie sie war, liegt in „%.259s“.</translation>
    </message>
    <message>
        <source>Could not save annotated links into &quot;%.259s&quot;.</source>
        <translation>Die Links konnten nicht in „%.259s“ gespeichert werden.</translation>
    </message>
    <message>
        <source>Could not read annotated links from &quot;%.259s&quot;.</source>
        <translation>Die Links konnten nicht aus „%.259s“ gelesen werden.</translation>
    </message>
    <message>
        <source>Could not find data file &quot;%.259s&quot;.</source>
        <translation>Die Datendatei „%.259s“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Could not append &quot;%.259s&quot;.  It is the data file in use: its links are already in the list.</source>
        <translation>„%.259s“ konnte nicht angefügt werden.  Es ist die benutzte Datendatei: Ihre Links sind schon in der Liste.</translation>
    </message>
    <message>
        <source>When the system last ended Norvelle, links that could not be saved into the data file were saved in &quot;%.259s&quot;.  Append on the Saving page of Options brings them in.</source>
        <translation>Als das System Norvelle zuletzt beendet hat, wurden Links, die nicht in die Datendatei gespeichert werden konnten, in „%.259s“ gespeichert.  Anfügen auf der Seite Speichern der Optionen holt sie herein.</translation>
    </message>
</context>
<context>
    <name>Sort</name>
    <message>
        <source>1st</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>5th</source>
        <translation>5.</translation>
    </message>
    <message>
        <source>Multi-Column Sorting</source>
        <translation>Nach mehreren Spalten sortieren</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>Reihenfolge</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Spalte</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Sort order</source>
        <translation>Sortierreihenfolge</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation>Um&amp;kehren</translation>
    </message>
    <message>
        <source>Re&amp;set</source>
        <translation>&amp;Zurücksetzen</translation>
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
        <source>Increasing</source>
        <translation>Aufsteigend</translation>
    </message>
    <message>
        <source>Decreasing</source>
        <translation>Absteigend</translation>
    </message>
</context>
<context>
    <name>Statistics</name>
    <message>
        <source>TOTAL</source>
        <translation>GESAMT</translation>
    </message>
    <message>
        <source>SELECTED</source>
        <translation>AUSGEWÄHLT</translation>
    </message>
    <message>
        <source>NO CATEGORY</source>
        <translation>KEINE KATEGORIE</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Links per category</source>
        <translation>Links je Kategorie</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation>%1 Eintrag</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 Einträge</translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>Could not read the data file into memory.  Close another application and try again.</source>
        <translation>Die Datendatei konnte nicht in den Speicher gelesen werden.  Schließen Sie ein anderes Programm und versuchen Sie es noch einmal.</translation>
    </message>
    <message>
        <source>The file ends before its links.</source>
        <translation>Die Datei endet vor ihren Links.</translation>
    </message>
    <message>
        <source>Its count of links is damaged (%1), and %2 bytes of links follow it.</source>
        <translation>Ihre Anzahl der Links ist beschädigt (%1), und %2 Bytes an Links folgen ihr.</translation>
    </message>
    <message>
        <source>It holds %1 more bytes after the %2 link it says it holds: its count of links is damaged.</source>
        <translation>Sie enthält %1 Bytes mehr nach dem %2 Link, den sie angibt: Ihre Anzahl der Links ist beschädigt.</translation>
    </message>
    <message>
        <source>It holds %1 more bytes after the %2 links it says it holds: its count of links is damaged.</source>
        <translation>Sie enthält %1 Bytes mehr nach den %2 Links, die sie angibt: Ihre Anzahl der Links ist beschädigt.</translation>
    </message>
    <message>
        <source>The file ends early, in link %1 of %2.</source>
        <translation>Die Datei endet zu früh, in Link %1 von %2.</translation>
    </message>
    <message>
        <source>  %1 link was read; the file itself is kept as it is.</source>
        <translation>  %1 Link wurde gelesen; die Datei selbst bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>  %1 links were read; the file itself is kept as it is.</source>
        <translation>  %1 Links wurden gelesen; die Datei selbst bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>Could not read annotated links from &quot;%.259s&quot;.</source>
        <translation>Die Links konnten nicht aus „%.259s“ gelesen werden.</translation>
    </message>
    <message>
        <source>Cannot load a data file that has a higher version number.</source>
        <translation>Eine Datendatei mit höherer Versionsnummer kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>Permission to write there is denied.</source>
        <translation>Schreiben ist dort nicht erlaubt.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>Der Datenträger ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation>Der Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation>Es ist ein Ordner.</translation>
    </message>
    <message>
        <source>No new file can be made in its folder, and there is no folder of Norvelle&apos;s own for a safe copy.</source>
        <translation>In ihrem Ordner kann keine neue Datei angelegt werden, und es gibt keinen eigenen Ordner von Norvelle für eine sichere Kopie.</translation>
    </message>
    <message>
        <source>It could not be read whole.</source>
        <translation>Sie konnte nicht ganz gelesen werden.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 link and was written at %2.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben, die %1 Link enthält und am %2 geschrieben wurde.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 links and was written at %2.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben, die %1 Links enthält und am %2 geschrieben wurde.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 link.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben, die %1 Link enthält.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 links.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben, die %1 Links enthält.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, written at %1.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben, am %1.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read.  Nothing was written over it.</source>
        <translation>Ein anderes Programm hat nach dem Lesen eine andere Fassung geschrieben.  Nichts wurde darüber geschrieben.</translation>
    </message>
    <message>
        <source>It is the file being read.</source>
        <translation>Es ist die Datei, die gelesen wird.</translation>
    </message>
    <message>
        <source>It is not a file that can be written.</source>
        <translation>Es ist keine Datei, die geschrieben werden kann.</translation>
    </message>
    <message>
        <source>It is a device, not a file.</source>
        <translation>Es ist ein Gerät, keine Datei.</translation>
    </message>
    <message>
        <source>Not all of its links could be read, and those would be lost.</source>
        <translation>Nicht alle ihre Links konnten gelesen werden, und diese gingen verloren.</translation>
    </message>
    <message>
        <source>It is read-only.</source>
        <translation>Sie ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Part of it could not be read, and no copy of it as it is could be made.</source>
        <translation>Ein Teil davon konnte nicht gelesen werden, und keine Kopie davon, wie sie ist, konnte angelegt werden.</translation>
    </message>
    <message>
        <source>It holds links that were not loaded.</source>
        <translation>Sie enthält Links, die nicht geladen wurden.</translation>
    </message>
    <message>
        <source>It is not a data file of Norvelle.</source>
        <translation>Es ist keine Datendatei von Norvelle.</translation>
    </message>
    <message>
        <source>The file to copy could not be opened.</source>
        <translation>Die zu kopierende Datei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>A save of &quot;%.259s&quot; was cut off before it ended.  </source>
        <translation>Ein Speichern von „%.259s“ wurde vor seinem Ende abgebrochen.  </translation>
    </message>
    <message>
        <source>The links it was saving are in &quot;%.259s&quot;.</source>
        <translation>Die Links, die es speicherte, liegen in „%.259s“.</translation>
    </message>
    <message>
        <source>A save of &quot;%.259s&quot; was cut off before it ended, and it could not be restored.  </source>
        <translation>Ein Speichern von „%.259s“ wurde vor seinem Ende abgebrochen, und die Datei konnte nicht wiederhergestellt werden.  </translation>
    </message>
    <message>
        <source>Another program was writing it and did not finish within %1 second.</source>
        <translation>Ein anderes Programm schrieb sie und wurde nicht innerhalb von %1 Sekunde fertig.</translation>
    </message>
    <message>
        <source>Another program was writing it and did not finish within %1 seconds.</source>
        <translation>Ein anderes Programm schrieb sie und wurde nicht innerhalb von %1 Sekunden fertig.</translation>
    </message>
    <message>
        <source>Jan</source>
        <translation>Jan</translation>
    </message>
    <message>
        <source>Feb</source>
        <translation>Feb</translation>
    </message>
    <message>
        <source>March</source>
        <translation>März</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>Aug</source>
        <translation>Aug</translation>
    </message>
    <message>
        <source>Sept</source>
        <translation>Sept</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>Okt</translation>
    </message>
    <message>
        <source>Nov</source>
        <translation>Nov</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Dez</translation>
    </message>
    <message>
        <source>Modified: %1-%2-%3</source>
        <translation>Geändert: %1. %2 %3</translation>
    </message>
</context>
<context>
    <name>Sync</name>
    <message>
        <source>at an unknown time</source>
        <translation>zu einer unbekannten Zeit</translation>
    </message>
    <message>
        <source>on %1</source>
        <translation>am %1</translation>
    </message>
    <message>
        <source>&quot;%.259s&quot;, changed %1.

The data file was changed by another program. Load it and lose your changes, keep your version, or save your version under another name?</source>
        <translation>„%.259s“, geändert %1.

Die Datendatei wurde von einem anderen Programm geändert. Laden und Ihre Änderungen verlieren, Ihre Fassung behalten oder Ihre Fassung unter einem anderen Namen speichern?</translation>
    </message>
    <message>
        <source>&amp;Load It</source>
        <translation>&amp;Laden</translation>
    </message>
    <message>
        <source>&amp;Keep Mine</source>
        <translation>&amp;Meine behalten</translation>
    </message>
    <message>
        <source>&amp;Save Mine under Another Name</source>
        <translation>Meine unter anderem Namen &amp;speichern</translation>
    </message>
    <message>
        <source>Loaded the data file as the other program saved it.</source>
        <translation>Die Datendatei wurde so geladen, wie das andere Programm sie gespeichert hat.</translation>
    </message>
    <message>
        <source>Could not keep a copy of the other version of &quot;%.259s&quot;.  Your version was not saved.</source>
        <translation>Von der anderen Fassung von „%.259s“ konnte keine Kopie behalten werden.  Ihre Fassung wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The other version of the data file is kept in &quot;%.259s&quot;.</source>
        <translation>Die andere Fassung der Datendatei liegt in „%.259s“.</translation>
    </message>
    <message>
        <source>Your version is saved in &quot;%.259s&quot;.  The other version could not be read, so the window still shows your links.</source>
        <translation>Ihre Fassung ist in „%.259s“ gespeichert.  Die andere Fassung konnte nicht gelesen werden, also zeigt das Fenster weiter Ihre Links.</translation>
    </message>
    <message>
        <source>Your version is saved in &quot;%.259s&quot;.  The window now shows the data file as the other program saved it; Append on the Saving page of Options brings in your links.</source>
        <translation>Ihre Fassung ist in „%.259s“ gespeichert.  Das Fenster zeigt jetzt die Datendatei, wie das andere Programm sie gespeichert hat; Anfügen auf der Seite Speichern der Optionen holt Ihre Links herein.</translation>
    </message>
    <message>
        <source>The data file was changed by another program and has been loaded again.</source>
        <translation>Die Datendatei wurde von einem anderen Programm geändert und neu geladen.</translation>
    </message>
    <message>
        <source>A sync tool left a copy of your data file that was changed at the same time as yours: &quot;%.259s&quot;, changed %1.

Append its links to yours, so that nothing is lost?</source>
        <translation>Ein Synchronisierungsprogramm hat eine Kopie Ihrer Datendatei hinterlassen, die gleichzeitig mit Ihrer geändert wurde: „%.259s“, geändert %1.

Ihre Links zu Ihren anfügen, damit nichts verloren geht?</translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation>&amp;Anfügen</translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation>&amp;Ignorieren</translation>
    </message>
    <message>
        <source>Finished reading from the data file.  Find Duplicates (Ctrl+U) selects the links that both files had, ready for Delete.</source>
        <translation>Die Datendatei ist gelesen.  „Doppelte finden“ (Strg+U) wählt die Links aus, die beide Dateien hatten, bereit zum Entfernen.</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Could not add to the undo list.</source>
        <translation>Konnte nicht zur Liste für Rückgängig hinzufügen.</translation>
    </message>
    <message>
        <source>Could not add to the redo list.</source>
        <translation>Konnte nicht zur Liste für Wiederholen hinzufügen.</translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>&amp;Rückgängig	Ctrl+Z</translation>
    </message>
    <message>
        <source>&amp;Undo %1	Ctrl+Z</source>
        <translation>&amp;Rückgängig: %1	Ctrl+Z</translation>
    </message>
    <message>
        <source>Re&amp;do	Ctrl+Y</source>
        <translation>Wi&amp;ederholen	Ctrl+Y</translation>
    </message>
    <message>
        <source>Re&amp;do %1	Ctrl+Y</source>
        <translation>Wi&amp;ederholen: %1	Ctrl+Y</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Title Case</source>
        <translation>Großschreibung</translation>
    </message>
    <message>
        <source>Word Wrap</source>
        <translation>Zeilenumbruch</translation>
    </message>
    <message>
        <source>Previews Undo/Redo</source>
        <translation>Vorschau auf Rückgängig/Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wi&amp;ederholen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Action:</source>
        <translation>Aktion:</translation>
    </message>
    <message>
        <source>Effect:</source>
        <translation>Wirkung:</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>Lin&amp;k:</source>
        <translation>Lin&amp;k:</translation>
    </message>
    <message>
        <source>Descr&amp;iption:</source>
        <translation>&amp;Beschreibung:</translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation>Kate&amp;gorie:</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Replaces an existing annotated link with the following data.</source>
        <translation>Ersetzt einen vorhandenen Link durch die folgenden Angaben.</translation>
    </message>
    <message>
        <source>Replaces %1 existing annotated links with the following data.</source>
        <translation>Ersetzt %1 vorhandene Links durch die folgenden Angaben.</translation>
    </message>
    <message>
        <source>Deletes the following %1 annotated link.</source>
        <translation>Entfernt den folgenden %1 Link.</translation>
    </message>
    <message>
        <source>Deletes the following %1 annotated links.</source>
        <translation>Entfernt die folgenden %1 Links.</translation>
    </message>
    <message>
        <source>Restores the following %1 annotated link.</source>
        <translation>Holt den folgenden %1 Link zurück.</translation>
    </message>
    <message>
        <source>Restores the following %1 annotated links.</source>
        <translation>Holt die folgenden %1 Links zurück.</translation>
    </message>
    <message>
        <source>Action: </source>
        <translation>Aktion: </translation>
    </message>
    <message>
        <source>Effect: </source>
        <translation>Wirkung: </translation>
    </message>
</context>
</TS>
