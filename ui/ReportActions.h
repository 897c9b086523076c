#pragma once
// The report commands of the main window: preview, print to the default printer, save as
// PDF. Every command first builds the report from the store as it stands now; failures are
// told to the user (with no printer installed the PDF export is offered instead).
#include "reports/Reports.h"

#include <functional>

class ProgramContext;
class QWidget;

namespace ReportActions {
// What a caller puts in place of parts of a command. refresh runs before a report is built
// (the main window writes pending edits there); preview replaces the preview window;
// printerName replaces the system's default printer ("" : behave as if none were installed).
struct Hooks {
    std::function<void()> refresh;
    std::function<void(const Reports::Report&)> preview;
    std::function<QString()> printerName;
};

// Builds the report in the current language with the current profile's file name. Shows a
// message and returns false when the store cannot be read.
bool buildCurrent(const ProgramContext& context, QWidget* parent, Reports::Kind kind, Reports::Report* out,
                  const Hooks& hooks = {});

void preview(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks = {});
// Returns true when the report went to a printer or (after the offer) into a PDF file.
bool print(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks = {});
// Asks for the file name and writes the PDF; true when written.
bool exportPdf(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks = {});
}
