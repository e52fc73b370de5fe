<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AlarmStatus</name>
    <message>
        <source>Alarms: waiting for permission</source>
        <translation>Erinnerungen: warten auf Erlaubnis</translation>
    </message>
    <message>
        <source>Alarms: notifications are off for Quillery</source>
        <translation>Erinnerungen: Benachrichtigungen für Quillery sind aus</translation>
    </message>
    <message>
        <source>Alarms: none scheduled</source>
        <translation>Erinnerungen: keine geplant</translation>
    </message>
    <message numerus="yes">
        <source>Alarms: %n scheduled</source>
        <translation>
            <numerusform>Erinnerungen: %n geplant</numerusform>
            <numerusform>Erinnerungen: %n geplant</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Alarms</name>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation>Quillery</translation>
    </message>
    <message>
        <source>Test alarm</source>
        <translation>Testerinnerung</translation>
    </message>
    <message>
        <source>If you can read this, Quillery alarms work on this device.</source>
        <translation>Wenn Sie dies lesen können, funktionieren die Erinnerungen von Quillery auf diesem Gerät.</translation>
    </message>
</context>
<context>
    <name>BookMenu</name>
    <message>
        <source>All Pages</source>
        <translation>Alle Seiten</translation>
    </message>
    <message>
        <source>Show all pages (%1)</source>
        <translation>Alle Seiten zeigen (%1)</translation>
    </message>
</context>
<context>
    <name>BookRestore</name>
    <message>
        <source>The book was not changed.</source>
        <translation>Das Buch wurde nicht verändert.</translation>
    </message>
    <message>
        <source>There is no room for a working copy of “%1” (%2).</source>
        <translation>Für eine Arbeitskopie von „%1“ ist kein Platz (%2).</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be read: the disk is full.</source>
        <translation>„%1“ kann nicht gelesen werden: Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>“%1” is damaged or not a book (%2).</source>
        <translation>„%1“ ist beschädigt oder kein Buch (%2).</translation>
    </message>
    <message>
        <source>“%1” was written by a newer version of Quillery.</source>
        <translation>„%1“ wurde von einer neueren Version von Quillery geschrieben.</translation>
    </message>
    <message>
        <source>“%1” is not a Quillery book.</source>
        <translation>„%1“ ist kein Quillery-Buch.</translation>
    </message>
    <message>
        <source>“%1” can&apos;t be opened (%2).</source>
        <translation>„%1“ kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>The book as it is now can&apos;t be kept as a backup (%1), so it was not replaced.</source>
        <translation>Das Buch kann in seinem jetzigen Stand nicht als Sicherung aufbewahrt werden (%1), deshalb wurde es nicht ersetzt.</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
</context>
<context>
    <name>CalendarFiles</name>
    <message>
        <source>iCalendar files (*.ics *.ical *.ifb *.icalendar)</source>
        <translation>iCalendar-Dateien (*.ics *.ical *.ifb *.icalendar)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>%1: %2 (try &apos;%1 --help&apos;)</source>
        <extracomment>The one line for a command line Quillery cannot follow.</extracomment>
        <translation>%1: %2 (siehe „%1 --help“)</translation>
    </message>
    <message>
        <source>Usage: %1 [options]</source>
        <translation>Aufruf: %1 [Optionen]</translation>
    </message>
    <message>
        <source>A task planner shaped like a paper notebook.</source>
        <translation>Ein Aufgabenplaner in Gestalt eines Notizbuchs aus Papier.</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Start without showing the window.</source>
        <translation>Starten, ohne das Fenster zu zeigen.</translation>
    </message>
    <message>
        <source>Qt&apos;s own options (-platform, -display, -style, ...) work as in every Qt program. See quillery(1).</source>
        <translation>Die Optionen von Qt (-platform, -display, -style, ...) gelten wie in jedem Qt-Programm. Siehe quillery(1).</translation>
    </message>
    <message>
        <source>no display: set DISPLAY or WAYLAND_DISPLAY</source>
        <translation>keine Anzeige: DISPLAY oder WAYLAND_DISPLAY setzen</translation>
    </message>
</context>
<context>
    <name>DayLabel</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation>Gestern</translation>
    </message>
</context>
<context>
    <name>DesktopNotificationCenter</name>
    <message>
        <source>The request has no identifier.</source>
        <translation>Die Anfrage hat keine Kennung.</translation>
    </message>
</context>
<context>
    <name>IcalExport</name>
    <message>
        <source>Exported %1</source>
        <translation>%1 exportiert</translation>
    </message>
    <message>
        <source>; left out %1 over 1 MB</source>
        <translation>; %1 über 1 MB ausgelassen</translation>
    </message>
</context>
<context>
    <name>IcalReader</name>
    <message>
        <source>The file holds more than %L1 tasks, more than Quillery imports at once.</source>
        <translation>Die Datei enthält mehr als %L1 Aufgaben, mehr als Quillery auf einmal importiert.</translation>
    </message>
    <message>
        <source>The file holds no iCalendar data.</source>
        <translation>Die Datei enthält keine iCalendar-Daten.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The file is larger than %1 MB, the most Quillery imports at once.</source>
        <translation>Die Datei ist größer als %1 MB, mehr als Quillery auf einmal importiert.</translation>
    </message>
</context>
<context>
    <name>IcalSummary</name>
    <message>
        <source>Imported %1</source>
        <translation>%1 importiert</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>; skipped %1</source>
        <translation>; %1 übersprungen</translation>
    </message>
