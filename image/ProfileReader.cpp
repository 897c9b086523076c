#include "image/ProfileReader.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"

#include <QDir>
#include <QFile>

namespace {
bool fail(ProfileReader::Problem* p, int line, const QString& what)
{
    if (p) {
        p->line = line;
        p->what = what;
    }
    return false;
}

QString describeChar(const ProgramContext& context, char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x21 && u < 0x7F)
        return QStringLiteral("'%1'").arg(QLatin1Char(c));
    return context.msgOr(QStringLiteral("gsMsgProfilByte"), QStringLiteral("Byte 0x%1")).arg(Image::hex2(u));
}
} // namespace

namespace ProfileReader {
bool parse(const ProgramContext& context, const QByteArray& text, Image& img, Problem* problem)
{
    if (text.isEmpty())
        return fail(problem, 0,
                    context.msgOr(QStringLiteral("gsMsgProfilDateiLeer"), QStringLiteral("die Datei ist leer")));
    if (text.size() > MaxFileSize)
        return fail(problem, 0,
                    context
                        .msgOr(QStringLiteral("gsMsgProfilDateiZuGross"),
                               QStringLiteral("die Datei ist %1 Byte lang, weit mehr als ein Profil (23053 Byte)"))
                        .arg(text.size()));
    Image parsed;
    qsizetype pos = 0;
    int lineNo = 0;
    auto nextLine = [&](QByteArray* out) {
        if (pos >= text.size())
            return false;
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArray l = text.mid(pos, end - pos);
        pos = end + 1;
        while (!l.isEmpty() && (l.endsWith('\r') || l.endsWith(' ') || l.endsWith('\t')))
            l.chop(1);
        *out = l;
        ++lineNo;
        return true;
    };
    QByteArray l;
    for (int i = 0; i < Image::LineCount; ++i) {
        if (!nextLine(&l))
            return fail(
                problem, i + 1,
                context
                    .msgOr(QStringLiteral("gsMsgProfilDateiEndetFrüh"),
                           QStringLiteral("die Datei endet nach %1 der 512 Datensätze; der Rest des Profils fehlt"))
                    .arg(i));
        if (l.isEmpty())
            return fail(problem, lineNo,
                        context
                            .msgOr(QStringLiteral("gsMsgProfilLeereZeile"),
                                   QStringLiteral("leere Zeile, wo Datensatz %1 von 512 erwartet wird"))
                            .arg(i + 1));
        if (l[0] != ':')
            return fail(problem, lineNo,
                        context.msgOr(QStringLiteral("gsMsgProfilKeinDatensatz"),
                                      QStringLiteral("kein Intel-HEX-Datensatz (die Zeile beginnt nicht mit ':')")));
        for (qsizetype c = 1; c < l.size(); ++c)
            if (Image::hexDigit(static_cast<unsigned char>(l[c])) < 0)
                return fail(problem, lineNo,
                            context
                                .msgOr(QStringLiteral("gsMsgProfilKeineHexZiffer"),
                                       QStringLiteral("%1 an Position %2 ist keine Hexadezimalziffer"))
                                .arg(describeChar(context, l[c]))
                                .arg(c + 1));
        if (l.size() != 43)
            return fail(problem, lineNo,
                        context
                            .msgOr(QStringLiteral("gsMsgProfilZeichenzahl"),
                                   QStringLiteral("der Datensatz hat %1 statt 43 Zeichen"))
                            .arg(l.size()));
        std::uint8_t v[Image::Entries];
        long sum = 0;
        for (int e = 0; e < Image::Entries; ++e) {
            v[e] = std::uint8_t(Image::hexByteAt(QByteArrayView(l), 1 + 2 * e));
            if (e < 20)
                sum += v[e];
        }
        if (v[0] != 0x10)
            return fail(
                problem, lineNo,
                context.msgOr(QStringLiteral("gsMsgProfilDatensatzlänge"), QStringLiteral("Datensatzlänge %1 statt 10"))
                    .arg(Image::hex2(v[0])));
        const int address = v[1] * 256 + v[2];
        if (address != i * 16)
            return fail(
                problem, lineNo,
                context.msgOr(QStringLiteral("gsMsgProfilAdresse"), QStringLiteral("Adresse %1, erwartet wird %2"))
                    .arg(Image::addressHex(address), Image::addressHex(i * 16)));
        if (v[3] != 0x00)
            return fail(
                problem, lineNo,
                context.msgOr(QStringLiteral("gsMsgProfilDatensatztyp"), QStringLiteral("Datensatztyp %1 statt 00"))
                    .arg(Image::hex2(v[3])));
        const QString expected = Image::checksumHex(sum);
        if (Image::hex2(v[20]) != expected)
            return fail(
                problem, lineNo,
                context.msgOr(QStringLiteral("gsMsgProfilPrüfsumme"), QStringLiteral("Prüfsumme %1, erwartet wird %2"))
                    .arg(Image::hex2(v[20]), expected));
        for (int e = 0; e < Image::Entries; ++e)
            parsed.setByte(e, i % Image::Records, i / Image::Records, v[e]);
    }
    if (!nextLine(&l))
        return fail(problem, lineNo + 1,
                    context.msgOr(QStringLiteral("gsMsgProfilEndeFehlt"),
                                  QStringLiteral("der Endedatensatz :00000001FF fehlt")));
    if (l.toUpper() != QByteArray(Image::EndRecord))
        return fail(
            problem, lineNo,
            context
                .msgOr(QStringLiteral("gsMsgProfilEndeErwartet"),
                       QStringLiteral("hier wird der Endedatensatz :00000001FF erwartet (die Zeile hat %1 Zeichen)"))
                .arg(l.size()));
    while (nextLine(&l))
        if (!l.trimmed().isEmpty())
            return fail(problem, lineNo,
                        context.msgOr(QStringLiteral("gsMsgProfilTextNachEnde"),
                                      QStringLiteral("Text nach dem Endedatensatz")));
    img = parsed;
    return true;
}

bool readFile(const ProgramContext& context, const QString& path, Image& img, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile f;
    if (!FileAccess::openForReading(context, f, path, error))
        return false;
    // Never more than a little past what a profile can be.
    const QByteArray text = f.read(MaxFileSize + 1);
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = context
                         .msgOr(QStringLiteral("gsMsgDateiNichtLesbar"),
                                QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2"))
                         .arg(shown, f.errorString());
        return false;
    }
    if (text.size() > MaxFileSize) {
        if (error)
            *error = context
                         .msgOr(QStringLiteral("gsMsgProfilZuGross"),
                                QStringLiteral("Die Datei %1 ist kein gültiges Profil: sie ist %2 Byte lang, weit mehr "
                                               "als ein Profil (23053 Byte)."))
                         .arg(shown)
                         .arg(f.size());
        return false;
    }
    Problem p;
    if (!parse(context, text, img, &p)) {
        if (error)
            *error = p.line > 0 ? context
                                      .msgOr(QStringLiteral("gsMsgProfilUngültigZeile"),
                                             QStringLiteral("Die Datei %1 ist kein gültiges Profil: Zeile %2: %3."))
                                      .arg(shown)
                                      .arg(p.line)
                                      .arg(p.what)
                                : context
                                      .msgOr(QStringLiteral("gsMsgProfilUngültig"),
                                             QStringLiteral("Die Datei %1 ist kein gültiges Profil: %2."))
                                      .arg(shown, p.what);
        return false;
    }
    return true;
}

ProfileData decode(const Image& img, AlarmFlagRule alarmFlags)
{
    ProfileData d;
    auto text = [&img](int b) { return img.smsText(b + 1); };
    for (int n = 0; n < 16; ++n) {
        const std::uint8_t flag = img.dataByte(n, 0, 1);
        d.inputs[n].alarm = alarmFlags == AlarmFlagRule::ExactlyOne ? flag == 0x01 : flag != 0;
        d.inputs[n].recipients = img.dataByte(n, 0, 2);
        d.inputs[n].text = text(n);
    }
    for (int n = 0; n < 8; ++n) {
        const int b = 32 + n;
        d.outputs[n].recipients = img.dataByte(b, 0, 2);
        d.outputs[n].defaultState = (img.dataByte(b, 0, 1) & 0x08) != 0;
        d.outputs[n].text = text(b);
    }
    d.alarmInput.recipients = img.dataByte(52, 0, 2);
    d.alarmInput.delay = img.dataByte(52, 0, 3);
    d.alarmInput.text = text(52);
    d.powerOn.recipients = img.dataByte(53, 0, 2);
    d.powerOn.text = text(53);
    for (int n = 0; n < 8; ++n) {
        const int b = 56 + n;
        ProfileData::User& u = d.users[n];
        const std::uint8_t flags = img.dataByte(b, 0, 1);
        u.active = (flags & 0x80) != 0;
        u.op = (flags & 0x40) != 0;
        u.password.clear();
        for (int j = 8; j <= 11; ++j)
            u.password.append(Cp1252::decode(img.dataByte(b, 0, j)));
        QString number;
        for (int j = 0; j < 16 && img.dataByte(b, 1, j) != 0; ++j)
            number.append(Cp1252::decode(img.dataByte(b, 1, j)));
        u.number = number.isEmpty() ? QString() : number;
        const QString name = text(b);
        u.name = name.isEmpty() ? QString() : name;
    }
    return d;
}

ProfileData decodeLines(const ProgramContext& context, const QStringList& lines, AlarmFlagRule alarmFlags)
{
    Image img;
    parse(context, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(), img);
    return decode(img, alarmFlags);
}
}
