#include "sim/SimUnit.h"
#include "core/Logging.h"

#include <QRegularExpression>

#include <QFile>

namespace {
int hexVal(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
bool hexByte(const QByteArray& s, int pos, int* v)
{
    if (pos + 1 >= s.size())
        return false;
    const int a = hexVal(s[pos]), b = hexVal(s[pos + 1]);
    if (a < 0 || b < 0)
        return false;
    *v = a * 16 + b;
    return true;
}
// Decodes ":LLAAAATT..CC"; false when malformed or the checksum is wrong.
bool parseRecord(const QByteArray& rec, int* len, int* addr, int* type, QByteArray* data)
{
    int l = 0, ah = 0, al = 0, t = 0;
    if (rec.size() < 11 || rec[0] != ':' || !hexByte(rec, 1, &l) || rec.size() != 11 + 2 * l)
        return false;
    if (!hexByte(rec, 3, &ah) || !hexByte(rec, 5, &al) || !hexByte(rec, 7, &t))
        return false;
    int sum = l + ah + al + t;
    QByteArray d;
    for (int i = 0; i < l; ++i) {
        int v = 0;
        if (!hexByte(rec, 9 + 2 * i, &v))
            return false;
        d.append(char(v));
        sum += v;
    }
    int cs = 0;
    if (!hexByte(rec, 9 + 2 * l, &cs) || ((sum + cs) & 0xFF) != 0)
        return false;
    *len = l;
    *addr = ah * 256 + al;
    *type = t;
    *data = d;
    return true;
}
}

SimUnit::SimUnit() : area1(256, '\0'), area2(256, '\0'), area3(8192, '\0')
{
    area2.replace(0, 6, "000000");
    area2.replace(0x10, 8, QByteArray("0000\0\0\0\0", 8));
    area2[0x20] = char(167);
    setBlankConfiguration();
}

void SimUnit::setBlankConfiguration()
{
    area3.fill(' ');
    for (int b = 0; b < 64; ++b) {
        char* blk = area3.data() + b * 128;
        std::fill(blk, blk + 32, '\0');
        blk[0] = char(0x10 + b);
        blk[32] = '\0';
    }
}

void SimUnit::setErased() { area3.fill(char(0xFF)); }

bool SimUnit::loadImage(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    QByteArray img = area3;
    int lineNo = 0;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        ++lineNo;
        if (line.isEmpty())
            continue;
        int l, a, t;
        QByteArray d;
        if (!parseRecord(line, &l, &a, &t, &d)) {
            if (error)
                *error = QStringLiteral("line %1 is not a valid Intel-HEX record").arg(lineNo);
            return false;
        }
        if (t == 1)
            break;
        if (t != 0 || a + l > img.size()) {
            if (error)
                *error = QStringLiteral("line %1 lies outside the configuration memory").arg(lineNo);
            return false;
        }
        img.replace(a, l, d);
    }
    area3 = img;
    return true;
}