</context>
<context>
    <name>NotificationTrigger</name>
    <message>
        <source>The request has no trigger.</source>
        <translation>Die Anfrage hat keinen Auslöser.</translation>
    </message>
    <message>
        <source>The time interval must be greater than 0.</source>
        <translation>Der Zeitabstand muss größer als 0 sein.</translation>
    </message>
    <message>
        <source>The date of the calendar trigger does not exist.</source>
        <translation>Das Datum des Kalenderauslösers gibt es nicht.</translation>
    </message>
</context>
<context>
    <name>PagePrinter</name>
    <message>
        <source>Book page</source>
        <translation>Buchseite</translation>
    </message>
</context>
<context>
    <name>PageThumb</name>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message numerus="yes">
        <source>+%n more</source>
        <translation>
            <numerusform>+%n weitere</numerusform>
            <numerusform>+%n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Palette</name>
    <message>
        <source>Coral</source>
        <translation>Koralle</translation>
    </message>
    <message>
        <source>Amber</source>
        <translation>Bernstein</translation>
    </message>
    <message>
        <source>Mustard</source>
        <translation>Senf</translation>
    </message>
    <message>
        <source>Sage</source>
        <translation>Salbei</translation>
    </message>
    <message>
        <source>Ocean</source>
        <translation>Ozean</translation>
    </message>
    <message>
        <source>Violet</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Slate</source>
        <translation>Schiefer</translation>
    </message>
</context>
<context>
    <name>PdfExport</name>
    <message>
        <source>Quillery — %1</source>
        <translation>Quillery — %1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
</context>
<context>
    <name>PrintCommands</name>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>PDF on %1 paper (*.pdf)</source>
        <translation>PDF auf %1-Papier (*.pdf)</translation>
    </message>
    <message>
        <source>PDF in the book&apos;s shape (*.pdf)</source>
        <translation>PDF im Format des Buchs (*.pdf)</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Paper colour</source>
        <translation>Papierfarbe</translation>
    </message>
    <message>
        <source>Paper grain</source>
        <translation>Papierstruktur</translation>
    </message>
</context>
<context>
    <name>QuilleryApp</name>
    <message>
        <source>Quillery cannot start</source>
        <translation>Quillery kann nicht starten</translation>
    </message>
</context>
<context>
    <name>ReminderActions</name>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation>
            <numerusform>vor %n Minute</numerusform>
            <numerusform>vor %n Minuten</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Mark as Done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <source>Remind Me in 10 Minutes</source>
        <translation>In 10 Minuten erinnern</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <source>Due %1 — %2</source>
        <translation>Fällig %1 — %2</translation>
    </message>
</context>
<context>
    <name>RepeatRules</name>
    <message>
        <source>first %1</source>
        <extracomment>&quot;Monthly on the first Tuesday&quot;</extracomment>
        <translation>ersten %1</translation>
    </message>
    <message>
        <source>second %1</source>
        <translation>zweiten %1</translation>
    </message>
    <message>
        <source>third %1</source>
        <translation>dritten %1</translation>
    </message>
    <message>
        <source>fourth %1</source>
        <translation>vierten %1</translation>
    </message>
    <message>
        <source>last %1</source>
        <translation>letzten %1</translation>
    </message>
    <message>
        <source>Monthly on the last day</source>
        <translation>Monatlich am letzten Tag</translation>
    </message>
    <message numerus="yes">
        <source>Every %n months on the last day</source>
        <translation>
            <numerusform>Jeden %n. Monat am letzten Tag</numerusform>
            <numerusform>Alle %n Monate am letzten Tag</numerusform>
        </translation>
    </message>
    <message>
        <source>Monthly on the %1</source>
        <extracomment>%1 is &quot;second Tuesday&quot; and the like</extracomment>
        <translation>Monatlich am %1</translation>
    </message>
    <message numerus="yes">
        <source>Every %n months on the %1</source>
        <translation>
            <numerusform>Jeden %n. Monat am %1</numerusform>
            <numerusform>Alle %n Monate am %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Every month</source>
        <translation>Jeden Monat</translation>
    </message>
    <message numerus="yes">
        <source>Every %n months</source>
        <translation>
            <numerusform>Jeden %n. Monat</numerusform>
            <numerusform>Alle %n Monate</numerusform>
        </translation>
    </message>
    <message>
        <source>Monthly on day %1</source>
        <translation>Monatlich am %1.</translation>
    </message>
    <message numerus="yes">
        <source>Every %n months on day %1</source>
        <translation>
            <numerusform>Jeden %n. Monat am %1.</numerusform>
            <numerusform>Alle %n Monate am %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Jeden Tag</translation>
    </message>
    <message numerus="yes">
        <source>Every %n days</source>
        <translation>
            <numerusform>Jeden %n. Tag</numerusform>
            <numerusform>Alle %n Tage</numerusform>
        </translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Jede Woche</translation>
    </message>
    <message numerus="yes">
        <source>Every %n weeks</source>
        <translation>
            <numerusform>Jede %n. Woche</numerusform>
            <numerusform>Alle %n Wochen</numerusform>
        </translation>
    </message>
    <message>
        <source>Every weekday</source>
        <translation>Jeden Werktag</translation>
    </message>
    <message>
        <source>, </source>
        <extracomment>%1 lists short weekday names: &quot;Every week on Mon, Thu&quot;</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source>Every week on %1</source>
        <translation>Jede Woche am %1</translation>
    </message>
    <message numerus="yes">
        <source>Every %n weeks on %1</source>
        <translation>
            <numerusform>Jede %n. Woche am %1</numerusform>
            <numerusform>Alle %n Wochen am %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Jedes Jahr</translation>
    </message>
    <message numerus="yes">
        <source>Every %n years</source>
        <translation>
            <numerusform>Jedes %n. Jahr</numerusform>
            <numerusform>Alle %n Jahre</numerusform>
        </translation>
    </message>
    <message>
        <source>Repeats (custom rule)</source>
        <translation>Wiederholt sich (eigene Regel)</translation>
    </message>
    <message numerus="yes">
        <source>%1, %n times</source>
        <extracomment>The rule, then how many times it still comes: &quot;Every day, 3 times&quot;</extracomment>
        <translation>
            <numerusform>%1, %n Mal</numerusform>
            <numerusform>%1, %n Mal</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, until %2</source>
        <extracomment>&quot;Every week, until Mar 5, 2027&quot;</extracomment>
        <translation>%1, bis %2</translation>
    </message>
