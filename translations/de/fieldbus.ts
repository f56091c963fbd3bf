<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FieldbusActionbar</name>
    <message>
        <source>disable FTP</source>
        <translation>FTP deaktivieren</translation>
    </message>
    <message>
        <source>enable FTP</source>
        <translation>FTP aktivieren</translation>
    </message>
    <message>
        <source>Read Fieldbus Configuration</source>
        <translation>Feldbuskonfiguration lesen</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Resets Fieldbus module&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Setzt das Feldbusmodul zurück&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Apply Fieldbus Configuration</source>
        <translation>Feldbuskonfiguration übernehmen</translation>
    </message>
    <message>
        <source>The fieldbus configuration is still being applied. Please wait until it has finished.</source>
        <translation>Die Feldbuskonfiguration wird noch übernommen. Bitte warten Sie, bis der Vorgang abgeschlossen ist.</translation>
    </message>
    <message>
        <source>Failed to write the fieldbus config to the Device! Errorcode: %1</source>
        <translation>Die Feldbuskonfiguration konnte nicht auf das Gerät geschrieben werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Read Config</source>
        <translation>Konfiguration lesen</translation>
    </message>
    <message>
        <source>Do you want to reset the fieldbus module to apply the settings?</source>
        <translation>Soll das Feldbusmodul zurückgesetzt werden, um die Einstellungen zu übernehmen?</translation>
    </message>
    <message>
        <source>Reset Fieldbus module</source>
        <translation>Feldbusmodul zurücksetzen</translation>
    </message>
    <message>
        <source>Failed to read the fieldbus config from the Device! Errorcode: %1</source>
        <translation>Die Feldbuskonfiguration konnte nicht vom Gerät gelesen werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Failed to reset the fieldbus module! Errorcode: %1</source>
        <translation>Das Feldbusmodul konnte nicht zurückgesetzt werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Failed enable FTP of Fieldbus module! Errorcode: %1</source>
        <translation>FTP des Feldbusmoduls konnte nicht aktiviert werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Failed disbable FTP of Fieldbus module! Errorcode: %1</source>
        <translation>FTP des Feldbusmoduls konnte nicht deaktiviert werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>this unit reports no fieldbus module.</source>
        <translation>Dieses Gerät meldet kein Feldbusmodul.</translation>
    </message>
    <message>
        <source>the fieldbus configuration on this page is made for a module of type %1, but this unit's module is of type %2. Click &quot;Read Fieldbus Configuration&quot; to edit the unit's own settings, or load a configuration file made for a module of type %2.</source>
        <translation>Die Feldbuskonfiguration auf dieser Seite ist für ein Modul des Typs %1 bestimmt, das Modul dieses Geräts ist jedoch vom Typ %2. Klicken Sie auf „Feldbuskonfiguration lesen“, um die eigenen Einstellungen des Geräts zu bearbeiten, oder laden Sie eine Konfigurationsdatei für ein Modul des Typs %2.</translation>
    </message>
    <message>
        <source>this unit's fieldbus configuration has not been read yet. Click &quot;Read Fieldbus Configuration&quot; first (or load a configuration file).</source>
        <translation>Die Feldbuskonfiguration dieses Geräts wurde noch nicht gelesen. Klicken Sie zuerst auf „Feldbuskonfiguration lesen“ (oder laden Sie eine Konfigurationsdatei).</translation>
    </message>
    <message>
        <source>the fieldbus configuration on this page has not been read from this unit since it was connected. Click &quot;Read Fieldbus Configuration&quot; first (or load a configuration file of this unit).</source>
        <translation>Die Feldbuskonfiguration auf dieser Seite wurde nicht von diesem Gerät gelesen, seit es verbunden ist. Klicken Sie zuerst auf „Feldbuskonfiguration lesen“ (oder laden Sie eine Konfigurationsdatei dieses Geräts).</translation>
    </message>
    <message>
        <source>the unit's configuration was reset after its fieldbus configuration was read, so the page no longer shows what the unit holds. Click &quot;Read Fieldbus Configuration&quot; first.</source>
        <translation>Die Konfiguration des Geräts wurde zurückgesetzt, nachdem seine Feldbuskonfiguration gelesen wurde; die Seite zeigt also nicht mehr, was das Gerät enthält. Klicken Sie zuerst auf „Feldbuskonfiguration lesen“.</translation>
    </message>
    <message>
        <source>the unit's network settings were reset (&quot;Reset Network Settings&quot;) after its fieldbus configuration was read, so the page may no longer show what the unit holds. Click &quot;Read Fieldbus Configuration&quot; first.</source>
        <translation>Die Netzwerkeinstellungen des Geräts wurden zurückgesetzt („Netzwerkeinstellungen zurücksetzen“), nachdem seine Feldbuskonfiguration gelesen wurde; die Seite zeigt also möglicherweise nicht mehr, was das Gerät enthält. Klicken Sie zuerst auf „Feldbuskonfiguration lesen“.</translation>
    </message>
    <message>
        <source>the configuration file was loaded before this unit was connected, so its fieldbus configuration is not taken for this unit. Load the file again now that the unit is connected, or click &quot;Read Fieldbus Configuration&quot;.</source>
        <translation>Die Konfigurationsdatei wurde geladen, bevor dieses Gerät verbunden war; ihre Feldbuskonfiguration wird daher nicht für dieses Gerät übernommen. Laden Sie die Datei erneut, jetzt da das Gerät verbunden ist, oder klicken Sie auf „Feldbuskonfiguration lesen“.</translation>
    </message>
    <message>
        <source>Nothing was written: %1</source>
        <translation>Nichts geschrieben: %1</translation>
    </message>
    <message>
        <source>The fieldbus configuration on this page comes from a configuration file that does not name the unit it was read from.</source>
        <translation>Die Feldbuskonfiguration auf dieser Seite stammt aus einer Konfigurationsdatei, die nicht angibt, von welchem Gerät sie gelesen wurde.</translation>
    </message>
    <message>
        <source>The fieldbus configuration on this page comes from a configuration file of another unit (MAC address %1; this unit: %2).</source>
        <translation>Die Feldbuskonfiguration auf dieser Seite stammt aus der Konfigurationsdatei eines anderen Geräts (MAC-Adresse %1; dieses Gerät: %2).</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>&quot;Apply Fieldbus Configuration&quot; asks before it writes it to this unit.</source>
        <translation>„Feldbuskonfiguration übernehmen“ fragt, bevor sie auf dieses Gerät geschrieben wird.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Fieldbus Configuration of Another Unit</source>
        <translation>Feldbuskonfiguration eines anderen Geräts</translation>
    </message>
    <message>
        <source>Writing it gives this unit's fieldbus module the addresses and names of the other module, such as its IP address and station name. Do you want to write it to this unit?</source>
        <translation>Damit erhält das Feldbusmodul dieses Geräts die Adressen und Namen des anderen Moduls, etwa seine IP-Adresse und seinen Stationsnamen. Möchten Sie sie auf dieses Gerät schreiben?</translation>
    </message>
    <message>
        <source>network type %1</source>
        <translation>Netzwerktyp %1</translation>
    </message>
