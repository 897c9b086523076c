// The shipped language tables, and both programs in a French session with no language
// stored, no runtime folder and no display (failures, help, version, read results, the
// advice for a serial port the user may not open).
#include "CliRun.h"
#include "Permissions.h"

#include "core/ProgramContext.h"
#include "link/SerialChannel.h"
#include "store/Recordset.h"
#include "ui/WindowTexts.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QStringList kLanguages = {"Deutsch", "Englisch", "Italienisch", QString::fromUtf8("Französisch")};

struct Table {
    QStringList keys; // in the order of the rows
    QList<QStringList> texts; // per row the four languages, NULL as one NUL character
    QString text(const QString& key, int language) const { return texts.value(keys.indexOf(key)).value(language); }
};

Table readTable(const QString& dbPath, const QString& table)
{
    Connection con(gState());
    con.open(dbPath, Connection::Read);
    Table t;
    QSqlQuery q(con.db());
    q.exec(QStringLiteral("SELECT Name, %1 FROM \"%2\" ORDER BY rowid")
               .arg(QStringLiteral("\"%1\"").arg(kLanguages.join("\", \"")), table));
    while (q.next()) {
        t.keys << q.value(0).toString();
        t.texts << QStringList();
        for (int c = 1; c <= 4; ++c)
            t.texts.last() << (q.value(c).isNull() ? QString(QChar(0)) : q.value(c).toString());
    }
    return t;
}

// The text of one or more adjacent C++ string literals.
QString literalText(const QString& literals)
{
    static const QRegularExpression lit(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QString out;
    for (auto m = lit.globalMatch(literals); m.hasNext();)
        out += m.next().captured(1).replace(QStringLiteral("\\\""), QStringLiteral("\"")).replace("\\n", "\n");
    return out;
}

// The placeholders %1 .. %9 of a text, sorted.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression ph(QStringLiteral("%[1-9]"));
    QStringList out;
    for (auto m = ph.globalMatch(text); m.hasNext();)
        out << m.next().captured(0);
    out.sort();
    out.removeDuplicates();
    return out;
}

} // namespace

class TestLanguageTables : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rowsCleanAndInPlace();
    void programTextsComeFromTheTables();
    void frenchRuns_data();
    void frenchRuns();
    void portPermissionAdvice();

private:
    Table m_caption, m_tip, m_msg;
};

void TestLanguageTables::initTestCase()
{
    m_caption = readTable(QStringLiteral(SMSV48_PRISTINE_DB), QStringLiteral("Beschriftung"));
    m_tip = readTable(QStringLiteral(SMSV48_PRISTINE_DB), QStringLiteral("ToolTipText"));
    m_msg = readTable(QStringLiteral(SMSV48_PRISTINE_DB), QStringLiteral("SystemNachrichten"));
    QVERIFY(m_caption.keys.size() > 38 && m_tip.keys.size() > 38 && m_msg.keys.size() > 100);
}

