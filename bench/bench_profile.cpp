// Profile load into the configuration store and save from it, as the program does them
// (goal: at most 5 ms each). Runs on a private copy of the built database.
//   build/bench/bench_profile [iterations] [--wal]
// --wal switches the copy of the database to write-ahead logging first, to show how much of
// the load is the database's commit flush.
#include "core/ProgramContext.h"
#include "image/HexWriter.h"
#include "image/ProfileReader.h"
#include "store/ConfigStore.h"
#include "store/ProfileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
ProfileData rich(int variant)
{
    ProfileData d;
    for (int i = 0; i < 16; ++i) {
        d.inputs[i].recipients = std::uint8_t((i * 37 + variant) & 0xFF);
        d.inputs[i].alarm = (i + variant) % 3 == 0;
        d.inputs[i].text = QStringLiteral("Eingang %1 Variante %2 äöü €").arg(i + 1).arg(variant).repeated(2).left(63);
    }
    for (int i = 0; i < 8; ++i) {
        d.outputs[i].recipients = std::uint8_t(0x80 >> i ^ variant);
        d.outputs[i].defaultState = (i + variant) % 2;
        d.outputs[i].text = QStringLiteral("Relais %1 geschaltet (%2)").arg(i + 1).arg(variant);
    }
    d.alarmInput = {std::uint8_t(0x5A ^ variant), 10 + variant, QStringLiteral("Alarm %1").arg(variant)};
    d.powerOn = {std::uint8_t(0xFF ^ variant), QStringLiteral("Gerät gestartet %1").arg(variant)};
    for (int i = 0; i < 8; ++i)
        d.users[i] = {QStringLiteral("Benutzer %1/%2").arg(i + 1).arg(variant),
                      QStringLiteral("+417912345%1%2").arg(i).arg(variant),
                      QStringLiteral("%1").arg(1000 + i * 111 + variant), (i + variant) % 2 == 0, i < 6};
    return d;
}

struct Stats {
    double median, mean, p95, max;
};

Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    return {v[v.size() / 2], sum / double(v.size()), v[size_t(double(v.size()) * 0.95)], v.back()};
}

void print(const char* what, const Stats& s)
{
    std::printf("%-44s median %7.3f ms  mean %7.3f ms  p95 %7.3f ms  max %7.3f ms\n", what, s.median, s.mean, s.p95,
                s.max);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool wal = args.contains(QStringLiteral("--wal"));
    int n = 200;
    for (const QString& a : args.mid(1))
        if (a.toInt() > 0)
            n = std::max(10, a.toInt());
    const QString builtDb = QDir(QCoreApplication::applicationDirPath()).filePath("../bin/Datenbank/SMS_Vantor.sqlite");
    QTemporaryDir dir;
    const QString db = dir.filePath("SMS_Vantor.sqlite");
    if (!QFile::copy(builtDb, db)) {
        std::fprintf(stderr, "bench_profile: cannot copy %s (build the dataroot target first)\n", qPrintable(builtDb));
        return 1;
    }
    QFile::setPermissions(db, QFile::permissions(db) | QFile::WriteOwner);
    const QString files[2] = {dir.filePath("a.cfg"), dir.filePath("b.cfg")};
    for (int v = 0; v < 2; ++v) {
        Image img;
        HexWriter::buildImage(rich(v + 1), img);
        if (!HexWriter::writeProfileFile(gState(), img, files[v]).ok())
            return 1;
    }
    if (wal) {
        Connection c(gState());
        c.open(db, Connection::ReadWrite);
        QSqlQuery q(c.db());
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    ConfigStore store(gState(), db);
    std::vector<double> load, parse, save, build, commit, flush;
    QElapsedTimer t;
    for (int i = 0; i < n; ++i) {
        // Alternate two different profiles, so every load changes every table.
        t.start();
        QString error;
        if (!ProfileStore::loadFile(files[i % 2], store, 1, &error)) {
            std::fprintf(stderr, "bench_profile: %s\n", qPrintable(error));
            return 1;
        }
        load.push_back(double(t.nsecsElapsed()) / 1e6);

        t.start();
        Image parsed;
        ProfileReader::readFile(gState(), files[i % 2], parsed, nullptr);
        parse.push_back(double(t.nsecsElapsed()) / 1e6);

        t.start();
        Image img;
        ProfileStore::buildImage(store, 1, img);
        build.push_back(double(t.nsecsElapsed()) / 1e6);

        t.start();
        Image img2;
        ProfileStore::buildImage(store, 1, img2);
        if (!HexWriter::writeProfileFile(gState(), img2, dir.filePath("out.cfg")).ok())
            return 1;
        save.push_back(double(t.nsecsElapsed()) / 1e6);

        // The floor set by durability: one changed field committed, one file of the same
        // size written through a save file.
        store.powerOn.moveFirst();
        store.powerOn.setValue(8, 0); // every profile of this run sets it to 1
        t.start();
        store.updateAll();
        commit.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        {
            QSaveFile f(dir.filePath("plain.cfg"));
            f.open(QIODevice::WriteOnly);
            f.write(img.hexText());
            f.commit();
        }
        flush.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("bench_profile: %d iterations, database on %s%s\n", n, qPrintable(dir.path()),
                wal ? " (write-ahead log)" : "");
    print("load (check file + decode + one transaction)", stats(load));
    print("  of which reading and checking the file", stats(parse));
    print("save (build image + write through QSaveFile)", stats(save));
    print("  of which building the image", stats(build));
    print("floor: commit of one changed field", stats(commit));
    print("floor: 23 KB written through QSaveFile", stats(flush));
    return 0;
}
