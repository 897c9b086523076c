#include "ui/ReportActions.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "store/ShellTexts.h"
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

QString title(const ProgramContext& context)
{
    return context.programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : context.programName;
}

void fail(const ProgramContext& context, QWidget* parent, const QString& key, const QString& detail)
{
    Dialogs::show(parent, ShellTexts::text(context, key) + QLatin1Char('\n') + detail, title(context),
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

bool writePdf(const ProgramContext& context, QWidget* parent, const Reports::Report& r)
{
    Dialogs::FileRequest req;
    req.save = true;
    req.title = ShellTexts::text(context, QStringLiteral("gsPDFSpeichern"));
    req.folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString base = QFileInfo(r.profileFile).completeBaseName();
    req.fileName = QDir(req.folder)
                       .filePath((base.isEmpty() ? QString() : base + QLatin1Char('_')) + Reports::reportName(r.kind)
                                 + QStringLiteral(".pdf"));
    req.filter = ShellTexts::text(context, QStringLiteral("gsPDFFilter"));
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
        ok = Reports::exportPdf(context, r, path, &error);
    }
    if (!ok)
        fail(context, parent, QStringLiteral("gsMsgPDFFehler"), error);
    return ok;
}
}

namespace ReportActions {

bool buildCurrent(const ProgramContext& context, QWidget* parent, Reports::Kind kind, Reports::Report* out,
                  const Hooks& hooks)
{
    try {
        if (hooks.refresh)
            hooks.refresh();
        *out = Reports::build(context, kind, context.databasePath, context.language, Reports::currentProfileTitle());
        return true;
    } catch (const StoreError& e) {
        fail(context, parent, QStringLiteral("gsMsgBerichtFehler"), e.message());
        return false;
    }
}

void preview(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    if (!buildCurrent(context, parent, kind, &r, hooks))
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
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&context, &r](QPrinter* p) {
        p->setFullPage(true);
        Reports::paint(context, r, p);
    });
    // A tall page view, but never taller or wider than the screen the program runs on.
    QSize size(900, 1000);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.92);
    dlg.resize(size);
    dlg.exec();
}

bool print(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    if (!buildCurrent(context, parent, kind, &r, hooks))
        return false;
    const QString name = defaultPrinter(hooks);
    if (name.isEmpty()) {
        const auto answer
            = Dialogs::show(parent, ShellTexts::text(context, QStringLiteral("gsMsgKeinDrucker")), title(context),
                            Dialogs::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return answer == QMessageBox::Yes && writePdf(context, parent, r);
    }
    QString error;
    bool ok;
    {
        BusyCursor busy;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(name); // its own paper size
        printer.setFullPage(true);
        printer.setDocName(r.caption);
        ok = printer.isValid() && Reports::paint(context, r, &printer, &error);
        if (!printer.isValid())
            error = context.msgOr(QStringLiteral("gsMsgDruckerNichtVerfügbar"),
                                  QStringLiteral("der Drucker ist nicht verfügbar"));
        if (ok && printer.printerState() == QPrinter::Error) {
            ok = false;
            error = context.msgOr(QStringLiteral("gsMsgDruckerFehler"),
                                  QStringLiteral("der Drucker hat einen Fehler gemeldet"));
        }
    }
    if (!ok)
        fail(context, parent, QStringLiteral("gsMsgDruckFehler"), name + QStringLiteral(": ") + error);
    return ok;
}

bool exportPdf(const ProgramContext& context, QWidget* parent, Reports::Kind kind, const Hooks& hooks)
{
    Reports::Report r;
    return buildCurrent(context, parent, kind, &r, hooks) && writePdf(context, parent, r);
}
}
