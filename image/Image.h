#pragma once
// The unit's 8 KB configuration memory as the program holds it: 64 blocks of 8 Intel-HEX
// records, each record 21 two-character upper-case hexadecimal entries (length, address
// high, address low, type, 16 data bytes, checksum). The entries are kept as bytes; every
// read gives them back as two upper-case hex digits.
//
// The record builders and the text decoder of the image live here too, so the writer, the
// profile reader and the command-line tool share one implementation.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Windows-1252, the code page of every text in the image.
namespace Cp1252 {
// The byte of one Unicode code point; characters without a code give '?' (0x3F).
std::uint8_t encode(char32_t cp, bool* ok = nullptr);
// The whole text, one byte per character (a character outside the code page, also one
// outside the Basic Multilingual Plane, is one '?').
QByteArray encode(const QString& text);
// True when every character of the text has a code.
bool representable(const QString& text);
// The character of a byte. The five bytes the code page leaves free (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) give the C1 control of the same number, so they come back unchanged.
QChar decode(std::uint8_t b);
QString decode(const QByteArray& bytes);
}

class Image {
public:
    static constexpr int Blocks = 64;
    static constexpr int Records = 8;
    static constexpr int Entries = 21;
    static constexpr int LineCount = Blocks * Records; // 512 data records
    static inline const char* const EndRecord = ":00000001FF";

    Image();

    // Records 0 and 1 of every block all "00", records 2 to 7 all "20".
    void reset();

    // Entry e (0..20) of record r (0..7) of block b (0..63), as two upper-case hex digits.
    QString entry(int e, int r, int b) const;
    // Sets an entry from two hex digits (either case); false when the text is not one byte.
    bool setEntry(int e, int r, int b, const QString& hex);
    std::uint8_t byte(int e, int r, int b) const { return m_bytes[index(e, r, b)]; }
    void setByte(int e, int r, int b, std::uint8_t v) { m_bytes[index(e, r, b)] = v; }
    // Data byte j (0..15) of record r of block b.
    std::uint8_t dataByte(int b, int r, int j) const { return byte(4 + j, r, b); }

    // One record as its Intel-HEX line: ":" and the 21 entries, no line end.
    QString line(int b, int r) const;
    // Sets record r of block b from an Intel-HEX line of 43 characters. The line is taken as
    // it is (no checksum test); false when it is not ":" and 42 hex digits.
    bool setLine(int b, int r, const QString& line);
    // The whole image as file text: 512 lines and the end record, each ended by CR LF.
    QByteArray hexText() const;

    // ---- record builders (the image build uses them) ------------------------------------
    // Header, d0..d7 into entries 4..11, the password's four character codes into entries
    // 12..15 when it has exactly four characters, then the checksum.
    void CreateParameterRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                               const QString& d0, const QString& d1, const QString& d2, const QString& d3,
                               const QString& d4, const QString& d5, const QString& d6, const QString& d7,
                               const QString& password);
    // Header, the character codes of text (at most 16 characters) from entry 4 on, the rest
    // left as it is, then the checksum.
    void CreateTextRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                          const QString& text);
    // As CreateTextRecord; a chunk of at most 15 characters is followed by the terminator
    // "00" unless one has already been written for this text field (terminatorWritten;
    // the caller clears it before the first of a block's text records).
    void CreateTerminatedTextRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                                    const QString& text);
    bool terminatorWritten = false;

    // The text field (records 2 to 5) of block `block` (1..64), up to the first "00".
    QString smsText(int block) const;

    // ---- shared helpers -------------------------------------------------------------------
    // The address as four upper-case hex digits; empty outside 0..65535.
    static QString addressHex(long value);
    // The Intel-HEX checksum of a record whose header and data bytes add up to sum: the byte
    // that makes all bytes of the record, itself included, add up to 0 modulo 256. The one
    // rule of the program for files, transfers and the records of unit parameters.
    static std::uint8_t checksum(long sum);
    static QString checksumHex(long sum) { return hex2(checksum(sum)); }
    // Two upper-case hex digits of a byte.
    static QString hex2(int value);
    // The value of one hexadecimal digit of either case; -1 when the character is none.
    static int hexDigit(char16_t c);
    // The byte written as two hex digits at position pos; -1 when they are not two hex digits.
    static int hexByteAt(QStringView text, qsizetype pos);
    static int hexByteAt(QByteArrayView text, qsizetype pos);
    // Alarm flag of input event n (1..16): bit (n-1)/2 of mask1 for odd n, of mask2 for even n.
    // text becomes "01" or "00", bit the masked value.
    static void CreateStatus(int n, int mask1, int mask2, QString& text, int& bit);
    // Decodes 16 data bytes of text records up to the first zero byte (returns true once the
    // terminator was seen) and appends the characters to text.
    static bool appendText(const std::uint8_t* data, QString& text);

    bool operator==(const Image& o) const { return m_bytes == o.m_bytes; }

private:
    static int index(int e, int r, int b) { return (b * Records + r) * Entries + e; }
    void storeHeader(int b, int r, const QString& length, const QString& address, const QString& type);
    void storeChecksum(int b, int r);
    std::array<std::uint8_t, Blocks * Records * Entries> m_bytes {};
};
