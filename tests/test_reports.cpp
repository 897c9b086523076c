// The four reports: their tables and texts in each language, the dates, PDF export with its
// footer, printing without a printer or with a failing one, and the command line's report.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "reports/Reports.h"
#include "ui/MainWindow.h"
#include "ui/ReportActions.h"
#include "ui/Start.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QtTest>

namespace {
std::unique_ptr<MainWindow> makeWindow(MainWindowOptions options = {})
{
    Settings::set("Ports", "COM1", "sim");
    if (!Start::prepare(gState()).isEmpty())
        return nullptr;
    return std::make_unique<MainWindow>(gState(), std::move(options));
}

// The rows of the last table of a report document (the data table), cell texts trimmed.
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

QString plain(const Reports::Report& r) { return Reports::document(r)->toPlainText().simplified(); }

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

QString caption(TestEnv& env, const QString& key, int language)
{
    static const char* cols[] = {"Deutsch", "Englisch", "Italienisch", "Französisch"};
    return env
        .queryValue(QStringLiteral("SELECT \"%1\" FROM \"Beschriftung\" WHERE Name = '%2'")
                        .arg(QString::fromUtf8(cols[language - 1]), key))
        .toString();
}

// Runs fn on the next modal dialog of type T once it is shown.
template <typename T> void onModal(std::function<void(T*)> fn)
{
    QTimer::singleShot(0, [fn] {
        T* dlg = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dlg) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<T*>(w); d && d->isVisible())
                    dlg = d;
        }
        QVERIFY2(dlg, "expected dialog is not shown");
        fn(dlg);
    });
}
} // namespace

class TestReports : public QObject {
    Q_OBJECT
private slots:
    void inputReportInTwoLanguages();
    void outputAndUserReports();
    void alarmDigitRows();
    void reportDatesInTheirLanguage();
    void reportShowsEditNotYetFlushed();
    void pdfExportHasFooterAndPages();
    void printWithoutPrinterOffersPdf();
    void previewFitsTheScreen();
    void printFailureIsReported();
    void commandLineReport();
};

void TestReports::inputReportInTwoLanguages()
{
    TestEnv env;
    fillKnownStore(env);
    for (int lang : {1, 2}) {
        const Reports::Report r = Reports::build(gState(), Reports::Kind::Inputs, env.dbPath(), lang, "site.cfg");
        QCOMPARE(r.caption, caption(env, "rptKonfigIN", lang));
        QCOMPARE(r.title, caption(env, "rptKonfigIN.lblTitel", lang));
        auto doc = Reports::document(r);
        const QString text = doc->toPlainText().simplified();
        QVERIFY(text.contains(r.title));
        QVERIFY(text.contains(caption(env, "rptlblUserAD", lang)));
        const QList<QStringList> rows = tableRows(*doc);
        QCOMPARE(rows.size(), 2 + 16);
        QCOMPARE(rows[1], (QStringList {"1", "2", "3", "4", "5", "6", "7", "8"}));
        const QString io1 = caption(env, "lblEingang(0)", lang);
        QVERIFY(!io1.isEmpty());
        const QString sms1 = lang == 1 ? QString::fromUtf8("Tür 1 offen") : QStringLiteral("Door 1 open");
        QCOMPARE(rows[2], (QStringList {io1 + QString::fromUtf8(" ↑"), "0", "1", "0", "0", "0", "0", "0", "1", sms1}));
        // Row 2 has a null text: an empty cell.
        QCOMPARE(rows[3].last(), QString());
        QCOMPARE(rows[3].first(), io1 + QString::fromUtf8(" ↓"));
        QCOMPARE(rows[17].first(), caption(env, "lblEingang(7)", lang) + QString::fromUtf8(" ↓"));
        QCOMPARE(rows[17].last(), lang == 1 ? QString::fromUtf8("Tür 16 offen") : QStringLiteral("Door 16 open"));
    }
    // Italian: the Italian column.
    const Reports::Report it = Reports::build(gState(), Reports::Kind::Inputs, env.dbPath(), 3, "site.cfg");
    QVERIFY(plain(it).contains("Porta 16"));
    // ... and the Italian logo only.
    const QImage logo = Reports::document(it)->resource(QTextDocument::ImageResource, QUrl("logo")).value<QImage>();
    QVERIFY(!logo.isNull());
    QCOMPARE(logo, QImage(":/images/PicLogoI.png"));
    QVERIFY(logo != QImage(":/images/PicLogoD.png"));
    QVERIFY(!plain(it).contains("Door"));
}

