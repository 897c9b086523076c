#include "link/ChangedWrite.h"

#include "core/ProgramContext.h"

#include <algorithm>

namespace {
const QString EndRecord = QStringLiteral(":00000001FF");

// Passes everything on to the sink it wraps but the write's own "written successfully":
// the sentence of the whole sequence takes its place.
class WithoutWriteSuccess : public LinkSink {
public:
    explicit WithoutWriteSuccess(LinkSink& inner) : m_inner(inner) {}
    void setLamp(int bgr) override { m_inner.setLamp(bgr); }
    void setPanel3(const QString& text) override { m_inner.setPanel3(text); }
    Notice::Answer notify(const Notice& notice) override
    {
        return notice.key == QLatin1String("gsMsgDownloadOK") ? Notice::Ok : m_inner.notify(notice);
    }
    void setProgressRange(int min, int max) override { m_inner.setProgressRange(min, max); }
    void setProgressValue(int value) override { m_inner.setProgressValue(value); }
    void setMessage(const QString& text) override { m_inner.setMessage(text); }
    void setCancelVisible(bool visible) override { m_inner.setCancelVisible(visible); }

private:
    LinkSink& m_inner;
};

struct SinkScope {
    Link& link;
    LinkSink& before;
    WithoutWriteSuccess quiet;
    explicit SinkScope(Link& l) : link(l), before(l.sink()), quiet(l.sink()) { link.setSink(quiet); }
    ~SinkScope() { link.setSink(before); }
    SinkScope(const SinkScope&) = delete;
    SinkScope& operator=(const SinkScope&) = delete;
};

int dataBytes(const QString& line)
{
    // ":10AAAA00" then 16 data bytes; the first record of a block starts with its block code.
    int n = 0;
    for (int i = 9; i + 1 < 41 && i + 1 < line.size(); i += 2) {
        const QStringView byte = QStringView(line).mid(i, 2);
        if (byte != u"00" && byte != u"20" && byte != u"FF")
            ++n;
    }
    return n;
}

// The outcome of a proof read that could not run: the link's reason, told once.
TransferOutcome proofReadFailed(Link& link, const QString& sentence)
{
    TransferOutcome o;
    if (link.portLost()) {
        link.showPortLost();
        o.kind = TransferOutcome::PortLost;
        o.messageKey = QStringLiteral("gsMsgVerbindungUnterbrochen");
    } else if (link.cancelled() || link.context().closing) {
        link.cancelToken().clear();
        o.kind = TransferOutcome::Cancelled;
        o.messageKey = QStringLiteral("gsMsgLesenAbgebrochen");
    } else {
        o.kind = TransferOutcome::NoAnswer;
        o.messageKey = QStringLiteral("gsMsgKeineAntwort");
    }
    o.detail = sentence;
    o.severity = o.kind == TransferOutcome::Cancelled ? Notice::Severity::Warning : Notice::Severity::Critical;
    if (o.kind != TransferOutcome::PortLost)
        link.notify(o.messageKey, sentence, o.severity);
    return o;
}
}