</context>
<context>
    <name>SafeQuit</name>
    <message numerus="yes">
        <source>%n unsaved changes</source>
        <translation>
            <numerusform>%n ungespeicherte Änderung</numerusform>
            <numerusform>%n ungespeicherte Änderungen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveMonitor</name>
    <message>
        <source>Not saved: the disk is full (%1)</source>
        <translation>Nicht gespeichert: Der Datenträger ist voll (%1)</translation>
    </message>
    <message>
        <source>Not saved: %1 (%2)</source>
        <translation>Nicht gespeichert: %1 (%2)</translation>
    </message>
    <message>
        <source>Quillery can&apos;t save: the disk is full. Your changes are kept in memory and saved when space is free.</source>
        <translation>Quillery kann nicht speichern: Der Datenträger ist voll. Ihre Änderungen bleiben im Speicher und werden gespeichert, sobald wieder Platz frei ist.</translation>
    </message>
    <message>
        <source>Quillery can&apos;t save: %1. Your changes are kept in memory and saved as soon as the book can be written again.</source>
        <translation>Quillery kann nicht speichern: %1. Ihre Änderungen bleiben im Speicher und werden gespeichert, sobald das Buch wieder geschrieben werden kann.</translation>
    </message>
    <message numerus="yes">
        <source>%n changes waiting</source>
        <translation>
            <numerusform>%n Änderung wartet</numerusform>
            <numerusform>%n Änderungen warten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>a folder stands where the file should be</source>
        <translation>an der Stelle der Datei steht ein Ordner</translation>
    </message>
    <message>
        <source>Quillery is not allowed to read and write it</source>
        <translation>Quillery darf sie nicht lesen und schreiben</translation>
    </message>
    <message>
        <source>it is not a Quillery book</source>
        <translation>sie ist kein Quillery-Buch</translation>
    </message>
    <message>
        <source>it is a database of another program</source>
        <translation>sie ist die Datenbank eines anderen Programms</translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation>sie ist beschädigt</translation>
    </message>
    <message>
        <source>it was written by a newer version of Quillery</source>
        <translation>sie wurde von einer neueren Version von Quillery geschrieben</translation>
    </message>
    <message>
        <source>the database could not be opened</source>
        <translation>die Datenbank ließ sich nicht öffnen</translation>
    </message>
    <message>
        <source>Quillery cannot open its book %1 because %2; the file has been left unchanged.</source>
        <translation>Quillery kann sein Buch %1 nicht öffnen: %2. Die Datei bleibt unverändert.</translation>
    </message>
</context>
<context>
    <name>TaskSummary</name>
    <message>
        <source>%1 at %2</source>
        <extracomment>A task&apos;s due day and its reminder time: &quot;Today at 3:05 PM&quot;.</extracomment>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>  ·  </source>
        <extracomment>Between the parts of the line under a task: &quot;Tomorrow · Library · Note&quot;.</extracomment>
        <translation>  ·  </translation>
    </message>
    <message numerus="yes">
        <source>%n attachments</source>
        <translation>
            <numerusform>%n Anhang</numerusform>
            <numerusform>%n Anhänge</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TaskVtodo</name>
    <message>
        <source>Attachment</source>
        <translation>Anhang</translation>
    </message>
    <message>
        <source>Untitled task</source>
        <translation>Aufgabe ohne Titel</translation>
    </message>
</context>
<context>
    <name>quillery::AttachmentOpener</name>
    <message>
        <source>Attachment</source>
        <translation>Anhang</translation>
    </message>
</context>
<context>
    <name>quillery::CalDavLinks</name>
    <message>
        <source>no password in the secret store</source>
        <translation>kein Passwort im Schlüsselbund</translation>
    </message>
    <message>
        <source>the server did not accept the sign-in</source>
        <translation>der Server hat die Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>server unreachable</source>
        <translation>Server nicht erreichbar</translation>
    </message>
    <message>
        <source>server error (%1)</source>
        <translation>Serverfehler (%1)</translation>
    </message>
    <message>
        <source>Task lists: the link file cannot be read</source>
        <translation>Aufgabenlisten: die Verknüpfungsdatei ist nicht lesbar</translation>
    </message>
    <message>
        <source>Task list</source>
        <translation>Aufgabenliste</translation>
    </message>
    <message>
        <source>“%1”: %2, %3 waiting to be sent</source>
        <translation>„%1“: %2, %3 warten auf das Senden</translation>
    </message>
    <message>
        <source>“%1”: %2</source>
        <translation>„%1“: %2</translation>
    </message>
    <message>
        <source>“%1”: %2 turned down by the server</source>
        <translation>„%1“: %2 vom Server abgelehnt</translation>
    </message>
    <message>
        <source>“%1”: syncing…</source>
        <translation>„%1“: wird abgeglichen …</translation>
    </message>
    <message>
        <source>“%1”: waiting for the secret store</source>
        <translation>„%1“: wartet auf den Schlüsselbund</translation>
    </message>
    <message>
        <source>“%1”: not synced yet</source>
        <translation>„%1“: noch nicht abgeglichen</translation>
    </message>
    <message>
        <source>“%1”: synced %2</source>
        <translation>„%1“: abgeglichen %2</translation>
    </message>
