// The shipped language tables: every row has four clean texts under a unique key, the other
// windows' runs of rows stand in the order they need, composed tool tips read cleanly, and
// every message the program looks up has its row. (The main window's loader checks its own
// rows; access keys are checked in the running program by test_access_keys.)
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "store/Recordset.h"
#include "ui/WindowTexts.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QStringList kLanguages = {"Deutsch", "Englisch", "Italienisch", QString::fromUtf8("Französisch")};

struct Row {
    QString name;
    QStringList texts; // four languages, NULL as one NUL character
};

struct Table {
    QString name;
    QList<Row> rows;
    int indexOf(const QString& key) const // the first row with this key, as a find from the top
    {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].name == key)
                return i;
        return -1;
    }
    QStringList keysFrom(int from, int count) const
    {
        QStringList out;
        for (int i = from; i >= 0 && i < from + count && i < rows.size(); ++i)
            out << rows[i].name;
        return out;
    }
};

Table readTable(const QString& dbPath, const QString& table)
{
    Connection con(gState());
    con.open(dbPath, Connection::Read);
    Table t {table, {}};
    QSqlQuery q(con.db());
    q.exec(QStringLiteral("SELECT Name, %1 FROM \"%2\" ORDER BY rowid")
               .arg(QStringLiteral("\"%1\"").arg(kLanguages.join("\", \"")), table));
    while (q.next()) {
        Row r {q.value(0).toString(), {}};
        for (int c = 1; c <= 4; ++c)
            r.texts << (q.value(c).isNull() ? QString(QChar(0)) : q.value(c).toString());
        t.rows << r;
    }
    return t;
}

