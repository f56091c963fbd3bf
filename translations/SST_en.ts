<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>NotificationBar</name>
    <message>
        <source>Error message</source>
        <translation>Error message</translation>
    </message>
    <message>
        <source>Sucess Message</source>
        <translation>Sucess Message</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Go to log</source>
        <translation>Go to log</translation>
    </message>
</context>
<context>
    <name>ScalingDialog</name>
    <message>
        <source>Scaling factor</source>
        <translation>Scaling factor</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Apply and Restart Application</source>
        <translation>Apply and Restart Application</translation>
    </message>
    <message>
        <source>Small ( 50% )</source>
        <translation>Small ( 50% )</translation>
    </message>
    <message>
        <source>Regular ( 100% )</source>
        <translation>Regular ( 100% )</translation>
    </message>
    <message>
        <source>Large ( 200% )</source>
        <translation>Large ( 200% )</translation>
    </message>
</context>
<context>
    <name>TranslationDialog</name>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
</context>
</TS>
