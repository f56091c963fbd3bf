#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "confighandler.h"

// Everything the configuration model holds, for comparing one state with
// another byte for byte.
struct ConfigSnapshot
{
    CFG_ConnectionParameters_struct connection;
    DeviceNameRecord deviceName;
    std::array<DeviceNameRecord, kChannelCount> channelNames;
    CFG_Device_Param_struct device;
    CFG_Blob_struct_sorted blob;
    Anybus_cfg anybus;

    static ConfigSnapshot of(const Confighandler &c);
    bool operator==(const ConfigSnapshot &o) const;
    bool operator!=(const ConfigSnapshot &o) const { return !(*this == o); }
};

// The blob without what sealing renews (entry filler, trailing filler, CRC).
QByteArray blobContent(const CFG_Blob_struct_sorted &blob);

// What the model tells the user, and scripted answers to its questions: each
// question takes the next answer (index of the button), -1 when none is left.
struct MessageLog
{
    struct Question
    {
        QStringList buttons;
        QString title;
        QString text;
        int kind = 0;
    };
    QStringList errors;
    QStringList successes;
    QVector<Question> questions;
    QVector<int> answers;
    int finished = 0;  // waitingForFeedbackFinished

    explicit MessageLog(Confighandler &c);
    void clear();
};

// Gives every channel catalogue mapping and sensor entries and a few
// non-default values, so that the copy is worth saving.
void configureAllChannels(Confighandler &c);
