#pragma once
// Reads a profile file into an image and decodes an image into plain data. The whole file is
// checked first (512 data records in address order, every field hexadecimal, record length
// 16, type 00, checksums, then the end record); a file that fails is refused with the line and
// what is wrong. A file that passes is decoded field by field as the program has always read
// profiles. Taking it into the configuration store is ProfileStore's (store/).
#include "image/Image.h"
#include "image/ProfileData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

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

// How the alarm flag byte (data byte 1 of the input blocks 0..15) is read. The two sources
// of an image differ here on purpose:
enum class AlarmFlagRule {
    // A profile file: only the value the writer puts there, 01, arms the alarm input. A file is
    // text another program or a hand may have written; profiles have always been read this
    // way, and a file the program wrote comes back with exactly the flags it was saved with.
    ExactlyOne,
    // The unit's memory, read over the wire: any value but 00 counts as set, so that no flag
    // the unit holds is lost on its way into the editor.
    AnyNonZero,
};

// The configuration an image carries: alarm flag by `alarmFlags`, recipients from data byte
// 2, default state bit 0x08, delay from byte 3, texts up to the first zero byte (fill blanks
// before it kept), a password of the four bytes 8..11 always, phone number up to the first
// zero byte. Empty names and numbers are null.
ProfileData decode(const Image& img, AlarmFlagRule alarmFlags = AlarmFlagRule::ExactlyOne);
// The configuration of the lines of a profile (the 512 records and the end record, as a file
// or the unit's memory gives them), parsed and decoded; records that do not parse are left as
// the fill pattern.
ProfileData decodeLines(const ProgramContext& context, const QStringList& lines,
                        AlarmFlagRule alarmFlags = AlarmFlagRule::ExactlyOne);
}
