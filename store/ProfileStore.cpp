#include "store/ProfileStore.h"

#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "image/HexWriter.h"
#include "image/Image.h"
#include "store/ConfigStore.h"

#include <QDir>

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

void setRecipients(Recordset& rs, int offset, std::uint8_t mask)
{
    for (int j = 0; j < 8; ++j)
        rs.setValue(j + offset, (mask >> j) & 1 ? 1 : 0);
}

QString textOf(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }
QVariant textValue(const QString& t) { return t.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(t); }

// Moves the SMS recordset to the row linked to an event. The rows ascend with the blocks, so
// the search goes on from the previous hit; a link that points backwards is still found from
// the first row.
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

// The data into the recordsets, committed in one transaction; on failure every recordset
// shows the file again. The start-up's progress bar advances as a profile is taken over.
void write(const ProfileData& d, ConfigStore& store, int language)
{
    const ProgramContext& context = store.context();
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
            throw StoreError(
                context.msgOr(QStringLiteral("gsMsgFesteZeilenFehlen"),
                              QStringLiteral("Den festen Tabellen der Konfigurationsdatenbank fehlen Zeilen.")));
        in.moveFirst();
        sms.moveFirst();
        ad.moveFirst();
        // The masks are rebuilt from zero: a flag the data does not carry is cleared.
        int inSF = 0, inFF = 0;
        for (int n = 0; n < 16; ++n) {
            const ProfileData::Input& e = d.inputs[n];
            // Blocks 0, 2, .. are the rising edges (IN_SF), 1, 3, .. the falling ones.
            if (e.alarm)
                (n % 2 == 0 ? inSF : inFF) += 1 << (n / 2);
            setRecipients(in, 2, e.recipients);
            findText(context, sms, in.value(QStringLiteral("SMSID")));
            sms.setValue(textCol, textValue(e.text));
            in.moveNext();
            LoadingProgress::advance();
        }
        ad.setValue(QStringLiteral("IN_SF"), inSF);
        ad.setValue(QStringLiteral("IN_FF"), inFF);

        out.moveFirst();
        sms.moveFirst();
        for (const ProfileData::Output& e : d.outputs) {
            setRecipients(out, 2, e.recipients);
            out.setValue(QStringLiteral("DefaultState"), e.defaultState ? 1 : 0);
            findText(context, sms, out.value(QStringLiteral("SMSID")));
            sms.setValue(textCol, textValue(e.text));
            out.moveNext();
            LoadingProgress::advance();
        }

        ad.moveFirst();
        setRecipients(ad, 3, d.alarmInput.recipients);
        ad.setValue(tbl::Verzoegerungszeit, d.alarmInput.delay);
        findText(context, sms, ad.value(QStringLiteral("SMS")));
        sms.setValue(textCol, textValue(d.alarmInput.text));

        po.moveFirst();
        setRecipients(po, 1, d.powerOn.recipients);
        findText(context, sms, po.value(QStringLiteral("SMS")));
        sms.setValue(textCol, textValue(d.powerOn.text));
        LoadingProgress::advance();

        adr.moveFirst();
        for (const ProfileData::User& u : d.users) {
            adr.setValue(QStringLiteral("Status"), u.active ? 1 : 0);
            adr.setValue(QStringLiteral("Operator"), u.op ? 1 : 0);
            // Always the four characters the block holds, NUL characters included.
            adr.setValue(QStringLiteral("Passwort"), u.password);
            adr.setValue(QStringLiteral("Natel_Nummer"), textValue(u.number));
            adr.setValue(QStringLiteral("Namen"), textValue(u.name));
            adr.moveNext();
            LoadingProgress::advance();
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
} // namespace

namespace ProfileStore {
ProfileData read(ConfigStore& store, int language)
{
    const ProgramContext& context = store.context();
    const int textCol = language + 1;
    needRows(context, store.inputs, 16);
    needRows(context, store.outputs, 8);
    needRows(context, store.addresses, 8);
    needRows(context, store.sms, 26, true);
    needRows(context, store.alarmInput, 1, true);
    needRows(context, store.powerOn, 1, true);

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
        findText(context, sms, in.value(QStringLiteral("SMSID")));
        e.text = textOf(sms.value(textCol));
        in.moveNext();
    }
    Recordset& out = store.outputs;
    out.moveFirst();
    sms.moveFirst();
    for (ProfileData::Output& e : d.outputs) {
        e.recipients = recipientMask(out, 2);
        e.defaultState = out.value(QStringLiteral("DefaultState")).toInt() == 1;
        findText(context, sms, out.value(QStringLiteral("SMSID")));
        e.text = textOf(sms.value(textCol));
        out.moveNext();
    }
    ad.moveFirst();
    d.alarmInput.recipients = recipientMask(ad, 3);
    // The unit keeps the delay in one byte.
    d.alarmInput.delay = std::clamp(ad.value(tbl::Verzoegerungszeit).toInt(), 0, 255);
    findText(context, sms, ad.value(QStringLiteral("SMS")));
    d.alarmInput.text = textOf(sms.value(textCol));
    store.powerOn.moveFirst();
    d.powerOn.recipients = recipientMask(store.powerOn, 1);
    findText(context, sms, store.powerOn.value(QStringLiteral("SMS")));
    d.powerOn.text = textOf(sms.value(textCol));

    Recordset& adr = store.addresses;
    adr.moveFirst();
    for (ProfileData::User& u : d.users) {
        u.active = adr.value(QStringLiteral("Status")).toInt() != 0;
        u.op = adr.value(QStringLiteral("Operator")).toInt() != 0;
        u.password = textOf(adr.value(QStringLiteral("Passwort")));
        u.number = textOf(adr.value(QStringLiteral("Natel_Nummer")));
        u.name = textOf(adr.value(QStringLiteral("Namen")));
        adr.moveNext();
    }
    return d;
}

void buildImage(ConfigStore& store, int language, Image& img)
{
    img.reset();
    HexWriter::buildImage(read(store, language), img);
}

void storeImage(const Image& img, ConfigStore& store, int language, ProfileReader::AlarmFlagRule alarmFlags)
{
    write(ProfileReader::decode(img, alarmFlags), store, language);
}

bool loadFile(const QString& path, ConfigStore& store, int language, QString* error)
{
    Image img;
    if (!ProfileReader::readFile(store.context(), path, img, error))
        return false;
    try {
        storeImage(img, store, language, ProfileReader::AlarmFlagRule::ExactlyOne);
    } catch (const StoreBusy&) {
        throw; // the caller may try again
    } catch (const StoreError& e) {
        if (error)
            *error = store.context()
                         .msgOr(QStringLiteral("gsMsgProfilNichtÜbernommen"),
                                QStringLiteral(
                                    "Das Profil %1 kann nicht in die Konfigurationsdatenbank übernommen werden: %2"))
                         .arg(QDir::toNativeSeparators(path), e.message());
        return false;
    }
    return true;
}
}
