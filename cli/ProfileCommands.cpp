// smsv48ctl profile to-json | from-json | load | save: profile files from and to JSON, and
// the desktop program's load and save against the configuration store.
#include "cli/Cli.h"
#include "cli/UnitSession.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/ProfileDiff.h"
#include "image/ProfileJson.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>

namespace {
int usage(const CliContext& ctx, const char* line)
{
    return cliUsage(ctx.program,
                    cliText(ctx.program, "gsCliAufruf", QStringLiteral("Aufruf: %1")).arg(QLatin1String(line)),
                    ctx.command);
}

// A JSON profile from a file ("-": standard input); false after printing one line naming the
// file and what is wrong.
bool readJsonProfile(const ProgramContext& context, const QString& path, ProfileData* data)
{
    QByteArray text;
    QString error;
    if (!cliReadInput(context, path, &text, &error)) {
        cliFail(error, ExitFile);
        return false;
    }
    if (!ProfileJson::fromJson(context, text, *data, &error)) {
        cliFail(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error), ExitFile);
        return false;
    }
    return true;
}

// A profile file ("-": standard input), checked whole; false after printing one line.
bool readProfileFile(const ProgramContext& context, const QString& path, Image& img)
{
    QString error;
    if (path != QLatin1String("-")) {
        if (ProfileReader::readFile(context, path, img, &error))
            return true;
        cliFail(error, ExitFile);
        return false;
    }
    QByteArray text;
    if (!cliReadInput(context, path, &text, &error, ProfileReader::MaxFileSize)) {
        cliFail(error, ExitFile);
        return false;
    }
    ProfileReader::Problem problem;
    if (ProfileReader::parse(context, text, img, &problem))
        return true;
    cliFail(problem.line > 0 ? QStringLiteral("-: %1").arg(
                context.msgOr(QStringLiteral("gsMsgHexZeile"), QStringLiteral("Zeile %1: %2"))
                    .arg(problem.line)
                    .arg(problem.what))
                             : QStringLiteral("-: %1").arg(problem.what),
            ExitFile);
    return false;
}

int fromJson(CliContext& ctx)
{
    if (int c = ctx.onlyOptions(OptionOutput, QStringLiteral("profile from-json")))
        return c;
    if (ctx.args.size() != 2 || ctx.output.isEmpty())
        return usage(ctx, "smsv48ctl profile from-json FILE.json|- -o FILE.cfg|-");
    ProfileData d;
    if (!readJsonProfile(ctx.program, ctx.args[1], &d))
        return ExitFile;
    Image img;
    HexWriter::buildImage(d, img);
    if (ctx.output == QLatin1String("-")) {
        cliPrint(img.hexText());
        return ExitOk;
    }
    const HexWriter::WriteResult w = HexWriter::writeProfileFile(ctx.program, img, ctx.output);
    if (!w.ok())
        return cliFail(w.error, ExitFile);
    return ExitOk;
}

int toJson(CliContext& ctx)
{
    if (int c = ctx.onlyOptions(0, QStringLiteral("profile to-json")))
        return c;
    if (ctx.args.size() != 2)
        return usage(ctx, "smsv48ctl profile to-json FILE.cfg|-");
    Image img;
    if (!readProfileFile(ctx.program, ctx.args[1], img))
        return ExitFile;
    cliPrint(ProfileJson::toJson(ProfileReader::decode(img)));
    return ExitOk;
}

int load(CliContext& ctx)
{
    if (int c = ctx.onlyOptions(0, QStringLiteral("profile load")))
        return c;
    if (ctx.args.size() != 2)
        return usage(ctx, "smsv48ctl profile load FILE.cfg");
    if (!ctx.prepareStore())
        return ExitFile;
    try {
        ConfigStore store(ctx.program, ctx.program.databasePath);
        QString error;
        if (!ProfileStore::loadFile(ctx.args[1], store, ctx.program.language, &error))
            return cliFail(error, ExitFile);
        const QString closeError = store.close();
        if (!closeError.isEmpty())
            return cliFail(closeError, ExitFile);
    } catch (const StoreError& e) {
        return cliFail(e.message(), ExitFile);
    }
    return ExitOk;
}

