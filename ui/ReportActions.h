#pragma once
// The report commands of the main window: preview, print to the default printer, save as
// PDF. Every command first builds the report from the store as it stands now; failures are
// told to the user (with no printer installed the PDF export is offered instead).
#include "reports/Reports.h"

#include <functional>

class QWidget;

namespace ReportActions {
// Builds the report in the current language with the current profile's file name. Shows a
// message and returns false when the store cannot be read.
bool buildCurrent(QWidget* parent, Reports::Kind kind, Reports::Report* out);

void preview(QWidget* parent, Reports::Kind kind);
// Returns true when the report went to a printer or (after the offer) into a PDF file.
bool print(QWidget* parent, Reports::Kind kind);
// Asks for the file name and writes the PDF; true when written.
bool exportPdf(QWidget* parent, Reports::Kind kind);

// Test hooks. While set, the preview handler replaces the preview window, and the printer
// name replaces the system's default printer ("" : behave as if none were installed).
void setPreviewHandler(std::function<void(const Reports::Report&)> h);
void setPrinterOverride(std::function<QString()> h);
// Called before a report is built (the main window flushes pending edits there).
void setRefreshHandler(std::function<void()> h);
}
