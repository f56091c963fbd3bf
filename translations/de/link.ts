<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfigFile</name>
    <message>
        <source>name longer than %1 bytes</source>
        <translation>Name länger als %1 Bytes</translation>
    </message>
    <message>
        <source>name is not valid UTF-8</source>
        <translation>Name ist kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>channel name holds a double quote or a semicolon</source>
        <translation>Kanalname enthält ein doppeltes Anführungszeichen oder ein Semikolon</translation>
    </message>
    <message>
        <source>file ends before block %1</source>
        <translation>Datei endet vor Block %1</translation>
    </message>
    <message>
        <source>unsupported file version</source>
        <translation>nicht unterstützte Dateiversion</translation>
    </message>
    <message>
        <source>block %1 has %2 bytes instead of %3</source>
        <translation>Block %1 hat %2 Bytes statt %3</translation>
    </message>
    <message>
        <source>file ends inside block %1</source>
        <translation>Datei endet innerhalb von Block %1</translation>
    </message>
    <message>
        <source>unsupported file version %1</source>
        <translation>nicht unterstützte Dateiversion %1</translation>
    </message>
    <message>
        <source>%1 bytes after the last block</source>
        <translation>%1 Bytes nach dem letzten Block</translation>
    </message>
    <message>
        <source>more bytes than a configuration file holds</source>
        <translation>mehr Bytes, als eine Konfigurationsdatei enthält</translation>
    </message>
    <message>
        <source>the file has %1 bytes, a configuration file %2</source>
        <translation>die Datei hat %1 Bytes, eine Konfigurationsdatei %2</translation>
    </message>
    <message>
        <source>device name: </source>
        <translation>Gerätename: </translation>
    </message>
    <message>
        <source>name of channel %1: </source>
        <translation>Name von Kanal %1: </translation>
    </message>