QByteArray SimUnit::record(int address, const QByteArray& data, int type)
{
    QByteArray r = ":";
    int sum = data.size() + (address >> 8) + (address & 0xFF) + type;
    r += QByteArray::number(data.size(), 16).rightJustified(2, '0');
    r += QByteArray::number(address, 16).rightJustified(4, '0');
    r += QByteArray::number(type, 16).rightJustified(2, '0');
    for (char c : data) {
        r += QByteArray::number(quint8(c), 16).rightJustified(2, '0');
        sum += quint8(c);
    }
    r += QByteArray::number((256 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0');
    return r.toUpper();
}

QByteArray SimUnit::blockReply(const QByteArray& area, int address)
{
    QByteArray r = "\r\n";
    for (int i = 0; i < 8; ++i)
        r += record(address + 16 * i, area.mid(address + 16 * i, 16)) + "\r\n";
    r += ":00000001FF\r\nOK\r\n>";
    return r;
}

QByteArray SimUnit::rawIn() const
{
    QByteArray r;
    for (const SimLogEntry& e : log)
        if (e.fromTool)
            r += e.data;
    return r;
}

QByteArray SimUnit::rawOut() const
{
    QByteArray r;
    for (const SimLogEntry& e : log)
        if (!e.fromTool)
            r += e.data;
    return r;
}

void SimUnit::reply(const QByteArray& r, double t)
{
    if (faults.silent || r.isEmpty() || (faults.silentAfter > 0 && m_dataLines > faults.silentAfter))
        return;
    log.append({t, false, r});
    if (send)
        send(r, t);
}

bool SimUnit::passwordKnown(const QByteArray& pw) const
{
    bool any = false;
    for (int b = 56; b < 64; ++b) {
        const QByteArray p = area3.mid(b * 128 + 8, 4);
        if (p == QByteArray(4, '\0') || p == QByteArray(4, char(0xFF)))
            continue;
        any = true;
        if (p == pw)
            return true;
    }
    return !any;
}

void SimUnit::feed(char c, double t, bool afterIdle)
{
    if (!afterIdle && !log.isEmpty() && log.last().fromTool && (c == 13 || log.last().data.right(1) != "\r"))
        log.last().data.append(c);
    else
        log.append({t, true, QByteArray(1, c)});
    if (t < m_silentUntil) { // restarting: the unit hears nothing and starts afresh
        m_buf.clear();
        m_afterRecord = false;
        return;
    }
    if (c == 27) {
        received << QStringLiteral("<ESC>");
        m_buf.clear();
        m_mode = Mode::Idle;
        m_afterRecord = false;
        return;
    }
    if (c == '\n')
        return;
    if (c == '\r') {
        if (m_buf.isEmpty()) {
            if (m_afterRecord) { // the CR that ends a record already answered
                m_afterRecord = false;
                return;
            }
            received << QString();
            if (m_mode == Mode::FwConfirm) {
                if (faults.eConfirm > 0) {
                    --faults.eConfirm;
                    reply("E", t);
                    return;
                }
                m_mode = Mode::Write;
                reply(QByteArray(1, ackChar), t);
            } else {
                reply(faults.junkToCr ? "\r\n" : faults.eToCr ? "E" : ">", t);
            }
            return;
        }
        const QByteArray line = m_buf;
        m_buf.clear();
        m_afterRecord = false;
        handleCommand(line, t);
        return;
    }
    m_buf.append(c);
    m_afterRecord = false;
    // An Intel-HEX record is complete when its length says so; no CR needed.
    int len = 0;
    if (m_buf.size() >= 3 && m_buf[0] == ':' && hexByte(m_buf, 1, &len) && m_buf.size() == 11 + 2 * len) {
        const QByteArray rec = m_buf;
        m_buf.clear();
        m_afterRecord = true;
        handleRecord(rec, t);
    }
}

void SimUnit::handleRecord(const QByteArray& rec, double t)
{
    received << QString::fromLatin1(rec);
    if (faults.vanishAfterLines > 0 && ++m_linesSeen >= faults.vanishAfterLines)
        portVanished = true;
    int len, addr, type;
    QByteArray data;
    const bool ok = parseRecord(rec, &len, &addr, &type, &data);
    if (!ok) {
        reply("E", t);
        return;
    }
    if (type == 1) { // end record
        if (m_mode == Mode::Write)
            ++writesClosed;
        if (m_mode == Mode::Write && m_area == 4 && faults.eFirmwareEnd > 0) {
            --faults.eFirmwareEnd;
            reply("E", t);
            return;
        }
        if (m_mode == Mode::Write && m_area == 4) {
            m_mode = Mode::Idle;
            ++restarts;
            if (fwVersionAfterUpdate > 0)
                fwVersion = fwVersionAfterUpdate;
            m_silentUntil = faults.noStart ? 1e300 : t + restartMs; // restarts with the new firmware, no answer
            return;
        }
        m_mode = Mode::Idle;
        reply(QByteArray(1, ackChar), t);
        return;
    }
    if (m_mode != Mode::Write) {
        reply("E", t);
        return;
    }
    ++m_dataLines;
    // Which data line of the write this is, and how often it came.
    if (rec == m_lastLine) {
        ++m_tries;
    } else {
        m_lastLine = rec;
        m_tries = 1;
        ++m_lineNo;
    }
    if (faults.silentLine == m_lineNo || m_tries <= faults.silentFirstTries)
        return;
    if (faults.eLine == m_lineNo || m_tries <= faults.eFirstTries) {
        reply("E", t);
        return;
    }
    if (m_area == 3) {
        if (type != 0 || addr + len > area3.size()) {
            reply("E", t);
            return;
        }
        area3.replace(addr, len, data);
    } else if (m_area == 2) {
        if (type != 0 || addr + len > area2.size()) {
            reply("E", t);
            return;
        }
        area2.replace(addr, len, data);
    } else if (m_area == 4) {
        ++firmwareRecords;
    }
    reply(QByteArray(1, ackChar), t + faults.lateReplyMs);
}

void SimUnit::readReply(int areaNo, int address, double t)
{
    const QByteArray& area = areaNo == 1 ? area1 : area2;
    if (areaNo == 1) {
        area1[0x6E] = char(hwVersion);
        area1[0x6F] = char(fwVersion);
    }
    if (address < 0 || address + 16 > area.size()) {
        reply("E", t);
        return;
    }
    if (faults.statusLost > 0) {
        --faults.statusLost;
        return;
    }
    QByteArray r = "\r\n" + record(address, area.mid(address, 16)) + "\r\n:00000001FF\r\nOK\r\n>";
    if (faults.statusCut > 0) {
        --faults.statusCut;
        r = r.left(30);
    }
    reply(r, t);
}

void SimUnit::handleCommand(const QByteArray& line, double t)
{
    qCDebug(lcSim).noquote() << "command"
                             << QString::fromLatin1(line).replace(QRegularExpression(QStringLiteral("(P[WAN]:)\\S*")),
                                                                  QStringLiteral("\\1****"));
    received << QString::fromLatin1(line);
    if (faults.vanishAfterLines > 0 && ++m_linesSeen >= faults.vanishAfterLines)
        portVanished = true;
    auto field = [&](const QByteArray& key) {
        const int at = line.indexOf(" " + key + ":");
        if (at < 0)
            return QByteArray();
        const int from = at + key.size() + 2;
        const int end = line.indexOf(' ', from);
        return line.mid(from, end < 0 ? -1 : end - from);
    };
    if (line.startsWith(":HR1 CT:0010 AD:00") || line.startsWith(":HR2 CT:0010 AD:00")) {
        bool ok = false;
        const int address = line.mid(18).toInt(&ok, 16);
        if (!ok || line.size() != 20) {
            reply("E", t);
            return;
        }
        readReply(line[3] - '0', address, t);
        return;
    }
    if (line.startsWith(":HR3:0080:") && line.size() == 14) {
        bool ok = false;
        const int address = line.mid(10).toInt(&ok, 16);
        if (!ok || address % 128 != 0 || address >= 8192) {
            reply("E", t);
            return;
        }
        const int block = address / 128 + 1;
        QByteArray r = blockReply(area3, address);
        const bool due = faults.blockFaultEvery <= 0 || ++m_blockReads % faults.blockFaultEvery == 0;
        if (faults.blockFault != SimFaults::Block::None && due
            && (faults.blockFaultBlock == 0 || faults.blockFaultBlock == block) && faults.blockFaultTimes != 0) {
            if (faults.blockFaultTimes > 0)
                --faults.blockFaultTimes;
            switch (faults.blockFault) {
            case SimFaults::Block::Damage: r[2 + 45 * 3 + 20] = (r[2 + 45 * 3 + 20] == '0' ? '1' : '0'); break;
            case SimFaults::Block::Cut: r = r.left(200); break;
            case SimFaults::Block::NoPrompt: r[r.size() - 1] = ' '; break;
            case SimFaults::Block::Refuse: r = "E"; break;
            case SimFaults::Block::Silent: r.clear(); break;
            case SimFaults::Block::None: break;
            }
        }
        reply(r, t);
        return;
    }
    if (line.startsWith(":HW") && line.size() >= 4) {
        const int area = line[3] - '0';
        if (faults.refuseWrite || field("PW") != writePassword.toLatin1() || area < 2 || area > 4) {
            reply("E", t);
            return;
        }
        m_area = area;
        m_mode = area == 4 ? Mode::FwConfirm : Mode::Write;
        if (area == 3 && faults.clearOnWrite)
            setBlankConfiguration();
        m_lastLine.clear();
        m_tries = 0;
        m_lineNo = 0;
        if (area == 4)
            firmwareRecords = 0;
        reply(QByteArray(1, ackChar), t);
        return;
    }
    if (line.startsWith(":RS") || line.startsWith(":RC")) {
        bool ok = false;
        const int n = line.mid(3, line.indexOf(' ') - 3).toInt(&ok);
        if (!ok || n < 1 || n > 8 || !passwordKnown(field("PW"))) {
            reply("E", t);
            return;
        }
        quint8 r = relays();
        if (line[2] == 'S')
            r |= quint8(1 << (n - 1));
        else
            r &= quint8(~(1 << (n - 1)));
        area1[0x62] = char(r);
        reply(QByteArray(1, ackChar), t);
        return;
    }
    if (line.startsWith(":PIN ")) {
        const QByteArray oldPin = field("PA"), newPin = field("PN");
        bool digits = newPin.size() == 4;
        for (char c : newPin)
            digits = digits && c >= '0' && c <= '9';
        if (!passwordKnown(field("PW")) || oldPin != pin() || !digits) {
            reply("E", t);
            return;
        }
        area2.replace(0x10, 4, newPin);
        reply(QByteArray(1, ackChar), t);
        return;
    }
    if (line.startsWith(":SMR")) {
        ++restarts;
        m_mode = Mode::Idle;
        m_silentUntil = t + restartMs;
        return;
    }
    reply("E", t);
}
