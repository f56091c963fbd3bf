<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>QObject</name>
    <message>
        <source>Time: %1 %2 %3:%4:%5</source>
        <translation>Zeit: %1 %2 %3:%4:%5</translation>
    </message>
    <message>
        <source>unknown or invalid LOG ENTRY</source>
        <translation>unbekannter oder ungültiger LOG-EINTRAG</translation>
    </message>
    <message>
        <source>I2S FIFO Overflow Error </source>
        <translation>I2S-FIFO-Überlauf </translation>
    </message>
    <message>
        <source>SPI Bus Error/Timeout</source>
        <translation>SPI-Busfehler/Zeitüberschreitung</translation>
    </message>
    <message>
        <source>Default Config used/loaded</source>
        <translation>Standardkonfiguration verwendet/geladen</translation>
    </message>
    <message>
        <source>Watchdog Reset detected </source>
        <translation>Watchdog-Reset erkannt </translation>
    </message>
    <message>
        <source>digital</source>
        <translation>digital</translation>
    </message>
    <message>
        <source>analog</source>
        <translation>analog</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>yes ( Low = 0V )</source>
        <translation>ja ( Low = 0V )</translation>
    </message>
    <message>
        <source>no ( High = 24V )</source>
        <translation>nein ( High = 24V )</translation>
    </message>
    <message>
        <source>custom Config</source>
        <translation>benutzerdefinierte Konfiguration</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>detected</source>
        <translation>erkannt</translation>
    </message>
    <message>
        <source>not detected</source>
        <translation>nicht erkannt</translation>
    </message>
    <message>
        <source>Fieldbus module State</source>
        <translation>Feldbusmodul-Status</translation>
    </message>
    <message>
        <source>Setup</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>Init</source>
        <translation>Initialisierung</translation>
    </message>
    <message>
        <source>Wait Process</source>
        <translation>Warte auf Prozess</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Leerlauf</translation>
    </message>
    <message>
        <source>Active Process</source>
        <translation>Prozess aktiv</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Exception</source>
        <translation>Ausnahme</translation>
    </message>
    <message>
        <source>Network State</source>
        <translation>Netzwerkstatus</translation>
    </message>
    <message>
        <source>Fieldbus network State</source>
        <translation>Feldbusnetzwerk-Status</translation>
    </message>
    <message>
        <source>Watchdog</source>
        <translation>Watchdog</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>recovered</source>
        <translation>wiederhergestellt</translation>
    </message>
    <message>
        <source>watchdog State</source>
        <translation>Watchdog-Status</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Sub Netmask</source>
        <translation>Subnetzmaske</translation>
    </message>
    <message>
        <source>Connectivity Settings Changed.</source>
        <translation>Netzwerkeinstellungen geändert.</translation>
    </message>
    <message>
        <source>b0_%1</source>
        <translation>b0_%1</translation>
    </message>
    <message>
        <source>b1_%1</source>
        <translation>b1_%1</translation>
    </message>
    <message>
        <source>b2_%1</source>
        <translation>b2_%1</translation>
    </message>
    <message>
        <source>a1_%1</source>
        <translation>a1_%1</translation>
    </message>
    <message>
        <source>a2_%1</source>
        <translation>a2_%1</translation>
    </message>
    <message>
        <source>Postshift</source>
        <translation>Nachverschiebung</translation>
    </message>
    <message>
        <source>Filter ID</source>
        <translation>Filter-ID</translation>
    </message>
    <message>
        <source>Filter changed Channel %1</source>
        <translation>Filter geändert Kanal %1</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Envelope changed [10µs]</source>
        <translation>Hüllkurve geändert [10µs]</translation>
    </message>
    <message>
        <source>Channel %1 Segmenttime</source>
        <translation>Kanal %1 Segmentzeit</translation>
    </message>
    <message>
        <source>Segmenttime changed [10µs] </source>
        <translation>Segmentzeit geändert [10µs] </translation>
    </message>
    <message>
        <source>Channel %1 SKW</source>
        <translation>Kanal %1 SKW</translation>
    </message>
    <message>
        <source>Threshold changed after Reference Run</source>
        <translation>Schwellwert nach Referenzfahrt geändert</translation>
    </message>
    <message>
        <source>Threshold changed </source>
        <translation>Schwellwert geändert </translation>
    </message>
    <message>
        <source>Channel %1 Scale</source>
        <translation>Kanal %1 Skalierung</translation>
    </message>
    <message>
        <source>Scale changed after Reference Run</source>
        <translation>Skalierung nach Referenzfahrt geändert</translation>
    </message>
    <message>
        <source>Scale changed </source>
        <translation>Skalierung geändert </translation>
    </message>
    <message>
        <source>Channel %1 Value</source>
        <translation>Kanal %1 Wert</translation>
    </message>
    <message>
        <source>Statistics changed </source>
        <translation>Statistik geändert </translation>
    </message>
    <message>
        <source>Reference SKW changed after Reference Run</source>
        <translation>Referenz-SKW nach Referenzfahrt geändert</translation>
    </message>
    <message>
        <source>Reference SKW changed</source>
        <translation>Referenz-SKW geändert</translation>
    </message>
    <message>
        <source>Channel %1 Current [µA]</source>
        <translation>Kanal %1 Strom [µA]</translation>
    </message>
    <message>
        <source>Current changed after Reference Run</source>
        <translation>Strom nach Referenzfahrt geändert</translation>
    </message>
    <message>
        <source>Current changed</source>
        <translation>Strom geändert</translation>
    </message>
    <message>
        <source>Outputtype</source>
        <translation>Ausgangstyp</translation>
    </message>
    <message>
        <source>Sampling Frequency [kHz]</source>
        <translation>Abtastfrequenz [kHz]</translation>
    </message>
    <message>
        <source>Channelenable Flags</source>
        <translation>Kanalfreigabe-Flags</translation>
    </message>
    <message>
        <source>IEPE High Bias Voltage Limit [100mV]</source>
        <translation>IEPE obere Versorgungsspannungsgrenze [100mV]</translation>
    </message>
    <message>
        <source>IEPE Low Bias Voltage Limit [100mV]</source>
        <translation>IEPE untere Versorgungsspannungsgrenze [100mV]</translation>
    </message>
    <message>
        <source>SW DebounceTime [1ms]</source>
        <translation>SW-Entprellzeit [1ms]</translation>
    </message>
    <message>
        <source>Output Inverted ( Lubrication Event )</source>
        <translation>Ausgang invertiert ( Schmierereignis )</translation>
    </message>
    <message>
        <source>Common Settings changed </source>
        <translation>Allgemeine Einstellungen geändert </translation>
    </message>
    <message>
        <source>Old Outputtype</source>
        <translation>Alter Ausgangstyp</translation>
    </message>
    <message>
        <source>New Outputtype</source>
        <translation>Neuer Ausgangstyp</translation>
    </message>
    <message>
        <source>Old Output Inverted ( Lubrication Event )</source>
        <translation>Alter Ausgang invertiert ( Schmierereignis )</translation>
    </message>
    <message>
        <source>New Output Inverted ( Lubrication Event )</source>
        <translation>Neuer Ausgang invertiert ( Schmierereignis )</translation>
    </message>
    <message>
        <source>Old Channelenable Flags</source>
        <translation>Alte Kanalfreigabe-Flags</translation>
    </message>
    <message>
        <source>New Channelenable Flags</source>
        <translation>Neue Kanalfreigabe-Flags</translation>
    </message>
    <message>
        <source>Old SW DebounceTime [1ms]</source>
        <translation>Alte SW-Entprellzeit [1ms]</translation>
    </message>
    <message>
        <source>New SW DebounceTime [1ms]</source>
        <translation>Neue SW-Entprellzeit [1ms]</translation>
    </message>
    <message>
        <source>Device Settings changed </source>
        <translation>Geräteeinstellungen geändert </translation>
    </message>
    <message>
        <source>Number of Parameterset </source>
        <translation>Nummer des Parametersatzes </translation>
    </message>
    <message>
        <source>Old Channel Apply mask </source>
        <translation>Alte Kanal-Anwendungsmaske </translation>
    </message>
    <message>
        <source>New Channel Apply mask </source>
        <translation>Neue Kanal-Anwendungsmaske </translation>
    </message>
    <message>
        <source>Old ID </source>
        <translation>Alte ID </translation>
    </message>
    <message>
        <source>New ID </source>
        <translation>Neue ID </translation>
    </message>
    <message>
        <source>Device Selection changed</source>
        <translation>Geräteauswahl geändert</translation>
    </message>
    <message>
        <source>Sensor Selection changed</source>
        <translation>Sensorauswahl geändert</translation>
    </message>
    <message>
        <source>I2C Device Address </source>
        <translation>I2C-Geräteadresse </translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Zugriff</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lesen</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>I2C Bus Busy </source>
        <translation>I2C-Bus belegt </translation>
    </message>
    <message>
        <source>I2C Bus Error</source>
        <translation>I2C-Busfehler</translation>
    </message>
    <message>
        <source>I2C Bus Timeout</source>
        <translation>I2C-Bus Zeitüberschreitung</translation>
    </message>
    <message>
        <source>enIP Stack init failed </source>
        <translation>enIP-Stack-Initialisierung fehlgeschlagen </translation>
    </message>
    <message>
        <source>Errorvalue</source>
        <translation>Fehlerwert</translation>
    </message>
    <message>
        <source>ethernet Send error</source>
        <translation>Ethernet-Sendefehler</translation>
    </message>
    <message>
        <source>ethHandler init failed </source>
        <translation>ethHandler-Initialisierung fehlgeschlagen </translation>
    </message>
    <message>
        <source>Bootup succesfull</source>
        <translation>Start erfolgreich</translation>
    </message>
    <message>
        <source>Bootup failed</source>
        <translation>Start fehlgeschlagen</translation>
    </message>
    <message>
        <source>Trigger Flags </source>
        <translation>Trigger-Flags </translation>
    </message>
    <message>
        <source>Channel %1 Error</source>
        <translation>Kanal %1 Fehler</translation>
    </message>
    <message>
        <source>Over Voltage/ Open Circuit</source>
        <translation>Überspannung/ Leitungsbruch</translation>
    </message>
    <message>
        <source>Under Voltage/ Short Circuit</source>
        <translation>Unterspannung/ Kurzschluss</translation>
    </message>
    <message>
        <source>Channel %1 Bias Voltage Value</source>
        <translation>Kanal %1 Versorgungsspannung</translation>
    </message>
    <message>
        <source>Error happend during</source>
        <translation>Fehler aufgetreten bei</translation>
    </message>
    <message>
        <source>Data acquisition active</source>
        <translation>Datenerfassung aktiv</translation>
    </message>
    <message>
        <source>Data acquisition idle</source>
        <translation>Datenerfassung inaktiv</translation>
    </message>
    <message>
        <source>Bias Voltage Threshold Violation</source>
        <translation>Grenzwertverletzung der Versorgungsspannung</translation>
    </message>
    <message>
        <source>Critical Error </source>
        <translation>Kritischer Fehler </translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>New/Current Error Flags </source>
        <translation>Neue/aktuelle Fehler-Flags </translation>
    </message>
    <message>
        <source>Previous Error Flags </source>
        <translation>Vorherige Fehler-Flags </translation>
    </message>
    <message>
        <source>Error clear source ( manual/automatic ) </source>
        <translation>Fehlerquittierung ( manuell/automatisch ) </translation>
    </message>
    <message>
        <source>Automatic clear</source>
        <translation>Automatisch quittiert</translation>
    </message>
    <message>
        <source>Manual clear</source>
        <translation>Manuell quittiert</translation>
    </message>
    <message>
        <source>Error reset succesfull</source>
        <translation>Fehlerrücksetzung erfolgreich</translation>
    </message>
    <message>
        <source>Error reset failed</source>
        <translation>Fehlerrücksetzung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Violation SysTick </source>
        <translation>Verletzung SysTick </translation>
    </message>
    <message>
        <source>Minimum Trigger Threshold SysTick</source>
        <translation>Minimale Triggerschwelle SysTick</translation>
    </message>
    <message>
        <source>Maximum Trigger Threshold SysTick</source>
        <translation>Maximale Triggerschwelle SysTick</translation>
    </message>
    <message>
        <source>Minimum Trigger Timing violation</source>
        <translation>Minimale Triggerzeit unterschritten</translation>
    </message>
    <message>
        <source>Maximum Trigger Timing violation</source>
        <translation>Maximale Triggerzeit überschritten</translation>
    </message>
    <message>
        <source> Current </source>
        <translation> Strom </translation>
    </message>
    <message>
        <source> SKW </source>
        <translation> SKW </translation>
    </message>
    <message>
        <source> Scale </source>
        <translation> Skalierung </translation>
    </message>
    <message>
        <source>digital or off</source>
        <translation>digital oder aus</translation>
    </message>
    <message>
        <source>Error Source Flags</source>
        <translation>Fehlerquellen-Flags</translation>
    </message>
    <message>
        <source>No Reference Values Detected</source>
        <translation>Keine Referenzwerte erkannt</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Input Overload on Channels: </source>
        <translation>Eingangsüberlast auf Kanälen: </translation>
    </message>
    <message>
        <source>Output:</source>
        <translation>Ausgang:</translation>
    </message>
    <message>
        <source>Output Overload on Channel </source>
        <translation>Ausgangsüberlast auf Kanal </translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>of</source>
        <translation>von</translation>
    </message>
    <message>
        <source>Reference Run </source>
        <translation>Referenzfahrt </translation>
    </message>
    <message>
        <source>Measurment Run</source>
        <translation>Messlauf</translation>
    </message>
    <message>
        <source>Event Flags </source>
        <translation>Ereignis-Flags </translation>
    </message>
    <message>
        <source> Lubrication Event </source>
        <translation> Schmierereignis </translation>
    </message>
    <message>
        <source>TIMESTAMP</source>
        <translation>ZEITSTEMPEL</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>ID DESCRIPTION</source>
        <translation>ID-BESCHREIBUNG</translation>
    </message>
    <message>
        <source>TIMESTAMP 	 ID 	 ID DESCRIPTION</source>
        <translation>ZEITSTEMPEL 	 ID 	 ID-BESCHREIBUNG</translation>
    </message>
    <message>
        <source>System Information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>Hostname</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>CPU architecture</source>
        <translation>CPU-Architektur</translation>
    </message>
    <message>
        <source>Operating System Type</source>
        <translation>Betriebssystemtyp</translation>
    </message>
    <message>
        <source>Operating System Version</source>
        <translation>Betriebssystemversion</translation>
    </message>
    <message>
        <source>SST Version Information</source>
        <translation>SST-Versionsinformationen</translation>
    </message>
    <message>
        <source>SST Version</source>
        <translation>SST-Version</translation>
    </message>
    <message>
        <source>QT Version</source>
        <translation>QT-Version</translation>
    </message>
    <message>
        <source>PPU Version Information</source>
        <translation>PPU-Versionsinformationen</translation>
    </message>
    <message>
        <source>Ethernet Protocoll Version</source>
        <translation>Ethernet-Protokollversion</translation>
    </message>
    <message>
        <source>Flash Protocoll Version</source>
        <translation>Flash-Protokollversion</translation>
    </message>
    <message>
        <source>Firmware Version</source>
        <translation>Firmwareversion</translation>
    </message>
    <message>
        <source>Firmware Modified</source>
        <translation>Firmware verändert</translation>
    </message>
    <message>
        <source>Hardware Revision Module</source>
        <translation>Hardwarerevision Modul</translation>
    </message>
    <message>
        <source>Generell System Information </source>
        <translation>Allgemeine Systeminformationen </translation>
    </message>
    <message>
        <source>ID: </source>
        <translation>ID: </translation>
    </message>
