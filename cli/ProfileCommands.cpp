// smsv48ctl profile to-json | from-json | load | save: profile files from and to JSON, and
// the desktop program's load and save against the configuration store.
#include "cli/Cli.h"

#include "core/ProgramContext.h"
#include "image/FileAccess.h"
#include "image/HexWriter.h"
#include "image/ProfileDiff.h"
#include "image/ProfileJson.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>

namespace {
// A JSON profile from a file; false after printing one line naming the file and what is wrong.
bool readJsonProfile(const QString& path, ProfileData* data)
{
    QFile f;
    QString error;
    if (!FileAccess::openForReading(f, path, &error)) {
        cliFail(error);
        return false;
    }
    if (f.size() > 4 * 1024 * 1024) {
        cliFail(QStringLiteral("%1: the file is too large to be a profile").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!ProfileJson::fromJson(f.readAll(), *data, &error)) {
        cliFail(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

int fromJson(CliContext& ctx)
{
    if (ctx.args.size() != 2 || ctx.output.isEmpty())
        return cliFail(QStringLiteral("usage: smsv48ctl profile from-json FILE.json -o FILE.cfg"), 2);
    ProfileData d;
    if (!readJsonProfile(ctx.args[1], &d))
        return 1;
    Image img;
    HexWriter::buildImage(d, img);
    const HexWriter::WriteResult w = HexWriter::writeProfileFile(img, ctx.output);
    if (!w.ok())
        return cliFail(w.error);
    return 0;
}

int toJson(CliContext& ctx)
{
    if (ctx.args.size() != 2)
        return cliFail(QStringLiteral("usage: smsv48ctl profile to-json FILE.cfg"), 2);
    Image img;
    QString error;
    if (!ProfileReader::readFile(ctx.args[1], img, &error))
        return cliFail(error);
    const QByteArray json = ProfileJson::toJson(ProfileReader::decode(img));
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}

int load(CliContext& ctx)
{
    if (ctx.args.size() != 2)
        return cliFail(QStringLiteral("usage: smsv48ctl profile load FILE.cfg"), 2);
    if (!ctx.prepareStore())
        return 1;
    try {
        ConfigStore store(gState().databasePath);
        QString error;
        if (!ProfileReader::load(ctx.args[1], store, gState().language, &error))
            return cliFail(error);
        const QString closeError = store.close();
        if (!closeError.isEmpty())
            return cliFail(closeError);
    } catch (const StoreError& e) {
        return cliFail(e.message());
    }
    return 0;
}

int save(CliContext& ctx)
{
    if (ctx.args.size() != 1 || ctx.output.isEmpty())
        return cliFail(QStringLiteral("usage: smsv48ctl profile save -o FILE.cfg"), 2);
    if (!ctx.prepareStore())
        return 1;
    try {
        // Saving only reads the store: it works in a folder the program may not write.
        ConfigStore store(gState().databasePath, Connection::Read);
        Image img;
        HexWriter::buildImageFromStore(store, gState().language, img);
        const HexWriter::WriteResult w = HexWriter::writeProfileFile(img, ctx.output);
        if (!w.ok())
            return cliFail(w.error);
    } catch (const StoreError& e) {
        return cliFail(e.message());
    }
    return 0;
}

// One side of a comparison: a profile file, a JSON profile, or "store" for the configuration
// store. Returns false after printing one line.
bool readSide(CliContext& ctx, const QString& what, ProfileData* data)
{
    if (what == QLatin1String("store")) {
        if (!ctx.prepareStore())
            return false;
        try {
            ConfigStore store(gState().databasePath, Connection::Read);
            *data = HexWriter::fromStore(store, gState().language);
        } catch (const StoreError& e) {
            cliFail(e.message());
            return false;
        }
        return true;
    }
    if (what.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return readJsonProfile(what, data);
    Image img;
    QString error;
    if (!ProfileReader::readFile(what, img, &error)) {
        cliFail(error);
        return false;
    }
    *data = ProfileReader::decode(img);
    return true;
}

// Exit code 0 when both are equal, 1 when they differ, 5 when a side cannot be read.
int diff(CliContext& ctx)
{
    if (ctx.args.size() != 3)
        return cliFail(
            QStringLiteral("usage: smsv48ctl profile diff A B [--json]   (A, B: FILE.cfg, FILE.json or store)"), 2);
    ProfileData a, b;
    if (!readSide(ctx, ctx.args[1], &a) || !readSide(ctx, ctx.args[2], &b))
        return 5;
    const QList<ProfileDiff::Change> changes = ProfileDiff::compare(a, b);
    QByteArray out;
    if (ctx.json) {
        out = QJsonDocument(ProfileDiff::toJson(changes)).toJson(QJsonDocument::Indented);
    } else {
        for (const ProfileDiff::Change& c : changes)
            out += ProfileDiff::line(c).toUtf8() + '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return changes.isEmpty() ? 0 : 1;
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
    return cliFail(QStringLiteral("profile needs one of to-json, from-json, load, save, diff (see --help)"), 2);
}

const CliRegistrar registrar("profile", &profile,
                             "  profile to-json FILE.cfg            print a profile file as JSON\n"
                             "  profile from-json FILE.json -o FILE.cfg\n"
                             "                                      write a profile file from JSON\n"
                             "  profile load FILE.cfg               load a profile into the configuration store\n"
                             "  profile save -o FILE.cfg            write the configuration store as a profile\n"
                             "  profile diff A B [--json]           the differences field by field (A, B: FILE.cfg,\n"
                             "                                      FILE.json or store); exit 0 equal, 1 different\n");
} // namespace
