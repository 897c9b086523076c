// The four reports: their tables and texts in each language, the dates, PDF export with its
// footer, printing without a printer or with a failing one, the preview's size, and the
// command line's report.
#include "CliRun.h"
#include "Desktop.h"

#include "reports/Reports.h"
#include "ui/ReportActions.h"

#include <QAction>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {
using Desktop::tableText;

// The rows of a table of a report document (0: the last one, the data table), cells trimmed.
QList<QStringList> tableRows(QTextDocument& doc, int whichFromEnd = 0)
{
    QList<QTextTable*> tables;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            tables << t;
    QList<QStringList> rows;
    if (tables.size() <= whichFromEnd)
        return rows;
    QTextTable* t = tables[tables.size() - 1 - whichFromEnd];
    for (int r = 0; r < t->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue; // covered by a span
            QTextCursor a = cell.firstCursorPosition();
            a.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            cells << a.selectedText().trimmed();
        }
        rows << cells;
    }
    return rows;
}

// A known store: texts in every language, labels, recipients, users.
void fillKnownStore(TestEnv& env)
{
    env.exec("UPDATE \"SMS\" SET Deutsch = 'Tür ' || ID || ' offen', Englisch = 'Door ' || ID || ' open', "
             "Italienisch = 'Porta ' || ID, \"Französisch\" = 'Porte ' || ID");
    env.exec("UPDATE \"SMS\" SET Deutsch = NULL, Englisch = NULL WHERE ID = 2");
    env.exec("UPDATE \"Konfiguration_Eingänge\" SET Benutzer2 = 1, Benutzer8 = 1 WHERE ID = 1");
    env.exec("UPDATE \"Konfiguration_Ausgänge\" SET Benutzer1 = 1, DefaultState = 1 WHERE ID = 3");
    env.exec("UPDATE \"Alarm_Dispositiv\" SET IN_SF = 5, IN_FF = 0, Benutzer4 = 1, \"Verzögerungszeit\" = 42");
    env.exec("UPDATE \"Adressen\" SET Namen = 'Anna Muster', Natel_Nummer = '+41791234567', Passwort = '4711', "
             "Operator = 1, Status = 1 WHERE ID = 1");
    env.exec("UPDATE \"Adressen\" SET Namen = NULL, Natel_Nummer = NULL, Passwort = char(0,0,0,0), Operator = 0, "
             "Status = 0 WHERE ID = 2");
}

// pdftotext's text of a PDF file, ligatures undone (empty without pdftotext).
QString pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        return QString();
    QProcess p;
    p.start(tool, {"-layout", path, "-"});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput())
        .replace(QChar(0xFB01), QLatin1String("fi"))
        .replace(QChar(0xFB02), QLatin1String("fl"));
}
} // namespace

class TestReports : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> m_known; // the known store, read by every row of reportRows
private slots:
    void reportRows_data();
    void reportRows();
    void reportDatesInTheirLanguage_data();
    void reportDatesInTheirLanguage();
    void pdfExportHasFooterAndPages();
    void printWithoutPrinterOrFailing();
    void commandLineReport();
};