// The sources of the desktop program and the command-line tool.
QStringList programSources()
{
    QStringList files;
    const QDir root(QStringLiteral(SMSV48_SOURCE_DIR));
    for (const char* folder : {"app", "core", "image", "link", "store", "editing", "reports", "ui", "cli"})
        for (QDirIterator it(root.filePath(QString::fromUtf8(folder)), {"*.cpp", "*.h"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            files << it.next();
    return files;
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
    void everyRowHasFourCleanTextsUnderAUniqueKey();
    void runsFollowTheirAnchors();
    void composedToolTipsReadCleanly();
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
    QVERIFY(m_caption.rows.size() > 38 && m_tip.rows.size() > 38 && m_msg.rows.size() > 100);
}

void TestLanguageTables::everyRowHasFourCleanTextsUnderAUniqueKey()
{
    for (const Table* t : {&m_caption, &m_tip, &m_msg}) {
        QSet<QString> seen; // finds compare keys without regard to case
        for (const Row& r : t->rows) {
            QVERIFY2(!r.name.trimmed().isEmpty() && !seen.contains(r.name.toLower()),
                     qPrintable(t->name + " " + r.name));
            seen.insert(r.name.toLower());
            for (int l = 0; l < 4; ++l) {
                // Loaders put blanks and numbers around these texts; stray blanks would double them.
                const QString& text = r.texts[l];
                QVERIFY2(!text.trimmed().isEmpty() && text != QString(QChar(0)) && text == text.trimmed()
                             && !text.contains(QLatin1String("  ")),
                         qPrintable(t->name + " / " + r.name + " / " + kLanguages[l] + ": \"" + text + "\""));
            }
        }
    }
}

// The other windows take runs of rows after an anchor found by Name (the main window's runs
// are checked by its loader itself); the transfer windows search CreateFile on from their own
// row; the validity list and the character check take the rows after theirs.
void TestLanguageTables::runsFollowTheirAnchors()
{
    const QList<QPair<const Table*, const char*>> runs
        = {{&m_caption,
            "lblName lblNatelNr lblTelefonbuchPasswort ChkAktivBenutzer cmdAenderungenSpeichern "
            "cmdDatensatzLöschen cmdTelefonbuchAbbrechen frmTelefonbuch"},
           {&m_caption, "lblLizenz lblLizenz(1) lblLizenz(2) lblLizenz(3) lblLizenz(4)"},
           {&m_caption,
            "frmPortSettings lblBaudrateCbo lblDatenCbo lblStopbitCbo lblParitätCbo lblPortCbo "
            "cmdUebernehmen cmdAbbrechen"},
           {&m_tip,
            "txtNameTelefonbuch txtTelefonbuchNatelNr ChkOperator cmdMoveDatabase(0) cmdMoveDatabase(1) "
            "cmdMoveDatabase(2) cmdMoveDatabase(3) ChkAktivBenutzer cmdAenderungenSpeichern cmdDatensatzLöschen "
            "cmdTelefonbuchAbbrechen"},
           {&m_tip, "cboBaudrate cboDatenbreite cboStopbit cboParität cboPort cmdUebernehmen cmdAbbrechen"}};
    for (const auto& [table, names] : runs) {
        const QStringList run = QString::fromUtf8(names).split(' ');
        QCOMPARE(table->keysFrom(table->indexOf(run.first()), run.size()), run);
    }
    const int create = m_caption.indexOf(QStringLiteral("CreateFile"));
    QVERIFY(create > m_caption.indexOf(QStringLiteral("frmUpload")));
    QVERIFY(create > m_caption.indexOf(QStringLiteral("frmDownload")));
    QVERIFY(m_caption.indexOf(QStringLiteral("gbWaitSystemRestart")) > create);
    // The validity list puts numbers and blanks between its unit words; the version check
    // reads characters 13 and 15 of "<prefix>: 1.23".
    const int units = m_msg.indexOf(QString::fromUtf8("CboGültigkeit"));
    for (int l = 0; l < 4; ++l) {
        for (int i = 0; i < 4; ++i)
            QVERIFY2(!m_msg.rows[units + i].texts[l].contains(' '), qPrintable(m_msg.rows[units + i].name));
        for (const char* key : {"gsHWVersion", "gsSWVersion"}) {
            const QString label = m_msg.rows[m_msg.indexOf(key)].texts[l] + ": 1.23";
            QCOMPARE(label.mid(12, 1) + label.mid(14, 1), QStringLiteral("12"));
        }
        QCOMPARE(m_msg.rows[m_msg.indexOf("gsProgramName")].texts[l], QStringLiteral("SMS Switch Vantor"));
    }
}

// The main window composes a tool tip from its row, the number, the ".B" row, the user's
// number and the ".C" row: as it builds that of input 3 and user 2, every tip of its layout
// reads cleanly in every language (no double blank, no number followed by punctuation that
// belongs before it).
void TestLanguageTables::composedToolTipsReadCleanly()
{
    const QRegularExpression numberThenStop(QStringLiteral("\\d [,.;:]"));
    for (const QStringList& run : WindowTexts::toolTipRows())
        for (const QString& anchor : run) {
            const int at = m_tip.indexOf(anchor);
            if (anchor.contains('.') && !anchor.startsWith(QLatin1String("Toolbar1.")))
                continue;
            QVERIFY2(at >= 0, qPrintable(anchor));
            for (int l = 0; l < 4; ++l) {
                QString tip = m_tip.rows[at].texts[l] + " 3";
                if (m_tip.keysFrom(at + 1, 1) == QStringList {anchor + ".B"})
                    tip += ' ' + m_tip.rows[at + 1].texts[l];
                if (m_tip.keysFrom(at + 2, 1) == QStringList {anchor + ".C"})
                    tip += " 2 " + m_tip.rows[at + 2].texts[l];
                QVERIFY2(!tip.contains(QLatin1String("  ")) && !tip.contains(numberThenStop) && !tip.endsWith(':'),
                         qPrintable(anchor + " / " + kLanguages[l] + ": " + tip));
                if (anchor == QLatin1String("ChkEmpOPSF") && l == 0)
                    QCOMPARE(tip,
                             QStringLiteral("Eingang 3 – bei steigender Flanke SMS an Benutzer 2 senden, wenn "
                                            "angekreuzt"));
            }
        }
}

// Every message the program looks up (the window's keys, and those with a German stand-in:
// msgOr, cliText(context, ...), the shell's rows) has its row in all four languages: the
// German column is the stand-in itself (so they cannot drift apart), and each translation
// carries the same placeholders.
void TestLanguageTables::programMessagesInFourLanguages()
{
    for (const QString& key : WindowTexts::messageKeys())
        QVERIFY2(m_msg.indexOf(key) >= 0, qPrintable("SystemNachrichten lacks the key " + key));
    static const QRegularExpression lookup(
        QStringLiteral("(?:msgOr\\(\\s*QStringLiteral\\(|cliText\\(\\s*[A-Za-z_.]+\\s*,\\s*)\"([^\"]+)"
                       "\"\\)?\\s*,\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\s*\\)"));
    static const QRegularExpression shellRow(QStringLiteral(
        "\\{QStringLiteral\\(\"([^\"]+)\"\\),\\s*QStringLiteral\\(((?:\\s*\"(?:[^\"\\\\]|\\\\.)*\")+)\\)\\}"));
    QHash<QString, QString> german; // key -> stand-in
    for (const QString& file : programSources()) {
        const QString src = QString::fromUtf8(readAll(file));
        for (auto m = lookup.globalMatch(src); m.hasNext();) {
            const auto hit = m.next();
            german.insert(hit.captured(1), literalText(hit.captured(2)));
        }
        for (auto m = shellRow.globalMatch(src); file.endsWith("store/ShellTexts.cpp") && m.hasNext();) {
            const auto hit = m.next();
            german.insert(hit.captured(1), literalText(hit.captured(2)));
        }
    }
    // The scan finds the mended paths (a sample).
    for (const char* key : {"gsMsgProfilUngültigZeile", "gsMsgGerätAntwortetNicht", "gsMsgSprachtabelleZeileFehlt",
                            "gsMsgTelefonbuchUnvollstaendig", "gsMsgDruckFehler", "gsPortGeschlossen", "rptlblIO"})
        QVERIFY2(german.contains(QString::fromUtf8(key)), key);
    for (auto it = german.constBegin(); it != german.constEnd(); ++it) {
        const int i = m_msg.indexOf(it.key());
        QVERIFY2(i >= 0, qPrintable("SystemNachrichten lacks the key " + it.key()));
        const QStringList& texts = m_msg.rows[i].texts;
        QCOMPARE(texts[0], it.value());
        const QStringList ph = placeholders(texts[0]);
        for (int l = 1; l < 4; ++l) {
            QVERIFY2(texts[l] != texts[0] || ph == QStringList {"%1"} || texts[0].size() < 12,
                     qPrintable(it.key() + " / " + kLanguages[l] + " is the German text"));
            QCOMPARE(placeholders(texts[l]), ph);
        }
    }
}

// Texts of the desktop program come from the language tables; a Qt translation call would
// show English whatever the chosen language.
void TestLanguageTables::noEnglishOnlyTextsInTheProgram()
{
    static const QRegularExpression call(
        QStringLiteral("\\btr\\(\\s*\"|QCoreApplication::translate\\(|QObject::tr\\("));
    QStringList found;
    for (const QString& file : programSources()) {
        const QStringList lines = QString::fromUtf8(readAll(file)).split(QLatin1Char('\n'));
        for (int n = 0; n < lines.size(); ++n)
            if (call.match(lines[n]).hasMatch())
                found << QStringLiteral("%1:%2: %3").arg(file).arg(n + 1).arg(lines[n].trimmed());
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    QVERIFY(programSources().size() > 40); // the scan did look at the program
}

QTEST_GUILESS_MAIN(TestLanguageTables)
#include "test_language_tables.moc"