</context>
<context>
    <name>quillery::CalDavSync</name>
    <message>
        <source>The linked page is no longer in the book</source>
        <translation>Die verknüpfte Seite ist nicht mehr im Buch</translation>
    </message>
</context>
<context>
    <name>quillery::DailyBackup</name>
    <message>
        <source>Backup: today&apos;s copy can&apos;t be written (%1); trying again tomorrow</source>
        <translation>Sicherung: Die heutige Kopie kann nicht geschrieben werden (%1); neuer Versuch morgen</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
</context>
<context>
    <name>quillery::LoginItem</name>
    <message>
        <source>Quillery rings the reminders of your tasks while its window is closed.</source>
        <translation>Quillery meldet die Erinnerungen deiner Aufgaben, auch wenn sein Fenster geschlossen ist.</translation>
    </message>
</context>
<context>
    <name>quillery::SafeQuit</name>
    <message>
        <source>Quillery could not save the book: %1.</source>
        <translation>Quillery konnte das Buch nicht speichern: %1.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message numerus="yes">
        <source>Quit and lose %n unsaved changes?</source>
        <translation>
            <numerusform>Beenden und %n ungespeicherte Änderung verlieren?</numerusform>
            <numerusform>Beenden und %n ungespeicherte Änderungen verlieren?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::SyncMonitor</name>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>the server turned the sign-in down</source>
        <translation>der Server hat die Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>Sign in to your server to sync.</source>
        <translation>Melden Sie sich bei Ihrem Server an, um abzugleichen.</translation>
    </message>
    <message>
        <source>Sign in to %1 to sync.</source>
        <translation>Melden Sie sich bei %1 an, um abzugleichen.</translation>
    </message>
    <message>
        <source>can&apos;t reach the server</source>
        <translation>Server nicht erreichbar</translation>
    </message>
    <message>
        <source>can&apos;t reach the server (%1)</source>
        <translation>Server nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>the server doesn&apos;t give you access to the mirror</source>
        <translation>der Server gewährt Ihnen keinen Zugriff auf den Spiegel</translation>
    </message>
    <message>
        <source>the mirror on the server needs its administrator to set it up again</source>
        <translation>der Spiegel auf dem Server muss von seinem Administrator neu eingerichtet werden</translation>
    </message>
    <message>
        <source>the server is busy, trying again</source>
        <translation>der Server ist ausgelastet, neuer Versuch folgt</translation>
    </message>
    <message>
        <source>the server ran into an error (see sync.log)</source>
        <translation>auf dem Server ist ein Fehler aufgetreten (siehe sync.log)</translation>
    </message>
    <message>
        <source>can&apos;t read or write the book (see sync.log)</source>
        <translation>das Buch kann nicht gelesen oder geschrieben werden (siehe sync.log)</translation>
    </message>
    <message>
        <source>the server keeps turning a change down (see sync.log)</source>
        <translation>der Server lehnt eine Änderung wiederholt ab (siehe sync.log)</translation>
    </message>
    <message>
        <source>the connection service can&apos;t be used (see sync.log)</source>
        <translation>der Verbindungsdienst kann nicht verwendet werden (siehe sync.log)</translation>
    </message>
    <message>
        <source>Sync: off (local only)</source>
        <translation>Abgleich: aus (nur lokal)</translation>
    </message>
    <message>
        <source>Sync: syncing…</source>
        <translation>Abgleich: läuft…</translation>
    </message>
    <message>
        <source>Sync: connecting…</source>
        <translation>Abgleich: verbindet…</translation>
    </message>
    <message>
        <source>Sync: %1</source>
        <translation>Abgleich: %1</translation>
    </message>
    <message>
        <source>Sync: synced %1</source>
        <extracomment>%1 says when: &quot;5 minutes ago&quot;, &quot;now&quot;.</extracomment>
        <translation>Abgleich: abgeglichen %1</translation>
    </message>