void TestReports::reportRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("caption"); // the row of the report's caption
    QTest::addColumn<int>("fromEnd"); // which table: 0 the last one
    QTest::addColumn<int>("rows"); // how many rows that table has
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("cells"); // separated by "|"; "@Name" is that caption row's text
    const auto row = [](const char* name, Reports::Kind kind, int language, const char* caption, int fromEnd, int rows,
                        int row, const char* cells) {
        QTest::newRow(name) << int(kind) << language << QString::fromLatin1(caption) << fromEnd << rows << row
                            << QString::fromUtf8(cells);
    };
    using K = Reports::Kind;
    row("inputs: rising edge", K::Inputs, 1, "rptKonfigIN", 0, 18, 2, "@lblEingang(0) ↑|0|1|0|0|0|0|0|1|Tür 1 offen");
    row("inputs: null text", K::Inputs, 2, "rptKonfigIN", 0, 18, 3, "@lblEingang(0) ↓|0|0|0|0|0|0|0|0|");
    row("inputs: last", K::Inputs, 2, "rptKonfigIN", 0, 18, 17, "@lblEingang(7) ↓|0|0|0|0|0|0|0|0|Door 16 open");
    row("outputs: relay 2 on", K::Outputs, 2, "rptKonfigOUT", 0, 10, 4,
        "@lblAusgang(1) ↑|1|0|0|0|0|0|0|0|1|Door 19 open");
    row("users: heading", K::Users, 1, "rptBenutzer", 0, 9, 0,
        "#|@rptlblName|@rptlblNummer|@rptlblPasswort|@rptlblOperator|@rptlblStatus");
    // The password is printed (installers keep the list); four NUL characters print as nothing.
    row("users: user 1", K::Users, 1, "rptBenutzer", 0, 9, 1, "1|Anna Muster|+41791234567|4711|1|1");
    row("users: unused", K::Users, 1, "rptBenutzer", 0, 9, 2, "2||||0|0");
    // The alarm input's users and edges as rows of digits, lowest bit first.
    row("alarm: users", K::Alarm, 1, "rptAlarmDispo", 1, 4, 1, "@rptlblUserAD|0|0|0|1|0|0|0|0");
    row("alarm: rising", K::Alarm, 4, "rptAlarmDispo", 1, 4, 2, "@rptlblINON|1|0|1|0|0|0|0|0");
    row("alarm: falling", K::Alarm, 1, "rptAlarmDispo", 1, 4, 3, "@rptlblINOFF|0|0|0|0|0|0|0|0");
    row("alarm: delay", K::Alarm, 1, "rptAlarmDispo", 0, 2, 0, "@rptlblVerzögerungszeit|42");
    row("alarm: text", K::Alarm, 4, "rptAlarmDispo", 0, 2, 1, "SMS|Porte 25");
}

// A row of a report's table as printed from a known store.
void TestReports::reportRows()
{
    QFETCH(int, kind);
    QFETCH(int, language);
    QFETCH(QString, caption);
    QFETCH(int, fromEnd);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(QString, cells);
    if (!m_known) {
        m_known = std::make_unique<TestEnv>();
        fillKnownStore(*m_known);
    }
    const TestEnv& env = *m_known;
    const Reports::Report r = Reports::build(gState(), Reports::Kind(kind), env.dbPath(), language, "site.cfg");
    QCOMPARE(r.caption, tableText(env, caption, language));
    auto doc = Reports::document(r);
    QVERIFY(!doc->toPlainText().contains(QChar(0)));
    const QList<QStringList> table = tableRows(*doc, fromEnd);
    QCOMPARE(table.size(), rows);
    QStringList expected = cells.split('|');
    for (QString& cell : expected)
        if (cell.startsWith('@'))
            cell = tableText(env, cell.mid(1).section(' ', 0, 0), language)
                + (cell.contains(' ') ? ' ' + cell.section(' ', 1) : QString());
    QCOMPARE(table[row], expected);
}

void TestReports::reportDatesInTheirLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<QString>("foreign"); // a month and a text of another language
    QTest::newRow("de") << 1 << QString::fromUtf8("Donnerstag, 5. März 2026") << "1.250"
                        << "March|Door 16";
    QTest::newRow("en") << 2 << "Thursday, 5 March 2026"
                        << "1,250" << QString::fromUtf8("März|Tür 16");
    QTest::newRow("it") << 3 << QString::fromUtf8("giovedì 5 marzo 2026") << "1.250"
                        << "March|Door 16";
    QTest::newRow("fr") << 4 << "jeudi 5 mars 2026" << QString::fromUtf8("1\u00a0250") << "March|Door 16";
}

