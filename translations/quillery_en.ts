<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name>AlarmStatus</name>
    <message numerus="yes">
        <source>Alarms: %n scheduled</source>
        <translation>
            <numerusform>Alarms: %n scheduled</numerusform>
            <numerusform>Alarms: %n scheduled</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PageThumb</name>
    <message numerus="yes">
        <source>+%n more</source>
        <translation>
            <numerusform>+%n more</numerusform>
            <numerusform>+%n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReminderActions</name>
    <message numerus="yes">
        <source>%n minute(s) ago</source>
        <translation>
            <numerusform>%n minute ago</numerusform>
            <numerusform>%n minutes ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RepeatRules</name>
    <message numerus="yes">
        <source>Every %n months on the last day</source>
        <translation>
            <numerusform>Every %n months on the last day</numerusform>
            <numerusform>Every %n months on the last day</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n months on the %1</source>
        <translation>
            <numerusform>Every %n months on the %1</numerusform>
            <numerusform>Every %n months on the %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n months</source>
        <translation>
            <numerusform>Every %n months</numerusform>
            <numerusform>Every %n months</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n months on day %1</source>
        <translation>
            <numerusform>Every %n months on day %1</numerusform>
            <numerusform>Every %n months on day %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n days</source>
        <translation>
            <numerusform>Every %n days</numerusform>
            <numerusform>Every %n days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n weeks</source>
        <translation>
            <numerusform>Every %n weeks</numerusform>
            <numerusform>Every %n weeks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n weeks on %1</source>
        <translation>
            <numerusform>Every %n weeks on %1</numerusform>
            <numerusform>Every %n weeks on %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Every %n years</source>
        <translation>
            <numerusform>Every %n years</numerusform>
            <numerusform>Every %n years</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1, %n times</source>
        <extracomment>The rule, then how many times it still comes: &quot;Every day, 3 times&quot;</extracomment>
        <translation>
            <numerusform>%1, %n times</numerusform>
            <numerusform>%1, %n times</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SafeQuit</name>
    <message numerus="yes">
        <source>%n unsaved changes</source>
        <translation>
            <numerusform>%n unsaved change</numerusform>
            <numerusform>%n unsaved changes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveMonitor</name>
    <message numerus="yes">
        <source>%n changes waiting</source>
        <translation>
            <numerusform>%n change waiting</numerusform>
            <numerusform>%n changes waiting</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TaskSummary</name>
    <message numerus="yes">
        <source>%n attachments</source>
        <translation>
            <numerusform>%n attachment</numerusform>
            <numerusform>%n attachments</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::SafeQuit</name>
    <message numerus="yes">
        <source>Quit and lose %n unsaved changes?</source>
        <translation>
            <numerusform>Quit and lose %n unsaved change?</numerusform>
            <numerusform>Quit and lose %n unsaved changes?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsGrid</name>
    <message numerus="yes">
        <source>%n tasks</source>
        <translation>
            <numerusform>%n task</numerusform>
            <numerusform>%n tasks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n open</source>
        <translation>
            <numerusform>%n open</numerusform>
            <numerusform>%n open</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::ContentsView</name>
    <message numerus="yes">
        <source>%n pages</source>
        <translation>
            <numerusform>%n page</numerusform>
            <numerusform>%n pages</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::HiddenTasksButton</name>
    <message numerus="yes">
        <source>%n completed hidden</source>
        <translation>
            <numerusform>%n completed hidden</numerusform>
            <numerusform>%n completed hidden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillery::ui::SearchResultsModel</name>
    <message numerus="yes">
        <source>%n more — type more to narrow the search</source>
        <translation>
            <numerusform>%n more — type more to narrow the search</numerusform>
            <numerusform>%n more — type more to narrow the search</numerusform>
        </translation>
    </message>
</context>
</TS>
