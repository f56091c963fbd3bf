<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfigurationTile</name>
    <message>
        <source>Tile Text Label</source>
        <translation>Kacheltext</translation>
    </message>
    <message>
        <source>Label interaction Text</source>
        <translation>Aktionstext</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Korvantis Service Setup Tool</source>
        <translation>Korvantis Service Setup Tool</translation>
    </message>
    <message>
        <source>Overview</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>Data Acquisition</source>
        <translation>Datenerfassung</translation>
    </message>
    <message>
        <source>Configure</source>
        <translation>Konfigurieren</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Edit connection</source>
        <translation>Verbindung bearbeiten</translation>
    </message>
    <message>
        <source>Connect to Device</source>
        <translation>Mit Gerät verbinden</translation>
    </message>
    <message>
        <source>Restart PPU</source>
        <translation>PPU neu starten</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Collect Data</source>
        <translation>Daten erfassen</translation>
    </message>
    <message>
        <source>Time interval</source>
        <translation>Zeitintervall</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Reference Run</source>
        <translation>Referenzfahrt</translation>
    </message>
    <message>
        <source>View Data</source>
        <translation>Daten ansehen</translation>
    </message>
    <message>
        <source>Select Channel(s)</source>
        <translation>Kanal/Kanäle wählen</translation>
    </message>
    <message>
        <source>Analysis</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Read raw input Data</source>
        <translation>Eingangsrohdaten lesen</translation>
    </message>
    <message>
        <source>Read SKW</source>
        <translation>SKW lesen</translation>
    </message>
    <message>
        <source>Export to .csv</source>
        <translation>Als .csv exportieren</translation>
    </message>
    <message>
        <source>Channels SKW Data</source>
        <translation>SKW-Daten der Kanäle</translation>
    </message>
    <message>
        <source>Uses software under LGPL</source>
        <translation>Verwendet Software unter LGPL</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>License</source>
        <translation>Lizenz</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Scaling</source>
        <translation>Skalierung</translation>
    </message>
    <message>
        <source>PPU Network Settings</source>
        <translation>Netzwerk der PPU</translation>
    </message>
    <message>
        <source>View Configuration</source>
        <translation>Konfiguration ansehen</translation>
    </message>
    <message>
        <source>Common Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Sensor Parameter</source>
        <translation>Sensorparameter</translation>
    </message>
    <message>
        <source>Channel Parameter</source>
        <translation>Kanalparameter</translation>
    </message>
    <message>
        <source>Reference Setup</source>
        <translation>Referenz einstellen</translation>
    </message>
    <message>
        <source>Fieldbus Configuration</source>
        <translation>Feldbus­konfiguration</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>View Options</source>
        <translation>Optionen ansehen</translation>
    </message>
    <message>
        <source>title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>enabled channel with no reference values</source>
        <translation>aktivierter Kanal ohne Referenzwerte</translation>
    </message>
    <message>
        <source>enabled channel with default/custom sensor</source>
        <translation>aktivierter Kanal mit Standard-/Benutzersensor</translation>
    </message>
    <message>
        <source>enabled channel with default/custom configuration</source>
        <translation>aktivierter Kanal mit Standard-/Benutzerkonfiguration</translation>
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
        <source>Do you want to Read the Config from the selected Device</source>
        <translation>Möchten Sie die Konfiguration vom ausgewählten Gerät lesen?</translation>
    </message>
    <message>
        <source>The PPU at %1 does not answer. The tool keeps trying to reach it.</source>
        <translation>Die PPU unter %1 antwortet nicht. Das Programm versucht weiter, sie zu erreichen.</translation>
    </message>
    <message>
        <source>Read device name failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen des Gerätenamens fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Read Channel name failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen des Kanalnamens fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Read device configuration failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen der Gerätekonfiguration fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>A firmware update is running. KorvantisSetup can be closed when it has ended.</source>
        <translation>Eine Firmware-Aktualisierung läuft. KorvantisSetup kann geschlossen werden, wenn sie beendet ist.</translation>
    </message>
    <message>
        <source>A firmware update is running: KorvantisSetup does not restart now. The new scale applies at its next start.</source>
        <translation>Eine Firmware-Aktualisierung läuft: KorvantisSetup wird jetzt nicht neu gestartet. Die neue Skalierung gilt ab dem nächsten Start.</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Channel Status:</source>
        <translation>Kanalstatus:</translation>
    </message>
    <message>
        <source>Reset Error</source>
        <translation>Fehler zurücksetzen</translation>
    </message>
    <message>
        <source>No Errors</source>
        <translation>Keine Fehler</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Fieldbus Status:</source>
        <translation>Feldbusstatus:</translation>
    </message>
    <message>
        <source>Network Type</source>
        <translation>Netzwerktyp</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Communication State</source>
        <translation>Kommunikationszustand</translation>
    </message>
    <message>
        <source>I2C Timeout</source>
        <translation>I2C-Zeitüberschreitung</translation>
    </message>
    <message>
        <source>I2C Error</source>
        <translation>I2C-Fehler</translation>
    </message>
    <message>
        <source>I2S Data Lost</source>
        <translation>I2S-Daten verloren</translation>
    </message>
    <message>
        <source>Ethernet Stack</source>
        <translation>Ethernet-Stack</translation>
    </message>
    <message>
        <source>Ethernet Application Stack</source>
        <translation>Ethernet-Anwendungsstack</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 1</source>
        <translation>Biasspannung Kanal 1</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 2</source>
        <translation>Biasspannung Kanal 2</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 3</source>
        <translation>Biasspannung Kanal 3</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 4</source>
        <translation>Biasspannung Kanal 4</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 5</source>
        <translation>Biasspannung Kanal 5</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 6</source>
        <translation>Biasspannung Kanal 6</translation>
    </message>
    <message>
        <source>Bias Voltage Channel 7</source>
        <translation>Biasspannung Kanal 7</translation>
    </message>
    <message>
        <source>Trigger Maximum Timing</source>
        <translation>Trigger maximale Zeit</translation>
    </message>
    <message>
        <source>Trigger Minimum Timing</source>
        <translation>Trigger minimale Zeit</translation>
    </message>
    <message>
        <source>SPI</source>
        <translation>SPI</translation>
    </message>
    <message>
        <source>Default Config Usage ( unconfigured )</source>
        <translation>Standardkonfiguration in Verwendung ( unkonfiguriert )</translation>
    </message>
    <message>
        <source>No Reference Values</source>
        <translation>Keine Referenzwerte</translation>
    </message>
    <message>
        <source>Input Overload</source>
        <translation>Eingangsüberlast</translation>
    </message>
    <message>
        <source>Output Overload Channel 1</source>
        <translation>Ausgangsüberlast Kanal 1</translation>
    </message>
    <message>
        <source>Output Overload Channel 2</source>
        <translation>Ausgangsüberlast Kanal 2</translation>
    </message>
    <message>
        <source>Output Overload Channel 3</source>
        <translation>Ausgangsüberlast Kanal 3</translation>
    </message>
    <message>
        <source>Output Overload Channel 4</source>
        <translation>Ausgangsüberlast Kanal 4</translation>
    </message>
    <message>
        <source>Output Overload Channel 5</source>
        <translation>Ausgangsüberlast Kanal 5</translation>
    </message>
    <message>
        <source>Output Overload Channel 6</source>
        <translation>Ausgangsüberlast Kanal 6</translation>
    </message>
    <message>
        <source>Output Overload Channel 7</source>
        <translation>Ausgangsüberlast Kanal 7</translation>
    </message>
    <message>
        <source>no Error</source>
        <translation>kein Fehler</translation>
    </message>
    <message>
        <source>no Module Detected</source>
        <translation>kein Modul erkannt</translation>
    </message>
    <message>
        <source>Module not supported</source>
        <translation>Modul nicht unterstützt</translation>
    </message>
    <message>
        <source>Module not answering</source>
        <translation>Modul antwortet nicht</translation>
    </message>
    <message>
        <source>reset Module</source>
        <translation>Modul zurücksetzen</translation>
    </message>
    <message>
        <source>shutdown Module</source>
        <translation>Modul herunterfahren</translation>
    </message>
    <message>
        <source>unexpected Error</source>
        <translation>unerwarteter Fehler</translation>
    </message>
    <message>
        <source>not ready for communication</source>
        <translation>nicht kommunikationsbereit</translation>
    </message>
    <message>
        <source>ready for communication</source>
        <translation>kommunikationsbereit</translation>
    </message>
    <message>
        <source>communication error</source>
        <translation>Kommunikationsfehler</translation>
    </message>
    <message>
        <source>No Error</source>
        <translation>Kein Fehler</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Connected to </source>
        <translation>Verbunden mit </translation>
    </message>
    <message>
        <source>disabled</source>
        <translation>deaktiviert</translation>
    </message>
    <message>
        <source>The Channel is disabled</source>
        <translation>Der Kanal ist deaktiviert</translation>
    </message>
    <message>
        <source>open</source>
        <translation>offen</translation>
    </message>
    <message>
        <source>Sensor open circuit or high impedance</source>
        <translation>Sensor offen oder hochohmig</translation>
    </message>
    <message>
        <source>short</source>
        <translation>Kurzschluss</translation>
    </message>
    <message>
        <source>Sensor short circuit or low impedance</source>
        <translation>Sensor kurzgeschlossen oder niederohmig</translation>
    </message>
    <message>
        <source>Sensor connected</source>
        <translation>Sensor verbunden</translation>
    </message>
    <message>
        <source>Current SKW: %1</source>
        <translation>Aktueller SKW: %1</translation>
    </message>
    <message>
        <source>Current SKW:  </source>
        <translation>Aktueller SKW:  </translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>critical Error!</source>
        <translation>kritischer Fehler!</translation>
    </message>
    <message>
        <source>unknown Error?</source>
        <translation>unbekannter Fehler?</translation>
    </message>
    <message>
        <source>critical Error! </source>
        <translation>kritischer Fehler! </translation>
    </message>
    <message>
        <source>Link present</source>
        <translation>Link vorhanden</translation>
    </message>
    <message>
        <source>no Link present</source>
        <translation>kein Link vorhanden</translation>
    </message>
    <message>
        <source>Not connected </source>
        <translation>Nicht verbunden </translation>
    </message>
</context>
</TS>