</context>
<context>
    <name>Confighandler</name>
    <message>
        <source> ...</source>
        <translation> ...</translation>
    </message>
    <message>
        <source>Not Connected to Device. Couldn't save Config to device</source>
        <translation>Nicht mit dem Gerät verbunden. Die Konfiguration konnte nicht auf dem Gerät gespeichert werden</translation>
    </message>
    <message>
        <source>The Config Write init Failed</source>
        <translation>Das Einleiten des Konfigurationsschreibens ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>The Config Write Failed</source>
        <translation>Das Schreiben der Konfiguration ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>The Config Write/Save was sucessfull</source>
        <translation>Die Konfiguration wurde erfolgreich geschrieben und gespeichert</translation>
    </message>
    <message>
        <source>Failed to write the device name to the Device!</source>
        <translation>Der Gerätename konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the channel name to the Device!</source>
        <translation>Der Kanalname konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to read MAC Address of connected Device!</source>
        <translation>Die MAC-Adresse des verbundenen Geräts konnte nicht gelesen werden!</translation>
    </message>
    <message>
        <source>MAC address PPU: </source>
        <translation>MAC-Adresse der PPU: </translation>
    </message>
    <message>
        <source>MAC address SST configuration: </source>
        <translation>MAC-Adresse der SST-Konfiguration: </translation>
    </message>
    <message>
        <source>( default MAC Address )</source>
        <translation>( Standard-MAC-Adresse )</translation>
    </message>
    <message>
        <source>Different MAC Address of the Device and the SST Config found. 
 The Reference Values will be set to an invalid Value!</source>
        <translation>Die MAC-Adresse des Geräts und die der SST-Konfiguration unterscheiden sich. 
 Die Referenzwerte werden auf einen ungültigen Wert gesetzt!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Proceed</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>MAC Conflict</source>
        <translation>MAC-Konflikt</translation>
    </message>
    <message>
        <source>Failed to write the config to the Device!</source>
        <translation>Die Konfiguration konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the output config to the Device!</source>
        <translation>Die Ausgangskonfiguration konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the output inversion config to the Device!</source>
        <translation>Die Ausgangsinvertierung konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the channelenable config to the Device!</source>
        <translation>Die Kanalfreigaben konnten nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the debounce time to the Device!</source>
        <translation>Die Entprellzeit konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to read Reference SKW Value from the Device!</source>
        <translation>Der Referenz-SKW-Wert konnte nicht vom Gerät gelesen werden!</translation>
    </message>
    <message>
        <source>Failed to write the scale config to the Device!</source>
        <translation>Die Skalierung konnte nicht auf das Gerät geschrieben werden!</translation>
    </message>
    <message>
        <source>Failed to write the threshold config to the Device!</source>
        <translation>Der Schwellwert konnte nicht auf das Gerät geschrieben werden!</translation>
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
        <source>Reference State conflict</source>
        <translation>Konflikt des Referenzzustands</translation>
    </message>
    <message>
        <source>Reference SKW State in SST and PPU does not match! Overwrite the PPU Config without the reference values? </source>
        <translation>Der Referenz-SKW-Zustand von SST und PPU stimmt nicht überein! Die PPU-Konfiguration ohne die Referenzwerte überschreiben? </translation>
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
        <source>Failed to set ip address! Errorcode: %1</source>
        <translation>Die IP-Adresse konnte nicht gesetzt werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Failed to set sub net mask! Errorcode: %1</source>
        <translation>Die Subnetzmaske konnte nicht gesetzt werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Failed to set ip Address! Errorcode: %1</source>
        <translation>Die IP-Adresse konnte nicht gesetzt werden! Fehlercode: %1</translation>
    </message>
    <message>
        <source>Modified Config</source>
        <translation>Geänderte Konfiguration</translation>
    </message>
    <message>
        <source>The Config was modified from the PPU! Do you want to refresh the Config from the selected Device</source>
        <translation>Die Konfiguration wurde von der PPU geändert! Möchten Sie die Konfiguration vom ausgewählten Gerät neu lesen?</translation>
    </message>
    <message>
        <source>The Config Save Failed</source>
        <translation>Das Speichern der Konfiguration ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>The Config Save was successfull</source>
        <translation>Die Konfiguration wurde erfolgreich gespeichert</translation>
    </message>
    <message>
        <source>Select Filename</source>
        <translation>Dateinamen wählen</translation>
    </message>
    <message>
        <source>Keep Parameters</source>
        <translation>Parameter behalten</translation>
    </message>
    <message>
        <source>Overwrite Parameters</source>
        <translation>Parameter überschreiben</translation>
    </message>
    <message>
        <source>Different Connection Parameters detected</source>
        <translation>Abweichende Verbindungsparameter erkannt</translation>
    </message>
    <message>
        <source>Do you want to overwrite and save the Connection Parameters of the Device?
 Otherwise the current parameters are not changed!</source>
        <translation>Möchten Sie die Verbindungsparameter des Geräts überschreiben und speichern?
 Andernfalls bleiben die aktuellen Parameter unverändert!</translation>
    </message>
    <message>
        <source>Detected invalid Device Common Config! Config ignored.</source>
        <translation>Ungültige allgemeine Gerätekonfiguration erkannt! Die Konfiguration wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>Detected invalid Device Channel Config! Config ignored.</source>
        <translation>Ungültige Kanalkonfiguration des Geräts erkannt! Die Konfiguration wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>Detected invalid Device Config! Config ignored.</source>
        <translation>Ungültige Gerätekonfiguration erkannt! Die Konfiguration wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>There were no valid Reference values found for the following channels: </source>
        <translation>Für folgende Kanäle wurden keine gültigen Referenzwerte gefunden: </translation>
    </message>
    <message>
        <source>Found active Channel with default config! Deactivate the Channels or configure them. </source>
        <translation>Aktiver Kanal mit Standardkonfiguration gefunden! Deaktivieren Sie die Kanäle oder konfigurieren Sie sie. </translation>
    </message>
    <message>
        <source>Detected invalid Channel Config! Config ignored.</source>
        <translation>Ungültige Kanalkonfiguration erkannt! Die Konfiguration wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>Detected invalid Sensor Config! Config ignored.</source>
        <translation>Ungültige Sensorkonfiguration erkannt! Die Konfiguration wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>The device name was not changed: it has %1 bytes in UTF-8, at most %2 are possible.</source>
        <translation>Der Gerätename wurde nicht geändert: Er hat %1 Bytes in UTF-8, möglich sind höchstens %2.</translation>
    </message>
    <message>
        <source>The channel name was not changed: it must not contain a semicolon (;) or a double quote (&quot;).</source>
        <translation>Der Kanalname wurde nicht geändert: Er darf kein Semikolon (;) und kein doppeltes Anführungszeichen (&quot;) enthalten.</translation>
    </message>
    <message>
        <source>The channel name was not changed: it has %1 bytes in UTF-8, at most %2 are possible.</source>
        <translation>Der Kanalname wurde nicht geändert: Er hat %1 Bytes in UTF-8, möglich sind höchstens %2.</translation>
    </message>
    <message>
        <source>The file was saved without the fieldbus configuration: the one on the fieldbus page was not read from the unit whose configuration the file holds. To save it too, connect to that unit, click &quot;Read Fieldbus Configuration&quot; and export again.</source>
        <translation>Die Datei wurde ohne die Feldbuskonfiguration gespeichert: Die Konfiguration auf der Feldbusseite wurde nicht von dem Gerät gelesen, dessen Konfiguration die Datei enthält. Um sie mitzuspeichern, verbinden Sie sich mit diesem Gerät, klicken Sie auf „Feldbuskonfiguration lesen“ und exportieren Sie erneut.</translation>
    </message>
    <message>
        <source>The write was stopped by your choice (&quot;Cancel&quot; on &quot;MAC Conflict&quot;). Nothing was written to the unit.</source>
        <translation>Das Schreiben wurde durch Ihre Wahl abgebrochen („Abbrechen“ bei „MAC-Konflikt“). Es wurde nichts auf das Gerät geschrieben.</translation>
    </message>
    <message>
        <source>the channel configuration, the output selection, the output inversion, the enabled channels and the debounce time</source>
        <translation>die Kanalkonfiguration, die Ausgangsauswahl, die Ausgangsinvertierung, die aktivierten Kanäle und die Entprellzeit</translation>
    </message>
    <message>
        <source>the channel configuration, the output selection, the output inversion, the enabled channels, the debounce time, and scale and threshold of channel %1</source>
        <translation>die Kanalkonfiguration, die Ausgangsauswahl, die Ausgangsinvertierung, die aktivierten Kanäle, die Entprellzeit sowie Skalierung und Schwellwert von Kanal %1</translation>
    </message>
    <message>
        <source>the channel configuration, the output selection, the output inversion, the enabled channels, the debounce time, and scale and threshold of channels %1</source>
        <translation>die Kanalkonfiguration, die Ausgangsauswahl, die Ausgangsinvertierung, die aktivierten Kanäle, die Entprellzeit sowie Skalierung und Schwellwert der Kanäle %1</translation>
    </message>
    <message>
        <source>The write was stopped by your choice (&quot;No&quot; on &quot;Reference State conflict&quot;). Already written to the unit but not saved: %1. The device and channel names were not written.</source>
        <translation>Das Schreiben wurde durch Ihre Wahl abgebrochen („Nein“ bei „Konflikt des Referenzzustands“). Bereits auf das Gerät geschrieben, aber nicht gespeichert: %1. Geräte- und Kanalnamen wurden nicht geschrieben.</translation>
    </message>
    <message>
        <source>The device name was not written: it could not be read from this unit, so the name shown is not the unit's own, and the unit keeps its name. A name typed for the device is written.</source>
        <translation>Der Gerätename wurde nicht geschrieben: Er konnte nicht vom Gerät gelesen werden, der angezeigte Name ist also nicht der des Geräts, und das Gerät behält seinen Namen. Ein für das Gerät eingegebener Name wird geschrieben.</translation>
    </message>
    <message>
        <source>The name of channel %1 was not written: it could not be read from this unit, so the name shown is not the unit's own, and the unit keeps its name. A name typed for the channel is written.</source>
        <translation>Der Name von Kanal %1 wurde nicht geschrieben: Er konnte nicht vom Gerät gelesen werden, der angezeigte Name ist also nicht der des Geräts, und das Gerät behält seinen Namen. Ein für den Kanal eingegebener Name wird geschrieben.</translation>
    </message>
    <message>
        <source>The names of channels %1 were not written: they could not be read from this unit, so the names shown are not the unit's own, and the unit keeps its names. A name typed for a channel is written.</source>
        <translation>Die Namen der Kanäle %1 wurden nicht geschrieben: Sie konnten nicht vom Gerät gelesen werden, die angezeigten Namen sind also nicht die des Geräts, und das Gerät behält seine Namen. Ein für einen Kanal eingegebener Name wird geschrieben.</translation>
    </message>
