// The shipped language tables: every key the program looks up is present in its table,
// every row has four non-empty texts, the other windows' runs of rows stand in the order
// they need, and composed tool tips read cleanly. (The main window's loader checks its own
// rows; access keys are checked in the running program by test_access_keys.)
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "store/Recordset.h"
#include "ui/WindowTexts.h"

#include <QDirIterator>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QtTest>

namespace {

const QStringList kLanguages = {QStringLiteral("Deutsch"), QStringLiteral("Englisch"), QStringLiteral("Italienisch"),
                                QStringLiteral("Französisch")};

struct Row {
    qint64 rowid = 0;
    QString name;
    QStringList texts; // four languages, in column order
    QList<bool> isNull; // per language
};

struct Table {
    QList<Row> rows;
    int indexOf(const QString& key) const // first row with this key, like a find from the first row
    {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].name == key)
                return i;
        return -1;
    }
};

Table readTable(const QString& dbPath, const QString& table)
{
    Connection con(gState());
    con.open(dbPath, Connection::Read);
    Table t;
    {
        QSqlQuery q(con.db());
        if (!q.exec(QStringLiteral("SELECT rowid, \"Name\", \"Deutsch\", \"Englisch\", \"Italienisch\", "
                                   "\"Französisch\" FROM \"%1\" ORDER BY rowid")
                        .arg(table)))
            return t;
        while (q.next()) {
            Row r;
            r.rowid = q.value(0).toLongLong();
            r.name = q.value(1).toString();
            for (int c = 2; c <= 5; ++c) {
                r.texts << q.value(c).toString();
                r.isNull << q.value(c).isNull();
            }
            t.rows << r;
        }
    }
    return t;
}

QStringList keysFrom(const Table& t, int from, int count)
{
    QStringList out;
    for (int i = from; i < from + count && i < t.rows.size(); ++i)
        out << t.rows[i].name;
    return out;
}

