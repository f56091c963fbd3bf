<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>UpdateFirmware</name>
    <message>
        <source>Update firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation>Firmware:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Load firmware fwa</source>
        <translation>Firmware-Datei (fwa) laden</translation>
    </message>
    <message>
        <source>No File selected?</source>
        <translation>Keine Datei ausgewählt?</translation>
    </message>
    <message>
        <source>No Firmware update possible. File not valid/found</source>
        <translation>Keine Firmware-Aktualisierung möglich. Datei ungültig/nicht gefunden</translation>
    </message>
    <message>
        <source>The Firmware update failed. Return code: %1</source>
        <translation>Die Firmware-Aktualisierung ist fehlgeschlagen. Rückgabewert: %1</translation>
    </message>
</context>
</TS>
