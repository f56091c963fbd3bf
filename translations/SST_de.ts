<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NotificationBar</name>
    <message>
        <source>Error message</source>
        <translation>Fehlermeldung</translation>
    </message>
    <message>
        <source>Sucess Message</source>
        <translation>Erfolgsmeldung</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Go to log</source>
        <translation>Zum Protokoll</translation>
    </message>
</context>
<context>
    <name>ScalingDialog</name>
    <message>
        <source>Scaling factor</source>
        <translation>Skalierungsfaktor</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Apply and Restart Application</source>
        <translation>Übernehmen und Anwendung neu starten</translation>
    </message>
    <message>
        <source>Small ( 50% )</source>
        <translation>Klein ( 50% )</translation>
    </message>
    <message>
        <source>Regular ( 100% )</source>
        <translation>Normal ( 100% )</translation>
    </message>
    <message>
        <source>Large ( 200% )</source>
        <translation>Groß ( 200% )</translation>
    </message>
</context>
<context>
    <name>TranslationDialog</name>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
</context>
</TS>
