#pragma once
// The unit's side of every command the tool sends: configuration area, relays, inputs,
// serial number, SIM PIN, validity index, versions, write modes and restart, with
// switchable faults and a log of what went over the wire.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

struct SimFaults {
    bool silent = false; // never answers anything
    bool eToCr = false; // answers every bare CR with "E"
    bool junkToCr = false; // answers every bare CR with CR LF only (no prompt)
    int eFirstTries = 0; // "E" to the first K tries of every data line of a write
    int eLine = 0; // "E" always to data line N (1-based) of a write
    int silentFirstTries = 0; // no reply to the first K tries of every data line
    int silentLine = 0; // never a reply to data line N
    int silentAfter = 0; // after N data lines the unit never answers anything again
    int lateReplyMs = 0; // the status character of a data line comes this late
    bool refuseWrite = false; // "E" to every ":HW" line
    bool clearOnWrite = false; // a configuration write clears the configuration area (to the
                               // blank configuration) when it begins
    // Faults of block replies (":HR3"): block number 1..64 (0 = every block), how many
    // times (-1 = always).
    enum class Block { None, Damage, Cut, NoPrompt, Refuse, Silent };
    Block blockFault = Block::None;
    int blockFaultBlock = 0;
    int blockFaultTimes = -1;
    int blockFaultEvery = 0; // only every N-th block read (0: each one)
    int eConfirm = 0; // "E" to the first N CRs confirming a firmware write
    int eFirmwareEnd = 0; // "E" to the first N end records of a firmware write
    bool noStart = false; // after a firmware update the unit does not start (silent)
    int statusCut = 0; // the next N replies to 16-byte reads are cut short
    int statusLost = 0; // the next N 16-byte reads get no reply at all
    int vanishAfterLines = 0; // the in-process port disappears after N received lines
};

struct SimLogEntry {
    double t; // ms
    bool fromTool; // true: tool -> unit
    QByteArray data;
};

class SimUnit {
public:
    SimUnit();

    // Memory areas: 1 live status (256 bytes), 2 parameters (256), 3 configuration (8192).
    QByteArray area1, area2, area3;
    int hwVersion = 120; // x 100
    int fwVersion = 100; // x 100
    int fwVersionAfterUpdate = 0; // 0: unchanged by a firmware update
    char ackChar = ':'; // status character for an accepted line
    int restartMs = 1500; // silence after ":SMR" and after a firmware update
    QString writePassword = QStringLiteral("6054");
    SimFaults faults;

    // A blank configured unit: every block carries its block code and an empty text.
    void setBlankConfiguration();
    // An erased unit: all 0xFF.
    void setErased();
    // Loads a profile file (Intel-HEX); returns false on a bad file.
    bool loadImage(const QString& path, QString* error = nullptr);

    quint8 relays() const { return quint8(area1[0x62]); }
    quint8 inputs() const { return quint8(area1[0x60]); }
    void setInputs(quint8 v) { area1[0x60] = char(v); }
    QByteArray serial() const { return area2.mid(0, 6); }
    QByteArray pin() const { return area2.mid(0x10, 4); }
    int validity() const { return quint8(area2[0x20]); }

    // One byte from the tool arriving at time t (ms). Replies go out through send.
    // afterIdle: the line was idle before this byte (the tool wrote it after a pause); the
    // wire log starts a new entry there, so every transmission has its own time.
    void feed(char c, double t, bool afterIdle = false);
    std::function<void(const QByteArray& bytes, double t)> send;

    // What went over the wire, and the items the unit parsed (commands and records as
    // text, "" for a bare CR, "<ESC>" for ESC).
    QList<SimLogEntry> log;
    QStringList received;
    QByteArray rawIn() const;
    QByteArray rawOut() const;
    int firmwareRecords = 0; // records accepted in the last firmware write
    int writesClosed = 0; // writes ended by the end record (taken as complete);
                          // ESC leaves a write without this
    int restarts = 0;
    bool portVanished = false; // set by the vanish fault
    void clearLog()
    {
        log.clear();
        received.clear();
    }

    // Builds one Intel-HEX record ":" LL AAAA TT data CC.
    static QByteArray record(int address, const QByteArray& data, int type = 0);
    static QByteArray blockReply(const QByteArray& area, int address);

private:
    enum class Mode { Idle, Write, FwConfirm };
    void reply(const QByteArray& r, double t);
    void handleCommand(const QByteArray& line, double t);
    void handleRecord(const QByteArray& rec, double t);
    void readReply(int areaNo, int address, double t);
    bool passwordKnown(const QByteArray& pw) const;
    Mode m_mode = Mode::Idle;
    int m_area = 0;
    QByteArray m_buf;
    bool m_afterRecord = false;
    double m_silentUntil = -1;
    QByteArray m_lastLine;
    int m_tries = 0;
    int m_lineNo = 0;
    int m_blockFaultsLeft = -1;
    int m_linesSeen = 0;
    int m_blockReads = 0;
    int m_dataLines = 0; // data lines of every write so far (silentAfter)
};