namespace ChangedWrite {

QList<int> differingRecords(const QStringList& unitLines, const QStringList& fileLines)
{
    QList<int> out;
    for (int i = 0; i < fileLines.size() && fileLines[i] != EndRecord; ++i)
        if (unitLines.value(i) != fileLines[i])
            out << i;
    return out;
}

QList<int> proofBlocks(const QStringList& unitLines, const QList<int>& written)
{
    QList<int> blocks;
    for (const int r : written)
        if (blocks.isEmpty() || blocks.last() != r / 8)
            blocks << r / 8;
    int best = -1, bestBytes = 0;
    for (int b = 0; b < 64; ++b) {
        if (blocks.contains(b))
            continue;
        int n = -1; // the block code is no data
        for (int r = 0; r < 8; ++r)
            n += dataBytes(unitLines.value(b * 8 + r));
        if (best < 0 || n > bestBytes) {
            best = b;
            bestBytes = n;
        }
    }
    if (best >= 0) {
        blocks << best;
        std::sort(blocks.begin(), blocks.end());
    }
    return blocks;
}

ChangedWriteOutcome run(Link& link, const QStringList& givenUnitLines, const QStringList& fileLines)
{
    const ProgramContext& cx = link.context();
    ChangedWriteOutcome out;
    out.records = int(fileLines.indexOf(EndRecord));
    QStringList unitLines = givenUnitLines;
    if (unitLines.isEmpty()) {
        UnitImage image;
        out.transfer = ConfigTransfer(link).read(image);
        if (!out.transfer.ok())
            return out;
        unitLines = image.lines();
        link.resetForCommand();
    }
    const QList<int> changed = differingRecords(unitLines, fileLines);
    if (changed.isEmpty()) {
        out.transfer.kind = TransferOutcome::Ok;
        out.transfer.severity = Notice::Severity::Information;
        out.transfer.messageKey = QStringLiteral("gsMsgNichtsGeändert");
        out.sentence
            = cx.msgOr(out.transfer.messageKey,
                       QStringLiteral("Das Gerät enthält diese Konfiguration bereits; es wurde nichts gesendet."));
        link.notify(out.transfer.messageKey, out.sentence, Notice::Severity::Information);
        return out;
    }

    SinkScope quiet(link);
    QStringList part;
    for (const int r : changed)
        part << fileLines[r];
    part << EndRecord;
    out.way = ChangedWriteOutcome::Way::Changed;
    link.note(QStringLiteral("sending %1 changed records of %2").arg(changed.size()).arg(out.records));
    out.transfer = ConfigTransfer(link).write(part, 3);
    out.recordsSent = out.transfer.linesAccepted;
    if (!out.transfer.ok())
        return out; // the write has told what reached the unit; nothing else is started

    // The proof: the written blocks and one that was left alone, read back.
    link.resetForCommand();
    const QList<int> blocks = proofBlocks(unitLines, changed);
    link.note(QStringLiteral("proof read of %1 blocks").arg(blocks.size()));
    UnitImage back;
    link.handshake();
    const bool read = !link.unitSilent() && !link.stopFlags() && link.readBlocks(back, blocks);
    if (!read && (link.unitSilent() || link.stopFlags() || link.context().closing)) {
        out.transfer = proofReadFailed(
            link,
            cx.msgOr(QStringLiteral("gsMsgGeänderteNichtGeprüft"),
                     QStringLiteral("%1 von %2 Datensätzen gesendet, aber nicht geprüft: das Gerät konnte danach "
                                    "nicht gelesen werden."))
                .arg(out.recordsSent)
                .arg(out.records));
        return out;
    }
    const QStringList backLines = back.lines();
    int wrongBlock = -1;
    for (const int b : blocks) {
        for (int r = 0; r < 8 && wrongBlock < 0; ++r)
            if (!back.filled[b] || backLines[b * 8 + r] != fileLines.value(b * 8 + r))
                wrongBlock = b;
        if (wrongBlock >= 0)
            break;
    }
    if (wrongBlock < 0) {
        out.transfer.messageKey = QStringLiteral("gsMsgGeänderteGesendet");
        out.sentence = cx.msgOr(out.transfer.messageKey, QStringLiteral("%1 von %2 Datensätzen gesendet, geprüft."))
                           .arg(out.recordsSent)
                           .arg(out.records);
        link.notify(out.transfer.messageKey, out.sentence, Notice::Severity::Information);
        return out;
    }

    // The unit does not hold what it should: the whole configuration, then the whole read.
    out.way = ChangedWriteOutcome::Way::Whole;
    out.reason = cx.msgOr(QStringLiteral("gsMsgBlockWeichtAb"),
                          QStringLiteral("Block %1 enthielt nach dem Schreiben nicht, was er enthalten sollte"))
                     .arg(wrongBlock + 1);
    link.note(QStringLiteral("proof read: block %1 differs; writing the whole configuration").arg(wrongBlock + 1));
    link.sink().setMessage(cx.msgOr(QStringLiteral("gsMsgGanzeKonfigurationLäuft"),
                                    QStringLiteral("Das Gerät hat die unveränderten Datensätze nicht behalten; die "
                                                   "ganze Konfiguration wird gesendet...")));
    link.resetForCommand();
    out.transfer = ConfigTransfer(link).write(fileLines, 3);
    out.recordsSent = out.transfer.linesAccepted;
    if (!out.transfer.ok())
        return out;
    link.resetForCommand();
    UnitImage all;
    const TransferOutcome verify = ConfigTransfer(link).read(all);
    if (!verify.ok()) {
        out.transfer = verify;
        return out;
    }
    out.differing = int(differingRecords(all.lines(), fileLines).size());
    if (out.differing == 0) {
        out.transfer.messageKey = QStringLiteral("gsMsgGanzeGesendet");
        out.sentence = cx.msgOr(out.transfer.messageKey,
                                QStringLiteral("Ganze Konfiguration gesendet, nachdem das Gerät die unveränderten "
                                               "Datensätze nicht behalten hat (%1); geprüft."))
                           .arg(out.reason);
        link.notify(out.transfer.messageKey, out.sentence, Notice::Severity::Information);
    } else {
        out.transfer.messageKey = QStringLiteral("gsMsgGanzeGesendetAbweichend");
        out.transfer.severity = Notice::Severity::Critical;
        out.sentence = cx.msgOr(out.transfer.messageKey,
                                QStringLiteral("Ganze Konfiguration gesendet, nachdem das Gerät die unveränderten "
                                               "Datensätze nicht behalten hat (%1); danach weichen %2 Datensätze "
                                               "des Geräts von der Datei ab."))
                           .arg(out.reason)
                           .arg(out.differing);
        out.transfer.detail = out.sentence;
        link.notify(out.transfer.messageKey, out.sentence, Notice::Severity::Critical);
    }
    return out;
}
}