</context>
<context>
    <name>TreeModel</name>
    <message>
        <source>Timestamp</source>
        <translation>Zeitstempel</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
<context>
    <name>DeviceLog</name>
    <message>
        <source>The log ended in a cut record. Bytes dropped after the last whole record: %1</source>
        <translation>Das Protokoll endete mit einem abgeschnittenen Eintrag. Nach dem letzten vollständigen Eintrag verworfene Bytes: %1</translation>
    </message>
</context>
<context>
    <name>LogSave</name>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 ist ein Ordner</translation>
    </message>
    <message>
        <source>no permission to write %1</source>
        <translation>keine Berechtigung, %1 zu schreiben</translation>
    </message>
    <message>
        <source>no permission to write in the folder %1</source>
        <translation>keine Berechtigung, in den Ordner %1 zu schreiben</translation>
    </message>
    <message>
        <source>the content could not be written</source>
        <translation>der Inhalt konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>LogFile</name>
    <message>
        <source>The LOG file is damaged: its record section says it holds no records (-1), but %1 bytes follow it.</source>
        <translation>Die LOG-Datei ist beschädigt: ihr Eintragsteil gibt an, keine Einträge zu enthalten (-1), es folgen aber %1 Bytes.</translation>
    </message>
    <message>
        <source>The LOG file is damaged: its records have the length %1.</source>
        <translation>Die LOG-Datei ist beschädigt: ihre Einträge haben die Länge %1.</translation>
    </message>
    <message>
        <source>The LOG file is damaged: its records claim %1 bytes, more than the %2 bytes (128 MiB) that any log can hold.</source>
        <translation>Die LOG-Datei ist beschädigt: ihre Einträge geben %1 Bytes an, mehr als die %2 Bytes (128 MiB), die ein Protokoll höchstens umfassen kann.</translation>
    </message>
    <message>
        <source>The LOG file&apos;s records end in a cut record: %1 bytes after the last whole record were not read.</source>
        <translation>Die Einträge der LOG-Datei enden mit einem abgeschnittenen Eintrag: %1 Bytes nach dem letzten vollständigen Eintrag wurden nicht gelesen.</translation>
    </message>
    <message>
        <source>The LOG file holds %1 bytes after its records; they were not read.</source>
        <translation>Die LOG-Datei enthält nach ihren Einträgen %1 Bytes; sie wurden nicht gelesen.</translation>
    </message>
    <message>
        <source>The LOG file is damaged: the %1 has the length %2.</source>
        <translation>Die LOG-Datei ist beschädigt: „%1“ hat die Länge %2.</translation>
    </message>
    <message>
        <source>The LOG file is cut short: the %1 needs %2 bytes, but only %3 remain.</source>
        <translation>Die LOG-Datei ist unvollständig: „%1“ braucht %2 Bytes, es bleiben aber nur %3.</translation>
    </message>
    <message>
        <source>The LOG file is cut short inside its records: they need %1 bytes, but only %2 remain. The %3 whole records before the cut were read.</source>
        <translation>Die LOG-Datei ist innerhalb ihrer Einträge abgeschnitten: sie brauchen %1 Bytes, es bleiben aber nur %2. Die %3 vollständigen Einträge vor dem Schnitt wurden gelesen.</translation>
    </message>
    <message>
        <source>The LOG file is cut short: it ends before the %1.</source>
        <translation>Die LOG-Datei ist unvollständig: sie endet vor „%1“.</translation>
    </message>
    <message>
        <source>unit identification</source>
        <translation>Gerätekennung</translation>
    </message>
    <message>
        <source>Qt version</source>
        <translation>Qt-Version</translation>
    </message>
    <message>
        <source>tool version</source>
        <translation>Programmversion</translation>
    </message>
    <message>
        <source>host name</source>
        <translation>Rechnername</translation>
    </message>
    <message>
        <source>CPU architecture</source>
        <translation>CPU-Architektur</translation>
    </message>
    <message>
        <source>kernel</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>operating system</source>
        <translation>Betriebssystem</translation>
    </message>
    <message>
        <source>records</source>
        <translation>Einträge</translation>
    </message>
