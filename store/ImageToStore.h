#pragma once
// Copies a configuration image read from the unit into the configuration store: recipient
// bits, alarm masks, default states, delay, the texts of one language and the phone book.
// All six recordsets are committed in one transaction.
class ConfigStore;
class Image;

// language 1..4: texts go to SMS column position language + 1; the other columns stay.
// Throws StoreError; the recordsets are then reloaded from the file, which is unchanged.
void storeImage(const Image& img, ConfigStore& store, int language);
