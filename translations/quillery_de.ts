<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AlarmStatus</name>
    <message>
        <source>Alarms: waiting for permission</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms: notifications are off for Quillery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms: none scheduled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms: %1 scheduled</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Alarms</name>
    <message>
        <source>Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test alarm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If you can read this, Quillery alarms work on this device.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BookMenu</name>
    <message>
        <source>All Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all pages (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 (try &apos;%1 --help&apos;)</source>
        <extracomment>The one line for a command line Quillery cannot follow.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: %1 [options]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A task planner shaped like a paper notebook.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start without showing the window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Qt&apos;s own options (-platform, -display, -style, ...) work as in every Qt program. See quillery(1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no display: set DISPLAY or WAYLAND_DISPLAY</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DayLabel</name>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yesterday</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotificationCenter</name>
    <message>
        <source>The request has no identifier.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotificationTrigger</name>
    <message>
        <source>The request has no trigger.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The time interval must be greater than 0.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The date of the calendar trigger does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PageThumb</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>+%n more</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Palette</name>
    <message>
        <source>Coral</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amber</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mustard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ocean</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Violet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QuilleryApp</name>
    <message>
        <source>Quillery cannot start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SafeQuit</name>
    <message>
        <source>1 unsaved change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 unsaved changes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SaveMonitor</name>
    <message>
        <source>1 change waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 changes waiting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved: the disk is full (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not saved: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery can&apos;t save: the disk is full. Your changes are kept in memory and saved when space is free.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery can&apos;t save: %1. Your changes are kept in memory and saved as soon as the book can be written again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Store</name>
    <message>
        <source>a folder stands where the file should be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery is not allowed to read and write it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a Quillery book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is a database of another program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is damaged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it was written by a newer version of Quillery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the database could not be opened</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery cannot open its book %1 because %2; the file has been left unchanged.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TaskSummary</name>
    <message>
        <source>%1 at %2</source>
        <extracomment>A task&apos;s due day and its reminder time: &quot;Today at 3:05 PM&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 attachment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  ·  </source>
        <extracomment>Between the parts of the line under a task: &quot;Tomorrow · Library · Note&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::AttachmentOpener</name>
    <message>
        <source>Attachment</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::SafeQuit</name>
    <message>
        <source>Quit and lose 1 unsaved change?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit and lose %1 unsaved changes?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery could not save the book: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::SyncMonitor</name>
    <message>
        <source>unknown error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server turned the sign-in down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to your server to sync.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to %1 to sync.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>can&apos;t reach the server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>can&apos;t reach the server (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server doesn&apos;t give you access to the mirror</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the mirror on the server needs its administrator to set it up again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server is busy, trying again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server ran into an error (see sync.log)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>can&apos;t read or write the book (see sync.log)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server keeps turning a change down (see sync.log)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the connection service can&apos;t be used (see sync.log)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync: off (local only)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync: syncing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync: connecting…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync: synced </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::AboutDialog</name>
    <message>
        <source>About Quillery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A task planner shaped like a paper notebook.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Licence: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillery is free software: you can redistribute it and/or modify it under the terms of the GNU General Public License, version 3 or any later version. It comes with absolutely no warranty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the GNU General Public License</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About Quillery</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::AddTaskRow</name>
    <message>
        <source>Add a task</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::AttachmentTile</name>
    <message>
        <source>Photo; opens in the image viewer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File; opens in its application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::AttachmentsSection</name>
    <message>
        <source>Photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos &amp; Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::BlankPageView</name>
    <message>
        <source>Page %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::BookMenu</name>
    <message>
        <source>Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serif</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::BookView</name>
    <message>
        <source>Book</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications are off for Quillery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms can&apos;t ring until you allow notifications for Quillery in Settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsCloseButton</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsGrid</name>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n tasks</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n open</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>current page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Joins the parts of a page&apos;s description: &quot;3 tasks, 2 open&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsView</name>
    <message>
        <source>All Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n pages</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::DialogAttachmentPicker</name>
    <message>
        <source>Choose Photos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::HiddenTasksButton</name>
    <message numerus="yes">
        <source>%n completed hidden</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::ImageViewer</name>
    <message>
        <source>Image viewer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::LocationPicker</name>
    <message>
        <source>Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search for a place or address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No places found</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::MainWindow</name>
    <message>
        <source>Toolbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notice</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::MapPreview</name>
    <message>
        <source>Map of %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Maps</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageColorPicker</name>
    <message>
        <source>Page color</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageFooter</name>
    <message>
        <source>Previous page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page options</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageHeader</name>
    <message>
        <source>Untitled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page title</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageNumberBlock</name>
    <message>
        <source>Page %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show all pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>of %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageOptionsMenu</name>
    <message>
        <source>Page options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send a Test Alarm in 10 Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Notification Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hide Completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sans</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serif</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tear Out Page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PageView</name>
    <message>
        <source>Tear Out Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tear out this page and everything on it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tear Out</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::PlaceSection</name>
    <message>
        <source>Add a place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::TaskCard</name>
    <message>
        <source>Task card</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subtask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos &amp; Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::TaskRowCheck</name>
    <message>
        <source>Complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::ViewerCloseButton</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillery::ui::WhenSection</name>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tomorrow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick a date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remind me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>That time has already passed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
