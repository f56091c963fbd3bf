#pragma once

#include <QStringList>
#include <cstdint>

#include "configrecords.h"

// The rules of the configuration blob as plain functions on blob values:
// default entries, which entry holds a channel, how one channel's entry is
// replaced, entry and blob validity, and sealing (random filler and CRC-32).
// Confighandler applies them to its stored copy and shows the messages.
namespace ConfigBlob {

extern const char *const kInvalidMappingMessage;  // "Detected invalid Channel Config! Config ignored."
extern const char *const kInvalidSensorMessage;   // "Detected invalid Sensor Config! Config ignored."

CFG_ChannelMapping_struct defaultMappingEntry();
CFG_Sensor_struct defaultSensorEntry();

// Index 0..6 of the first entry whose mask holds the channel among the
// entries the list length counts; kNoEntry when none does.
uint8_t mappingEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel);
uint8_t sensorEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel);

// Gives the channel the values of source: reuses the last entry with the
// same positive id, else the first entry whose mask is empty (the channel's
// old entry included, once the channel's bit is cleared there). Returns the
// entry index, or kNoEntry when the list is empty or full; a full list keeps
// the cleared bit. Channel mask and reserved bytes of source are not copied.
uint8_t replaceMappingEntry(CFG_Blob_struct_sorted &blob, const CFG_ChannelMapping_struct &source,
                            uint8_t channel);
uint8_t replaceSensorEntry(CFG_Blob_struct_sorted &blob, const CFG_Sensor_struct &source, uint8_t channel);

// True when the blob is NOT valid: its CRC differs, or any entry is out of
// range. Every invalid entry adds its message to messages (a CRC mismatch
// adds none); all entries are checked.
bool checkBlob(const CFG_Blob_struct_sorted &blob, QStringList *messages = nullptr);

// Fills the reserved bytes of every entry and the filler from the C library
// generator seeded with seed, sets the head words and stores the CRC.
void seal(CFG_Blob_struct_sorted &blob, unsigned seed);

// The default blob before sealing: head words, the default entries given to
// each channel in turn (channel n ends up in entry n), MAC 0, random filler.
CFG_Blob_struct_sorted defaultBlob(unsigned seed);

} // namespace ConfigBlob