void TestReports::outputAndUserReports()
{
    TestEnv env;
    fillKnownStore(env);
    auto out = Reports::document(Reports::build(gState(), Reports::Kind::Outputs, env.dbPath(), 2, QString()));
    const QList<QStringList> rows = tableRows(*out);
    QCOMPARE(rows.size(), 2 + 8);
    // Output row 3: relay 2 switching on, user 1, default state 1, SMS 19.
    QCOMPARE(rows[4],
             (QStringList {caption(env, "lblAusgang(1)", 2) + QString::fromUtf8(" ↑"), "1", "0", "0", "0", "0", "0",
                           "0", "0", "1", "Door 19 open"}));
    QCOMPARE(rows[9][0], caption(env, "lblAusgang(3)", 2) + QString::fromUtf8(" ↓"));

    auto users = Reports::document(Reports::build(gState(), Reports::Kind::Users, env.dbPath(), 1, QString()));
    const QList<QStringList> u = tableRows(*users);
    QCOMPARE(u.size(), 1 + 8);
    QCOMPARE(u[0],
             (QStringList {"#", caption(env, "rptlblName", 1), caption(env, "rptlblNummer", 1),
                           caption(env, "rptlblPasswort", 1), caption(env, "rptlblOperator", 1),
                           caption(env, "rptlblStatus", 1)}));
    // The password is printed (installers keep the list); four NUL characters print as nothing.
    QCOMPARE(u[1], (QStringList {"1", "Anna Muster", "+41791234567", "4711", "1", "1"}));
    QCOMPARE(u[2], (QStringList {"2", "", "", "", "0", "0"}));
    QVERIFY(!users->toPlainText().contains(QChar(0)));
}

