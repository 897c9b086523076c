#pragma once
// The simulated unit's options as smsv48-sim takes them on its command line (versions,
// contents, faults, the wire log). smsv48ctl takes the same words from the environment
// variable SMSV48_SIM for its built-in simulated unit (--device sim), so a script or a test
// can run the command line against a unit with faults, in virtual time when asked.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;
class SimUnit;
struct SimLogEntry;

namespace SimOptions {
// Adds the unit's options (and --settings, --log, --virtual-time) to a parser.
void addTo(QCommandLineParser& parser);
// Sets up the unit from the parsed options; false with *error naming the bad option.
bool apply(const QCommandLineParser& parser, SimUnit& unit, QString* error);
// The wire log as text: time in ms, "> " from the tool or "< " from the unit, the bytes with
// CR, LF, ESC and other control bytes written out.
QByteArray logLines(const QList<SimLogEntry>& log);
// The words of SMSV48_SIM split as a shell would split plain words (no quoting).
QStringList environmentWords();
}
