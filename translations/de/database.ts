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
<context>
    <name>AppendProxyModel</name>
    <message>
        <source>custom entry</source>
        <translation>benutzerdefinierter Eintrag</translation>
    </message>
    <message>
        <source>invalid/default entry</source>
        <translation>ungültiger/Standardeintrag</translation>
    </message>
</context>
<context>
    <name>SelectMapping</name>
    <message>
        <source>Channel Parameter</source>
        <translation>Kanalparameter</translation>
    </message>
    <message>
        <source>Device Family</source>
        <translation>Gerätefamilie</translation>
    </message>
    <message>
        <source>Design Size</source>
        <translation>Baugröße</translation>
    </message>
    <message>
        <source>Design Model</source>
        <translation>Bauform</translation>
    </message>
    <message>
        <source>Variant</source>
        <translation>Variante</translation>
    </message>
    <message>
        <source>Lubrication Type</source>
        <translation>Schmierungsart</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Mapping %1 was not written: the catalogue value %2 = %3 does not fit the channel configuration.</source>
        <translation>Mapping %1 wurde nicht geschrieben: Der Katalogwert %2 = %3 passt nicht in die Kanalkonfiguration.</translation>
    </message>
</context>
<context>
    <name>SelectSensor</name>
    <message>
        <source>Sensor Parameter</source>
        <translation>Sensorparameter</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Sensor Selection Failed. </source>
        <translation>Sensorauswahl fehlgeschlagen. </translation>
    </message>
    <message>
        <source>Sensor %1 was not written: the catalogue value %2 = %3 does not fit the sensor configuration.</source>
        <translation>Sensor %1 wurde nicht geschrieben: Der Katalogwert %2 = %3 passt nicht in die Sensorkonfiguration.</translation>
    </message>
</context>
</TS>
