#pragma once
// The one mapping between the configuration store and the configuration as plain data
// (ProfileData): from the six recordsets to the data, as every save, send and comparison
// reads them, and from an image into the recordsets, as a profile load and a read from the
// unit write them. Texts are those of one language (SMS column position language + 1), each
// found through its row's link (SMSID of the input and output rows, SMS of the alarm and
// power-on rows); the other language columns are never touched.
#include "image/ProfileData.h"
#include "image/ProfileReader.h"

#include <QString>

class ConfigStore;
class Image;

namespace ProfileStore {
// The configuration as the recordsets hold it (pending edits included). Throws StoreError,
// also when a table lacks its fixed row count or a link names no SMS row.
ProfileData read(ConfigStore& store, int language);
// read + HexWriter::buildImage, as before every save and every transfer.
void buildImage(ConfigStore& store, int language, Image& img);

// Writes the image's configuration into the recordsets and commits all six in one
// transaction. `alarmFlags` is how the alarm flag byte of the input blocks is read (see
// ProfileReader::AlarmFlagRule: a profile file and the unit's memory differ there). On a
// store failure every recordset is reloaded from the file, which is unchanged, and
// StoreError is thrown.
void storeImage(const Image& img, ConfigStore& store, int language, ProfileReader::AlarmFlagRule alarmFlags);

// ProfileReader::readFile + storeImage with the profile file's rule (in the store's
// context). Returns false with one message on failure; the store is then unchanged. When
// another program holds the database, StoreBusy is thrown instead (the store unchanged too),
// so that the caller can offer to try again.
bool loadFile(const QString& path, ConfigStore& store, int language, QString* error);
}
