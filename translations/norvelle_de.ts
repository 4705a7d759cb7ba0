<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Common</name>
    <message>
        <source>About Norvelle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For technical support, send e-mail to:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This e-mail address has been copied to the clipboard.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Health</name>
    <message>
        <source> - address replaced</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>State</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Final Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select in List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use &amp;New Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selects the rows of the chosen results in the main list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gives the chosen moved links their new address (Undo takes it back)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking links: %1 of %2 done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped after %2 of %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped after %2 of %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checked %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checked %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 link needs a look.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 links need a look.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In the List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Duplicates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 group of links points to the same place.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 groups of links point to the same place.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The newer copy is selected in the list and the oldest is not: press Delete to remove it (Undo brings it back).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The %1 newer copies are selected in the list and the oldest of each group is not: press Delete to remove them (Undo brings them back).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links that point to the same place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Title from Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Getting the title of %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Getting the titles of %1 link...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Getting the titles of %1 links...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no links to check.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check all %1 link?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check all %1 links?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No two links point to the same place.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Title from Page needs a web address (http or https) in the Link field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Title is filled in already.  Empty it to get the title of the page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not get the title of %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the page has no title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The title of %1 is in the Title field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every selected web link has a title and a description already.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the titles of %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the titles of %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the descriptions of %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the descriptions of %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the titles of %1 link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got the titles of %1 links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> and the descriptions of %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> and the descriptions of %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 page gave none.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 pages gave none.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.  It holds a control character (%2), so what would be opened is not what is shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not launch &quot;%1...&quot;.  The link is %2 characters long, and this system opens links of at most %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This link starts a program:  %1  Start it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.  This file was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  You may need to use Windows Explorer to set up an association for this link or full filename.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Windows denied access to this file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  You may need to use the Finder to set up an association for this link or full filename.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Access to this file was denied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  You may need to use your file manager to set up an association for this link or full filename.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not launch &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  This file was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  There isn&apos;t enough available memory.  Try closing another application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>moved permanently</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>refused or forbidden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>needs a password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redirected to a local address (not checked)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>server error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such host</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>timed out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exists</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not readable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>too many redirects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redirected to an address that is not checked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redirect without an address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a web address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>redirected to a local address</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Import</name>
    <message>
        <source>Import stopped.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Skipped %1 link already in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Skipped %1 links already in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Left out %1 link with neither a title nor an address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Left out %1 links with neither a title nor an address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Texts longer than 1 MiB were cut to that length.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Folders nested more than %1 levels deep were put into the deepest one kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read the bookmarks in &quot;%.259s&quot;: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a filename (with its path) before pressing the Import button.  You could either type in this filename, press the Browse button and select a file, or press the Find button, click on a filename when it appears in the list box and press the Select button.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open bookmark file &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read from &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; does not appear to be a standard bookmark file.  Continue anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Did not find any links in &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (counting links...)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (cannot be read)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle found bookmarks in your browsers (%1).  Import them now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Don&apos;t Ask Again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no links to export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write the bookmark file &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exported %1 link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exported %1 links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export only the %1 selected links, or all %2 links?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Selected Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;All Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML Files (*.htm *.html);;All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add %1 link?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add %1 links?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There isn&apos;t enough available memory to save this link.  Try closing another application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imports Favorites or Bookmarks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser pr&amp;ofiles:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File&amp;name with path (ex: C:\bookmark.htm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File&amp;name with path (ex: ~/bookmarks.html):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Pattern:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Allow typos.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;how folder names.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep the dates saved by the browser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip links already in the &amp;list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No browser profiles were found on this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML Files (*.htm *.html);;Browser Stores (places.sqlite Bookmarks);;All Files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pattern&apos;s length is too short or too long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found %1 file in %2 second.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found %1 file in %2 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found %1 files in %2 second.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Found %1 files in %2 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File searching stopped.  </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>&amp;Statistics...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multi-C&amp;olumn Sorting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chec&amp;k Links...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F&amp;ind Duplicates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Get Title from Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In&amp;vert Selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Se&amp;lect All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Word Wrap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Title Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;do</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activate &amp;Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import &amp;Favorites...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export Bookmarks...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Quick Help...	F1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip of t&amp;he Day...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Norvelle...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only the beginning of this text is shown: it is %1 bytes long, too long to change here.  It is kept whole.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Modified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file &quot;%.259s&quot; is open in another Norvelle window too.  Before either window saves, it checks whether the other one changed the file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle Desk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No links yet.

Type a Title and a Link below and press Add, drag a link here from your browser, or bring in your bookmarks with Import Favorites (Ctrl+F).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Selected Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Selected Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Total Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Total Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No item is selected for modification.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 item?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete %1 items?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please put a link or full filename in the Link field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to exit Norvelle?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes will be lost.  Proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle is closing. Save the link again in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle is waiting for an answer in its window. Answer it, then save the link again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved from the browser: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not restore all of the deleted links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There isn&apos;t enough available memory to save this link.  Try closing another application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annotated Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List o&amp;f Links:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands (Alt+Space or F10)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annotated links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lin&amp;k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Descr&amp;iption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Categor&amp;y:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clos&amp;e</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check Lin&amp;k</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Co&amp;mmands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Show tips on start-up.  (May be changed on Options screen.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read from &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not load Tip of the Day file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the window with the arrow keys.  Enter ends the move; Esc puts the window back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Category name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Categories</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Rename this category in existing items.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Select when Clear button is pressed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This category already exists in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the first line in the Description field to an empty &amp;Title field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the last line in the Description field to an empty &amp;Link field.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When retrieving an item, &amp;copy its link to the clipboard.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When &amp;deleting items, ask for confirmation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save changes to the current annotated link when the program moves away from it or closes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restore previous window position.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show tips &amp;on start-up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the Add or Modify buttons are pressed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Insert thousands separators.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Comma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Dot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Other:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other separator</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select an item.  (The current item may have been deselected.)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Numbers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Misc.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;After this many Add/Modify button presses:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves the data file after this many presses of Add and Modify.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Every this many minutes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves the data file on a timer, whenever something changed since the last save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;When this program closes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves the data file when Norvelle closes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One more press</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves after one more press.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One press fewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saves after one press fewer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data &amp;File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file that holds your links: type a path, or choose one you used before.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opens the named data file in place of the links you have (it asks first if some are unsaved).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appen&amp;d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds the links of the named data file to the ones you have.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes a copy of your links into the named file now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starts an empty collection, saved into the named file once you press OK.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes the name off this list; the file itself stays on disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Puts the name typed above into the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes the selected name into the field above to change it; Add puts it back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes the selected names off the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With a name changed through Edit and Add, every link that has the old name gets the new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What the Category field shows after Clear: the last category (LAST), none (NONE) or this one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;fault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brings back the built-in list of words that Title Case leaves as they are.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xceptions:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Words that Title Case leaves in the letter case you typed them (a, of, the ...).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Title fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Search box looks in the titles.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Description fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Search box looks in the descriptions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Category fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Search box looks in the categories.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Link fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Search box looks in the links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Position reference point for Previous and Next buttons on the last link found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A search shows its last match first, and Previous and Next step from there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Allow typos (typographical errors).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finds a word also with a letter swapped, missing, extra or wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typo &amp;Separation:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How far apart two typos in one word must be for the word to match.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Use interruptible incremental searching.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searches very large collections in the background, so that typing never waits for the search.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes every count with a separator between thousands (1,234).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1,234</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.234</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 234</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A separator of your choice, typed into the field beside it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The separator of your choice: one character.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add and Modify move the first line of the Description into an empty Title.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add and Modify move the last line of the Description into an empty Link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picking a row copies its link, ready to paste.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete asks before it takes links out of the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An edit typed into the form is stored when you pick another row, open Options or close Norvelle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Norvelle opens where you left it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the Tip of the Day when Norvelle starts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type a name, then press Add or Enter.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select names to Edit or Delete them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Save Changes to Disk </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 button press</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 button presses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished writing to the data file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes will be lost.  Proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished reading from the data file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose at least one option for saving changes to disk.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter an integer between 1 and 99.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter no more than 259 characters.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; is a folder.  Please enter the name of a data file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder of &quot;%.259s&quot; does not exist.  Please choose a data file in a folder that exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>links of a newer version of Norvelle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%.259s&quot; already holds %1.

Load them into the window, or replace them with the links of this window?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load It</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Replace It</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to load the current data file?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Look In</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exception</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exceptions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first word, last word and first word following a colon will be capitalized.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This title-case exception already exists in the list.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>Norvelle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Could not save annotated links into &quot;%.259s&quot;.  There are no links to save.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Part of the data file could not be read.  The whole file as it was is kept in &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save annotated links into &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read annotated links from &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not find data file &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not append &quot;%.259s&quot;.  It is the data file in use: its links are already in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the system last ended Norvelle, links that could not be saved into the data file were saved in &quot;%.259s&quot;.  Append on the Saving page of Options brings them in.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Sort</name>
    <message>
        <source>1st</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2nd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3rd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multi-Column Sorting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Column</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reverse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Increasing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decreasing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Statistics</name>
    <message>
        <source>TOTAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SELECTED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NO CATEGORY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links per category</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>Could not read the data file into memory.  Close another application and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file ends before its links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its count of links is damaged (%1), and %2 bytes of links follow it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It holds %1 more bytes after the %2 link it says it holds: its count of links is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It holds %1 more bytes after the %2 links it says it holds: its count of links is damaged.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file ends early, in link %1 of %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 link was read; the file itself is kept as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 links were read; the file itself is kept as it is.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not read annotated links from &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot load a data file that has a higher version number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permission to write there is denied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is a folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No new file can be made in its folder, and there is no folder of Norvelle&apos;s own for a safe copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It could not be read whole.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 link and was written at %2.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 links and was written at %2.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 link.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, which holds %1 links.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read, written at %1.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program wrote another version of it after it was read.  Nothing was written over it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is the file being read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not a file that can be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is a device, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not all of its links could be read, and those would be lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is read-only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Part of it could not be read, and no copy of it as it is could be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It holds links that were not loaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>It is not a data file of Norvelle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file to copy could not be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A save of &quot;%.259s&quot; was cut off before it ended.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The links it was saving are in &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A save of &quot;%.259s&quot; was cut off before it ended, and it could not be restored.  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program was writing it and did not finish within %1 second.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program was writing it and did not finish within %1 seconds.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Sync</name>
    <message>
        <source>at an unknown time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%.259s&quot;, changed %1.

The data file was changed by another program. Load it and lose your changes, keep your version, or save your version under another name?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Load It</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keep Mine</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save Mine under Another Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loaded the data file as the other program saved it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not keep a copy of the other version of &quot;%.259s&quot;.  Your version was not saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The other version of the data file is kept in &quot;%.259s&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your version is saved in &quot;%.259s&quot;.  The other version could not be read, so the window still shows your links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your version is saved in &quot;%.259s&quot;.  The window now shows the data file as the other program saved it; Append on the Saving page of Options brings in your links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data file was changed by another program and has been loaded again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A sync tool left a copy of your data file that was changed at the same time as yours: &quot;%.259s&quot;, changed %1.

Append its links to yours, so that nothing is lost?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Append</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished reading from the data file.  Find Duplicates (Ctrl+U) selects the links that both files had, ready for Delete.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not add to the undo list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not add to the redo list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo %1	Ctrl+Z</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;do	Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Re&amp;do %1	Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title Case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Word Wrap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previews Undo/Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effect:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lin&amp;k:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Descr&amp;iption:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Category:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaces an existing annotated link with the following data.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replaces %1 existing annotated links with the following data.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes the following %1 annotated link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes the following %1 annotated links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restores the following %1 annotated link.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restores the following %1 annotated links.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effect: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