</context>
<context>
    <name>quillery::UndoHistory</name>
    <message>
        <source>Tear Out Page</source>
        <translation>Seite herausreißen</translation>
    </message>
    <message>
        <source>Import Calendar</source>
        <translation>Kalender importieren</translation>
    </message>
    <message>
        <source>New Page</source>
        <translation>Neue Seite</translation>
    </message>
    <message>
        <source>Delete Tasks</source>
        <translation>Aufgaben löschen</translation>
    </message>
    <message>
        <source>Delete Task</source>
        <translation>Aufgabe löschen</translation>
    </message>
    <message>
        <source>Add Tasks</source>
        <translation>Aufgaben hinzufügen</translation>
    </message>
    <message>
        <source>Add Task</source>
        <translation>Aufgabe hinzufügen</translation>
    </message>
    <message>
        <source>Add Attachments</source>
        <translation>Anhänge hinzufügen</translation>
    </message>
    <message>
        <source>Add Attachment</source>
        <translation>Anhang hinzufügen</translation>
    </message>
    <message>
        <source>Remove Attachments</source>
        <translation>Anhänge entfernen</translation>
    </message>
    <message>
        <source>Remove Attachment</source>
        <translation>Anhang entfernen</translation>
    </message>
    <message>
        <source>Move Task</source>
        <translation>Aufgabe verschieben</translation>
    </message>
    <message>
        <source>Indent Task</source>
        <translation>Aufgabe einrücken</translation>
    </message>
    <message>
        <source>Outdent Task</source>
        <translation>Aufgabe ausrücken</translation>
    </message>
    <message>
        <source>Mark as Done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <source>Mark as Not Done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <source>Edit Task</source>
        <translation>Aufgabe bearbeiten</translation>
    </message>
    <message>
        <source>Edit Notes</source>
        <translation>Notizen bearbeiten</translation>
    </message>
    <message>
        <source>Change Due Day</source>
        <translation>Fälligkeitstag ändern</translation>
    </message>
    <message>
        <source>Change Reminder</source>
        <translation>Erinnerung ändern</translation>
    </message>
    <message>
        <source>Change Place</source>
        <translation>Ort ändern</translation>
    </message>
    <message>
        <source>Rename Page</source>
        <translation>Seite umbenennen</translation>
    </message>
    <message>
        <source>Change Page Color</source>
        <translation>Seitenfarbe ändern</translation>
    </message>
    <message>
        <source>Move Page</source>
        <translation>Seite verschieben</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Änderung</translation>
    </message>
    <message>
        <source>Can&apos;t undo “%1”: it was changed on another computer meanwhile.</source>
        <translation>„%1“ kann nicht rückgängig gemacht werden: Es wurde inzwischen auf einem anderen Computer geändert.</translation>
    </message>
    <message>
        <source>Can&apos;t redo “%1”: it was changed on another computer meanwhile.</source>
        <translation>„%1“ kann nicht wiederholt werden: Es wurde inzwischen auf einem anderen Computer geändert.</translation>
    </message>
    <message>
        <source>Part of “%1” was not undone: it was changed on another computer meanwhile.</source>
        <translation>Ein Teil von „%1“ wurde nicht rückgängig gemacht: Er wurde inzwischen auf einem anderen Computer geändert.</translation>
    </message>
    <message>
        <source>Part of “%1” was not redone: it was changed on another computer meanwhile.</source>
        <translation>Ein Teil von „%1“ wurde nicht wiederholt: Er wurde inzwischen auf einem anderen Computer geändert.</translation>
    </message>
</context>
<context>
    <name>quillery::ui::AboutDialog</name>
    <message>
        <source>About Quillery</source>
        <translation>Über Quillery</translation>
    </message>
    <message>
        <source>Quillery icon</source>
        <translation>Quillery-Symbol</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>A task planner shaped like a paper notebook.</source>
        <translation>Ein Aufgabenplaner in Gestalt eines Notizbuchs aus Papier.</translation>
    </message>
    <message>
        <source>Licence: %1</source>
        <translation>Lizenz: %1</translation>
    </message>
    <message>
        <source>Quillery is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License, version 3 or any later version. It comes with absolutely no warranty.</source>
        <translation>Quillery ist freie Software: Sie können sie unter den Bedingungen der GNU General Public License, Version 3 oder jeder späteren Version, weitergeben und/oder verändern. Sie kommt ohne jegliche Gewährleistung.</translation>
    </message>
    <message>
        <source>Read the GNU General Public License</source>
        <translation>Die GNU General Public License lesen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Quillery</source>
        <translation>&amp;Über Quillery</translation>
    </message>
</context>
<context>
    <name>quillery::ui::AddTaskRow</name>
    <message>
        <source>Add a task</source>
        <translation>Aufgabe hinzufügen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::AttachmentTile</name>
    <message>
        <source>Photo; opens in the image viewer</source>
        <translation>Foto; öffnet sich in der Bildansicht</translation>
    </message>
    <message>
        <source>File; opens in its application</source>
        <translation>Datei; öffnet sich in ihrem Programm</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::AttachmentsSection</name>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Photos &amp; Files</source>
        <translation>Fotos &amp; Dateien</translation>
    </message>
</context>
<context>
    <name>quillery::ui::BackupCommands</name>
    <message>
        <source>Back Up Book…</source>
        <translation>Buch sichern …</translation>
    </message>
    <message>
        <source>Back Up Book</source>
        <translation>Buch sichern</translation>
    </message>
    <message>
        <source>Quillery books (*.sqlite)</source>
        <translation>Quillery-Bücher (*.sqlite)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The book can&apos;t be backed up onto itself. Choose another file.</source>
        <translation>Das Buch kann nicht auf sich selbst gesichert werden. Wähle eine andere Datei.</translation>
    </message>
    <message>
        <source>The book was backed up to “%1”.</source>
        <translation>Das Buch wurde nach „%1“ gesichert.</translation>
    </message>
    <message>
        <source>“%1” could not be written. %2</source>
        <translation>„%1“ konnte nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
</context>
<context>
    <name>quillery::ui::BlankPageView</name>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
