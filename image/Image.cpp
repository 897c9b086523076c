#include "image/Image.h"

#include <QList>

namespace {
// Unicode code points of the bytes 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0, // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98-9F
};

std::uint8_t byteOf(const QString& hex)
{
    const int v = Image::hexByteAt(hex, 0);
    return v < 0 ? 0 : std::uint8_t(v);
}
} // namespace

namespace Cp1252 {
std::uint8_t encode(char32_t cp, bool* ok)
{
    if (ok)
        *ok = true;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return std::uint8_t(cp);
    if (cp >= 0x80 && cp <= 0x9F) {
        // Only the five C1 controls that stand for the code page's free bytes have a code.
        if (kHighTable[cp - 0x80] == 0)
            return std::uint8_t(cp);
    } else {
        for (int i = 0; i < 32; ++i)
            if (kHighTable[i] != 0 && kHighTable[i] == cp)
                return std::uint8_t(0x80 + i);
    }
    if (ok)
        *ok = false;
    return '?';
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char32_t cp : text.toUcs4())
        out.append(char(encode(cp)));
    return out;
}

bool representable(const QString& text)
{
    for (char32_t cp : text.toUcs4()) {
        bool ok = false;
        encode(cp, &ok);
        if (!ok)
            return false;
    }
    return true;
}

QChar decode(std::uint8_t b)
{
    if (b >= 0x80 && b <= 0x9F && kHighTable[b - 0x80] != 0)
        return QChar(kHighTable[b - 0x80]);
    return QChar(char16_t(b));
}

QString decode(const QByteArray& bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes)
        s.append(decode(std::uint8_t(c)));
    return s;
}
} // namespace Cp1252

Image::Image() { reset(); }

void Image::reset()
{
    for (int b = 0; b < Blocks; ++b)
        for (int r = 0; r < Records; ++r)
            for (int e = 0; e < Entries; ++e)
                setByte(e, r, b, r < 2 ? 0x00 : 0x20);
}

int Image::hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

int Image::hexByteAt(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos + 1 >= text.size())
        return -1;
    const int hi = hexDigit(text[pos].unicode()), lo = hexDigit(text[pos + 1].unicode());
    return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

