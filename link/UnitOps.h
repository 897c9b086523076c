#pragma once
// The unit's live status and relays, its parameters (serial number, SIM PIN, validity),
// the firmware version check, and the firmware update sequence, without widgets: the
// System tab, the toolbar and the command-line tool call these.
#include "link/Link.h"
#include "link/Transfer.h"

#include <QString>
#include <QStringList>

// What became of a command to the unit: its kind, the message that names it, and the
// sentence in the program's language that says what happened (the command line prints it).
struct UnitOutcome {
    enum Kind {
        Ok,
        NoAnswer, // the unit did not answer (or stopped answering)
        PortLost, // the port went away
        Refused, // the unit answered "E" or did not take what it was sent
        Cancelled, // stopped by the user, or a question answered with no
        Mismatch, // the unit's firmware does not match this program
        Incomplete, // a reply came but was not complete
        NoUnit // no port could be opened for the unit
    };
    Kind kind = Ok;
    QString messageKey;
    QString detail;
    bool ok() const { return kind == Ok; }
    explicit operator bool() const { return ok(); }
    // The same outcome told by a transfer (read, write, firmware).
    static UnitOutcome fromTransfer(const TransferOutcome& transfer);
};

struct UnitStatus {
    bool ok = false; // a complete reply arrived
    UnitOutcome outcome {UnitOutcome::Incomplete, QString(), QString()}; // why ok is false
    int inputs = 0; // data byte 0
    int relays = 0; // data byte 2
    int hw = 0; // data byte 14: hardware version x 100
    int fw = 0; // data byte 15: firmware version x 100
};

namespace UnitOps {
// Decodes a 16-byte read reply of the status record (an empty text gives all zero).
UnitStatus decodeStatus(const QByteArray& reply);
// "1.23" (or "1,23") in the current locale's notation.
QString versionText(int value);
// queryStatus: the status query and its collector; the caller ran the handshake.
UnitStatus queryStatus(Link& link);
// Handshake, then the query when the unit answered. ok false without an answer.
UnitStatus refresh(Link& link);
// Why the last exchange failed, as the link left it: the port gone, the unit silent or a
// cancel; otherwise `otherwise` with the message of `key` (German stand-in `german`).
UnitOutcome failure(Link& link, UnitOutcome::Kind otherwise, const QString& key, const QString& german);

// The tool's version as the units digit and first decimal of a firmware version.
int toolVersionMajor();
int toolVersionMinor();
// The tool's version in the unit's notation (x 100), e.g. 100 for version 1.0, so that
// versionText shows it like a firmware version ("1.00").
int toolVersionValue();
// Status reads of the version check before a missing reply counts as no answer.
constexpr int VersionStatusReads = 3;
// checkVersion: handshake, status query, compare the firmware version with the
// tool's. A lost status reply is read again (handshake first), VersionStatusReads times in
// all; without a reply the unit does not answer (no-answer message, missedAnswers 5),
// never a mismatch. At the configuration level a mismatch is refused with
// gsMsgVersionskonflikt; at the firmware level (the update exists for exactly that unit)
// both versions are shown and the user decides. status receives what was read.
// The outcome: Ok, NoAnswer / PortLost, Mismatch (configuration level), or Cancelled
// (firmware level, the user said no).
enum class VersionLevel { Configuration, Firmware };
UnitOutcome checkVersion(Link& link, VersionLevel level, UnitStatus* status = nullptr,
                         const std::function<bool(const QString& question)>& ask = {});

// The unit refused a command that carries the unit password (answer "E"): outcome Refused
// with gsMsgGeraetPasswortAbgelehnt.
UnitOutcome passwordRefused(Link& link);
// True for a password that is no password: empty, or only NUL, 0xFF or blank characters
// (an empty phone book); such a password is never sent.
bool passwordMissing(const QString& password);

// Relay output 1..8 on (":RS") or off (":RC"). Handshake, command, 300 ms, then the status
// query again; returns the status read afterwards (ok false without an answer; outcome
// Refused when the unit answered "E" (passwordRefused) or the relay is not in the state asked for).
UnitStatus switchRelay(Link& link, int output, bool on, const QString& password);

// ---- unit parameters (area 2) -------------------------------------------------------
// Input rules: an empty text when valid, else the message key.
QString checkSerial(const QString& text);
QString checkPinOld(const QString& text);
QString checkPinNew(const QString& text);
// Intel-HEX record with its checksum, e.g. record(0x20, {5}) = ":0100200005DA".
QString record(int address, const QByteArray& data);
QString serialRecord(const QString& serial);
QString pinRecord(const QString& pin);
QString validityRecord(int index);
// The serial number plus one, six digits ("000999" -> "001000").
QString nextSerial(const QString& serial);

// Reads: handshake and ":HR2 CT:0010 AD:00xx". An empty reply when the unit did not answer.
struct ParameterRead {
    UnitOutcome outcome;
    QByteArray reply;
};
ParameterRead readParameter(Link& link, int address);
QString serialFrom(const QByteArray& reply);
QString pinFrom(const QByteArray& reply, int field /*0 or 1*/);
int validityFrom(const QByteArray& reply);

// Writes; Ok only when the unit acknowledged every line it was asked to acknowledge.
// The caller ran the handshake (missedAnswers below 5).
UnitOutcome writeSerial(Link& link, const QString& serial);
UnitOutcome writePinDirect(Link& link, const QString& pin);
// Sent once; the unit's "E" is Refused with gsMsgPINAenderungAbgelehnt (old PIN or password wrong).
UnitOutcome changePin(Link& link, const QString& password, const QString& oldPin, const QString& newPin);
// The validity record, then ":SMR PW:" + password (the unit restarts; the caller shows
// the restart wait).
UnitOutcome writeValidity(Link& link, int index, const QString& password);

// The 256 items of the validity list from the four unit words; default index 167.
QStringList validityItems(const QString& w1, const QString& w2, const QString& w3, const QString& w4);
constexpr int ValidityDefault = 167;

// Firmware update: the whole file checked before anything is sent, then
// ConfigTransfer::write with area 4.
TransferOutcome firmwareUpdate(Link& link, const QStringList& checkedLines,
                               const std::function<bool()>& confirmFlash = {});
}
