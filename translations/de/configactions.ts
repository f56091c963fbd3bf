<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfigActionBar</name>
    <message>
        <source>Import Config</source>
        <translation>Konfiguration importieren</translation>
    </message>
    <message>
        <source>Export Config</source>
        <translation>Konfiguration exportieren</translation>
    </message>
    <message>
        <source>Read Config from Device</source>
        <translation>Konfiguration vom Gerät lesen</translation>
    </message>
    <message>
        <source>Write Config to Device</source>
        <translation>Konfiguration auf das Gerät schreiben</translation>
    </message>
    <message>
        <source>Write device configuration failed. Error: %1 Errorcode: %2</source>
        <translation>Schreiben der Gerätekonfiguration fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Write device name failed. Error: %1 Errorcode: %2</source>
        <translation>Schreiben des Gerätenamens fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Write channel %3 name failed. Error: %1 Errorcode: %2</source>
        <translation>Schreiben des Namens von Kanal %3 fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Read device name failed.
Error: %1
Errorcode: %2</source>
        <translation>Lesen des Gerätenamens fehlgeschlagen.
Fehler: %1
Fehlercode: %2</translation>
    </message>
    <message>
        <source>Read channel %3 name failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen des Namens von Kanal %3 fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Read configuration failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen der Konfiguration fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Import configuration from file failed. Error: %1 Errorcode: %2</source>
        <translation>Import der Konfiguration aus der Datei fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>Export configuration to file failed. Error: %1 Errorcode: %2</source>
        <translation>Export der Konfiguration in eine Datei fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
</context>
<context>
    <name>ConfigConnectParams</name>
    <message>
        <source>PPU Network Settings</source>
        <translation>PPU-Netzwerkeinstellungen</translation>
    </message>
    <message>
        <source>PPU IP</source>
        <translation>PPU-IP</translation>
    </message>
    <message>
        <source>Net Mask</source>
        <translation>Netzmaske</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Are you sure you want to set/save this value? 
If you confirm, please make sure to remember the IP!
The Device may not be in a reachable IP Range after a System Reset!</source>
        <translation>Möchten Sie diesen Wert wirklich setzen/speichern? 
Wenn Sie bestätigen, merken Sie sich bitte die IP!
Das Gerät ist nach einem Systemneustart eventuell nicht mehr in einem erreichbaren IP-Bereich!</translation>
    </message>
    <message>
        <source>New IP:</source>
        <translation>Neue IP:</translation>
    </message>
    <message>
        <source>New Netmask:</source>
        <translation>Neue Netzmaske:</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Confirm changes</source>
        <translation>Änderungen bestätigen</translation>
    </message>
    <message>
        <source>To apply this changes a Reset is necessary</source>
        <translation>Damit diese Änderungen wirksam werden, ist ein Reset nötig</translation>
    </message>
</context>
<context>
    <name>NetworkInput</name>
    <message>
        <source>The IP address is not a valid IPv4 address.</source>
        <translation>Die IP-Adresse ist keine gültige IPv4-Adresse.</translation>
    </message>
    <message>
        <source>The net mask is not a valid IPv4 address.</source>
        <translation>Die Netzmaske ist keine gültige IPv4-Adresse.</translation>
    </message>
    <message>
        <source>The IP address 0.0.0.0 cannot be used.</source>
        <translation>Die IP-Adresse 0.0.0.0 kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>The net mask 0.0.0.0 cannot be used.</source>
        <translation>Die Netzmaske 0.0.0.0 kann nicht verwendet werden.</translation>
    </message>
</context>
<context>
    <name>ResetDefaultConfig</name>
    <message>
        <source>Reset Default Configuration</source>
        <translation>Standardkonfiguration wiederherstellen</translation>
    </message>
    <message>
        <source>Reset Configuration</source>
        <translation>Konfiguration zurücksetzen</translation>
    </message>
    <message>
        <source>Not Connected to Device</source>
        <translation>Nicht mit dem Gerät verbunden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Apply Config changes</source>
        <translation>Konfigurationsänderungen übernehmen</translation>
    </message>
    <message>
        <source>Do you want to Reset the configuration of the Device?
This includes the connectivity Settings!
The device will reset and the connection will be lost!
A reconnect may be necessary depending on your current Connection Settings.</source>
        <translation>Möchten Sie die Konfiguration des Geräts zurücksetzen?
Dies schließt die Verbindungseinstellungen ein!
Das Gerät wird neu gestartet und die Verbindung geht verloren!
Je nach Ihren aktuellen Verbindungseinstellungen kann eine erneute Verbindung nötig sein.</translation>
    </message>
    <message>
        <source>The reset to default Operation failed. Error: %1 Errorcode: %2</source>
        <translation>Das Zurücksetzen auf die Standardwerte ist fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>The Device resets its configuration to the defaults.</source>
        <translation>Das Gerät setzt seine Konfiguration auf die Standardwerte zurück.</translation>
    </message>
</context>
<context>
    <name>ResetIpWidget</name>
    <message>
        <source>Reset Network Settings</source>
        <translation>Netzwerkeinstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>MAC Address of PPU</source>
        <translation>MAC-Adresse der PPU</translation>
    </message>
    <message>
        <source>Use Default Network Settings</source>
        <translation>Standard-Netzwerkeinstellungen verwenden</translation>
    </message>
    <message>
        <source>Use New Network Settings</source>
        <translation>Neue Netzwerkeinstellungen verwenden</translation>
    </message>
    <message>
        <source>New Network Settings</source>
        <translation>Neue Netzwerkeinstellungen</translation>
    </message>
    <message>
        <source>New Ip Address</source>
        <translation>Neue IP-Adresse</translation>
    </message>
    <message>
        <source>New Subnet mask</source>
        <translation>Neue Subnetzmaske</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>The MAC address is incomplete. Please enter all six parts.</source>
        <translation>Die MAC-Adresse ist unvollständig. Bitte geben Sie alle sechs Teile ein.</translation>
    </message>
    <message>
        <source>The network settings could not be sent to the unit %1. Error: %2 Errorcode: %3</source>
        <translation>Die Netzwerkeinstellungen konnten nicht an das Gerät %1 gesendet werden. Fehler: %2 Fehlercode: %3</translation>
    </message>
    <message>
        <source>The unit %1 has confirmed the network settings.</source>
        <translation>Das Gerät %1 hat die Netzwerkeinstellungen bestätigt.</translation>
    </message>
</context>
</TS>