// Every row has four clean texts under a unique key; the phone book and the about window
// take runs of rows after an anchor found by Name (the main window's runs are checked by its
// loader itself). The product's name is no translation.
void TestLanguageTables::rowsCleanAndInPlace()
{
    for (const Table* t : {&m_caption, &m_tip, &m_msg}) {
        QSet<QString> seen; // finds compare keys without regard to case
        for (int i = 0; i < t->keys.size(); ++i) {
            const QString& key = t->keys[i];
            QVERIFY2(!key.trimmed().isEmpty() && !seen.contains(key.toLower()), qPrintable(key));
            seen.insert(key.toLower());
            for (int l = 0; l < 4; ++l) {
                // Loaders put blanks and numbers around these texts; stray blanks would double them.
                const QString& text = t->texts[i][l];
                QVERIFY2(!text.trimmed().isEmpty() && text != QString(QChar(0)) && text == text.trimmed()
                             && !text.contains(QLatin1String("  ")),
                         qPrintable(key + " / " + kLanguages[l] + ": \"" + text + "\""));
            }
        }
    }
    for (const auto& [table, names] :
         {std::pair {&m_caption,
                     "lblName lblNatelNr lblTelefonbuchPasswort ChkAktivBenutzer cmdAenderungenSpeichern "
                     "cmdDatensatzLöschen cmdTelefonbuchAbbrechen frmTelefonbuch"},
          std::pair {&m_caption, "lblLizenz lblLizenz(1) lblLizenz(2) lblLizenz(3) lblLizenz(4)"},
          std::pair {&m_tip,
                     "txtNameTelefonbuch txtTelefonbuchNatelNr ChkOperator cmdMoveDatabase(0) cmdMoveDatabase(1) "
                     "cmdMoveDatabase(2) cmdMoveDatabase(3) ChkAktivBenutzer cmdAenderungenSpeichern "
                     "cmdDatensatzLöschen cmdTelefonbuchAbbrechen"}}) {
        const QStringList run = QString::fromUtf8(names).split(' ');
        QCOMPARE(table->keys.mid(table->keys.indexOf(run.first()), run.size()), run);
    }
    for (int l = 0; l < 4; ++l)
        QCOMPARE(m_msg.text("gsProgramName", l), QStringLiteral("SMS Switch Vantor"));
    // The main window composes a tool tip from its row, the number, the ".B" row, the user's
    // number and the ".C" row: as it builds that of input 3 and user 2, every tip of its layout
    // reads cleanly in every language (no double blank, no number followed by punctuation that
    // belongs before it).
    const QRegularExpression numberThenStop(QStringLiteral("\\d [,.;:]"));
    for (const QStringList& run : WindowTexts::toolTipRows())
        for (const QString& anchor : run) {
            const int at = m_tip.keys.indexOf(anchor);
            if (anchor.contains('.') && !anchor.startsWith(QLatin1String("Toolbar1.")))
                continue;
            QVERIFY2(at >= 0, qPrintable(anchor));
            for (int l = 0; l < 4; ++l) {
                QString tip = m_tip.texts[at][l] + " 3";
                if (m_tip.keys.value(at + 1) == anchor + ".B")
                    tip += ' ' + m_tip.texts[at + 1][l];
                if (m_tip.keys.value(at + 2) == anchor + ".C")
                    tip += " 2 " + m_tip.texts[at + 2][l];
                QVERIFY2(!tip.contains(QLatin1String("  ")) && !tip.contains(numberThenStop) && !tip.endsWith(':'),
                         qPrintable(anchor + " / " + kLanguages[l] + ": " + tip));
            }
        }
}

