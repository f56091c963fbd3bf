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
    <message>
        <source>The Firmware update has ended successfully.</source>
        <translation>Die Firmware-Aktualisierung wurde erfolgreich beendet.</translation>
    </message>
    <message>
        <source>KorvantisLoader reported %1</source>
        <translation>KorvantisLoader meldete %1</translation>
    </message>
    <message>
        <source>KorvantisLoader was not found</source>
        <translation>KorvantisLoader wurde nicht gefunden</translation>
    </message>
    <message>
        <source>KorvantisLoader could not be started: %1</source>
        <translation>KorvantisLoader konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>KorvantisLoader crashed or was killed</source>
        <translation>KorvantisLoader ist abgestürzt oder wurde beendet</translation>
    </message>
    <message>
        <source>KorvantisLoader was stopped after %1 s</source>
        <translation>KorvantisLoader wurde nach %1 s abgebrochen</translation>
    </message>
    <message>
        <source>KorvantisLoader did not end</source>
        <translation>KorvantisLoader hat sich nicht beendet</translation>
    </message>
    <message>
        <source>another KorvantisLoader run was still going on</source>
        <translation>ein anderer Lauf von KorvantisLoader war noch nicht beendet</translation>
    </message>
    <message>
        <source> (step %1: %2)</source>
        <translation> (Schritt %1: %2)</translation>
    </message>
</context>
</TS>
