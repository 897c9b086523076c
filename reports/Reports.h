#pragma once
// The four configuration reports (rptKonfigIN, rptKonfigOUT, rptAlarmDispo, rptBenutzer).
// Each is built as HTML from the configuration database as it stands on the file, laid out
// by QTextDocument and painted page by page with a footer (profile file name, page of pages).
// The desktop program and smsv48ctl use the same code; nothing here needs a widget.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class ProgramContext;
class QPagedPaintDevice;
class QTextDocument;

namespace Reports {

enum class Kind { Inputs, Outputs, Alarm, Users };

// "rptKonfigIN", "rptKonfigOUT", "rptAlarmDispo", "rptBenutzer".
QString reportName(Kind kind);
// "inputs", "outputs", "alarm", "users" (the command-line words); false when unknown.
bool kindFromWord(const QString& word, Kind* kind);

// One alarm mask as the report prints it: input 1 first, each digit followed by three
// blanks ("1   0   1   0   0   0   0   0   " for 5). Values outside 0..255 use the low byte.
QString digitRow(int mask);

// Everything a report shows, read from the database in one pass.
struct Report {
    Kind kind = Kind::Inputs;
    int language = 1; // 1 German, 2 English, 3 Italian, 4 French
    QString caption; // window caption of the preview
    QString title; // title in the report header
    QString profileFile; // file name without folder, for the footer
    QDateTime created; // when the report was built, shown under the title
    QString html; // the whole report body
};

// Reads the database file and builds the report. language 1..4; profileFile is the file
// title shown in the footer; created is the moment the report names (default: now).
// Dates and numbers are written as the report's language writes them. Throws StoreError
// when the database cannot be read. The shell's texts the report uses come from the context's
// database (its loaded messages when the language is the context's).
Report build(const ProgramContext& context, Kind kind, const QString& databasePath, int language,
             const QString& profileFile, const QDateTime& created = QDateTime::currentDateTime());

// The laid-out document of a report (images registered as resources).
std::unique_ptr<QTextDocument> document(const Report& report);

// Paints the report on a printer or PDF writer: 2 cm margins, footer on every page.
// Returns false with *error set when painting could not start.
bool paint(const ProgramContext& context, const Report& report, QPagedPaintDevice* device, QString* error = nullptr);

// Writes the report as a PDF file (A4). The file is complete or not written at all; only a
// regular file is replaced. On failure *error is one sentence naming the file and the reason.
bool exportPdf(const ProgramContext& context, const Report& report, const QString& path, QString* error = nullptr);
// The PDF of exportPdf as bytes (false with *error when it cannot be painted).
bool renderPdf(const ProgramContext& context, const Report& report, QByteArray* pdf, QString* error = nullptr);

// Number of pages the report needs on A4 (for tests and the footer).
int pageCount(const Report& report);

// The file title of the current profile (settings "Profile"/"File"), or an empty text.
QString currentProfileTitle();

}
