#include "store/ImageToStore.h"

#include "core/ProgramContext.h"

#include "image/Image.h"
#include "store/ConfigStore.h"

namespace {
QVariant textValue(const QString& t) { return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t); }

void setRecipients(Recordset& rs, int offset, std::uint8_t mask)
{
    for (int j = 0; j < 8; ++j)
        rs.setValue(j + offset, (mask >> j) & 1 ? 1 : 0);
}

// The SMS row linked to an event. The rows ascend with the blocks, so the search goes on
// from the previous hit; a link that points backwards is still found from the first row.
void findText(const ProgramContext& context, Recordset& sms, const QVariant& id)
{
    const QString criterion = QStringLiteral("ID = ") + id.toString();
    if (!sms.eof() && sms.find(criterion))
        return;
    sms.moveFirst();
    if (!sms.find(criterion))
        throw StoreError(context
                             .msgOr(QStringLiteral("gsMsgSMSZeileFehlt"),
                                    QStringLiteral("Der Tabelle \"SMS\" fehlt die Zeile mit der ID %1."))
                             .arg(id.toString()));
}
} // namespace

void storeImage(const Image& img, ConfigStore& store, int language)
{
    const int textCol = language + 1;
    Recordset& in = store.inputs;
    Recordset& out = store.outputs;
    Recordset& sms = store.sms;
    Recordset& ad = store.alarmInput;
    Recordset& po = store.powerOn;
    Recordset& adr = store.addresses;
    try {
        if (in.recordCount() < 16 || out.recordCount() < 8 || adr.recordCount() < 8 || ad.recordCount() < 1
            || po.recordCount() < 1)
            throw StoreError(store.context().msgOr(
                QStringLiteral("gsMsgFesteZeilenFehlen"),
                QStringLiteral("Den festen Tabellen der Konfigurationsdatenbank fehlen Zeilen.")));
        in.moveFirst();
        sms.moveFirst();
        ad.moveFirst();
        int inSF = 0, inFF = 0;
        for (int b = 0; b <= 15; ++b) {
            if (img.dataByte(b, 0, 1) != 0) {
                const int bit = 1 << (b / 2);
                if (b % 2 == 0)
                    inSF += bit;
                else
                    inFF += bit;
            }
            setRecipients(in, 2, img.dataByte(b, 0, 2));
            findText(store.context(), sms, in.value(QStringLiteral("SMSID")));
            sms.setValue(textCol, textValue(img.smsText(b + 1)));
            in.moveNext();
        }
        ad.setValue(QStringLiteral("IN_SF"), inSF);
        ad.setValue(QStringLiteral("IN_FF"), inFF);

        out.moveFirst();
        sms.moveFirst();
        for (int b = 32; b <= 39; ++b) {
            setRecipients(out, 2, img.dataByte(b, 0, 2));
            out.setValue(QStringLiteral("DefaultState"), (img.dataByte(b, 0, 1) & 0x08) ? 1 : 0);
            findText(store.context(), sms, out.value(QStringLiteral("SMSID")));
            sms.setValue(textCol, textValue(img.smsText(b + 1)));
            out.moveNext();
        }

        ad.moveFirst();
        setRecipients(ad, 3, img.dataByte(52, 0, 2));
        ad.setValue(tbl::Verzoegerungszeit, int(img.dataByte(52, 0, 3)));
        findText(store.context(), sms, ad.value(QStringLiteral("SMS")));
        sms.setValue(textCol, textValue(img.smsText(53)));

        po.moveFirst();
        setRecipients(po, 1, img.dataByte(53, 0, 2));
        findText(store.context(), sms, po.value(QStringLiteral("SMS")));
        sms.setValue(textCol, textValue(img.smsText(54)));

        adr.moveFirst();
        for (int b = 56; b <= 63; ++b) {
            const std::uint8_t flags = img.dataByte(b, 0, 1);
            adr.setValue(QStringLiteral("Status"), (flags & 0x80) ? 1 : 0);
            adr.setValue(QStringLiteral("Operator"), (flags & 0x40) ? 1 : 0);
            QString pw;
            for (int j = 8; j <= 11; ++j)
                pw.append(Cp1252::decode(img.dataByte(b, 0, j)));
            adr.setValue(QStringLiteral("Passwort"), pw);
            QString number;
            for (int j = 0; j < 16 && img.dataByte(b, 1, j) != 0; ++j)
                number.append(Cp1252::decode(img.dataByte(b, 1, j)));
            adr.setValue(QStringLiteral("Natel_Nummer"), textValue(number));
            adr.setValue(QStringLiteral("Namen"), textValue(img.smsText(b + 1)));
            adr.moveNext();
        }
        store.updateAll();
    } catch (const StoreError&) {
        for (Recordset* rs : {&adr, &ad, &in, &out, &po, &sms}) {
            try {
                if (rs->isOpen())
                    rs->cancelBatch();
            } catch (const StoreError&) {
            }
        }
        throw;
    }
}
