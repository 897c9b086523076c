#pragma once
// What the device commands of smsv48ctl share: the session on the unit's connection (the sink
// that shows progress, questions answered from --yes), the exit code of an outcome, and the
// checks of the files they read and write ("-": standard input or output).
#include "cli/Cli.h"

#include "link/Link.h"
#include "link/UnitOps.h"
#include "link/Waiter.h"
#include "unit/UnitConnection.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <functional>
#include <memory>

class Channel;

class CliSink : public LinkSink {
public:
    QString what; // the progress label (empty: no progress)
    void setProgressRange(int, int max) override { m_max = max; }
    void setProgressValue(int value) override;

private:
    int m_max = 0;
};

class SimUnit;

struct UnitSession {
    explicit UnitSession(const ProgramContext& program);
    ~UnitSession();

    const ProgramContext& program;
    CliSink sink;
    // The built-in simulated unit set up from SMSV48_SIM (--device sim), and where its wire
    // log goes when the session ends.
    std::unique_ptr<SimUnit> simUnit;
    QString simLog;
    // The unit's connection: real time, or virtual with SMSV48_SIM's --virtual-time.
    UnitConnection connection;
    QString device;
    bool yes = false; // --yes: the unit's questions are answered with yes / OK
    // --json: the command's one object, printed by fail() or finish().
    bool json = false;
    QJsonObject result;

    // Opens the port of --device (else the stored port); false after printing one line
    // (exit code 3). `what` names the command in the JSON object ("unit status").
    bool open(CliContext& ctx, const QString& what);
    // The outcome's own sentence on one line (the device named when the unit does not answer,
    // the port's reason when it went away); with --json also the object with ok false.
    // Returns the exit code of the outcome.
    int fail(const UnitOutcome& outcome);
    int fail(const TransferOutcome& outcome);
    // The line of fail() (the JSON fields already set).
    int say(const UnitOutcome& outcome);
    // Prints the JSON object (with --json) for a command that ends with `code`.
    int finish(int code = ExitOk);
    // How the commands call the connection: questions answered from --yes, a whole transfer
    // tried again up to `retries` times, each new try announced on stderr.
    UnitConnection::Call call(int retries = 0) const;
    // The port cannot be used: one line (exit code 3) and, with --json, the object.
    void noUnit(const QString& why);
};

// 0 for Ok, 3 no answer or port lost, 4 refused, else 1.
int cliExitFor(const UnitOutcome& outcome);
// The outcome as JSON fields: "ok", "outcome" (ok, noAnswer, portLost, refused, cancelled,
// mismatch, incomplete), "messageKey", "detail".
QJsonObject cliOutcomeJson(const UnitOutcome& outcome);
// The fields of a transfer: the outcome's, and the lines sent and acknowledged.
QJsonObject cliTransferJson(const TransferOutcome& outcome);
// Why a file cannot be written at `path` (empty: it can, as far as can be told before
// writing): its folder must exist and take new files (the file is written beside itself and
// then renamed), and an existing `path` must be a writable regular file.
QString cliUnwritableOutput(const ProgramContext& context, const QString& path);
// The bytes of a file ("-": standard input), at most `limit` of them; false with one sentence
// naming the file.
bool cliReadInput(const ProgramContext& context, const QString& path, QByteArray* data, QString* error,
                  qint64 limit = 4 * 1024 * 1024);
// The configuration read from the unit of --device, decoded; 0 or the exit code after one
// line on stderr.
struct ProfileData;
int cliReadUnitProfile(CliContext& ctx, ProfileData* data);
// The checked lines of a configuration file ("-": standard input) as the unit takes them,
// or an empty list and *error naming the file and the line.
QStringList cliCheckedProfileLines(const ProgramContext& context, const QString& path, QString* error);
