#pragma once
// Sending only the records of a configuration that differ from what the unit holds: the
// read of the unit (usually the backup read) is compared with the file record by record,
// ":HW3" carries the differing records in address order and the end record, and a read of
// every written block plus an unchanged block that holds data proves the result. When the
// unit does not hold what it should, the whole configuration is written and read back.
#include "link/Transfer.h"

#include <QList>
#include <QStringList>

struct ChangedWriteOutcome {
    enum class Way {
        Nothing, // the unit already held the file: nothing was sent
        Changed, // only the differing records were sent
        Whole // the whole configuration was sent after the proof read failed
    };
    Way way = Way::Nothing;
    TransferOutcome transfer; // the step that ended it: Ok when every step went through
    int recordsSent = 0; // records of the changed-records write the unit acknowledged
    int records = 0; // data records of the file
    int differing = 0; // records that still differ from the file after the last read
    QString reason; // why the whole configuration was sent (the block that differed)
    QString sentence; // what became of it, in the program's language
    bool ok() const { return transfer.ok() && differing == 0; }
};

namespace ChangedWrite {
// The data records (0-based) whose lines differ between the unit's and the file's; both
// lists hold the data lines as a profile file does (the end record may follow).
QList<int> differingRecords(const QStringList& unitLines, const QStringList& fileLines);
// The blocks (0..63) the proof read covers: every block with a written record, then the
// unchanged block that holds the most data (bytes other than 0x00, blank and 0xFF past its
// block code), in address order.
QList<int> proofBlocks(const QStringList& unitLines, const QList<int>& written);
// The whole sequence. unitLines: the unit's configuration as read just before (the backup
// read); empty: it is read here first. fileLines: the checked file, end record included.
// The outcome sentence goes to the link's sink as a notice when the write went through.
ChangedWriteOutcome run(Link& link, const QStringList& unitLines, const QStringList& fileLines);
}