// Every message looked up with a German stand-in (msgOr, cliText, the shell's rows) has its
// row in all four languages: the
// German column is the stand-in itself (so they cannot drift apart), and each translation
// carries the same placeholders. No text comes from a Qt translation call, which would show
// English whatever the chosen language.
void TestLanguageTables::programTextsComeFromTheTables()
{
    static const QRegularExpression lookup(
        QStringLiteral("(?:msgOr\\(\\s*QStringLiteral\\(|cliText\\(\\s*[A-Za-z_.]+\\s*,\\s*)\"([^\"]+)"
                       "\"\\)?\\s*,\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\s*\\)"));
    static const QRegularExpression shellRow(QStringLiteral(
        "\\{QStringLiteral\\(\"([^\"]+)\"\\),\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\)\\}"));
    static const QRegularExpression translation(
        QStringLiteral("\\btr\\(\\s*\"|QCoreApplication::translate\\(|QObject::tr\\("));
    QHash<QString, QString> german; // key -> stand-in
    QStringList translated;
    const QDir root(QStringLiteral(SMSV48_SOURCE_DIR));
    for (const char* folder : {"app", "core", "image", "link", "store", "editing", "reports", "ui", "cli"})
        for (QDirIterator it(root.filePath(QString::fromUtf8(folder)), {"*.cpp", "*.h"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString file = it.next(), src = QString::fromUtf8(readAll(file));
            for (const QRegularExpression* found : {&lookup, &shellRow})
                for (auto m = found->globalMatch(src);
                     m.hasNext() && (found == &lookup || file.endsWith("ShellTexts.cpp"));) {
                    const auto hit = m.next();
                    german.insert(hit.captured(1), literalText(hit.captured(2)));
                }
            for (const QString& line : src.split(QLatin1Char('\n')))
                if (line.contains(translation))
                    translated << file + ": " + line.trimmed();
        }
    QVERIFY2(translated.isEmpty(), qPrintable(translated.join(QLatin1Char('\n'))));
    // The scan finds the mended paths (a sample).
    for (const char* key : {"gsMsgProfilUngültigZeile", "gsMsgGerätAntwortetNicht", "gsMsgSprachtabelleZeileFehlt",
                            "gsMsgTelefonbuchUnvollstaendig", "gsMsgDruckFehler", "gsPortGeschlossen", "rptlblIO"})
        QVERIFY2(german.contains(QString::fromUtf8(key)), key);
    for (auto it = german.constBegin(); it != german.constEnd(); ++it) {
        const int i = m_msg.keys.indexOf(it.key());
        QVERIFY2(i >= 0, qPrintable("SystemNachrichten lacks the key " + it.key()));
        const QStringList& texts = m_msg.texts[i];
        QCOMPARE(texts[0], it.value());
        const QStringList ph = placeholders(texts[0]);
        for (int l = 1; l < 4; ++l) {
            QVERIFY2(texts[l] != texts[0] || ph == QStringList {"%1"} || texts[0].size() < 12,
                     qPrintable(it.key() + " / " + kLanguages[l] + " is the German text"));
            QCOMPARE(placeholders(texts[l]), ph);
        }
    }
}

void TestLanguageTables::frenchRuns_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args"); // "bad.json" stands for a file holding `json`
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("key"); // the catalog message stderr must say (none: stderr empty)
    QTest::addColumn<QString>("out"); // a pattern for stdout, <key> standing for the French text of key
    const auto row = [](const char* name, const char* program, const char* args, const char* json, int code,
                        const char* key, const char* out) {
        QTest::newRow(name) << QString::fromLatin1(program) << QString::fromLatin1(args).split(' ')
                            << QString::fromLatin1(json) << code << QString::fromUtf8(key) << QString::fromUtf8(out);
    };
    const char* ctl = "smsv48ctl";
    row("unknown option alone", ctl, "--bogus", "", 2, "gsCliOptionUnbekannt", "");
    row("misspelt option before its value", ctl, "--dev sim unit status", "", 2, "gsCliOptionUnbekannt", "");
    row("no command", ctl, "-q", "", 2, "gsCliKeinBefehl", "");
    row("unknown command", ctl, "frobnicate", "", 2, "gsCliUnbekannterBefehl", "");
    row("wrong relay", ctl, "relay 9 on", "", 2, "gsCliRelaisAufruf", "");
    row("port settings", ctl, "unit status --device sim --settings 9600,X,8,1", "", 2, "gsMsgPortTeilParität", "");
    row("JSON that is no profile", ctl, "profile from-json bad.json -o -", "[1]", 5, "gsJsonKeinProfil", "");
    row("JSON field wrong", ctl, "profile from-json bad.json -o -", R"({"format": "smsv48-profile", "version": 2})", 5,
        "gsJsonMussSein", "");
    // Without a display: the text on stdout, nothing on stderr (no "XDG_RUNTIME_DIR not set"), no window.
    row("desktop --version", "sms_switch_vantor", "--version", "", 0, "",
        "\\ASMS_Switch_Vantor " SMSV48_VERSION "\n\\z");
    row("desktop --help", "sms_switch_vantor", "--help", "", 0, "", "\\[PROFILE\\.cfg\\]");
    row("tool --version", ctl, "--version", "", 0, "", "\\Asmsv48ctl " SMSV48_VERSION "\n\\z");
    row("tool --help", ctl, "--help", "", 0, "", "\ncommands:\n");
    row("simulator --version", "smsv48-sim", "--version", "", 0, "", "\\Asmsv48-sim " SMSV48_VERSION "\n\\z");
    // A unit with an unset second PIN: labelled lines without trailing blanks, JSON without NULs.
    row("second PIN unset", ctl, "param pin get --device sim -q", "", 0, "gsCliSimulation",
        "\\A<gsCliPin>: \\d{4}\n<gsCliPin2>:\n\\z");
    row("second PIN unset, JSON", ctl, "param pin get --device sim -q --json", "", 0, "gsCliSimulation",
        "\n    \"pin2\": \"\"\n");
    row("default profile as JSON", ctl, "profile to-json UserProfile/SMSV48_Default.cfg", "", 0, "", "\"users\"");
}

// Both programs in French; a failure's line is the French sentence, none of the German or
// English ones, and no Qt warning. The descriptions of the tool's commands start in one
// column, each synopsis too long for it on a line of its own.
void TestLanguageTables::frenchRuns()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(QString, json);
    QFETCH(int, code);
    QFETCH(QString, key);
    QFETCH(QString, out);
    TestEnv env; // SMSV48_HOME; no language stored
    writeFile(env.path("bad.json"), json.toUtf8());
    for (QString& a : args)
        a = a.contains('/') || a.endsWith(".json") ? env.path(a) : a;
    // As a French user without a stored language and without XDG_RUNTIME_DIR (as from cron or runuser).
    const CliRun::Run r = CliRun::run(QDir(TestEnv::builtBin()).filePath(program), args, {}, {}, [&](QProcess& p) {
        QProcessEnvironment e = p.processEnvironment();
        for (const char* name :
             {"LC_ALL", "LC_MESSAGES", "LANGUAGE", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            e.remove(QString::fromLatin1(name));
        e.insert(QStringLiteral("LANG"), QStringLiteral("fr_FR.UTF-8"));
        e.insert(QStringLiteral("SMSV48_SETTINGS_DIR"), env.settingsDir());
        p.setProcessEnvironment(e);
    });
    const QString err = QString::fromUtf8(r.err), stdOut = QString::fromUtf8(r.out);
    QCOMPARE(r.code, code);
    static const QRegularExpression stem(QStringLiteral("%\\d")), named(QStringLiteral("<(\\w+)>"));
    const QString said = m_msg.text(key, 3).section(stem, 0, 0);
    QVERIFY2(key.isEmpty() ? err.isEmpty() : !said.isEmpty() && err.contains(said), qPrintable(err));
    for (int l : {0, 1})
        QVERIFY2(key.isEmpty() || m_msg.text(key, l).section(stem, 0, 0) == said
                     || !err.contains(m_msg.text(key, l).section(stem, 0, 0)),
                 qPrintable(err));
    for (const QString& line : err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2((line.startsWith("smsv48ctl: ") || line.startsWith("usage:") || line.startsWith("       smsv48ctl"))
                     && !line.contains("siehe"),
                 qPrintable(line));
    for (auto m = named.globalMatch(out); m.hasNext();) {
        const auto hit = m.next();
        out.replace(hit.captured(0), QRegularExpression::escape(m_msg.text(hit.captured(1), 3)));
    }
    QVERIFY2(stdOut.contains(QRegularExpression(out)) && !stdOut.contains(QChar(0)) && !stdOut.contains("\\u0000"),
             qPrintable(stdOut));
    const QString commands = stdOut.section(QStringLiteral("\ncommands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QVERIFY(!stdOut.contains("\ncommands:\n") || commands.count(QLatin1Char('\n')) > 20);
    int column = -1;
    for (const QString& line : commands.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int gap = line.indexOf(QStringLiteral("  "), 2);
        const int at = line.indexOf(QRegularExpression(QStringLiteral("\\S")), gap);
        if (gap >= 0 && column < 0)
            column = at;
        QVERIFY2(gap < 0 || at == column, qPrintable(line)); // (no gap: a synopsis alone)
    }
}

// A port the user may not open: the group's advice where the group may use it, else the
// owner's name (giving the file to another user takes root).
void TestLanguageTables::portPermissionAdvice()
{
    for (const auto& [mode, groupAdvised] :
         {std::pair {0060, true}, std::pair {0600, false}, std::pair {0000, false}}) {
        if (mode == 0600 && ::geteuid() != 0)
            continue;
        TestEnv env("4");
        for (const char* key : {"gsMsgPortKeineBerechtigung", "gsMsgPortNurBesitzer"})
            gState().messages.insert(key, m_msg.text(key, 3));
        const QString device = env.path("ttyUSB9");
        writeFile(device, QByteArray());
        QVERIFY(::chmod(QFile::encodeName(device).constData(), mode_t(mode)) == 0);
        QVERIFY(mode != 0600 || ::chown(QFile::encodeName(device).constData(), 65534, 65534) == 0); // nobody
        Permissions::Enforced enforced;
        if (!enforced.active())
            QSKIP("file permissions cannot be made to apply to this process");
        SerialChannel channel(gState());
        QVERIFY(!channel.open(device, QStringLiteral("9600,N,8,1")) && !channel.lastErrorWasBusy());
        const QString said = channel.errorString();
        QCOMPARE(said.contains(QStringLiteral("usermod")), groupAdvised);
        QCOMPARE(said.contains(QStringLiteral("Connecting a unit")), !groupAdvised);
        QVERIFY2(groupAdvised || said.contains(QStringLiteral("« %1 »").arg(mode == 0600 ? "nobody" : "root")),
                 qPrintable(said));
    }
}

QTEST_GUILESS_MAIN(TestLanguageTables)
#include "test_language_tables.moc"