int save(CliContext& ctx)
{
    if (int c = ctx.onlyOptions(OptionOutput, QStringLiteral("profile save")))
        return c;
    if (ctx.args.size() != 1 || ctx.output.isEmpty())
        return usage(ctx, "smsv48ctl profile save -o FILE.cfg|-");
    if (!ctx.prepareStore())
        return ExitFile;
    try {
        // Saving only reads the store: it works in a folder the program may not write.
        ConfigStore store(ctx.program, ctx.program.databasePath, Connection::Read);
        Image img;
        ProfileStore::buildImage(store, ctx.program.language, img);
        if (ctx.output == QLatin1String("-")) {
            cliPrint(img.hexText());
            return ExitOk;
        }
        const HexWriter::WriteResult w = HexWriter::writeProfileFile(ctx.program, img, ctx.output);
        if (!w.ok())
            return cliFail(w.error, ExitFile);
    } catch (const StoreError& e) {
        return cliFail(e.message(), ExitFile);
    }
    return ExitOk;
}

// One side of a comparison from a file or the store: a profile file, a JSON profile, or
// "store" for the configuration store. Returns false after printing one line.
bool readSideFromFile(CliContext& ctx, const QString& what, ProfileData* data)
{
    if (what == QLatin1String("store")) {
        if (!ctx.prepareStore())
            return false;
        try {
            ConfigStore store(ctx.program, ctx.program.databasePath, Connection::Read);
            *data = ProfileStore::read(store, ctx.program.language);
        } catch (const StoreError& e) {
            cliFail(e.message(), ExitFile);
            return false;
        }
        return true;
    }
    if (what.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return readJsonProfile(ctx.program, what, data);
    Image img;
    if (!readProfileFile(ctx.program, what, img))
        return false;
    *data = ProfileReader::decode(img);
    return true;
}

// One side of a comparison, also "unit" for the unit of --device. Returns 0, else the exit
// code after one line on stderr.
int readSide(CliContext& ctx, const QString& what, ProfileData* data)
{
    if (what == QLatin1String("unit"))
        return cliReadUnitProfile(ctx, data);
    return readSideFromFile(ctx, what, data) ? ExitOk : ExitFile;
}

// Exit code 0 when both are equal, 1 when they differ, 5 when a side cannot be read.
int diff(CliContext& ctx)
{
    if (int c = ctx.onlyOptions(OptionJson | OptionDevice | OptionRetries, QStringLiteral("profile diff")))
        return c;
    if (ctx.args.size() != 3)
        return usage(ctx, "smsv48ctl profile diff A B [--json]   (A, B: FILE.cfg, FILE.json, -, store or unit)");
    ProfileData a, b;
    if (int c = readSide(ctx, ctx.args[1], &a))
        return c;
    if (int c = readSide(ctx, ctx.args[2], &b))
        return c;
    const QList<ProfileDiff::Change> changes = ProfileDiff::compare(a, b);
    QByteArray out;
    if (ctx.json) {
        out = QJsonDocument(ProfileDiff::toJson(changes)).toJson(QJsonDocument::Indented);
    } else {
        for (const ProfileDiff::Change& c : changes)
            out += ProfileDiff::line(c).toUtf8() + '\n';
    }
    cliPrint(out);
    return changes.isEmpty() ? ExitOk : ExitFailure;
}

int profile(CliContext& ctx)
{
    const QString sub = ctx.args.value(0);
    if (sub == QLatin1String("to-json"))
        return toJson(ctx);
    if (sub == QLatin1String("from-json"))
        return fromJson(ctx);
    if (sub == QLatin1String("load"))
        return load(ctx);
    if (sub == QLatin1String("save"))
        return save(ctx);
    if (sub == QLatin1String("diff"))
        return diff(ctx);
    return cliUsage(ctx.program,
                    cliText(ctx.program, "gsCliProfilAufruf",
                            QStringLiteral("profile nimmt to-json, from-json, load, save oder diff")),
                    ctx.command);
}

const CliRegistrar
    registrar("profile", &profile,
              "  profile to-json FILE.cfg|-          print a profile file as JSON\n"
              "  profile from-json FILE.json|- -o FILE.cfg|-\n"
              "                                      write a profile file from JSON\n"
              "  profile load FILE.cfg               load a profile into the configuration store\n"
              "  profile save -o FILE.cfg|-          write the configuration store as a profile\n"
              "  profile diff A B [--json]           the differences field by field (A, B: FILE.cfg,\n"
              "                                      FILE.json, -, store or unit: the unit of --device);\n"
              "                                      exit 0 equal, 1 different\n",
              OptionOutput | OptionJson | OptionDevice | OptionRetries);
} // namespace