</context>
<context>
    <name>LoghandlerCont</name>
    <message>
        <source>Evaluating Log...</source>
        <translation>Protokoll wird ausgewertet...</translation>
    </message>
    <message>
        <source>SKW Value in digits</source>
        <translation>SKW-Wert in Digits</translation>
    </message>
    <message>
        <source>Timestamp Value</source>
        <translation>Zeitstempel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source> %1:%2 	 %3:%4:%5 </source>
        <translation> %1:%2 	 %3:%4:%5 </translation>
    </message>
    <message>
        <source>Select Filename</source>
        <translation>Dateinamen wählen</translation>
    </message>
</context>
<context>
    <name>LogTab</name>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Korvantis Time:</source>
        <translation>Korvantis-Zeit:</translation>
    </message>
    <message>
        <source>YY:DDD HH:MM:SS</source>
        <translation>JJ:TTT HH:MM:SS</translation>
    </message>
    <message>
        <source>Write log to file</source>
        <translation>Protokoll in Datei schreiben</translation>
    </message>
    <message>
        <source>Log List</source>
        <translation>Protokollliste</translation>
    </message>
    <message>
        <source>SKW History</source>
        <translation>SKW-Verlauf</translation>
    </message>
    <message>
        <source>Read Log</source>
        <translation>Protokoll lesen</translation>
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
        <source>Export to .csv</source>
        <translation>Als .csv exportieren</translation>
    </message>
    <message>
        <source> --:--- 	 --:--:-- </source>
        <translation> --:--- 	 --:--:-- </translation>
    </message>
    <message>
        <source> %1:%2 	 %3:%4:%5 </source>
        <translation> %1:%2 	 %3:%4:%5 </translation>
    </message>
    <message>
        <source>Get Log failed. Error: %1 Errorcode: %2</source>
        <translation>Lesen des Protokolls fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Select Filename</source>
        <translation>Dateinamen wählen</translation>
    </message>
    <message>
        <source>Save Csv failed. Error: %1 Errorcode: %2</source>
        <translation>Speichern der CSV-Datei fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Nothing to export: the log shown holds no SKW values, errors or configuration changes.</source>
        <translation>Nichts zu exportieren: das angezeigte Protokoll enthält keine SKW-Werte, Fehler oder Konfigurationsänderungen.</translation>
    </message>
</context>
</TS>
