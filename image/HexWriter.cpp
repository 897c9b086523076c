#include "image/HexWriter.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"

#include <algorithm>

namespace HexWriter {
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