</context>
<context>
    <name>EthernetHandler</name>
    <message>
        <source>Reading Log...</source>
        <translation>Protokoll wird gelesen...</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>incorrect data size</source>
        <translation>falsche Datengröße</translation>
    </message>
    <message>
        <source>invalid param</source>
        <translation>ungültiger Parameter</translation>
    </message>
    <message>
        <source>not supported function/feature</source>
        <translation>nicht unterstützte Funktion</translation>
    </message>
    <message>
        <source>invalid configuration</source>
        <translation>ungültige Konfiguration</translation>
    </message>
    <message>
        <source>response error</source>
        <translation>Antwortfehler</translation>
    </message>
    <message>
        <source>timeout happend</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>file not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>file read error</source>
        <translation>Fehler beim Lesen der Datei</translation>
    </message>
    <message>
        <source>file write error</source>
        <translation>Fehler beim Schreiben der Datei</translation>
    </message>
    <message>
        <source>invalid file</source>
        <translation>ungültige Datei</translation>
    </message>
    <message>
        <source>invalid value</source>
        <translation>ungültiger Wert</translation>
    </message>
    <message>
        <source>already waiting for response</source>
        <translation>es wird bereits auf eine Antwort gewartet</translation>
    </message>
    <message>
        <source>not supported data selected</source>
        <translation>nicht unterstützte Daten gewählt</translation>
    </message>
    <message>
        <source>data not ready for read</source>
        <translation>Daten nicht lesebereit</translation>
    </message>
    <message>
        <source>wrong Sequence number</source>
        <translation>falsche Sequenznummer</translation>
    </message>
    <message>
        <source>data acquisition in progress</source>
        <translation>Datenerfassung läuft</translation>
    </message>
    <message>
        <source>error reset failed</source>
        <translation>Fehler-Reset fehlgeschlagen</translation>
    </message>
</context>
</TS>
