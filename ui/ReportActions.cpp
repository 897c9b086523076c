#include "ui/ReportActions.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/ShellTexts.h"
#include "store/Recordset.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStandardPaths>

namespace {

struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

QString title() { return gState().programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : gState().programName; }

void fail(QWidget* parent, const QString& key, const QString& detail)
{
    Dialogs::show(parent, ShellTexts::text(gState(), key) + QLatin1Char('\n') + detail, title(),
                  Dialogs::Icon::Critical);
}

// The default printer's name, or an empty text when none is installed.
QString defaultPrinter(const ReportActions::Hooks& hooks)
{
    if (hooks.printerName)
        return hooks.printerName();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull())
        return info.printerName();
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QString() : all.first().printerName();
}

bool writePdf(QWidget* parent, const Reports::Report& r)
{
    Dialogs::FileRequest req;
    req.save = true;
    req.title = ShellTexts::text(gState(), QStringLiteral("gsPDFSpeichern"));
    req.folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString base = QFileInfo(r.profileFile).completeBaseName();
    req.fileName = QDir(req.folder)
                       .filePath((base.isEmpty() ? QString() : base + QLatin1Char('_')) + Reports::reportName(r.kind)
                                 + QStringLiteral(".pdf"));
    req.filter = ShellTexts::text(gState(), QStringLiteral("gsPDFFilter"));
    req.defaultSuffix = QStringLiteral("pdf");
    QString path = Dialogs::askFile(parent, req);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    bool ok;
    {
        BusyCursor busy;
        ok = Reports::exportPdf(gState(), r, path, &error);
    }
    if (!ok)
        fail(parent, QStringLiteral("gsMsgPDFFehler"), error);
    return ok;
}
}

namespace ReportActions {

bool buildCurrent(QWidget* parent, Reports::Kind kind, Reports::Report* out, const Hooks& hooks)
{
    try {
        if (hooks.refresh)
            hooks.refresh();
        const ProgramContext& st = gState();
        *out = Reports::build(st, kind, st.databasePath, st.language, Reports::currentProfileTitle());
        return true;
    } catch (const StoreError& e) {
        fail(parent, QStringLiteral("gsMsgBerichtFehler"), e.message());
        return false;
    }
}

void preview(QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    if (!buildCurrent(parent, kind, &r, hooks))
        return;
    if (hooks.preview) {
        hooks.preview(r);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(r.caption);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setObjectName(Reports::reportName(kind));
    dlg.setWindowTitle(r.caption);
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&r](QPrinter* p) {
        p->setFullPage(true);
        Reports::paint(gState(), r, p);
    });
    // A tall page view, but never taller or wider than the screen the program runs on.
    QSize size(900, 1000);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.92);
    dlg.resize(size);
    dlg.exec();
}

bool print(QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    if (!buildCurrent(parent, kind, &r, hooks))
        return false;
    const QString name = defaultPrinter(hooks);
    if (name.isEmpty()) {
        const auto answer
            = Dialogs::show(parent, ShellTexts::text(gState(), QStringLiteral("gsMsgKeinDrucker")), title(),
                            Dialogs::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return answer == QMessageBox::Yes && writePdf(parent, r);
    }
    QString error;
    bool ok;
    {
        BusyCursor busy;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(name); // its own paper size
        printer.setFullPage(true);
        printer.setDocName(r.caption);
        ok = printer.isValid() && Reports::paint(gState(), r, &printer, &error);
        if (!printer.isValid())
            error = gState().msgOr(QStringLiteral("gsMsgDruckerNichtVerfügbar"),
                                   QStringLiteral("der Drucker ist nicht verfügbar"));
        if (ok && printer.printerState() == QPrinter::Error) {
            ok = false;
            error = gState().msgOr(QStringLiteral("gsMsgDruckerFehler"),
                                   QStringLiteral("der Drucker hat einen Fehler gemeldet"));
        }
    }
    if (!ok)
        fail(parent, QStringLiteral("gsMsgDruckFehler"), name + QStringLiteral(": ") + error);
    return ok;
}

bool exportPdf(QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    return buildCurrent(parent, kind, &r, hooks) && writePdf(parent, r);
}
}
