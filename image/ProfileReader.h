#pragma once
// Reads a profile file back into the configuration store. The whole file is checked first
// (512 data records in address order, every field hexadecimal, record length 16, type 00,
// checksums, then the end record); a file that fails is refused with the line and what is
// wrong, and the store stays exactly as it was. A file that passes is decoded field by field
// as the program has always read profiles, and committed in one transaction.
#include "image/Image.h"
#include "image/ProfileData.h"

#include <QByteArray>
#include <QString>

class ConfigStore;
class ProgramContext;

namespace ProfileReader {
// A profile is 23053 bytes; anything much larger is refused before it is read.
constexpr qint64 MaxFileSize = 64 * 1024;

struct Problem {
    int line = 0; // 1-based; 0 when the problem concerns the whole file
    QString what; // what is wrong, one sentence without the file name
};

// Checks file text and fills img from it. Returns false and fills problem when the text is
// not a complete profile. CR LF and LF line ends are both accepted, hex digits in either
// case, and blank lines after the end record. The problem is told in the context's language.
bool parse(const ProgramContext& context, const QByteArray& text, Image& img, Problem* problem = nullptr);
// Reads and checks a file. On failure error is one message naming the file, the line and
// what is wrong.
bool readFile(const ProgramContext& context, const QString& path, Image& img, QString* error);

// The configuration as the reader decodes a profile: alarm flag only for "01", recipients
// from data byte 2, default state bit 0x08, delay from byte 3, texts up to the first zero
// byte (fill blanks before it kept), a password of the four bytes 8..11 always, phone
// number up to the first zero byte. Empty names and numbers are null.
ProfileData decode(const Image& img);

// Writes a checked image into the store's recordsets as loadProfile does and
// commits all six in one transaction. Texts go to the SMS column of `language` only. On a
// store failure every recordset is reloaded from the file and StoreError is thrown.
void loadProfile(const Image& img, ConfigStore& store, int language);

// readFile + loadProfile (in the store's context). Returns false with one message on failure; the store is
// then unchanged. When another program holds the database, StoreBusy is thrown instead (the
// store unchanged too), so that the caller can offer to try again.
bool load(const QString& path, ConfigStore& store, int language, QString* error);
}
