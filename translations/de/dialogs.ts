<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Connectdialog</name>
    <message>
        <source>Connection status: </source>
        <translation>Verbindungsstatus: </translation>
    </message>
    <message>
        <source>Connected to</source>
        <translation>Verbunden mit</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Select device or enter PPU IP manually</source>
        <translation>Gerät auswählen oder PPU-IP von Hand eingeben</translation>
    </message>
    <message>
        <source>Refresh List</source>
        <translation>Liste aktualisieren</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>Gerätename</translation>
    </message>
    <message>
        <source>PPU IP</source>
        <translation>PPU-IP</translation>
    </message>
    <message>
        <source>MAC</source>
        <translation>MAC</translation>
    </message>
    <message>
        <source>+ Enter PPU IP manually</source>
        <translation>+ PPU-IP von Hand eingeben</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Couldn't find any Devices. Errorcode: %1</source>
        <translation>Keine Geräte gefunden. Fehlercode: %1</translation>
    </message>
    <message>
        <source>No IP/PPU selected.</source>
        <translation>Keine IP/PPU ausgewählt.</translation>
    </message>
    <message>
        <source>Invalid IP detected.</source>
        <translation>Ungültige IP erkannt.</translation>
    </message>
</context>
<context>
    <name>NicSelectWidget</name>
    <message>
        <source>Enter network interface</source>
        <translation>Netzwerkschnittstelle wählen</translation>
    </message>
    <message>
        <source>Network interface</source>
        <translation>Netzwerkschnittstelle</translation>
    </message>
</context>
<context>
    <name>ProductInformation</name>
    <message>
        <source>Product Information</source>
        <translation>Produktinformation</translation>
    </message>
    <message>
        <source>Firmware Version p-Modul</source>
        <translation>Firmwareversion p-Modul</translation>
    </message>
    <message>
        <source>Hardware Revision Module</source>
        <translation>Hardwarerevision Modul</translation>
    </message>
    <message>
        <source>Flash Protokoll Version</source>
        <translation>Flash-Protokollversion</translation>
    </message>
    <message>
        <source>Ethernet Protokoll Version</source>
        <translation>Ethernet-Protokollversion</translation>
    </message>
    <message>
        <source>Read Information</source>
        <translation>Information lesen</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
</context>
<context>
    <name>AboutDialog</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Qt Version: </source>
        <translation>Qt-Version: </translation>
    </message>
    <message>
        <source>The software has been modified</source>
        <translation>Die Software wurde verändert</translation>
    </message>
    <message>
        <source>Running as release version</source>
        <translation>Läuft als Release-Version</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Hostname: </source>
        <translation>Rechnername: </translation>
    </message>
    <message>
        <source>CPU Architecture: </source>
        <translation>CPU-Architektur: </translation>
    </message>
    <message>
        <source>Operating System Type: </source>
        <translation>Betriebssystemtyp: </translation>
    </message>
    <message>
        <source>Operating System Version: </source>
        <translation>Betriebssystemversion: </translation>
    </message>
    <message>
        <source>Unable to read Korvan Tis Module Information</source>
        <translation>Korvan Tis Modulinformation konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Korvan Tis Module</source>
        <translation>Korvan Tis Modul</translation>
    </message>
    <message>
        <source>Hardware Revision Module: </source>
        <translation>Hardwarerevision Modul: </translation>
    </message>
    <message>
        <source>Flash Protocol Version: </source>
        <translation>Flash-Protokollversion: </translation>
    </message>
    <message>
        <source>Ethernet Protocol Version: </source>
        <translation>Ethernet-Protokollversion: </translation>
    </message>
    <message>
        <source>Firmware Version: </source>
        <translation>Firmwareversion: </translation>
    </message>
    <message>
        <source>Firmware Modified: </source>
        <translation>Firmware verändert: </translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
</context>
<context>
    <name>LicenseDialog</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>HelpDialog</name>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>close</source>
        <translation>schließen</translation>
    </message>
</context>
</TS>
