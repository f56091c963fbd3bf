<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ChannelEnableBar</name>
    <message>
        <source>Channel 1</source>
        <translation>Kanal 1</translation>
    </message>
    <message>
        <source>Channel 2</source>
        <translation>Kanal 2</translation>
    </message>
    <message>
        <source>Channel 3</source>
        <translation>Kanal 3</translation>
    </message>
    <message>
        <source>Channel 4</source>
        <translation>Kanal 4</translation>
    </message>
    <message>
        <source>Channel 5</source>
        <translation>Kanal 5</translation>
    </message>
    <message>
        <source>Channel 6</source>
        <translation>Kanal 6</translation>
    </message>
    <message>
        <source>Channel 7</source>
        <translation>Kanal 7</translation>
    </message>
</context>
<context>
    <name>ConfigCommonParams</name>
    <message>
        <source>Common Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>PPU Device name</source>
        <translation>Gerätename der PPU</translation>
    </message>
    <message>
        <source>Enter Device Name here</source>
        <translation>Gerätenamen hier eingeben</translation>
    </message>
    <message>
        <source>Trigger Debounce time</source>
        <translation>Entprellzeit des Triggers</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Output type</source>
        <translation>Ausgangsart</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>Digital</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>Lubrication Event Output</source>
        <translation>Ausgang Schmierereignis</translation>
    </message>
    <message>
        <source>Low 0V</source>
        <translation>Low 0V</translation>
    </message>
    <message>
        <source>High 24V</source>
        <translation>High 24V</translation>
    </message>
</context>
<context>
    <name>ConfigOutputTab</name>
    <message>
        <source>Output Configuration</source>
        <translation>Ausgangskonfiguration</translation>
    </message>
    <message>
        <source>Measured SKW (from reference run)</source>
        <translation>Gemessener SKW (aus Referenzfahrt)</translation>
    </message>
    <message>
        <source>SKW Limit for Digital Out</source>
        <translation>SKW-Grenze für Digitalausgang</translation>
    </message>
    <message>
        <source>Suggested Comparison Value</source>
        <translation>Vorgeschlagener Vergleichswert</translation>
    </message>
    <message>
        <source>Relubrication Current</source>
        <translation>Nachschmierstrom</translation>
    </message>
    <message>
        <source>mA</source>
        <translation>mA</translation>
    </message>
    <message>
        <source>Suggested Relubrication Current</source>
        <translation>Vorgeschlagener Nachschmierstrom</translation>
    </message>
    <message>
        <source>conduct a reference run to change this value</source>
        <translation>Führen Sie eine Referenzfahrt durch, um diesen Wert zu ändern</translation>
    </message>
    <message>
        <source> mA</source>
        <translation> mA</translation>
    </message>
</context>
<context>
    <name>ConfigTab</name>
    <message>
        <source>Channel Configuration</source>
        <translation>Kanalkonfiguration</translation>
    </message>
    <message>
        <source>General Parameter</source>
        <translation>Allgemeine Parameter</translation>
    </message>
    <message>
        <source>Channel Name</source>
        <translation>Kanalname</translation>
    </message>
    <message>
        <source>Channel 1</source>
        <translation>Kanal 1</translation>
    </message>
    <message>
        <source>Common Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>PPU Network Settings</source>
        <translation>PPU-Netzwerkeinstellungen</translation>
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
        <source>Output Configuration</source>
        <translation>Ausgangskonfiguration</translation>
    </message>
    <message>
        <source>Fieldbus Configuration</source>
        <translation>Feldbuskonfiguration</translation>
    </message>
    <message>
        <source>Product Information</source>
        <translation>Produktinformation</translation>
    </message>
    <message>
        <source>Update Firmware</source>
        <translation>Firmware aktualisieren</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Network Settings</source>
        <translation>Netzwerkeinstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Default Config</source>
        <translation>Standardkonfiguration wiederherstellen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
</context>
</TS>