// The sources of the desktop program (not the command-line tool, the simulator or the tests).
QStringList programSources()
{
    QStringList files;
    const QDir root(QStringLiteral(SMSV48_SOURCE_DIR));
    for (const char* folder : {"app", "core", "image", "link", "store", "editing", "reports", "ui", "cli"}) {
        QDirIterator it(root.filePath(QString::fromUtf8(folder)), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    return files;
}

QString readSource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The text of one or more adjacent C++ string literals.
QString literalText(const QString& literals)
{
    static const QRegularExpression lit(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QString out;
    for (auto m = lit.globalMatch(literals); m.hasNext();) {
        QString t = m.next().captured(1);
        t.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        t.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        out += t;
    }
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
    void everyRowHasFourTexts();
    void keysAreUniquePerTable();
    void otherWindowRunsFollowTheirAnchors();
    void transferCaptionsStandInSearchOrder();
    void composedToolTipsReadCleanly_data();
    void composedToolTipsReadCleanly();
    void systemMessagesPresentWithFollowRows();
    void versionPrefixesKeepTheirLength();
    void programMessagesInFourLanguages();
    void noEnglishOnlyTextsInTheProgram();

private:
    Table m_caption, m_tip, m_msg;
};

void TestLanguageTables::initTestCase()
{
    TestEnv env;
    m_caption = readTable(env.dbPath(), QStringLiteral("Beschriftung"));
    m_tip = readTable(env.dbPath(), QStringLiteral("ToolTipText"));
    m_msg = readTable(env.dbPath(), QStringLiteral("SystemNachrichten"));
    QVERIFY(m_caption.rows.size() > 38);
    QVERIFY(!m_tip.rows.isEmpty());
    QVERIFY(!m_msg.rows.isEmpty());
}

void TestLanguageTables::everyRowHasFourTexts()
{
    const QList<QPair<QString, const Table*>> tables = {{QStringLiteral("Beschriftung"), &m_caption},
                                                        {QStringLiteral("ToolTipText"), &m_tip},
                                                        {QStringLiteral("SystemNachrichten"), &m_msg}};
    for (const auto& [name, t] : tables) {
        for (const Row& r : t->rows) {
            QVERIFY2(!r.name.trimmed().isEmpty(), qPrintable(name + ": row without key"));
            for (int l = 0; l < 4; ++l) {
                const QString where = name + " / " + r.name + " / " + kLanguages[l];
                QVERIFY2(!r.isNull[l], qPrintable(where + " is NULL"));
                QVERIFY2(!r.texts[l].trimmed().isEmpty(), qPrintable(where + " is empty"));
                // Loaders put blanks and numbers around these texts; stray blanks would double them.
                QVERIFY2(r.texts[l] == r.texts[l].trimmed(), qPrintable(where + " has leading or trailing blanks"));
                QVERIFY2(!r.texts[l].contains(QLatin1String("  ")), qPrintable(where + " has a double blank"));
            }
        }
    }
}

void TestLanguageTables::keysAreUniquePerTable()
{
    // Finds compare keys without regard to case, so keys must differ in more than case.
    for (const Table* t : {&m_caption, &m_tip, &m_msg}) {
        QSet<QString> seen;
        for (const Row& r : t->rows) {
            const QString k = r.name.toLower();
            QVERIFY2(!seen.contains(k), qPrintable("duplicate key " + r.name));
            seen.insert(k);
        }
    }
}

// The other windows take runs of rows after an anchor found by Name (the main window's
// runs are checked by its loader itself).
void TestLanguageTables::otherWindowRunsFollowTheirAnchors()
{
    const QList<QStringList> captionRuns
        = {{"lblName", "lblNatelNr", "lblTelefonbuchPasswort", "ChkAktivBenutzer", "cmdAenderungenSpeichern",
            "cmdDatensatzLöschen", "cmdTelefonbuchAbbrechen", "frmTelefonbuch"},
           {"lblLizenz", "lblLizenz(1)", "lblLizenz(2)", "lblLizenz(3)", "lblLizenz(4)"},
           {"frmPortSettings", "lblBaudrateCbo", "lblDatenCbo", "lblStopbitCbo", "lblParitätCbo", "lblPortCbo",
            "cmdUebernehmen", "cmdAbbrechen"},
           // the report titles stand two rows after their captions
           {"rptKonfigIN", "rptKonfigOUT", "rptKonfigIN.lblTitel", "rptKonfigOUT.lblTitel"},
           {"rptlblUserAD", "rptAlarmDispo", "rptAlarmDispo.lblTitel", "rptlblINON", "rptlblINOFF",
            "rptlblVerzögerungszeit"},
           {"rptBenutzer", "rptlblName", "rptlblNummer", "rptlblPasswort", "rptlblOperator", "rptlblStatus"}};
    const QList<QStringList> toolTipRuns
        = {{"txtNameTelefonbuch", "txtTelefonbuchNatelNr", "ChkOperator", "cmdMoveDatabase(0)", "cmdMoveDatabase(1)",
            "cmdMoveDatabase(2)", "cmdMoveDatabase(3)", "ChkAktivBenutzer", "cmdAenderungenSpeichern",
            "cmdDatensatzLöschen", "cmdTelefonbuchAbbrechen"},
           {"cboBaudrate", "cboDatenbreite", "cboStopbit", "cboParität", "cboPort", "cmdUebernehmen", "cmdAbbrechen"}};
    for (const auto& [table, runs] : {std::pair {&m_caption, captionRuns}, std::pair {&m_tip, toolTipRuns}})
        for (const QStringList& run : runs) {
            const int at = table->indexOf(run.first());
            QVERIFY2(at >= 0, qPrintable("no row " + run.first()));
            QCOMPARE(keysFrom(*table, at, run.size()), run);
        }
}

void TestLanguageTables::transferCaptionsStandInSearchOrder()
{
    // The search for CreateFile goes on from the frmUpload or frmDownload row, so it stands after both.
    const int up = m_caption.indexOf(QStringLiteral("frmUpload"));
    const int down = m_caption.indexOf(QStringLiteral("frmDownload"));
    const int create = m_caption.indexOf(QStringLiteral("CreateFile"));
    const int wait = m_caption.indexOf(QStringLiteral("gbWaitSystemRestart"));
    QVERIFY(up >= 0 && down >= 0 && create >= 0 && wait >= 0);
    QVERIFY(create > up);
    QVERIFY(create > down);
    QVERIFY(wait > create);
}

void TestLanguageTables::composedToolTipsReadCleanly_data()
{
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<int>("parts"); // 1: A + n, 2: A + n + B, 3: A + n + B + n + C
    const QList<QPair<const char*, int>> blocks
        = {{"txtEingangSF", 2},    {"txtEingangFF", 2},    {"ChkEmpOPSF", 3},         {"ChkEmpOPFF", 3},
           {"lblAdresseEmpf", 1},  {"txtAusgangSF", 2},    {"txtAusgangFF", 2},       {"ChkEmpOutSF", 3},
           {"ChkEmpOutFF", 3},     {"ChkOP", 2},           {"ChkBenutzerPowerON", 2}, {"ChkBenutzerAlarmDispo", 2},
           {"ChkAlarmDispoSF", 2}, {"ChkAlarmDispoFF", 2}, {"cmdCheckAllEmp", 2},     {"cmdClrAllEmp", 2},
           {"lblAdresseName", 1},  {"cmdSetOutput", 1},    {"cmdResetOutput", 1}};
    for (const auto& [anchor, parts] : blocks)
        QTest::newRow(anchor) << QString::fromLatin1(anchor) << parts;
}

void TestLanguageTables::composedToolTipsReadCleanly()
{
    QFETCH(QString, anchor);
    QFETCH(int, parts);
    const int at = m_tip.indexOf(anchor);
    QVERIFY(at >= 0);
    QVERIFY(at + parts - 1 < m_tip.rows.size());
    for (int l = 0; l < 4; ++l) {
        // Input 3 and user 2, as the main window builds it.
        QString tip = m_tip.rows[at].texts[l] + " 3";
        if (parts >= 2)
            tip += QLatin1Char(' ') + m_tip.rows[at + 1].texts[l];
        if (parts >= 3)
            tip += " 2 " + m_tip.rows[at + 2].texts[l];
        const QString where = anchor + " / " + kLanguages[l] + ": " + tip;
        QVERIFY2(!tip.contains(QLatin1String("  ")), qPrintable(where));
        // A number must not be followed by punctuation that belongs before it, nor the text end in a colon.
        QVERIFY2(!tip.contains(QRegularExpression(QStringLiteral("\\d [,.;:]"))), qPrintable(where));
        QVERIFY2(!tip.endsWith(QLatin1Char(':')), qPrintable(where));
        QVERIFY2(tip.contains(QLatin1String(" 3")), qPrintable(where));
    }
    // The German reference of the worked example reads as one sentence.
    if (anchor == QLatin1String("ChkEmpOPSF"))
        QCOMPARE(m_tip.rows[at].texts[0] + " 3 " + m_tip.rows[at + 1].texts[0] + " 2 " + m_tip.rows[at + 2].texts[0],
                 QStringLiteral("Eingang 3 – bei steigender Flanke SMS an Benutzer 2 senden, wenn angekreuzt"));
}

void TestLanguageTables::systemMessagesPresentWithFollowRows()
{
    const QStringList& single = WindowTexts::messageKeys();
    for (const QString& key : single)
        QVERIFY2(m_msg.indexOf(key) >= 0, qPrintable("SystemNachrichten lacks the key " + key));

    const int w = m_msg.indexOf(QStringLiteral("CboGültigkeit"));
    QVERIFY(w >= 0);
    QCOMPARE(keysFrom(m_msg, w, 4),
             (QStringList {"CboGültigkeit", "CboGültigkeit_Minuten", "CboGültigkeit_Tage", "CboGültigkeit_Wochen"}));
    // The four unit words are single words (the list puts numbers and blanks between them).
    for (int i = 0; i < 4; ++i)
        for (int l = 0; l < 4; ++l)
            QVERIFY2(!m_msg.rows[w + i].texts[l].contains(QLatin1Char(' ')), qPrintable(m_msg.rows[w + i].name));

    const int f = m_msg.indexOf(QStringLiteral("gsMsgFalschesZeichen"));
    QVERIFY(f >= 0);
    QCOMPARE(keysFrom(m_msg, f, 2), (QStringList {"gsMsgFalschesZeichen", "gsMsgFalschesZeichen2"}));

    const int p = m_msg.indexOf(QStringLiteral("gsProgramName"));
    for (int l = 0; l < 4; ++l)
        QCOMPARE(m_msg.rows[p].texts[l], QStringLiteral("SMS Switch Vantor"));
}

void TestLanguageTables::versionPrefixesKeepTheirLength()
{
    // "<prefix>: 1.23": the version check reads characters 13 and 15 of the label.
    for (const char* key : {"gsHWVersion", "gsSWVersion"}) {
        const int at = m_msg.indexOf(QString::fromLatin1(key));
        QVERIFY(at >= 0);
        for (int l = 0; l < 4; ++l) {
            const QString label = m_msg.rows[at].texts[l] + ": 1.23";
            QCOMPARE(label.mid(12, 1) + label.mid(14, 1), QStringLiteral("12"));
        }
    }
}

// Every message the program looks up with a German stand-in (msgOr, and cliText(context, ...)
// in the command-line tool) has its row in all four
// languages: the German column is the stand-in itself (so they cannot drift apart), and each
// translation carries the same placeholders.
void TestLanguageTables::programMessagesInFourLanguages()
{
    static const QRegularExpression lookup(
        QStringLiteral("(?:msgOr\\(\\s*QStringLiteral\\(|cliText\\(\\s*[A-Za-z_.]+\\s*,\\s*)\"([^\"]+)"
                       "\"\\)?\\s*,\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|"
                       "\\\\.)*\")+)\\s*\\)"));
    static const QRegularExpression shellRow(QStringLiteral(
        "\\{QStringLiteral\\(\"([^\"]+)\"\\),\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\)\\}"));
    QHash<QString, QString> german; // key -> stand-in
    for (const QString& file : programSources()) {
        const QString src = readSource(file);
        for (auto m = lookup.globalMatch(src); m.hasNext();) {
            const auto hit = m.next();
            german.insert(hit.captured(1), literalText(hit.captured(2)));
        }
        if (file.endsWith(QLatin1String("core/ShellTexts.cpp")))
            for (auto m = shellRow.globalMatch(src); m.hasNext();) {
                const auto hit = m.next();
                german.insert(hit.captured(1), literalText(hit.captured(2)));
            }
    }
    // The mended paths are all there (a sample; the scan finds the rest).
    for (const char* key : {"gsMsgProfilUngültigZeile", "gsMsgGerätAntwortetNicht", "gsMsgFirmwareTrotzdemVersion",
                            "gsMsgSprachtabelleZeileFehlt", "gsMsgTelefonbuchUnvollstaendig", "gsMsgDruckFehler",
                            "gsPortGeschlossen", "rptlblIO"})
        QVERIFY2(german.contains(QString::fromUtf8(key)), key);
    QVERIFY(german.size() > 100);
    for (auto it = german.constBegin(); it != german.constEnd(); ++it) {
        const int i = m_msg.indexOf(it.key());
        QVERIFY2(i >= 0, qPrintable("SystemNachrichten lacks the key " + it.key()));
        const Row& r = m_msg.rows[i];
        QCOMPARE(r.texts[0], it.value());
        const QStringList ph = placeholders(r.texts[0]);
        for (int l = 1; l < 4; ++l) {
            QVERIFY2(!r.texts[l].trimmed().isEmpty(), qPrintable(it.key() + " / " + kLanguages[l]));
            QVERIFY2(r.texts[l] != r.texts[0] || ph == QStringList {"%1"} || r.texts[0].size() < 12,
                     qPrintable(it.key() + " / " + kLanguages[l] + " is the German text"));
            QCOMPARE(placeholders(r.texts[l]), ph);
        }
    }
}

// Texts of the desktop program come from the language tables; a Qt translation call would
// show English whatever the chosen language.
void TestLanguageTables::noEnglishOnlyTextsInTheProgram()
{
    const QStringList allowed;
    static const QRegularExpression call(
        QStringLiteral("\\btr\\(\\s*\"|QCoreApplication::translate\\(|QObject::tr\\("));
    const QDir root(QStringLiteral(SMSV48_SOURCE_DIR));
    QStringList found;
    for (const QString& file : programSources()) {
        const QString rel = root.relativeFilePath(file);
        if (allowed.contains(rel))
            continue;
        const QStringList lines = readSource(file).split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n)
            if (call.match(lines[n]).hasMatch())
                found << QStringLiteral("%1:%2: %3").arg(rel).arg(n + 1).arg(lines[n].trimmed());
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    QVERIFY(programSources().size() > 40); // the scan did look at the program
}

QTEST_GUILESS_MAIN(TestLanguageTables)
#include "test_language_tables.moc"
