// smsv48ctl report inputs|outputs|alarm|users -o FILE.pdf
#include "cli/Cli.h"

#include "core/ProgramContext.h"
#include "reports/Reports.h"
#include "store/Recordset.h"

namespace {
int reportCommand(CliContext& ctx)
{
    Reports::Kind kind;
    if (ctx.args.size() != 1 || !Reports::kindFromWord(ctx.args.first(), &kind))
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliBerichtAufruf",
                                QStringLiteral("report nimmt inputs, outputs, alarm oder users (und -o DATEI.pdf)")),
                        ctx.command);
    if (ctx.output.isEmpty())
        return cliUsage(ctx.program,
                        cliText(ctx.program, "gsCliBerichtAusgabe",
                                QStringLiteral("report braucht eine Ausgabedatei: -o DATEI.pdf")),
                        ctx.command);
    if (!ctx.prepareStore())
        return ExitFile;
    const ProgramContext& st = ctx.program;
    QString error;
    try {
        const Reports::Report r
            = Reports::build(ctx.program, kind, st.databasePath, st.language, Reports::currentProfileTitle());
        if (ctx.output == QLatin1String("-")) { // standard output, as everywhere else
            QByteArray pdf;
            if (!Reports::renderPdf(ctx.program, r, &pdf, &error))
                return cliFail(error, ExitFile);
            cliPrint(pdf);
        } else if (!Reports::exportPdf(ctx.program, r, ctx.output, &error))
            return cliFail(error, ExitFile);
    } catch (const StoreError& e) {
        return cliFail(cliText(ctx.program, "gsCliDatenbankUnlesbar",
                               QStringLiteral("die Datenbank der Konfiguration kann nicht gelesen werden: %1"))
                           .arg(e.message()),
                       ExitFile);
    }
    return ExitOk;
}

const CliRegistrar reg("report", reportCommand,
                       "  report inputs|outputs|alarm|users -o FILE.pdf|-\n"
                       "                          write a configuration report as PDF (language: --language)\n",
                       OptionOutput);
}