void TestReports::alarmDigitRows()
{
    QCOMPARE(Reports::digitRow(5), QStringLiteral("1   0   1   0   0   0   0   0   "));
    QCOMPARE(Reports::digitRow(0), QStringLiteral("0   ").repeated(8));
    QCOMPARE(Reports::digitRow(128), QStringLiteral("0   ").repeated(7) + QStringLiteral("1   "));
    QCOMPARE(Reports::digitRow(255), QStringLiteral("1   ").repeated(8));

    TestEnv env;
    fillKnownStore(env);
    for (int lang : {1, 4}) {
        const Reports::Report r = Reports::build(gState(), Reports::Kind::Alarm, env.dbPath(), lang, QString());
        QCOMPARE(r.caption, caption(env, "rptAlarmDispo", lang));
        auto doc = Reports::document(r);
        const QList<QStringList> grid = tableRows(*doc, 1);
        QCOMPARE(grid.size(), 4);
        QCOMPARE(grid[0], (QStringList {caption(env, "rptlblSeqAlarm", lang), "1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(grid[1], (QStringList {caption(env, "rptlblUserAD", lang), "0", "0", "0", "1", "0", "0", "0", "0"}));
        QCOMPARE(grid[2], (QStringList {caption(env, "rptlblINON", lang), "1", "0", "1", "0", "0", "0", "0", "0"}));
        QCOMPARE(grid[3], (QStringList {caption(env, "rptlblINOFF", lang), "0", "0", "0", "0", "0", "0", "0", "0"}));
        const QList<QStringList> rest = tableRows(*doc);
        QCOMPARE(rest[0], (QStringList {caption(env, QString::fromUtf8("rptlblVerzögerungszeit"), lang), "42"}));
        QCOMPARE(rest[1],
                 (QStringList {"SMS", lang == 1 ? QString::fromUtf8("Tür 25 offen") : QStringLiteral("Porte 25")}));
    }
}

// Every report says when it was made, in the date form of its language; the alarm delay is
// written as that language writes numbers.
void TestReports::reportDatesInTheirLanguage()
{
    TestEnv env;
    fillKnownStore(env);
    env.exec("UPDATE \"Alarm_Dispositiv\" SET \"Verzögerungszeit\" = 1250");
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 30));
    const struct {
        int language;
        const char* date;
        const char* time;
        const char* delay;
        const char* foreignMonth;
    } expected[] = {{1, "Donnerstag, 5. März 2026", "14:30", "1.250", "March"},
                    {2, "Thursday, 5 March 2026", "14:30", "1,250", "März"},
                    {3, "giovedì 5 marzo 2026", "14:30", "1.250", "March"},
                    {4, "jeudi 5 mars 2026", "14:30", "1\u00a0250", "March"}};
    for (const auto& e : expected) {
        for (Reports::Kind kind :
             {Reports::Kind::Inputs, Reports::Kind::Outputs, Reports::Kind::Alarm, Reports::Kind::Users}) {
            const QString text = plain(Reports::build(gState(), kind, env.dbPath(), e.language, QString(), when));
            const QString where = QStringLiteral("language %1, %2: ").arg(e.language).arg(Reports::reportName(kind));
            QVERIFY2(text.contains(QString::fromUtf8(e.date)), qPrintable(where + text.left(200)));
            QVERIFY2(text.contains(QString::fromUtf8(e.time)), qPrintable(where + text.left(200)));
            QVERIFY2(!text.contains(QString::fromUtf8(e.foreignMonth)), qPrintable(where + text.left(200)));
            if (kind == Reports::Kind::Alarm) {
                const QList<QStringList> rest = tableRows(
                    *Reports::document(Reports::build(gState(), kind, env.dbPath(), e.language, QString(), when)));
                QCOMPARE(rest[0].last(), QString::fromUtf8(e.delay));
            }
        }
    }
    // Without a moment given, the report names today.
    const QString today = ProgramContext::localeFor(1).toString(QDate::currentDate(), QLocale::LongFormat);
    QVERIFY(plain(Reports::build(gState(), Reports::Kind::Users, env.dbPath(), 1, QString())).contains(today));
}

void TestReports::reportShowsEditNotYetFlushed()
{
    TestEnv env;
    Reports::Report seen;
    MainWindowOptions options;
    options.reportPreview = [&](const Reports::Report& r) { seen = r; };
    auto w = makeWindow(options);
    QVERIFY(w);
    w->findChild<QAction*>(QString::fromUtf8("mnuEingängeAnzeigen"))->trigger();
    auto before = Reports::document(seen);
    QCOMPARE(tableRows(*before)[2][3], QStringLiteral("0"));
    // An edit that still waits in the recordset.
    w->store().inputs.moveFirst();
    w->store().inputs.setValue("Benutzer3", 1);
    w->findChild<QAction*>(QString::fromUtf8("mnuEingängeAnzeigen"))->trigger();
    auto after = Reports::document(seen);
    QCOMPARE(tableRows(*after)[2][3], QStringLiteral("1"));
    QCOMPARE(env.queryValue("SELECT Benutzer3 FROM \"Konfiguration_Eingänge\" WHERE ID = 1").toInt(), 1);
}

void TestReports::pdfExportHasFooterAndPages()
{
    TestEnv env;
    fillKnownStore(env);
    Settings::set("Profile", "File", env.path("UserProfile/Anlage Nord.cfg"));
    QCOMPARE(Reports::currentProfileTitle(), QStringLiteral("Anlage Nord.cfg"));
    const Reports::Report r
        = Reports::build(gState(), Reports::Kind::Inputs, env.dbPath(), 2, Reports::currentProfileTitle());
    const QString path = env.path("in.pdf");
    QString error;
    QVERIFY2(Reports::exportPdf(gState(), r, path, &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QCOMPARE(Reports::pageCount(r), 1);
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    QProcess p;
    p.start(pdftotext, {"-layout", path, "-"});
    QVERIFY(p.waitForFinished(20000));
    // Text extraction may keep the typographic ligatures of the font.
    const QString text = QString::fromUtf8(p.readAllStandardOutput())
                             .replace(QChar(0xFB01), QLatin1String("fi"))
                             .replace(QChar(0xFB02), QLatin1String("fl"));
    QVERIFY2(text.contains(r.title), qPrintable(text));
    QVERIFY(text.contains("File name: Anlage Nord.cfg"));
    QVERIFY(text.contains(QRegularExpression("\\b1 ?/ ?1\\b")));
    QVERIFY(text.contains("Door 16 open"));
    // A report longer than a page: every page has its footer with the page count.
    Reports::Report longer = r;
    for (int i = 0; i < 6; ++i)
        longer.html += r.html;
    const int pages = Reports::pageCount(longer);
    QVERIFY(pages >= 2);
    QVERIFY(Reports::exportPdf(gState(), longer, env.path("long.pdf"), &error));
    p.start(pdftotext, {"-layout", env.path("long.pdf"), "-"});
    QVERIFY(p.waitForFinished(20000));
    const QString longText = QString::fromUtf8(p.readAllStandardOutput());
    QCOMPARE(longText.count("File name: Anlage Nord.cfg"), pages);
    for (int page = 1; page <= pages; ++page)
        QVERIFY(longText.contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\b").arg(page).arg(pages))));
    // An unwritable target: error, nothing half-written.
    QVERIFY(!Reports::exportPdf(gState(), r, env.path("no/such/folder/x.pdf"), &error));
    QVERIFY(!error.isEmpty());
}

void TestReports::printWithoutPrinterOffersPdf()
{
    TestEnv env("2");
    auto w = makeWindow();
    QVERIFY(w);
    ReportActions::Hooks noPrinter;
    noPrinter.printerName = [] { return QString(); };
    const QString out = env.path("alarm.pdf");
    env.answers << QMessageBox::Yes;
    env.fileAnswers << out;
    QVERIFY(ReportActions::print(gState(), w.get(), Reports::Kind::Alarm, noPrinter));
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Question);
    QVERIFY(env.messages[0].text.contains("No printer"));
    QCOMPARE(env.fileRequests.size(), 1);
    QVERIFY(env.fileRequests[0].save);
    QCOMPARE(env.fileRequests[0].defaultSuffix, QStringLiteral("pdf"));
    QVERIFY(QFile::exists(out));
    // Declined: nothing written, no file dialog.
    env.answers << QMessageBox::No;
    QVERIFY(!ReportActions::print(gState(), w.get(), Reports::Kind::Alarm, noPrinter));
    QCOMPARE(env.fileRequests.size(), 1);
    // A file that cannot be written is reported.
    env.answers << QMessageBox::Yes;
    env.fileAnswers << env.path("missing/folder/a.pdf");
    QVERIFY(!ReportActions::print(gState(), w.get(), Reports::Kind::Alarm, noPrinter));
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages.last().text.contains("PDF"));
}

// The print preview opens tall, but never beyond the screen it is shown on.
void TestReports::previewFitsTheScreen()
{
    TestEnv env;
    auto w = makeWindow();
    QVERIFY(w);
    const QSize avail = w->screen()->availableGeometry().size();
    QSize shown;
    onModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* d) {
        shown = d->size();
        d->reject();
    });
    ReportActions::preview(gState(), w.get(), Reports::Kind::Users);
    QVERIFY(shown.isValid());
    QVERIFY2(shown.width() <= avail.width() && shown.height() <= avail.height(),
             qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                            .arg(shown.width())
                            .arg(shown.height())
                            .arg(avail.width())
                            .arg(avail.height())));
}