</context>
<context>
    <name>quillery::ui::BookMenu</name>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Vorige Seite</translation>
    </message>
    <message>
        <source>Hide Completed</source>
        <translation>Erledigte ausblenden</translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Sans</source>
        <translation>Serifenlos</translation>
    </message>
    <message>
        <source>Serif</source>
        <translation>Mit Serifen</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Book</source>
        <translation>&amp;Buch</translation>
    </message>
    <message>
        <source>Keep Reminders When Closed</source>
        <translation>Erinnerungen auch bei geschlossenem Fenster</translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
</context>
<context>
    <name>quillery::ui::BookView</name>
    <message>
        <source>Book</source>
        <translation>Buch</translation>
    </message>
    <message>
        <source>Notifications are off for Quillery</source>
        <translation>Benachrichtigungen für Quillery sind aus</translation>
    </message>
    <message>
        <source>Alarms can&apos;t ring until you allow notifications for Quillery in Settings.</source>
        <translation>Erinnerungen können erst klingeln, wenn Sie Benachrichtigungen für Quillery in den Einstellungen erlauben.</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Nicht jetzt</translation>
    </message>
</context>
<context>
    <name>quillery::ui::CalDavDialog</name>
    <message>
        <source>Sync Page with CalDAV</source>
        <translation>Seite mit CalDAV abgleichen</translation>
    </message>
    <message>
        <source>dav.example.com</source>
        <translation>dav.example.com</translation>
    </message>
    <message>
        <source>Find Task Lists</source>
        <translation>Aufgabenlisten suchen</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Task list:</source>
        <translation>Aufgabenliste:</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Verknüpfen</translation>
    </message>
    <message>
        <source>This page is kept in step with “%1”. Pick another list to link it there instead.</source>
        <translation>Diese Seite wird mit „%1“ abgeglichen. Wählen Sie eine andere Liste, um sie stattdessen dort zu verknüpfen.</translation>
    </message>
    <message>
        <source>Unlink</source>
        <translation>Verknüpfung lösen</translation>
    </message>
    <message>
        <source>Enter the server&apos;s address and your user name.</source>
        <translation>Geben Sie die Adresse des Servers und Ihren Benutzernamen ein.</translation>
    </message>
    <message>
        <source>Looking for task lists…</source>
        <translation>Aufgabenlisten werden gesucht …</translation>
    </message>
    <message>
        <source>The server did not accept the user name and password.</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen.</translation>
    </message>
    <message>
        <source>The server could not be reached: %1</source>
        <translation>Der Server war nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>No task lists were found there: %1</source>
        <translation>Dort wurden keine Aufgabenlisten gefunden: %1</translation>
    </message>
    <message>
        <source>New List “%1”</source>
        <translation>Neue Liste „%1“</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <source>Task lists found: %1</source>
        <translation>Gefundene Aufgabenlisten: %1</translation>
    </message>
    <message>
        <source>Making the list…</source>
        <translation>Die Liste wird angelegt …</translation>
    </message>
    <message>
        <source>The list could not be made: %1</source>
        <translation>Die Liste konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>Linking…</source>
        <translation>Wird verknüpft …</translation>
    </message>
    <message>
        <source>The password could not be kept in the secret store: %1</source>
        <translation>Das Passwort konnte nicht im Schlüsselbund abgelegt werden: %1</translation>
    </message>
</context>
<context>
    <name>quillery::ui::CalendarFiles</name>
    <message>
        <source>Import iCalendar…</source>
        <translation>iCalendar importieren …</translation>
    </message>
    <message>
        <source>Export Page as iCalendar…</source>
        <translation>Seite als iCalendar exportieren …</translation>
    </message>
    <message>
        <source>Export Book as iCalendar…</source>
        <translation>Buch als iCalendar exportieren …</translation>
    </message>
    <message>
        <source>Import iCalendar</source>
        <translation>iCalendar importieren</translation>
    </message>
    <message>
        <source>Export Page as iCalendar</source>
        <translation>Seite als iCalendar exportieren</translation>
    </message>
    <message>
        <source>Export Book as iCalendar</source>
        <translation>Buch als iCalendar exportieren</translation>
    </message>
    <message>
        <source>“%1” could not be imported. %2</source>
        <translation>„%1“ konnte nicht importiert werden. %2</translation>
    </message>
    <message>
        <source>“%1” could not be written. %2</source>
        <translation>„%1“ konnte nicht geschrieben werden. %2</translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsCloseButton</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsGrid</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>New page</source>
        <translation>Neue Seite</translation>
    </message>
    <message>
        <source>Page %1, %2</source>
        <translation>Seite %1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n tasks</source>
        <translation>
            <numerusform>%n Aufgabe</numerusform>
            <numerusform>%n Aufgaben</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n open</source>
        <translation>
            <numerusform>%n offen</numerusform>
            <numerusform>%n offen</numerusform>
        </translation>
    </message>
    <message>
        <source>current page</source>
        <translation>aktuelle Seite</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Joins the parts of a page&apos;s description: &quot;3 tasks, 2 open&quot;.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsView</name>
    <message>
        <source>All Pages</source>
        <translation>Alle Seiten</translation>
    </message>
    <message numerus="yes">
        <source>%n pages</source>
        <translation>
            <numerusform>%n Seite</numerusform>
            <numerusform>%n Seiten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::DialogAttachmentPicker</name>
    <message>
        <source>Choose Photos</source>
        <translation>Fotos auswählen</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>Choose Files</source>
        <translation>Dateien auswählen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::EditMenu</name>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>„%1“ rückgängig machen</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>„%1“ wiederholen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::HiddenTasksButton</name>
    <message numerus="yes">
        <source>%n completed hidden</source>
        <translation>
            <numerusform>%n erledigte ausgeblendet</numerusform>
            <numerusform>%n erledigte ausgeblendet</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::ImageViewer</name>
    <message>
        <source>Image viewer</source>
        <translation>Bildansicht</translation>
    </message>