int Image::hexByteAt(QByteArrayView text, qsizetype pos)
{
    if (pos < 0 || pos + 1 >= text.size())
        return -1;
    const int hi = hexDigit(static_cast<unsigned char>(text[pos])),
              lo = hexDigit(static_cast<unsigned char>(text[pos + 1]));
    return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

QString Image::hex2(int value)
{
    static const char digits[] = "0123456789ABCDEF";
    const int v = value & 0xFF;
    const QChar s[2] = {QLatin1Char(digits[v >> 4]), QLatin1Char(digits[v & 0xF])};
    return QString(s, 2);
}

QString Image::entry(int e, int r, int b) const { return hex2(byte(e, r, b)); }

bool Image::setEntry(int e, int r, int b, const QString& hex)
{
    if (hex.size() != 2)
        return false;
    const int v = Image::hexByteAt(hex, 0);
    if (v < 0)
        return false;
    setByte(e, r, b, std::uint8_t(v));
    return true;
}

QString Image::line(int b, int r) const
{
    static const char digits[] = "0123456789ABCDEF";
    char buf[1 + 2 * Entries];
    buf[0] = ':';
    for (int e = 0; e < Entries; ++e) {
        const std::uint8_t v = byte(e, r, b);
        buf[1 + 2 * e] = digits[v >> 4];
        buf[2 + 2 * e] = digits[v & 0xF];
    }
    return QString::fromLatin1(buf, sizeof buf);
}

bool Image::setLine(int b, int r, const QString& text)
{
    if (text.size() != 1 + 2 * Entries || text[0] != QLatin1Char(':'))
        return false;
    std::uint8_t vals[Entries];
    for (int e = 0; e < Entries; ++e) {
        const int v = Image::hexByteAt(text, 1 + 2 * e);
        if (v < 0)
            return false;
        vals[e] = std::uint8_t(v);
    }
    for (int e = 0; e < Entries; ++e)
        setByte(e, r, b, vals[e]);
    return true;
}

QByteArray Image::hexText() const
{
    QByteArray out;
    out.reserve(LineCount * 45 + 13);
    for (int b = 0; b < Blocks; ++b)
        for (int r = 0; r < Records; ++r) {
            out.append(line(b, r).toLatin1());
            out.append("\r\n");
        }
    out.append(EndRecord);
    out.append("\r\n");
    return out;
}

QString Image::addressHex(long value)
{
    if (value < 0 || value > 0xFFFF)
        return QString();
    return hex2(int(value >> 8)) + hex2(int(value & 0xFF));
}

std::uint8_t Image::checksum(long sum)
{
    const long low = ((sum % 256) + 256) % 256;
    return std::uint8_t((256 - low) % 256);
}

void Image::storeHeader(int b, int r, const QString& length, const QString& address, const QString& type)
{
    setByte(0, r, b, byteOf(length));
    setByte(1, r, b, byteOf(address.left(2)));
    setByte(2, r, b, byteOf(address.right(2)));
    setByte(3, r, b, byteOf(type));
}

void Image::storeChecksum(int b, int r)
{
    long sum = 0;
    for (int e = 0; e < 20; ++e)
        sum += byte(e, r, b);
    setByte(20, r, b, byteOf(checksumHex(sum)));
}

void Image::CreateParameterRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                                  const QString& d0, const QString& d1, const QString& d2, const QString& d3,
                                  const QString& d4, const QString& d5, const QString& d6, const QString& d7,
                                  const QString& password)
{
    storeHeader(b, r, length, address, type);
    const QString* d[8] = {&d0, &d1, &d2, &d3, &d4, &d5, &d6, &d7};
    for (int i = 0; i < 8; ++i)
        setByte(4 + i, r, b, byteOf(*d[i]));
    const QByteArray pw = Cp1252::encode(password);
    if (pw.size() == 4)
        for (int i = 0; i < 4; ++i)
            setByte(12 + i, r, b, std::uint8_t(pw[i]));
    storeChecksum(b, r);
}

void Image::CreateTextRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                             const QString& text)
{
    storeHeader(b, r, length, address, type);
    const QByteArray bytes = Cp1252::encode(text).left(16);
    for (int i = 0; i < bytes.size(); ++i)
        setByte(4 + i, r, b, std::uint8_t(bytes[i]));
    storeChecksum(b, r);
}

void Image::CreateTerminatedTextRecord(int b, int r, const QString& length, const QString& address, const QString& type,
                                       const QString& text)
{
    storeHeader(b, r, length, address, type);
    const QByteArray bytes = Cp1252::encode(text).left(16);
    for (int i = 0; i < bytes.size(); ++i)
        setByte(4 + i, r, b, std::uint8_t(bytes[i]));
    // The terminator follows any chunk that leaves room for it, so a text of 15, 31, 47 or 63
    // characters does not carry the fill blank of its last record into the unit.
    if (bytes.size() <= 15 && !terminatorWritten) {
        setByte(4 + int(bytes.size()), r, b, 0x00);
        terminatorWritten = true;
    }
    storeChecksum(b, r);
}

bool Image::appendText(const std::uint8_t* data, QString& text)
{
    for (int j = 0; j < 16; ++j) {
        if (data[j] == 0)
            return true;
        text.append(Cp1252::decode(data[j]));
    }
    return false;
}

QString Image::smsText(int block) const
{
    QString text;
    if (block < 1 || block > Blocks)
        return text;
    const int b = block - 1;
    for (int r = 2; r <= 5; ++r) {
        std::uint8_t data[16];
        for (int j = 0; j < 16; ++j)
            data[j] = dataByte(b, r, j);
        if (appendText(data, text))
            break;
    }
    return text;
}

void Image::CreateStatus(int n, int mask1, int mask2, QString& text, int& bit)
{
    const int k = (n - 1) / 2;
    bit = ((n % 2 == 1) ? mask1 : mask2) & (1 << k);
    text = bit ? QStringLiteral("01") : QStringLiteral("00");
}
