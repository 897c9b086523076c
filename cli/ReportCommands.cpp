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
        return cliFail(QStringLiteral("report needs one of inputs, outputs, alarm, users (and -o FILE.pdf)"), 2);
    if (ctx.output.isEmpty())
        return cliFail(QStringLiteral("report needs an output file: -o FILE.pdf"), 2);
    if (!ctx.prepareStore())
        return 1;
    const ProgramContext& st = gState();
    QString error;
    try {
        const Reports::Report r = Reports::build(kind, st.databasePath, st.language, Reports::currentProfileTitle());
        if (!Reports::exportPdf(r, ctx.output, &error))
            return cliFail(error);
    } catch (const StoreError& e) {
        return cliFail(QStringLiteral("cannot read the configuration database: %1").arg(e.message()));
    }
    return 0;
}

const CliRegistrar reg("report", reportCommand,
                       "  report inputs|outputs|alarm|users -o FILE.pdf\n"
                       "                          write a configuration report as PDF (language: --language)\n");
}