</context>
<context>
    <name>quillery::ui::LocationPicker</name>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Search for a place or address</source>
        <translation>Nach einem Ort oder einer Adresse suchen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Aktueller Ort</translation>
    </message>
    <message>
        <source>Remove location</source>
        <translation>Ort entfernen</translation>
    </message>
    <message>
        <source>No places found</source>
        <translation>Keine Orte gefunden</translation>
    </message>
</context>
<context>
    <name>quillery::ui::MainWindow</name>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>quillery::ui::MapPreview</name>
    <message>
        <source>Map of %1</source>
        <translation>Karte von %1</translation>
    </message>
    <message>
        <source>Open in Maps</source>
        <translation>In Karten öffnen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageColorPicker</name>
    <message>
        <source>Page color</source>
        <translation>Seitenfarbe</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageFooter</name>
    <message>
        <source>Previous page</source>
        <translation>Vorige Seite</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Page options</source>
        <translation>Seitenoptionen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageHeader</name>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <source>Page title</source>
        <translation>Seitentitel</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageNumberBlock</name>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Show all pages</source>
        <translation>Alle Seiten zeigen</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>von %1</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageOptionsMenu</name>
    <message>
        <source>Page options</source>
        <translation>Seitenoptionen</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Send a Test Alarm in 10 Seconds</source>
        <translation>Testerinnerung in 10 Sekunden senden</translation>
    </message>
    <message>
        <source>Open Notification Settings</source>
        <translation>Benachrichtigungseinstellungen öffnen</translation>
    </message>
    <message>
        <source>Hide Completed</source>
        <translation>Erledigte ausblenden</translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Sans</source>
        <translation>Serifenlos</translation>
    </message>
    <message>
        <source>Serif</source>
        <translation>Mit Serifen</translation>
    </message>
    <message>
        <source>Tear Out Page</source>
        <translation>Seite herausreißen</translation>
    </message>
    <message>
        <source>Keep Reminders When Closed</source>
        <translation>Erinnerungen auch bei geschlossenem Fenster</translation>
    </message>
    <message>
        <source>Start at Login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Print Page…</source>
        <translation>Seite drucken …</translation>
    </message>
    <message>
        <source>Export Page as PDF…</source>
        <translation>Seite als PDF exportieren …</translation>
    </message>
    <message>
        <source>Export Page as iCalendar…</source>
        <translation>Seite als iCalendar exportieren …</translation>
    </message>
    <message>
        <source>Sync Page with CalDAV…</source>
        <translation>Seite mit CalDAV abgleichen …</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageView</name>
    <message>
        <source>Tear Out Page</source>
        <translation>Seite herausreißen</translation>
    </message>
    <message>
        <source>Tear out this page and everything on it?</source>
        <translation>Diese Seite mit allem, was darauf steht, herausreißen?</translation>
    </message>
    <message>
        <source>Tear Out</source>
        <translation>Herausreißen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PlaceSection</name>
    <message>
        <source>Add a place</source>
        <translation>Ort hinzufügen</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::PrintCommands</name>
    <message>
        <source>Print Page…</source>
        <translation>Seite drucken …</translation>
    </message>
    <message>
        <source>Export Page as PDF…</source>
        <translation>Seite als PDF exportieren …</translation>
    </message>
    <message>
        <source>Export Book as PDF…</source>
        <translation>Buch als PDF exportieren …</translation>
    </message>
    <message>
        <source>Print Page</source>
        <translation>Seite drucken</translation>
    </message>
    <message>
        <source>The page could not be printed: the printer cannot be used.</source>
        <translation>Die Seite konnte nicht gedruckt werden: Der Drucker kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>Printed “%1”.</source>
        <translation>„%1“ gedruckt.</translation>
    </message>
    <message>
        <source>Export Page as PDF</source>
        <translation>Seite als PDF exportieren</translation>
    </message>
    <message>
        <source>Export Book as PDF</source>
        <translation>Buch als PDF exportieren</translation>
    </message>
    <message>
        <source>“%1” could not be written. %2</source>
        <translation>„%1“ konnte nicht geschrieben werden. %2</translation>
    </message>
    <message>
        <source>Wrote “%1”.</source>
        <translation>„%1“ geschrieben.</translation>
    </message>
</context>
<context>
    <name>quillery::ui::RepeatEditor</name>
    <message>
        <source>On the first %1</source>
        <translation>Am ersten %1</translation>
    </message>
    <message>
        <source>On the second %1</source>
        <translation>Am zweiten %1</translation>
    </message>
    <message>
        <source>On the third %1</source>
        <translation>Am dritten %1</translation>
    </message>
    <message>
        <source>On the fourth %1</source>
        <translation>Am vierten %1</translation>
    </message>
    <message>
        <source>On the last %1</source>
        <translation>Am letzten %1</translation>
    </message>
    <message>
        <source>Every</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Repeat every</source>
        <translation>Wiederholen alle</translation>
    </message>
    <message>
        <source>Repeat unit</source>
        <translation>Einheit der Wiederholung</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <source>months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>years</source>
        <translation>Jahre</translation>
    </message>
    <message>
        <source>Day of the month</source>
        <translation>Tag des Monats</translation>
    </message>
    <message>
        <source>On the last day</source>
        <translation>Am letzten Tag</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Endet</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>On a date</source>
        <translation>An einem Datum</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nach</translation>
    </message>
    <message>
        <source>Last day</source>
        <translation>Letzter Tag</translation>
    </message>
    <message>
        <source>Number of times</source>
        <translation>Anzahl der Male</translation>
    </message>
    <message>
        <source> times</source>
        <translation> Mal</translation>
    </message>
    <message>
        <source>On day %1</source>
        <translation>Am %1.</translation>
    </message>