</context>
<context>
    <name>FieldbusConfig</name>
    <message>
        <source>Fieldbus Config</source>
        <translation>Feldbuskonfiguration</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Default Gateway</source>
        <translation>Standardgateway</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>Subnetzmaske</translation>
    </message>
    <message>
        <source>Primary DNS</source>
        <translation>Primärer DNS</translation>
    </message>
    <message>
        <source>Secondary DNS</source>
        <translation>Sekundärer DNS</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Hostname</translation>
    </message>
    <message>
        <source>Domain Name</source>
        <translation>Domänenname</translation>
    </message>
    <message>
        <source>SMTP User</source>
        <translation>SMTP-Benutzer</translation>
    </message>
    <message>
        <source>SMTP Password</source>
        <translation>SMTP-Passwort</translation>
    </message>
    <message>
        <source>SMTP Server</source>
        <translation>SMTP-Server</translation>
    </message>
    <message>
        <source>Station Name</source>
        <translation>Stationsname</translation>
    </message>
    <message>
        <source>Device ID</source>
        <translation>Geräte-ID</translation>
    </message>
    <message>
        <source>Ethernet Communication Settings 1</source>
        <translation>Ethernet-Kommunikationseinstellungen 1</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>10 HDX</source>
        <translation>10 HDX</translation>
    </message>
    <message>
        <source>10 FX</source>
        <translation>10 FX</translation>
    </message>
    <message>
        <source>100 HDX</source>
        <translation>100 HDX</translation>
    </message>
    <message>
        <source>100 FX</source>
        <translation>100 FX</translation>
    </message>
    <message>
        <source>Ethernet Communication Settings 2</source>
        <translation>Ethernet-Kommunikationseinstellungen 2</translation>
    </message>
    <message>
        <source>MDI 1</source>
        <translation>MDI 1</translation>
    </message>
    <message>
        <source>MDI</source>
        <translation>MDI</translation>
    </message>
    <message>
        <source>MDIX</source>
        <translation>MDIX</translation>
    </message>
    <message>
        <source>MDI 2</source>
        <translation>MDI 2</translation>
    </message>
    <message>
        <source>Modbus Connection Timeout</source>
        <translation>Modbus-Verbindungs-Timeout</translation>
    </message>
    <message>
        <source>The Connection Timeout Value ( 0 seconds disabled, 60s default )</source>
        <translation>Der Verbindungs-Timeout ( 0 Sekunden deaktiviert, Standard 60 s )</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Process active timeout</source>
        <translation>Prozess-aktiv-Timeout</translation>
    </message>
    <message>
        <source>The Process active timeout value ( default = 0ms ( disabled ) )</source>
        <translation>Der Prozess-aktiv-Timeout ( Standard = 0 ms ( deaktiviert ) )</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Byte/Word Order</source>
        <translation>Byte-/Wortreihenfolge</translation>
    </message>
    <message>
        <source>Little Endian</source>
        <translation>Little Endian</translation>
    </message>
    <message>
        <source>Big Endian</source>
        <translation>Big Endian</translation>
    </message>
    <message>
        <source>Node ID</source>
        <translation>Knoten-ID</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not an IPv4 address; each of its four parts must be a number from 0 to 255. The field keeps %3.</source>
        <translation>%1: „%2“ ist keine IPv4-Adresse; jeder ihrer vier Teile muss eine Zahl von 0 bis 255 sein. Das Feld behält %3.</translation>
    </message>
    <message>
        <source>%1: the text takes %2 bytes, but the field holds at most %3 bytes (a character outside plain ASCII, such as an umlaut, takes two or more). The field keeps its previous text.</source>
        <translation>%1: Der Text belegt %2 Bytes, das Feld fasst aber höchstens %3 Bytes (ein Zeichen außerhalb von reinem ASCII, etwa ein Umlaut, belegt zwei oder mehr). Das Feld behält seinen bisherigen Text.</translation>
    </message>
</context>
</TS>