// Every report says when it was made, in the date form of its language; the alarm delay is
// written as that language writes numbers; title, texts and logo are that language's only.
void TestReports::reportDatesInTheirLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, date);
    QFETCH(QString, delay);
    QFETCH(QString, foreign);
    TestEnv env;
    fillKnownStore(env);
    env.exec("UPDATE \"Alarm_Dispositiv\" SET \"Verzögerungszeit\" = 1250");
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 30));
    for (Reports::Kind kind :
         {Reports::Kind::Inputs, Reports::Kind::Outputs, Reports::Kind::Alarm, Reports::Kind::Users}) {
        const Reports::Report r = Reports::build(gState(), kind, env.dbPath(), language, QString(), when);
        const QString text = Reports::document(r)->toPlainText().simplified();
        QVERIFY2(text.contains(date) && text.contains("14:30") && !text.contains(foreign.section('|', 0, 0))
                     && !text.contains(foreign.section('|', 1)),
                 qPrintable(Reports::reportName(kind) + ": " + text.left(200)));
        const QImage logo = Reports::document(r)->resource(QTextDocument::ImageResource, QUrl("logo")).value<QImage>();
        QCOMPARE(logo, QImage(QStringLiteral(":/images/PicLogo%1.png").arg(QLatin1Char("DEIF"[language - 1]))));
        if (kind == Reports::Kind::Alarm)
            QCOMPARE(tableRows(*Reports::document(r))[0].last(), delay);
        if (kind == Reports::Kind::Inputs)
            QCOMPARE(r.title, tableText(env, "rptKonfigIN.lblTitel", language));
    }
}

void TestReports::pdfExportHasFooterAndPages()
{
    TestEnv env;
    fillKnownStore(env);
    Settings::set("Profile", "File", env.path("UserProfile/Anlage Nord.cfg"));
    const Reports::Report r
        = Reports::build(gState(), Reports::Kind::Inputs, env.dbPath(), 2, Reports::currentProfileTitle());
    QString error;
    QVERIFY2(Reports::exportPdf(gState(), r, env.path("in.pdf"), &error), qPrintable(error));
    QVERIFY(readAll(env.path("in.pdf")).startsWith("%PDF-"));
    QCOMPARE(Reports::pageCount(r), 1);
    // A report longer than a page: every page has its footer with the page count.
    Reports::Report longer = r;
    for (int i = 0; i < 6; ++i)
        longer.html += r.html;
    const int pages = Reports::pageCount(longer);
    QVERIFY(pages >= 2);
    QVERIFY(Reports::exportPdf(gState(), longer, env.path("long.pdf"), &error));
    // An unwritable target: an error, nothing half-written.
    QVERIFY(!Reports::exportPdf(gState(), r, env.path("no/such/folder/x.pdf"), &error));
    QVERIFY(!error.isEmpty());
    const QString text = pdfText(env.path("in.pdf"));
    if (text.isEmpty())
        QSKIP("pdftotext is not installed");
    QVERIFY2(text.contains(r.title) && text.contains("Door 16 open"), qPrintable(text));
    QVERIFY(text.contains("File name: Anlage Nord.cfg"));
    QVERIFY(text.contains(QRegularExpression("\\b1 ?/ ?1\\b")));
    const QString longText = pdfText(env.path("long.pdf"));
    QCOMPARE(longText.count("File name: Anlage Nord.cfg"), pages);
    for (int page = 1; page <= pages; ++page)
        QVERIFY(longText.contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\b").arg(page).arg(pages))));
}

// Showing, printing without a printer or with a failing one, the preview.
void TestReports::printWithoutPrinterOrFailing()
{
    TestEnv env("2");
    Reports::Report seen;
    MainWindowOptions options;
    options.reportPreview = [&](const Reports::Report& r) { seen = r; };
    auto w = Desktop::window(options);
    // The report shows an edit that still waits in the recordset.
    QAction* show = w->findChild<QAction*>(QString::fromUtf8("mnuEingängeAnzeigen"));
    show->trigger();
    QCOMPARE(tableRows(*Reports::document(seen))[2][3], QStringLiteral("0"));
    w->store().inputs.moveFirst();
    w->store().inputs.setValue("Benutzer3", 1);
    show->trigger();
    QCOMPARE(tableRows(*Reports::document(seen))[2][3], QStringLiteral("1"));
    QCOMPARE(env.queryValue("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID = 1").toInt(), 1);
    ReportActions::Hooks noPrinter;
    noPrinter.printerName = [] { return QString(); };
    // No printer: the PDF is offered, and written where the user says.
    env.answers << QMessageBox::Yes;
    env.fileAnswers << env.path("alarm.pdf");
    QVERIFY(ReportActions::print(gState(), w.get(), Reports::Kind::Alarm, noPrinter));
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Question);
    QVERIFY(env.messages[0].text.contains("No printer"));
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(env.fileRequests[0].save && env.fileRequests[0].defaultSuffix == QStringLiteral("pdf"));
    QVERIFY(readAll(env.path("alarm.pdf")).startsWith("%PDF-"));
    // A file that cannot be written is reported.
    env.answers << QMessageBox::Yes;
    env.fileAnswers << env.path("missing/folder/a.pdf");
    QVERIFY(!ReportActions::print(gState(), w.get(), Reports::Kind::Alarm, noPrinter));
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages.last().text.contains("PDF"));
    // A printer that fails is named.
    ReportActions::Hooks missingPrinter;
    missingPrinter.printerName = [] { return QStringLiteral("SMSV48-no-such-printer"); };
    QVERIFY(!ReportActions::print(gState(), w.get(), Reports::Kind::Users, missingPrinter));
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages.last().text.contains("could not be printed")
            && env.messages.last().text.contains("SMSV48-no-such-printer"));
    // The print preview opens tall, but never beyond the screen it is shown on.
    QSize shown;
    Desktop::onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        shown = d->size();
        d->reject();
    });
    ReportActions::preview(gState(), w.get(), Reports::Kind::Users);
    QVERIFY(shown.isValid() && shown.width() <= w->screen()->availableGeometry().width()
            && shown.height() <= w->screen()->availableGeometry().height());
    // A store that cannot be read: the report says so (in German, as no language row can be read).
    QFile::remove(env.dbPath());
    gState().databasePath = env.dbPath();
    QVERIFY(!ReportActions::exportPdf(gState(), w.get(), Reports::Kind::Inputs));
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Critical);
    QVERIFY2(env.messages.last().text.contains("Der Bericht konnte nicht erstellt werden"),
             qPrintable(env.messages.last().text));
}