</context>
<context>
    <name>quillery::ui::RepeatSection</name>
    <message>
        <source>Repeat</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>Täglich</translation>
    </message>
    <message>
        <source>Weekdays</source>
        <translation>Werktags</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>Wöchentlich</translation>
    </message>
    <message>
        <source>Monthly</source>
        <translation>Monatlich</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>Jährlich</translation>
    </message>
    <message>
        <source>Custom…</source>
        <translation>Eigene…</translation>
    </message>
</context>
<context>
    <name>quillery::ui::RestoreCommands</name>
    <message>
        <source>Restore from Backup…</source>
        <translation>Aus Sicherung wiederherstellen …</translation>
    </message>
    <message>
        <source>d MMMM</source>
        <extracomment>The day of a copy of the book taken this year, as in &quot;the copy of 3 December&quot;.</extracomment>
        <translation>d. MMMM</translation>
    </message>
    <message>
        <source>d MMMM yyyy</source>
        <extracomment>The day of a copy of the book taken in another year.</extracomment>
        <translation>d. MMMM yyyy</translation>
    </message>
    <message>
        <source>Restore from Backup</source>
        <translation>Aus Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Replace the book with the copy of %1? The book as it is now is kept as a backup too.</source>
        <translation>Das Buch durch die Kopie vom %1 ersetzen? Das Buch in seinem jetzigen Stand wird ebenfalls als Sicherung aufbewahrt.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>The book was restored from the copy of %1.</source>
        <translation>Das Buch wurde aus der Kopie vom %1 wiederhergestellt.</translation>
    </message>
</context>
<context>
    <name>quillery::ui::RestoreDialog</name>
    <message>
        <source>Restore from Backup</source>
        <translation>Aus Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Choose the copy of the book to restore. Quillery keeps a copy of each of the last seven days it ran and one of each of the four weeks before.</source>
        <translation>Wählen Sie die Kopie des Buchs, die wiederhergestellt werden soll. Quillery bewahrt eine Kopie von jedem der letzten sieben Tage auf, an denen es lief, und je eine der vier Wochen davor.</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopie</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Kept copies</source>
        <translation>Aufbewahrte Kopien</translation>
    </message>
    <message>
        <source>Choose File…</source>
        <translation>Datei wählen …</translation>
    </message>
    <message>
        <source>Restore…</source>
        <translation>Wiederherstellen …</translation>
    </message>
    <message>
        <source>%1, %2, before a restore</source>
        <translation>%1, %2, vor einer Wiederherstellung</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>beschädigt</translation>
    </message>
    <message>
        <source>Quillery books (*.sqlite)</source>
        <translation>Quillery-Bücher (*.sqlite)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>quillery::ui::SearchPanel</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>No Results</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>Search the book (%1)</source>
        <translation>Im Buch suchen (%1)</translation>
    </message>
    <message>
        <source>Search the book</source>
        <translation>Im Buch suchen</translation>
    </message>
    <message>
        <source>Search results</source>
        <translation>Suchergebnisse</translation>
    </message>
</context>
<context>
    <name>quillery::ui::SearchResultDelegate</name>
    <message>
        <source>Place: %1</source>
        <translation>Ort: %1</translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Notes: %1</source>
        <translation>Notizen: %1</translation>
    </message>
</context>
<context>
    <name>quillery::ui::SearchResultsModel</name>
    <message>
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message>
        <source>%1, done</source>
        <translation>%1, erledigt</translation>
    </message>
    <message numerus="yes">
        <source>%n more — type more to narrow the search</source>
        <translation>
            <numerusform>%n weiterer — tippe weiter, um die Suche einzugrenzen</numerusform>
            <numerusform>%n weitere — tippe weiter, um die Suche einzugrenzen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::TaskCard</name>
    <message>
        <source>Task card</source>
        <translation>Aufgabenkarte</translation>
    </message>
    <message>
        <source>When</source>
        <translation>Wann</translation>
    </message>
    <message>
        <source>Subtask</source>
        <translation>Unteraufgabe</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Add a note</source>
        <translation>Notiz hinzufügen</translation>
    </message>
    <message>
        <source>Photos &amp; Files</source>
        <translation>Fotos &amp; Dateien</translation>
    </message>
    <message>
        <source>Delete Task</source>
        <translation>Aufgabe löschen</translation>
    </message>
    <message>
        <source>Task</source>
        <translation>Aufgabe</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>quillery::ui::TaskRowCheck</name>
    <message>
        <source>Complete</source>
        <translation>Erledigen</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Erledigt</translation>
    </message>
</context>
<context>
    <name>quillery::ui::ViewerCloseButton</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>quillery::ui::WhenSection</name>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation>Morgen</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <source>Pick a date</source>
        <translation>Datum wählen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remind me</source>
        <translation>Erinnern</translation>
    </message>
    <message>
        <source>At</source>
        <translation>Um</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>That time has already passed.</source>
        <translation>Diese Uhrzeit ist schon vorbei.</translation>
    </message>
</context>
</TS>
