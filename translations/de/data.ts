<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BarGraph</name>
    <message>
        <source>Limit</source>
        <translation>Grenzwert</translation>
    </message>
</context>
<context>
    <name>DataAcquisition</name>
    <message>
        <source>Channels Raw Input Data</source>
        <translation>Rohdaten der Kanäle</translation>
    </message>
    <message>
        <source>Channels Processed Data</source>
        <translation>Verarbeitete Daten der Kanäle</translation>
    </message>
    <message>
        <source>Channels Mean Segment Data</source>
        <translation>Mittelwert-Segmentdaten der Kanäle</translation>
    </message>
    <message>
        <source>Channels Max Segment Data</source>
        <translation>Maximum-Segmentdaten der Kanäle</translation>
    </message>
    <message>
        <source>Channels Min Segment Data</source>
        <translation>Minimum-Segmentdaten der Kanäle</translation>
    </message>
    <message>
        <source>Channels SKW Statistics Data</source>
        <translation>SKW-Statistikdaten der Kanäle</translation>
    </message>
    <message>
        <source>Channels SKW Data</source>
        <translation>SKW-Daten der Kanäle</translation>
    </message>
    <message>
        <source>t in µs</source>
        <translation>t in µs</translation>
    </message>
    <message>
        <source>Samples in Digits</source>
        <translation>Abtastwerte in Digits</translation>
    </message>
    <message>
        <source>The Ethernet connection responded with an error. Error: %1 Errorcode: %2</source>
        <translation>Die Ethernet-Verbindung hat mit einem Fehler geantwortet. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Couldn&apos;t receive Data. Was a Measurment/Reference Run conducted since the last reboot?</source>
        <translation>Keine Daten empfangen. Wurde seit dem letzten Neustart eine Messung oder Referenzfahrt durchgeführt?</translation>
    </message>
    <message>
        <source>Channels not read: %1</source>
        <translation>Nicht gelesene Kanäle: %1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Time in µs</source>
        <translation>Zeit in µs</translation>
    </message>
    <message>
        <source>Data acquisition Start failed. Error: %1 Errorcode: %2</source>
        <translation>Start der Datenerfassung fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Data acquisition Stop failed. Error: %1 Errorcode: %2</source>
        <translation>Stopp der Datenerfassung fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
    <message>
        <source>Change Reference Run State failed. Error: %1 Errorcode: %2</source>
        <translation>Umschalten der Referenzfahrt fehlgeschlagen. Fehler: %1 Fehlercode: %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Receiving Raw Input Data...</source>
        <translation>Rohdaten werden empfangen...</translation>
    </message>
    <message>
        <source>no Data to save present</source>
        <translation>Keine Daten zum Speichern vorhanden</translation>
    </message>
    <message>
        <source>Select Filename</source>
        <translation>Dateinamen wählen</translation>
    </message>
    <message>
        <source>Exporting...</source>
        <translation>Wird exportiert...</translation>
    </message>
    <message>
        <source>Can&apos;t open/create file.</source>
        <translation>Datei kann nicht geöffnet/erstellt werden.</translation>
    </message>
    <message>
        <source>Can&apos;t rename temporary file.</source>
        <translation>Temporäre Datei kann nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>Can&apos;t remove existing file.</source>
        <translation>Vorhandene Datei kann nicht entfernt werden.</translation>
    </message>
</context>
<context>
    <name>RefRunDialog</name>
    <message>
        <source>Reference Run Result</source>
        <translation>Ergebnis der Referenzfahrt</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Previous Reference Run Results</source>
        <translation>Vorherige Referenzfahrt</translation>
    </message>
    <message>
        <source>Previous Reference Run SKW</source>
        <translation>SKW der vorherigen Referenzfahrt</translation>
    </message>
    <message>
        <source>Previous Reference Value</source>
        <translation>Vorheriger Referenzwert</translation>
    </message>
    <message>
        <source>Previous Relubrication Suggestion</source>
        <translation>Vorheriger Nachschmiervorschlag</translation>
    </message>
    <message>
        <source>Current Reference Run Results</source>
        <translation>Aktuelle Referenzfahrt</translation>
    </message>
    <message>
        <source>New Reference Run SKW</source>
        <translation>SKW der neuen Referenzfahrt</translation>
    </message>
    <message>
        <source>New Reference Value</source>
        <translation>Neuer Referenzwert</translation>
    </message>
    <message>
        <source>New Relubrication Suggestion</source>
        <translation>Neuer Nachschmiervorschlag</translation>
    </message>
    <message>
        <source>Apply Value</source>
        <translation>Wert übernehmen</translation>
    </message>
    <message>
        <source>Exit Dialog</source>
        <translation>Dialog verlassen</translation>
    </message>
    <message>
        <source>The following Channels were not Processed: </source>
        <translation>Folgende Kanäle wurden nicht bearbeitet: </translation>
    </message>
    <message>
        <source>New Scale Value</source>
        <translation>Neuer Skalierungswert</translation>
    </message>
    <message>
        <source>Previous Scale Value</source>
        <translation>Vorheriger Skalierungswert</translation>
    </message>
    <message>
        <source>New Threshold</source>
        <translation>Neuer Grenzwert</translation>
    </message>
    <message>
        <source>Previous Threshold</source>
        <translation>Vorheriger Grenzwert</translation>
    </message>
    <message>
        <source> mA</source>
        <translation> mA</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>The following Channel couldn&apos;t be processed: </source>
        <translation>Folgender Kanal konnte nicht bearbeitet werden: </translation>
    </message>
    <message>
        <source>Reference Run Failed! Please Repeat the Reference Run.</source>
        <translation>Referenzfahrt fehlgeschlagen! Bitte die Referenzfahrt wiederholen.</translation>
    </message>
    <message>
        <source>Nothing was written: it is not known which unit the reference run was made on (its MAC address could not be read when the result came).</source>
        <translation>Es wurde nichts geschrieben: Es ist nicht bekannt, auf welchem Gerät die Referenzfahrt ausgeführt wurde (seine MAC-Adresse konnte beim Eintreffen des Ergebnisses nicht gelesen werden).</translation>
    </message>
    <message>
        <source>Nothing was written: the unit did not give its MAC address, so it is not known whether the reference run was made on it.</source>
        <translation>Es wurde nichts geschrieben: Das Gerät hat seine MAC-Adresse nicht geliefert; es ist daher nicht bekannt, ob auf ihm die Referenzfahrt ausgeführt wurde.</translation>
    </message>
    <message>
        <source>Nothing was written: the unit that answers now (MAC address %1) is not the one the reference run was made on (MAC address %2).</source>
        <translation>Es wurde nichts geschrieben: Das jetzt antwortende Gerät (MAC-Adresse %1) ist nicht das Gerät, auf dem die Referenzfahrt ausgeführt wurde (MAC-Adresse %2).</translation>
    </message>
</context>
</TS>
