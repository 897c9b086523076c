#pragma once
// The configuration transfer in both directions and the firmware write, as the progress
// window runs them: read (64 block reads), write (":HW3 PW:6054", the lines of the
// transfer file, the end record), firmware (":HW4", confirmation, paced lines, restart
// wait). The sequences only use the Link and its sink, so they run without a window.
#include "link/Link.h"

#include <QStringList>
#include <functional>

struct TransferOutcome {
    enum Kind {
        Ok,
        NotStarted,
        NoAnswer,
        Cancelled,
        BlockUnreadable,
        BadBlockCode,
        LineRefused,
        WriteRefused,
        PortLost,
        Declined,
        FileError,
        VersionMismatch
    };
    Kind kind = NotStarted;
    QString detail; // what went wrong, as the command line prints it
    QString messageKey; // the message that names the outcome (e.g. gsMsgKeineAntwort)
    Notice::Severity severity = Notice::Severity::None; // Information when Ok, Warning when
                                                        // stopped by the user, else Critical
    int failedLine = 0; // 1-based line of the file that was given up
    int linesSent = 0; // data lines of a write that went out
    int linesAccepted = 0; // ... and that the unit acknowledged
    bool ok() const { return kind == Ok; }
};

class ConfigTransfer {
public:
    explicit ConfigTransfer(Link& link) : m_link(link) {}

    // Reads the whole configuration: the image is complete only when the outcome is Ok.
    TransferOutcome read(UnitImage& image);
    // Writes area 3 (configuration) or 4 (firmware). lines: the file,
    // up to and including the end record. confirmFlash answers gsMsgProgrammiereFlash
    // (firmware only); when not given the question goes to the link's sink.
    TransferOutcome write(const QStringList& lines, int area, const std::function<bool()>& confirmFlash = {});
    // sendLines: sends lines until the end record has gone out.
    TransferOutcome sendLines(const QStringList& lines, int area);
    // waitForRestart: 20 x 100 ms; not cancellable.
    void waitForRestart();

    // The sentence that says how much of a write (area 3 or 4) that stopped part-way reached
    // the unit.
    static QString incompleteSentence(const ProgramContext& context, int area, int accepted, int dataLines);

    // Checks a transfer or firmware file: Intel-HEX syntax, record checksums, the end
    // record ":00000001FF". Returns the lines up to and including the end record, or sets
    // *error (naming the line, in the context's language) and returns an empty list.
    static QStringList checkHexFile(const ProgramContext& context, const QString& path, QString* error,
                                    bool configuration);
    static QStringList checkHexLines(const ProgramContext& context, const QStringList& lines, QString* error,
                                     bool configuration);

private:
    // Port loss, the message key and the severity of an outcome a transfer returns.
    TransferOutcome finish(TransferOutcome o, bool reading = false);
    // After the handshake that starts a transfer: true when it failed (the unit silent, the
    // user's cancel or the port gone); *o then says why, and the link is ready for the next command.
    bool handshakeFailed(TransferOutcome* o);
    void sendEndRecord();
    // Leaves the write mode without the end record, so that the unit never takes a write
    // that stopped part-way for a complete one.
    void abandonWrite();
    Link& m_link;
};