// The command line writes a report as PDF in the language asked for; "-o -" is standard output
// (no file named "-" in the working folder); a missing database is one line.
void TestReports::commandLineReport()
{
    TestEnv env;
    fillKnownStore(env);
    const QString out = env.path("users.pdf");
    QCOMPARE(CliRun::inProcess({"--language", "2", "report", "users", "-o", out}).code, 0);
    QVERIFY(readAll(out).startsWith("%PDF-"));
    const QString text = pdfText(out);
    QVERIFY(text.isEmpty() || (text.contains(tableText(env, "rptBenutzer", 2)) && text.contains("4711")));
    QTemporaryDir dir;
    CliRun::Run r = CliRun::run(CliRun::ctlPath(), {"report", "inputs", "-o", "-"}, {}, {},
                                [&](QProcess& p) { p.setWorkingDirectory(dir.path()); });
    QVERIFY(r.code == 0 && r.out.startsWith("%PDF-") && QDir(dir.path()).isEmpty());
    // Without the database: one line naming it, no file.
    QFile::remove(env.dbPath());
    r = CliRun::inProcess({"report", "inputs", "-o", env.path("in.pdf")});
    QVERIFY(r.code != 0 && r.err.count('\n') == 1);
    QVERIFY(r.err.startsWith("smsv48ctl: ") && r.err.contains("SMS_Vantor.sqlite"));
    QVERIFY(!QFile::exists(env.path("in.pdf")));
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
