<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Databasecont</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Database Error</source>
        <translation>Datenbankfehler</translation>
    </message>
    <message>
        <source>Failed to open database</source>
        <translation>Datenbank konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Database create Error</source>
        <translation>Fehler beim Erstellen der Datenbank</translation>
    </message>
    <message>
        <source>Failed to create database</source>
        <translation>Datenbank konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Database not present</source>
        <translation>Datenbank nicht vorhanden</translation>
    </message>
    <message>
        <source>Failed to find databases </source>
        <translation>Keine Datenbanken gefunden </translation>
    </message>
    <message>
        <source>Database verify Error</source>
        <translation>Fehler bei der Prüfung der Datenbank</translation>
    </message>
    <message>
        <source>Failed to verify database </source>
        <translation>Datenbank konnte nicht geprüft werden: </translation>
    </message>
    <message>
        <source>Failed to attach database </source>
        <translation>Datenbank konnte nicht eingebunden werden: </translation>
    </message>
    <message>
        <source>invalid default sensor used</source>
        <translation>ungültiger Standardsensor verwendet</translation>
    </message>
    <message>
        <source>custom sensor used</source>
        <translation>benutzerdefinierter Sensor verwendet</translation>
    </message>
    <message>
        <source>unknown sensor used</source>
        <translation>unbekannter Sensor verwendet</translation>
    </message>
    <message>
        <source>custom Filter used</source>
        <translation>benutzerdefinierter Filter verwendet</translation>
    </message>
    <message>
        <source>unknown Filter used</source>
        <translation>unbekannter Filter verwendet</translation>
    </message>
    <message>
        <source>invalid default Mapping used</source>
        <translation>ungültiges Standard-Mapping verwendet</translation>
    </message>
    <message>
        <source>custom Mapping used</source>
        <translation>benutzerdefiniertes Mapping verwendet</translation>
    </message>
    <message>
        <source>unknown Mapping used</source>
        <translation>unbekanntes Mapping verwendet</translation>
    </message>
</context>
</TS>