void TestReports::printFailureIsReported()
{
    TestEnv env("2");
    auto w = makeWindow();
    QVERIFY(w);
    ReportActions::Hooks missingPrinter;
    missingPrinter.printerName = [] { return QStringLiteral("SMSV48-no-such-printer"); };
    QVERIFY(!ReportActions::print(gState(), w.get(), Reports::Kind::Users, missingPrinter));
    QCOMPARE(env.messages.size(), 1);
    QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
    QVERIFY(env.messages[0].text.contains("could not be printed"));
    QVERIFY(env.messages[0].text.contains("SMSV48-no-such-printer"));
    // A store that cannot be read: the report says so instead of failing silently.
    QFile::remove(env.dbPath());
    gState().databasePath = env.dbPath();
    QVERIFY(!ReportActions::exportPdf(gState(), w.get(), Reports::Kind::Inputs));
    QCOMPARE(env.messages.last().icon, Dialogs::Icon::Critical);
    // Without the database no language row can be read: the German text stands in.
    QVERIFY2(env.messages.last().text.contains("Der Bericht konnte nicht erstellt werden"),
             qPrintable(env.messages.last().text));
}

namespace {
QProcessEnvironment ctlEnv(const QString& home, const QString& settings)
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("SMSV48_HOME", home);
    e.insert("SMSV48_SETTINGS_DIR", settings);
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.insert("XDG_RUNTIME_DIR", settings);
    return e;
}
QString ctl() { return QDir(TestEnv::builtBin()).filePath("smsv48ctl"); }
}

// The command line writes a report as PDF; a wrong kind or a missing database is one line.
void TestReports::commandLineReport()
{
    TestEnv env;
    fillKnownStore(env);
    QFile::setPermissions(env.settingsDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess p;
    p.setProcessEnvironment(ctlEnv(env.root(), env.settingsDir()));
    const QString out = env.path("users.pdf");
    p.start(ctl(), {"--language", "2", "report", "users", "-o", out});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    if (!pdftotext.isEmpty()) {
        QProcess t;
        t.start(pdftotext, {"-layout", out, "-"});
        QVERIFY(t.waitForFinished(20000));
        const QString text = QString::fromUtf8(t.readAllStandardOutput());
        QVERIFY(text.contains(caption(env, "rptBenutzer", 2)));
        QVERIFY(text.contains("4711"));
    }
    // A wrong word: usage error.
    p.start(ctl(), {"report", "everything", "-o", out});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    // Without the database: one line naming it, no file.
    QFile::remove(env.dbPath());
    const QString missing = env.path("in.pdf");
    p.start(ctl(), {"report", "inputs", "-o", missing});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY(p.exitCode() != 0);
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines[0].startsWith("smsv48ctl: "));
    QVERIFY(lines[0].contains("SMS_Vantor.sqlite"));
    QVERIFY(!QFile::exists(missing));
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
