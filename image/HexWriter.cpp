#include "image/HexWriter.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "store/ConfigStore.h"

#include <algorithm>

namespace {
void needRows(const ProgramContext& context, Recordset& rs, int rows, bool atLeast = false)
{
    const int n = rs.recordCount();
    if (atLeast ? n < rows : n != rows)
        throw StoreError(context
                             .msgOr(QStringLiteral("gsMsgTabelleZeilenzahl"),
                                    QStringLiteral("Die Tabelle \"%1\" hat %2 statt %3 Zeilen."))
                             .arg(rs.source())
                             .arg(n)
                             .arg(rows));
}

std::uint8_t recipientMask(const Recordset& rs, int offset)
{
    std::uint8_t mask = 0;
    for (int k = 0; k < 8; ++k)
        if (rs.value(k + offset).toInt() != 0)
            mask |= std::uint8_t(1u << k);
    return mask;
}

QString textOf(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }
} // namespace

namespace HexWriter {
ProfileData fromStore(ConfigStore& store, int language)
{
    const int textCol = language + 1;
    needRows(store.context(), store.inputs, 16);
    needRows(store.context(), store.outputs, 8);
    needRows(store.context(), store.addresses, 8);
    needRows(store.context(), store.sms, 26, true);
    needRows(store.context(), store.alarmInput, 1, true);
    needRows(store.context(), store.powerOn, 1, true);

    ProfileData d;
    Recordset& ad = store.alarmInput;
    ad.moveFirst();
    const int inSF = ad.value(QStringLiteral("IN_SF")).toInt() & 0xFF;
    const int inFF = ad.value(QStringLiteral("IN_FF")).toInt() & 0xFF;

    Recordset& in = store.inputs;
    Recordset& sms = store.sms;
    in.moveFirst();
    sms.moveFirst();
    for (int n = 1; n <= 16; ++n) {
        ProfileData::Input& e = d.inputs[n - 1];
        e.recipients = recipientMask(in, 2);
        QString flag;
        int bit = 0;
        Image::CreateStatus(n, inSF, inFF, flag, bit);
        e.alarm = bit != 0;
        e.text = textOf(sms.value(textCol));
        in.moveNext();
        sms.moveNext();
    }
    Recordset& out = store.outputs;
    out.moveFirst();
    for (int n = 1; n <= 8; ++n) {
        ProfileData::Output& e = d.outputs[n - 1];
        e.recipients = recipientMask(out, 2);
        e.defaultState = out.value(QStringLiteral("DefaultState")).toInt() == 1;
        e.text = textOf(sms.value(textCol));
        out.moveNext();
        sms.moveNext();
    }
    ad.moveFirst();
    d.alarmInput.recipients = recipientMask(ad, 3);
    // The unit keeps the delay in one byte.
    d.alarmInput.delay = std::clamp(ad.value(tbl::Verzoegerungszeit).toInt(), 0, 255);
    d.alarmInput.text = textOf(sms.value(textCol));
    sms.moveNext();
    store.powerOn.moveFirst();
    d.powerOn.recipients = recipientMask(store.powerOn, 1);
    d.powerOn.text = textOf(sms.value(textCol));

    Recordset& adr = store.addresses;
    adr.moveFirst();
    for (int i = 0; i < 8; ++i) {
        ProfileData::User& u = d.users[i];
        u.active = adr.value(QStringLiteral("Status")).toInt() != 0;
        u.op = adr.value(QStringLiteral("Operator")).toInt() != 0;
        u.password = textOf(adr.value(QStringLiteral("Passwort")));
        u.number = textOf(adr.value(QStringLiteral("Natel_Nummer")));
        u.name = textOf(adr.value(QStringLiteral("Namen")));
        adr.moveNext();
    }
    return d;
}

void buildImage(const ProfileData& d, Image& img)
{
    img.reset();
    long address = 0;
    int blockCode = 0x0F;
    const QString h10 = QStringLiteral("10"), h00 = QStringLiteral("00");
    auto next = [&address]() {
        const QString a = Image::addressHex(address);
        address += 16;
        return a;
    };
    // One block: parameter record, record 1, the four text records and the two closing ones.
    auto block = [&](int b, const QString& d1, const QString& d2, const QString& d3, const QString& password,
                     const QString& number, const QString& text) {
        ++blockCode;
        img.CreateParameterRecord(b, 0, h10, next(), h00, Image::hex2(blockCode), d1, d2, d3, h00, h00, h00, h00,
                                  password);
        img.CreateTextRecord(b, 1, h10, next(), h00, number);
        img.terminatorWritten = false;
        const QByteArray bytes = Cp1252::encode(text).left(64);
        for (int r = 2; r <= 5; ++r)
            img.CreateTerminatedTextRecord(b, r, h10, next(), h00, Cp1252::decode(bytes.mid((r - 2) * 16, 16)));
        img.CreateTerminatedTextRecord(b, 6, h10, next(), h00, QString());
        img.CreateTerminatedTextRecord(b, 7, h10, next(), h00, QString());
    };
    auto reserved = [&](int b) { block(b, h00, h00, h00, QString(), QString(), QString()); };

    for (int n = 0; n < 16; ++n)
        block(n, d.inputs[n].alarm ? QStringLiteral("01") : h00, Image::hex2(d.inputs[n].recipients), h00, QString(),
              QString(), d.inputs[n].text);
    for (int b = 16; b <= 31; ++b)
        reserved(b);
    for (int n = 0; n < 8; ++n)
        block(32 + n, d.outputs[n].defaultState ? QStringLiteral("08") : h00, Image::hex2(d.outputs[n].recipients), h00,
              QString(), QString(), d.outputs[n].text);
    for (int b = 40; b <= 51; ++b)
        reserved(b);
    block(52, h00, Image::hex2(d.alarmInput.recipients), Image::hex2(std::clamp(d.alarmInput.delay, 0, 255)), QString(),
          QString(), d.alarmInput.text);
    block(53, h00, Image::hex2(d.powerOn.recipients), h00, QString(), QString(), d.powerOn.text);
    for (int b = 54; b <= 55; ++b)
        reserved(b);
    for (int n = 0; n < 8; ++n) {
        const ProfileData::User& u = d.users[n];
        const int flags = (u.active ? 0x80 : 0) + (u.op ? 0x40 : 0);
        block(56 + n, Image::hex2(flags), h00, h00, u.password, Cp1252::decode(Cp1252::encode(u.number).left(16)),
              u.name);
    }
}

void buildImageFromStore(ConfigStore& store, int language, Image& img)
{
    img.reset();
    buildImage(fromStore(store, language), img);
}

WriteResult writeProfileFile(ProgramContext& context, const Image& img, const QString& path,
                             const std::function<void(int, int)>& progress)
{
    WriteResult res;
    QByteArray text;
    text.reserve(Image::LineCount * 45 + 13);
    int done = 0;
    for (int b = 0; b < Image::Blocks; ++b) {
        for (int r = 0; r < Image::Records; ++r) {
            text += img.line(b, r).toLatin1();
            text += "\r\n";
            if (progress)
                progress(++done, Image::LineCount);
        }
        if (context.closing) {
            res.kind = WriteResult::Cancelled;
            return res;
        }
    }
    text += QByteArray(Image::EndRecord) + "\r\n";
    // Through a new file that replaces the old one only when complete: a failure leaves the
    // old file as it was and says the system's reason.
    const FileAccess::WriteResult w = FileAccess::writeFile(context, path, text);
    if (!w.ok()) {
        res.kind = w.kind == FileAccess::WriteResult::ReadOnly ? WriteResult::ReadOnly : WriteResult::Failed;
        res.error = w.error;
        return res;
    }
    context.unsavedChanges = false;
    return res;
}
}
