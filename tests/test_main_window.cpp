// The main window: every control of the three tabs, the menus and the toolbar, and the
// texts the loaders take from the language tables in their row order.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"
#include "ui/ShapeLamp.h"
#include "ui/FittedLabel.h"
#include "ui/MainWindow.h"
#include "editing/ConfigEditor.h"
#include "ui/EditorBinding.h"
#include "ui/Help.h"
#include "ui/WindowTexts.h"
#include "ui/SystemTab.h"
#include "ui/OutputsTab.h"
#include "ui/InputsTab.h"
#include "WindowWidgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QSpinBox>
#include <QtTest>

namespace {

const char* const LanguagePrefix[4] = {"de ", "en ", "it ", "fr "};

// A block of rows: the anchor (or a row only reached by stepping) and the rows after it.
struct Block {
    QString name;
    int rows = 1;
};

QList<Block> captionBlocks()
{
    QList<Block> b;
    for (int i = 1; i <= 38; ++i)
        b << Block {QStringLiteral("Zeile%1").arg(i), 1};
    b << Block {"mnuListenAnzeigen", 4} << Block {"cmdSetOutput", 2} << Block {"cmdSetzen"} << Block {"cmdLesen"}
      << Block {"lblSerienummer"} << Block {"lblPinSimCard"} << Block {"cmdPinLesen"} << Block {"cmdPinWechseln"}
      << Block {"cmdDownload", 2} << Block {"cmdUpload"} << Block {"lblKonfiguration"} << Block {"mnuAdministrator"}
      << Block {"OptPortAnzeige", 3} << Block {"cmdAktualisieren"} << Block {QStringLiteral("lblGültigkeit")}
      << Block {"cmdGueltigkeitLesen"} << Block {"cmdGueltigkeitSetzen"} << Block {"mnuSpeichern", 3}
      << Block {"mnuBenutzerAnzeigen", 2};
    return b;
}

QList<Block> toolTipBlocks()
{
    QList<Block> b;
    b << Block {"txtEingangSF", 2} << Block {"txtEingangFF", 2} << Block {"txtAlarmDispositiv"}
      << Block {"ChkEmpOPSF", 3} << Block {"ChkEmpOPFF", 3} << Block {"lblAdresseEmpf"} << Block {"txtAusgangSF", 2}
      << Block {"txtAusgangFF", 2} << Block {"ChkEmpOutSF", 3} << Block {"ChkEmpOutFF", 3} << Block {"ChkOP", 2}
      << Block {"txtSMSAufstarten"} << Block {"ChkBenutzerPowerON", 2} << Block {"ChkBenutzerAlarmDispo", 2}
      << Block {"ChkAlarmDispoSF", 2} << Block {"ChkAlarmDispoFF", 2} << Block {QStringLiteral("txtADVerzögerungszeit")}
      << Block {"cmdCheckAllEmp", 2} << Block {"cmdClrAllEmp", 2} << Block {"cmdCheckAllEvents", 2}
      << Block {"lblAdresseName"} << Block {"cmdSetOutput"} << Block {"cmdResetOutput"} << Block {"cmdDownload", 2}
      << Block {"cmdUpload"} << Block {"txtSerienummer"} << Block {"txtPINSimCardNeu"} << Block {"cmdSetzen"}
      << Block {"cmdLesen"} << Block {"StatusBar", 4} << Block {"txtPINSimCardAlt"} << Block {"ChkDefault"}
      << Block {"cmdPinLesen"} << Block {"cmdPinWechseln"} << Block {"chkDefaultState"} << Block {"cmdAllRelaisOFF"}
      << Block {"cmdAllRelaisON"} << Block {QStringLiteral("CboGültigkeit")} << Block {"cmdAktualisieren"}
      << Block {"OptPortAnzeige"} << Block {"cmdGueltigkeitLesen"} << Block {"cmdGueltigkeitSetzen"}
      << Block {"Toolbar", 22};
    return b;
}

QList<Block> messageBlocks()
{
    QList<Block> b;
    for (const char* k : {"gsMsgVerzögerungszeit",
                          "gsFehlerEingabe",
                          "gsPasswortAnzZeichen",
                          "gsFrageOkAbbrechen",
                          "gsBenutzer",
                          "gsDefined_Undefined",
                          "gsMsgZeileNichtGebrannt",
                          "gsMsgKeineAntwort",
                          "gsMsgKeineAntwortHilfe",
                          "gsMsgCreateHexFile",
                          "gsMsgDownloadOK",
                          "gsMsgNotNumeric",
                          "gsMsgErrorPIC",
                          "gsMsgLesenAbgebrochen",
                          "gsMsgSchreibenAbgebrochen",
                          "gsMsgPINAnzZeichen",
                          "gsHWVersion",
                          "gsSWVersion",
                          "gsAnzahlZeichen",
                          "gsMsgSaveConfiguration",
                          "gsLoadConfiguration",
                          "gsMsgLoadHexFile",
                          "gsMsgPasswortNOK",
                          "gsMsgProgrammiereFlash",
                          "gsModemStartUP",
                          "gsUpdateConfiguration",
                          "gsUpdateFirmware",
                          "gsProgramName",
                          "gsMsgNotPlus",
                          "gsMsgVersionskonflikt",
                          "gsTitelVersionskonflikt",
                          "gsMsgDateiSchreibgeschützt",
                          "gsMsgSpeichereAndererDateiname",
                          "gsMsgÄnderungenSpeichern",
                          "gsMsgPINeingeben",
                          "gsMsgPINAlteingeben"})
        b << Block {QString::fromUtf8(k), 1};
    b << Block {QStringLiteral("CboGültigkeit"), 4} << Block {"gsMsgFalschesZeichen", 2};
    return b;
}

// The text of row r of a block (r = 0 the anchor) in language l (0-based).
QString rowText(const QString& block, int r, int l)
{
    return QString::fromLatin1(LanguagePrefix[l]) + block + (r ? QStringLiteral("#%1").arg(r + 1) : QString());
}

// Replaces a language table by the given blocks, in order.
void writeTable(const TestEnv& env, const QString& table, const QList<Block>& blocks)
{
    env.exec(QStringLiteral("DELETE FROM \"%1\"").arg(table));
    for (const Block& b : blocks)
        for (int r = 0; r < b.rows; ++r) {
            const QString name = r ? b.name + QStringLiteral("#%1").arg(r + 1) : b.name;
            QStringList values {name};
            for (int l = 0; l < 4; ++l)
                values << rowText(b.name, r, l);
            for (QString& v : values)
                v = QLatin1Char('\'') + QString(v).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
            env.exec(QStringLiteral("INSERT INTO \"%1\" VALUES (%2)").arg(table, values.join(QLatin1Char(','))));
        }
}

void writeFixture(const TestEnv& env)
{
    writeTable(env, tbl::Beschriftung, captionBlocks());
    writeTable(env, tbl::ToolTipText, toolTipBlocks());
    writeTable(env, tbl::SystemNachrichten, messageBlocks());
}

void swapRows(const TestEnv& env, const QString& table, int a, int b)
{
    env.exec(QStringLiteral("UPDATE \"%1\" SET rowid = -1 WHERE rowid = %2").arg(table).arg(a));
    env.exec(QStringLiteral("UPDATE \"%1\" SET rowid = %2 WHERE rowid = %3").arg(table).arg(a).arg(b));
    env.exec(QStringLiteral("UPDATE \"%1\" SET rowid = %2 WHERE rowid = -1").arg(table).arg(b));
}

std::unique_ptr<MainWindow> loadedWindow()
{
    Settings::set("Ports", "COM1", "sim");
    auto w = std::make_unique<MainWindow>(gState());
    w->texts().loadSystemMessages();
    w->texts().applyAll();
    return w;
}

// Every text the loaders set: captions and tool tips by object name.
QMap<QString, QString> texts(MainWindow& w)
{
    w.ensureTabsBuilt();
    QMap<QString, QString> m;
    for (QObject* o : w.findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name == QStringLiteral("StatusBarPanel1")) // the clock
            continue;
        if (auto* l = qobject_cast<QLabel*>(o))
            m[name + ".text"] = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(o))
            m[name + ".text"] = b->text();
        else if (auto* menu = qobject_cast<QMenu*>(o))
            m[name + ".text"] = menu->title();
        else if (auto* a = qobject_cast<QAction*>(o))
            m[name + ".text"] = a->text();
        if (auto* wd = qobject_cast<QWidget*>(o))
            m[name + ".tip"] = wd->toolTip();
        else if (auto* a = qobject_cast<QAction*>(o))
            m[name + ".tip"] = a->toolTip();
    }
    for (int i = 0; i < 3; ++i)
        m[QStringLiteral("tab%1").arg(i)] = w.tabs()->tabText(i);
    for (const QString& k : gState().messages.keys())
        m["msg." + k] = gState().messages.value(k);
    return m;
}

template <typename T> T* one(MainWindow& w, const QString& name)
{
    w.ensureTabsBuilt();
    const auto all = w.findChildren<QObject*>(name);
    if (all.size() != 1) {
        qWarning() << name << "found" << all.size() << "times";
        return nullptr;
    }
    return qobject_cast<T*>(all.first());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void everyControlExistsOnceWithItsType();
    void menusAndToolbarInDesignOrder();
    void textBoxLimitsAndTabOrder();
    void firstRowsAreTakenInTableOrder();
    void anchoredBlocksMayStandAnywhere();
    void composedToolTips();
    void languageColumns_data();
    void languageColumns();
    void ioLabelsWrittenToTheStore();
    void emptyTextFallsBackToGerman();
    void missingKeyGivesOneMessageNamingTableAndKey();
    void shortTableNamesTheRun();
    void sharedLoaderSteppingAndSearch();
    void shippedTablesLoadCompletely();
    void windowFitsItsTexts();
    void lateTabsMatchTabsBuiltAtOnce();
    void screenshots();
};

void TestMainWindow::everyControlExistsOnceWithItsType()
{
    TestEnv env;
    writeFixture(env);
    auto w = loadedWindow();
    struct Array {
        const char* name;
        int count;
        const QMetaObject* type;
    };
    const Array arrays[] = {
        {"ChkEmpOP", 128, &QCheckBox::staticMetaObject},
        {"ChkEmpOut", 64, &QCheckBox::staticMetaObject},
        {"ChkOP", 8, &QCheckBox::staticMetaObject},
        {"ChkAlarmDispo", 16, &QCheckBox::staticMetaObject},
        {"ChkBenutzerAlarmDispo", 8, &QCheckBox::staticMetaObject},
        {"ChkBenutzerPowerON", 8, &QCheckBox::staticMetaObject},
        {"ChkDefaultState", 8, &QCheckBox::staticMetaObject},
        {"txtEingangSF", 8, &QLineEdit::staticMetaObject},
        {"txtEingangFF", 8, &QLineEdit::staticMetaObject},
        {"txtAusgangSF", 4, &QLineEdit::staticMetaObject},
        {"txtAusgangFF", 4, &QLineEdit::staticMetaObject},
        {"lblAnzZeichenSF", 8, &QLabel::staticMetaObject},
        {"lblAnzZeichenFF", 8, &QLabel::staticMetaObject},
        {"lblAnzZeichenOutAK", 4, &QLabel::staticMetaObject},
        {"lblAnzZeichenOutRK", 4, &QLabel::staticMetaObject},
        {"lblEingang", 8, &QLabel::staticMetaObject},
        {"lblAusgang", 8, &QLabel::staticMetaObject},
        {"lblEmpfänger", 24, &QLabel::staticMetaObject},
        {"lblAdresseEmpf", 24, &QLabel::staticMetaObject},
        {"lblAdresseName", 24, &QLabel::staticMetaObject},
        {"cmdCheckAllEmp", 16, &QPushButton::staticMetaObject},
        {"cmdClrAllEmp", 16, &QPushButton::staticMetaObject},
        {"cmdSetOutput", 4, &QPushButton::staticMetaObject},
        {"cmdResetOutput", 4, &QPushButton::staticMetaObject},
        {"cmdDownload", 2, &QPushButton::staticMetaObject},
        {"OptPortAnzeige", 3, &QRadioButton::staticMetaObject},
        {"ShpLed", 8, &ShapeLamp::staticMetaObject},
    };
    for (const Array& a : arrays) {
        for (int i = 0; i < a.count; ++i) {
            const QString name = QStringLiteral("%1(%2)").arg(QString::fromUtf8(a.name)).arg(i);
            QObject* o = one<QObject>(*w, name);
            QVERIFY2(o, qPrintable(name));
            QVERIFY2(o->metaObject()->inherits(a.type), qPrintable(name));
        }
        const QString beyond = QStringLiteral("%1(%2)").arg(QString::fromUtf8(a.name)).arg(a.count);
        QVERIFY2(!w->findChild<QObject*>(beyond), qPrintable(beyond));
    }
    struct Single {
        const char* name;
        const QMetaObject* type;
    };
    const Single singles[] = {
        {"txtAlarmDispositiv", &QLineEdit::staticMetaObject},
        {"txtSMSAufstarten", &QLineEdit::staticMetaObject},
        {"txtADVerzögerungszeit", &QSpinBox::staticMetaObject},
        {"txtSerienummer", &QLineEdit::staticMetaObject},
        {"txtPINSimCardAlt", &QLineEdit::staticMetaObject},
        {"txtPINSimCardNeu", &QLineEdit::staticMetaObject},
        {"lblAnzZeichenAD", &QLabel::staticMetaObject},
        {"lblAnzZeichenPON", &QLabel::staticMetaObject},
        {"lblAlarmDispo", &QLabel::staticMetaObject},
        {"lblAufstarten", &QLabel::staticMetaObject},
        {"lblHWVersion", &QLabel::staticMetaObject},
        {"lblSWVersion", &QLabel::staticMetaObject},
        {"lblSerienummer", &QLabel::staticMetaObject},
        {"lblPinSimCard", &QLabel::staticMetaObject},
        {"lblGültigkeit", &QLabel::staticMetaObject},
        {"lblDownload", &QLabel::staticMetaObject},
        {"cmdCheckAllEvents", &QPushButton::staticMetaObject},
        {"cmdClrAllEvents", &QPushButton::staticMetaObject},
        {"cmdAllRelaisON", &QPushButton::staticMetaObject},
        {"cmdAllRelaisOFF", &QPushButton::staticMetaObject},
        {"cmdAktualisieren", &QPushButton::staticMetaObject},
        {"cmdSetzen", &QPushButton::staticMetaObject},
        {"cmdLesen", &QPushButton::staticMetaObject},
        {"cmdPinLesen", &QPushButton::staticMetaObject},
        {"cmdPinWechseln", &QPushButton::staticMetaObject},
        {"cmdGueltigkeitLesen", &QPushButton::staticMetaObject},
        {"cmdGueltigkeitSetzen", &QPushButton::staticMetaObject},
        {"cmdUpload", &QPushButton::staticMetaObject},
        {"cmdStatKom", &QPushButton::staticMetaObject},
        {"Check_Inkrement", &QCheckBox::staticMetaObject},
        {"ChkDefault", &QCheckBox::staticMetaObject},
        {"CboGültigkeit", &QComboBox::staticMetaObject},
        {"ShpModem", &ShapeLamp::staticMetaObject},
        {"SSTab1", &QTabWidget::staticMetaObject},
        {"Toolbar1", &QToolBar::staticMetaObject},
    };
    for (const Single& s : singles) {
        QObject* o = one<QObject>(*w, QString::fromUtf8(s.name));
        QVERIFY2(o, s.name);
        QVERIFY2(o->metaObject()->inherits(s.type), s.name);
    }
    // The tabs' accessors hand out the widgets of those names.
    QCOMPARE(static_cast<QObject*>(w->inputsTab().recipientBox(37)), one<QObject>(*w, "ChkEmpOP(37)"));
    QCOMPARE(static_cast<QObject*>(w->inputsTab().inputText(5, true)), one<QObject>(*w, "txtEingangFF(5)"));
    QCOMPARE(static_cast<QObject*>(w->inputsTab().recipientName(1, 2)), one<QObject>(*w, "lblAdresseName(18)"));
    QCOMPARE(static_cast<QObject*>(w->inputsTab().alarmDelay()), one<QObject>(*w, "txtADVerzögerungszeit"));
    QCOMPARE(static_cast<QObject*>(w->outputsTab().relayText(3, true)), one<QObject>(*w, "txtAusgangFF(3)"));
    QCOMPARE(static_cast<QObject*>(w->outputsTab().recipientHeading(1)), one<QObject>(*w, "lblEmpfänger(9)"));
    QCOMPARE(static_cast<QObject*>(w->outputsTab().recipientBox(62)), one<QObject>(*w, "ChkEmpOut(62)"));
    QCOMPARE(static_cast<QObject*>(w->outputsTab().clearColumnButton(7)), one<QObject>(*w, "cmdClrAllEmp(15)"));
    QCOMPARE(static_cast<QObject*>(w->systemTab().commandButton(SystemTab::Command::UpdateFirmware)),
             one<QObject>(*w, "cmdDownload(1)"));
    QCOMPARE(static_cast<QObject*>(w->systemTab().commandButton(SystemTab::Command::RelayOff, 2)),
             one<QObject>(*w, "cmdResetOutput(2)"));
    QCOMPARE(static_cast<QObject*>(w->systemTab().lamp(-1)), one<QObject>(*w, "ShpModem"));
    // The access-level controls start at the normal level.
    QVERIFY(WindowWidgets::named<QPushButton>(*w, "cmdSetzen")->isHidden());
    QVERIFY(WindowWidgets::named<QCheckBox>(*w, "Check_Inkrement")->isHidden());
    QVERIFY(WindowWidgets::named<QPushButton>(*w, "cmdDownload", 1)->isHidden());
    QVERIFY(!WindowWidgets::named<QPushButton>(*w, "cmdDownload", 0)->isHidden());
    // The matrices: user u's column on the input tab is ChkEmpOP(16u .. 16u + 15), one
    // line per input edge, the rising edge above the falling edge.
    w->resize(1300, 760);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->tabs()->setCurrentIndex(0);
    QCoreApplication::processEvents();
    auto pos = [&](QWidget* x) { return x->mapTo(w.get(), QPoint(x->width() / 2, x->height() / 2)); };
    for (int u = 0; u < 8; ++u)
        for (int r = 1; r < 16; ++r) {
            QCOMPARE(pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 16 * u + r)).x(),
                     pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 16 * u)).x());
            QVERIFY(pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 16 * u + r)).y()
                    > pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 16 * u + r - 1)).y());
            QCOMPARE(pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 16 * u + r)).y(),
                     pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", r)).y());
        }
    for (int e = 0; e < 8; ++e) {
        QVERIFY(std::abs(pos(WindowWidgets::named<QLineEdit>(*w, "txtEingangSF", e)).y()
                         - pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 2 * e)).y())
                <= 2);
        QVERIFY(std::abs(pos(WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", e)).y()
                         - pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 2 * e + 1)).y())
                <= 2);
        QCOMPARE(pos(WindowWidgets::named<QCheckBox>(*w, "ChkAlarmDispo", 2 * e)).y(),
                 pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 2 * e)).y());
    }
    w->tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    for (int r = 0; r < 8; ++r) {
        QCOMPARE(pos(WindowWidgets::named<QCheckBox>(*w, "ChkDefaultState", r)).y(),
                 pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOut", r)).y());
        QCOMPARE(pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOut", 56 + r)).y(),
                 pos(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOut", r)).y());
    }
}

void TestMainWindow::menusAndToolbarInDesignOrder()
{
    TestEnv env;
    auto w = loadedWindow();
    QStringList top;
    for (QAction* a : w->menuBar()->actions())
        top << a->menu()->objectName();
    QCOMPARE(top, QStringList({"mnuDatei", "mnuEinstellungen", "mnuFragezeichen"}));
    auto names = [](QMenu* m) {
        QStringList s;
        for (QAction* a : m->actions())
            s << (a->menu() ? a->menu()->objectName() : a->objectName());
        return s;
    };
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuDatei")),
             QStringList({"mnuLaden", "mnuSpeichern", "mnuSpeichernunter", "mnuZuletzt", "mnuLinie", "mnuBeenden"}));
    QVERIFY(WindowWidgets::named<QAction>(*w, "mnuLinie")->isSeparator());
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuEinstellungen")),
             QStringList({"mnuTelefonbuch", "mnuPort", "mnuReports", "mnuSprache", "mnuVergleichen", "mnuProtokoll",
                          "mnuSicherung", "mnuAdministrator"}));
    // The design's two submenus, and the PDF export beside printing (added by the shell).
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuReports")),
             QStringList({"mnuListenAnzeigen", "mnuListenDrucken", "mnuListenExportieren"}));
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuListenAnzeigen")),
             QStringList({QStringLiteral("mnuEingängeAnzeigen"), QStringLiteral("mnuAusgängeAnzeigen"),
                          "mnuAlarmDispositiv", "mnuBenutzerAnzeigen"}));
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuListenDrucken")),
             QStringList({QStringLiteral("mnuEingängeDrucken"), QStringLiteral("mnuAusgängeDrucken"),
                          "mnuAlarmDispoDrucken", "mnuBenutzerDrucken"}));
    QCOMPARE(names(WindowWidgets::named<QMenu>(*w, "mnuFragezeichen")), QStringList({"mnuHelp", "mnuInfo"}));
    QVERIFY(!WindowWidgets::named<QAction>(*w, "mnuAdministrator")->isVisible());
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuLaden")->text(), QStringLiteral("&Öffnen"));
    QCOMPARE(WindowWidgets::named<QMenu>(*w, "mnuListenDrucken")->title(), QStringLiteral("&Drucken"));

    const QList<QAction*> actions = w->toolbar()->actions();
    QCOMPARE(actions.size(), 22);
    QStringList layout;
    for (int i = 0; i < 22; ++i) {
        QCOMPARE(actions[i], w->toolbarSlot(i));
        layout << (actions[i]->isSeparator() ? QStringLiteral("|") : actions[i]->property("Key").toString());
    }
    QCOMPARE(layout.join(' '),
             QStringLiteral("| Open Save | Telefonbuch COM | ReportAlarm ReportRelais ReportSequentiell "
                            "ReportUser | PrintAlarm PrintRelais PrintSequentiell PrintUser | Upload Download "
                            "| Help Info"));
    QCOMPARE(w->toolbarButton("Download"), w->findChild<QAction*>("Toolbar1.Download"));
    QVERIFY(!w->toolbarButton("Nothing"));
}

void TestMainWindow::textBoxLimitsAndTabOrder()
{
    TestEnv env;
    auto w = loadedWindow();
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtEingangSF", i)->maxLength(), 63);
        QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", i)->maxLength(), 63);
    }
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtAusgangSF", i)->maxLength(), 63);
        QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtAusgangFF", i)->maxLength(), 63);
    }
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtAlarmDispositiv")->maxLength(), 63);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtSMSAufstarten")->maxLength(), 63);
    QCOMPARE(WindowWidgets::named<QSpinBox>(*w, "txtADVerzögerungszeit")->maximum(), 99);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtSerienummer")->maxLength(), 6);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtPINSimCardNeu")->maxLength(), 4);
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtPINSimCardAlt")->maxLength(), 4);
    // Tab moves down the text column, then down each user's column.
    auto next = [](QWidget* x) {
        do
            x = x->nextInFocusChain();
        while (!(x->focusPolicy() & Qt::TabFocus));
        return x;
    };
    QCOMPARE(next(WindowWidgets::named<QLineEdit>(*w, "txtEingangSF", 0)),
             WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", 0));
    QCOMPARE(next(WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", 0)),
             WindowWidgets::named<QLineEdit>(*w, "txtEingangSF", 1));
    QCOMPARE(next(WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", 7)),
             WindowWidgets::named<QPushButton>(*w, "cmdCheckAllEmp", 0));
    QCOMPARE(next(WindowWidgets::named<QPushButton>(*w, "cmdClrAllEmp", 0)),
             WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 0));
    QCOMPARE(next(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 0)),
             WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 1));
    QCOMPARE(next(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 15)),
             WindowWidgets::named<QPushButton>(*w, "cmdCheckAllEmp", 1));
    QCOMPARE(next(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 127)),
             WindowWidgets::named<QPushButton>(*w, "cmdCheckAllEvents"));
    QCOMPARE(next(WindowWidgets::named<QCheckBox>(*w, "ChkBenutzerPowerON", 7)),
             WindowWidgets::named<QLineEdit>(*w, "txtAusgangSF", 0));
    QCOMPARE(next(WindowWidgets::named<QCheckBox>(*w, "ChkDefaultState", 7)),
             WindowWidgets::named<QRadioButton>(*w, "OptPortAnzeige", 0));
}

void TestMainWindow::firstRowsAreTakenInTableOrder()
{
    TestEnv env;
    writeFixture(env);
    // Rows 5 and 6 (mnuLaden, mnuSpeichernunter) and rows 17 and 18 (inputs 1 and 2) swapped.
    swapRows(env, tbl::Beschriftung, 5, 6);
    swapRows(env, tbl::Beschriftung, 17, 18);
    auto w = loadedWindow();
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuLaden")->text(), QStringLiteral("de Zeile6"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuSpeichernunter")->text(), QStringLiteral("de Zeile5"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 0), QStringLiteral("de Zeile18"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 1), QStringLiteral("de Zeile17"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 2), QStringLiteral("de Zeile19"));
    // The rest of the first 38 rows in place.
    QCOMPARE(w->tabs()->tabText(0), QStringLiteral("de Zeile1"));
    QCOMPARE(w->tabs()->tabText(2), QStringLiteral("de Zeile3"));
    QCOMPARE(WindowWidgets::named<QMenu>(*w, "mnuDatei")->title(), QStringLiteral("de Zeile4"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuInfo")->text(), QStringLiteral("de Zeile12"));
    QCOMPARE(WindowWidgets::caption(*w, "lblAusgang", 0), QStringLiteral("de Zeile13"));
    QCOMPARE(WindowWidgets::caption(*w, "lblAusgang", 4), QStringLiteral("de Zeile13"));
    QCOMPARE(WindowWidgets::caption(*w, "lblAusgang", 7), QStringLiteral("de Zeile16"));
    QCOMPARE(WindowWidgets::caption(*w, "lblAlarmDispo"), QStringLiteral("de Zeile25"));
    for (int g = 0; g < 3; ++g) {
        QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblEmpfänger", 8 * g)->text(), QStringLiteral("de Zeile26"));
        QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblEmpfänger", 8 * g + 7)->text(), QStringLiteral("de Zeile33"));
    }
    // The operator boxes' caption is their row's label and each box's accessible name.
    QCOMPARE(WindowWidgets::caption(*w, "lblOperator"), QStringLiteral("de Zeile34"));
    for (int u = 0; u < 8; ++u)
        QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkOP", u)->accessibleName(), QStringLiteral("de Zeile34"));
    QCOMPARE(WindowWidgets::caption(*w, "lblAufstarten"), QStringLiteral("de Zeile35"));
    QCOMPARE(WindowWidgets::named<QMenu>(*w, "mnuReports")->title(), QStringLiteral("de Zeile36"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuAusgängeAnzeigen")->text(), QStringLiteral("de Zeile38"));
    // The anchored runs.
    QCOMPARE(WindowWidgets::named<QMenu>(*w, "mnuListenDrucken")->title(), QStringLiteral("de mnuListenAnzeigen#2"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuAusgängeDrucken")->text(), QStringLiteral("de mnuListenAnzeigen#4"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdResetOutput", 3)->text(), QStringLiteral("de cmdSetOutput#2"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdDownload", 1)->text(), QStringLiteral("de cmdDownload#2"));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblDownload")->text(), QStringLiteral("de lblKonfiguration"));
    QCOMPARE(WindowWidgets::named<QRadioButton>(*w, "OptPortAnzeige", 2)->text(),
             QStringLiteral("de OptPortAnzeige#3"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuAlarmDispoDrucken")->text(), QStringLiteral("de mnuSpeichern#3"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuBenutzerDrucken")->text(),
             QStringLiteral("de mnuBenutzerAnzeigen#2"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuAdministrator")->text(), QStringLiteral("de mnuAdministrator"));
    QVERIFY(env.messages.isEmpty());
}

void TestMainWindow::anchoredBlocksMayStandAnywhere()
{
    QMap<QString, QString> before, after;
    {
        TestEnv env;
        writeFixture(env);
        auto w = loadedWindow();
        before = texts(*w);
    }
    {
        TestEnv env;
        // Blocks in another order, with unrelated rows between them.
        QList<Block> caps = captionBlocks();
        QList<Block> anchored = caps.mid(38);
        std::reverse(anchored.begin(), anchored.end());
        anchored.insert(3, Block {"frmTelefonbuch", 2});
        QList<Block> tips = toolTipBlocks();
        std::reverse(tips.begin(), tips.end());
        tips.insert(5, Block {"txtNameTelefonbuch", 11});
        QList<Block> msgs = messageBlocks();
        std::reverse(msgs.begin(), msgs.end());
        writeTable(env, tbl::Beschriftung, caps.mid(0, 38) + anchored);
        writeTable(env, tbl::ToolTipText, tips);
        writeTable(env, tbl::SystemNachrichten, msgs);
        auto w = loadedWindow();
        after = texts(*w);
        QVERIFY(env.messages.isEmpty());
    }
    QCOMPARE(after.size(), before.size());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    QCOMPARE(before.value(QStringLiteral("mnuSpeichern.text")), QStringLiteral("de mnuSpeichern"));
}

void TestMainWindow::composedToolTips()
{
    TestEnv env;
    writeFixture(env);
    auto w = loadedWindow();
    // Input 3, user 2: element 16 * 1 + 2 * 2.
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip(),
             QStringLiteral("de ChkEmpOPSF 3 de ChkEmpOPSF#2 2 de ChkEmpOPSF#3"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 21)->toolTip(),
             QStringLiteral("de ChkEmpOPFF 3 de ChkEmpOPFF#2 2 de ChkEmpOPFF#3"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 127)->toolTip(),
             QStringLiteral("de ChkEmpOPFF 8 de ChkEmpOPFF#2 8 de ChkEmpOPFF#3"));
    // Output 4, user 8: 8 * 7 + 2 * 3 (+1).
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOut", 62)->toolTip(),
             QStringLiteral("de ChkEmpOutSF 4 de ChkEmpOutSF#2 8 de ChkEmpOutSF#3"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOut", 9)->toolTip(),
             QStringLiteral("de ChkEmpOutFF 1 de ChkEmpOutFF#2 2 de ChkEmpOutFF#3"));
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtEingangFF", 4)->toolTip(),
             QStringLiteral("de txtEingangFF 5 de txtEingangFF#2"));
    QCOMPARE(WindowWidgets::named<QLineEdit>(*w, "txtAusgangSF", 3)->toolTip(),
             QStringLiteral("de txtAusgangSF 4 de txtAusgangSF#2"));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblAdresseEmpf", 19)->toolTip(), QStringLiteral("de lblAdresseEmpf 4"));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblAdresseName", 8)->toolTip(), QStringLiteral("de lblAdresseName 1"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkAlarmDispo", 14)->toolTip(),
             QStringLiteral("de ChkAlarmDispoSF 8 de ChkAlarmDispoSF#2"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkAlarmDispo", 5)->toolTip(),
             QStringLiteral("de ChkAlarmDispoFF 3 de ChkAlarmDispoFF#2"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdCheckAllEmp", 9)->toolTip(),
             QStringLiteral("de cmdCheckAllEmp 2 de cmdCheckAllEmp#2"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdClrAllEmp", 7)->toolTip(),
             QStringLiteral("de cmdClrAllEmp 8 de cmdClrAllEmp#2"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdClrAllEvents")->toolTip(),
             QStringLiteral("de cmdCheckAllEvents#2"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdResetOutput", 2)->toolTip(),
             QStringLiteral("de cmdResetOutput 3"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdDownload", 1)->toolTip(), QStringLiteral("de cmdDownload#2"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkOP", 5)->toolTip(), QStringLiteral("de ChkOP 6 de ChkOP#2"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkBenutzerPowerON", 7)->toolTip(),
             QStringLiteral("de ChkBenutzerPowerON 8 de ChkBenutzerPowerON#2"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkDefaultState", 6)->toolTip(),
             QStringLiteral("de chkDefaultState"));
    QCOMPARE(WindowWidgets::named<QRadioButton>(*w, "OptPortAnzeige", 1)->toolTip(),
             QStringLiteral("de OptPortAnzeige"));
    QCOMPARE(WindowWidgets::named<QSpinBox>(*w, "txtADVerzögerungszeit")->toolTip(),
             QStringLiteral("de txtADVerzögerungszeit"));
    QCOMPARE(WindowWidgets::named<QComboBox>(*w, "CboGültigkeit")->toolTip(), QStringLiteral("de CboGültigkeit"));
    for (int p = 0; p < 4; ++p)
        QCOMPARE(WindowWidgets::statusPanel(*w, p)->toolTip(), rowText("StatusBar", p, 0));
    // Toolbar: 22 rows in slot order, separators included.
    QCOMPARE(w->toolbarButton("Open")->toolTip(), QStringLiteral("de Toolbar#2"));
    QCOMPARE(w->toolbarButton("ReportAlarm")->toolTip(), QStringLiteral("de Toolbar#8"));
    QCOMPARE(w->toolbarButton("Info")->toolTip(), QStringLiteral("de Toolbar#22"));
}

void TestMainWindow::languageColumns_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 2;
    QTest::newRow("Italian") << 3;
    QTest::newRow("French") << 4;
}

void TestMainWindow::languageColumns()
{
    QFETCH(int, language);
    TestEnv env(QString::number(language));
    writeFixture(env);
    auto w = loadedWindow();
    const QString p = QString::fromLatin1(LanguagePrefix[language - 1]);
    QCOMPARE(w->tabs()->tabText(1), p + "Zeile2");
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 7), p + "Zeile24");
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdPinWechseln")->text(), p + "cmdPinWechseln");
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip(),
             p + "ChkEmpOPSF 3 " + p + "ChkEmpOPSF#2 2 " + p + "ChkEmpOPSF#3");
    QCOMPARE(gState().programName, p + "gsProgramName");
    QCOMPARE(gState().msg("gsMsgKeineAntwort"), p + "gsMsgKeineAntwort");
    QCOMPARE(gState().msg(QStringLiteral("CboGültigkeit")), p + QStringLiteral("CboGültigkeit"));
    QCOMPARE(gState().msg(QStringLiteral("CboGültigkeit4")), p + QStringLiteral("CboGültigkeit#4"));
    QCOMPARE(gState().msg("gsMsgFalschesZeichen2"), p + "gsMsgFalschesZeichen#2");
    QCOMPARE(gState().msg("gsMsgPINAlteingeben"), p + "gsMsgPINAlteingeben");
    QVERIFY(env.messages.isEmpty());
}

void TestMainWindow::ioLabelsWrittenToTheStore()
{
    TestEnv env("3");
    writeFixture(env);
    auto w = loadedWindow();
    // Written at once, in the file.
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Eingänge\" WHERE ID = %1").arg(r))
                     .toString(),
                 QStringLiteral("it Zeile%1").arg(17 + (r - 1) / 2));
    for (int r = 1; r <= 8; ++r)
        QCOMPARE(env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Ausgänge\" WHERE ID = %1").arg(r))
                     .toString(),
                 QStringLiteral("it Zeile%1").arg(13 + (r - 1) / 2));
    QCOMPARE(env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Eingänge\" WHERE ID = 5")).toString(),
             WindowWidgets::caption(*w, "lblEingang", 2));
    QVERIFY(!w->store().inputs.hasPendingChanges());
    QVERIFY(!w->store().outputs.hasPendingChanges());
}

void TestMainWindow::emptyTextFallsBackToGerman()
{
    TestEnv env("4");
    writeFixture(env);
    env.exec(QStringLiteral("UPDATE Beschriftung SET \"Französisch\" = '' WHERE Name = 'cmdUpload'"));
    env.exec(QStringLiteral("UPDATE Beschriftung SET \"Französisch\" = NULL WHERE Name = 'Zeile20'"));
    env.exec(QStringLiteral("UPDATE ToolTipText SET \"Französisch\" = NULL WHERE Name = 'ChkEmpOPSF#2'"));
    env.exec(QStringLiteral("UPDATE SystemNachrichten SET \"Französisch\" = '' WHERE Name = 'gsMsgFalschesZeichen#2'"));
    auto w = loadedWindow();
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdUpload")->text(), QStringLiteral("de cmdUpload"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 3), QStringLiteral("de Zeile20"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 4), QStringLiteral("fr Zeile21"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 0)->toolTip(),
             QStringLiteral("fr ChkEmpOPSF 1 de ChkEmpOPSF#2 1 fr ChkEmpOPSF#3"));
    QCOMPARE(gState().msg("gsMsgFalschesZeichen2"), QStringLiteral("de gsMsgFalschesZeichen#2"));
    QVERIFY(env.messages.isEmpty());
}

void TestMainWindow::missingKeyGivesOneMessageNamingTableAndKey()
{
    TestEnv env("2");
    writeFixture(env);
    env.exec(QStringLiteral("DELETE FROM ToolTipText WHERE Name = 'cmdPinLesen'"));
    env.exec(QStringLiteral("DELETE FROM Beschriftung WHERE Name = 'lblPinSimCard'"));
    env.exec(QStringLiteral("DELETE FROM SystemNachrichten WHERE Name = 'gsMsgNotNumeric'"));
    std::unique_ptr<MainWindow> w;
    w = loadedWindow();
    QCOMPARE(env.messages.size(), 1);
    const QString text = env.messages.first().text;
    QVERIFY2(text.contains(QStringLiteral("\"SystemNachrichten\""))
                 && text.contains(QStringLiteral("\"gsMsgNotNumeric\"")),
             qPrintable(text));
    QCOMPARE(env.messages.first().title, QStringLiteral("en gsProgramName"));
    QCOMPARE(env.messages.first().icon, Dialogs::Icon::Exclamation);
    // Everything else is loaded.
    QCOMPARE(gState().msg("gsMsgPINAnzZeichen"), QStringLiteral("en gsMsgPINAnzZeichen"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdPinWechseln")->text(), QStringLiteral("en cmdPinWechseln"));
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdPinWechseln")->toolTip(), QStringLiteral("en cmdPinWechseln"));
    QCOMPARE(WindowWidgets::caption(*w, "lblPinSimCard"), QStringLiteral("PIN SIM-Karte")); // its design caption
    // The later loaders' problems are kept for the record, not shown again.
    QVERIFY(w->texts().problems().join('\n').contains(
        QStringLiteral("\"Beschriftung\" hat keine Zeile \"lblPinSimCard\"")));
    QVERIFY(
        w->texts().problems().join('\n').contains(QStringLiteral("\"ToolTipText\" hat keine Zeile \"cmdPinLesen\"")));
}

void TestMainWindow::shortTableNamesTheRun()
{
    TestEnv env;
    writeFixture(env);
    // The table ends after 30 rows: the stepped run stops at row 31, the anchored runs fail.
    env.exec(QStringLiteral("DELETE FROM Beschriftung WHERE rowid > 30"));
    auto w = loadedWindow();
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages.first().text.contains(
                 QStringLiteral("\"Beschriftung\" endet vor der Zeile für \"lblEmpfänger(5)\"")),
             qPrintable(env.messages.first().text));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblEmpfänger", 4)->text(), QStringLiteral("de Zeile30"));
}

void TestMainWindow::sharedLoaderSteppingAndSearch()
{
    TestEnv env("2");
    writeTable(
        env, tbl::Beschriftung,
        {Block {"frmDownload"}, Block {"frmUpload"}, Block {"CreateFile"}, Block {"lblName", 8}, Block {"CreateFile"}});
    env.exec(QStringLiteral("UPDATE Beschriftung SET \"Englisch\" = 'second' WHERE rowid = 12"));
    LanguageTable t(gState(), tbl::Beschriftung);
    QCOMPARE(t.language(), 2);
    QCOMPARE(t.text("frmUpload"), QStringLiteral("en frmUpload"));
    // The search for CreateFile continues from the row found before it.
    t.anchor("lblName");
    t.findNext("CreateFile");
    QCOMPARE(t.take(), QStringLiteral("second"));
    QCOMPARE(t.run("lblName", 8).last(), QStringLiteral("en lblName#8"));
    try {
        t.anchor("lblName");
        for (int i = 0; i < 10; ++i)
            t.take();
        QFAIL("no error past the run");
    } catch (const LanguageTableError& e) {
        QCOMPARE(e.table(), tbl::Beschriftung);
        QCOMPARE(e.key(), QStringLiteral("lblName"));
    }
    try {
        t.text("lblNirgends");
        QFAIL("no error for a missing key");
    } catch (const LanguageTableError& e) {
        QCOMPARE(e.key(), QStringLiteral("lblNirgends"));
        QVERIFY(e.message().contains(QStringLiteral("\"Beschriftung\" hat keine Zeile \"lblNirgends\"")));
    }
    QVERIFY_THROWS_EXCEPTION(LanguageTableError, LanguageTable(gState(), QStringLiteral("KeineTabelle")));
}

// The language tables of the built database: every key the main window needs, in every
// language, with nothing missing and no text left at its design value.
void TestMainWindow::shippedTablesLoadCompletely()
{
    {
        TestEnv probe;
        if (probe.queryValue(QStringLiteral("SELECT COUNT(*) FROM Beschriftung")).toInt() == 0)
            QSKIP("the built database has no language texts");
    }
    QMap<QString, QString> german;
    for (int language = 1; language <= 4; ++language) {
        TestEnv env(QString::number(language));
        auto w = loadedWindow();
        QVERIFY2(w->texts().problems().isEmpty(), qPrintable(w->texts().problems().join('\n')));
        QVERIFY(env.messages.isEmpty());
        for (const Block& b : messageBlocks())
            QVERIFY2(!gState().msg(b.name).isEmpty() && gState().msg(b.name) != b.name, qPrintable(b.name));
        for (const char* k : {"CboGültigkeit2", "CboGültigkeit3", "CboGültigkeit4", "gsMsgFalschesZeichen2"}) {
            const QString key = QString::fromUtf8(k);
            QVERIFY2(!gState().msg(key).isEmpty() && gState().msg(key) != key, k);
        }
        QVERIFY(!gState().programName.isEmpty());
        const QMap<QString, QString> m = texts(*w);
        for (auto it = m.cbegin(); it != m.cend(); ++it) {
            const QString& key = it.key();
            if (key.endsWith(QLatin1String(".tip"))) {
                const QString name = key.chopped(4);
                // Every control that has a tool-tip block shows a tip.
                static const QStringList withTip {
                    "ChkEmpOP(",      "ChkEmpOut(",      "txtEingang",       "txtAusgang",      "ChkAlarmDispo(",
                    "ChkBenutzer",    "ChkOP(",          "ChkDefaultState(", "cmdCheckAll",     "cmdClrAll",
                    "cmdSetOutput(",  "cmdResetOutput(", "cmdDownload(",     "OptPortAnzeige(", "lblAdresse",
                    "StatusBarPanel", "Toolbar1."};
                const bool separator = name.startsWith(QLatin1String("Toolbar1.Separator"));
                if (!separator && std::any_of(withTip.begin(), withTip.end(), [&](const QString& p) {
                        return name.startsWith(p);
                    }))
                    QVERIFY2(!it.value().isEmpty(), qPrintable(key));
            }
        }
        QVERIFY(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip().contains(QStringLiteral(" 3 ")));
        QVERIFY(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip().contains(QStringLiteral(" 2 ")));
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (!b->objectName().isEmpty() && b->icon().isNull() && b->objectName() != QLatin1String("cmdStatKom")
                && (qobject_cast<QPushButton*>(b) || qobject_cast<QRadioButton*>(b)))
                QVERIFY2(!b->text().isEmpty(), qPrintable(b->objectName()));
        QCOMPARE(
            env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Eingänge\" WHERE ID = 6")).toString(),
            WindowWidgets::caption(*w, "lblEingang", 2));
        // Captions set by the widget code before any table is read are replaced too.
        static const char* const defaultCaption[] = {"Standard", "Default", "Predefinito", "Par défaut"};
        QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkDefault")->text(),
                 QString::fromUtf8(defaultCaption[language - 1]));
        QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblHWVersion")->text(),
                 gState().msg("gsHWVersion") + QStringLiteral(": 0.00"));
        QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblSWVersion")->text(),
                 gState().msg("gsSWVersion") + QStringLiteral(": 0.00"));
        if (language == 1) {
            german = m;
        } else {
            // Captions of another language differ from the German ones for most controls.
            int differing = 0, compared = 0;
            for (auto it = m.cbegin(); it != m.cend(); ++it)
                if (it.key().endsWith(QLatin1String(".text")) && !it.value().isEmpty() && german.contains(it.key())) {
                    ++compared;
                    differing += german.value(it.key()) != it.value();
                }
            QVERIFY2(differing * 2 > compared, qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(compared)));
        }
    }
}

// At the default size all three tabs show their content without clipping any text.
void TestMainWindow::windowFitsItsTexts()
{
    for (int language = 1; language <= 4; ++language) {
        TestEnv env(QString::number(language));
        auto w = loadedWindow();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->width() <= 1366 && w->height() <= 768);
        for (int tab = 0; tab < 3; ++tab) {
            w->tabs()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            for (QWidget* c : w->tabs()->widget(tab)->findChildren<QWidget*>()) {
                if (!c->isVisible())
                    continue;
                const QString name = c->objectName();
                if (auto* b = qobject_cast<QAbstractButton*>(c)) {
                    QVERIFY2(b->width() >= b->minimumSizeHint().width(), qPrintable(name));
                } else if (auto* l = qobject_cast<QLabel*>(c)) {
                    if (!l->wordWrap())
                        QVERIFY2(l->width() >= l->minimumSizeHint().width(), qPrintable(name + " " + l->text()));
                }
            }
        }
        // In a 1000 x 700 window the inputs matrix, its alarm column and the delay box are
        // all in view without scrolling sideways (the SMS texts give up some of their width).
        w->resize(1000, 700);
        w->tabs()->setCurrentIndex(0);
        QCoreApplication::processEvents();
        auto* area = w->tabs()->widget(0)->findChild<QScrollArea*>();
        QVERIFY(area);
        QCOMPARE(w->width(), 1000);
        QVERIFY2(
            area->horizontalScrollBar()->maximum() == 0,
            qPrintable(
                QStringLiteral("language %1 scrolls %2 px").arg(language).arg(area->horizontalScrollBar()->maximum())));
        // Across the widths where the headings go from their number alone to the whole caption,
        // they change all alike; a whole caption always has its room, and the SMS texts have
        // their full width before any heading shows its whole caption.
        for (int width = 900; width <= 1400; width += 3) {
            w->resize(width, 700);
            QCoreApplication::processEvents();
            int whole = 0;
            for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23}) {
                auto* l = qobject_cast<FittedLabel*>(WindowWidgets::named<QLabel>(*w, "lblEmpfänger", k));
                QVERIFY(l);
                if (!l->shortForm()) {
                    ++whole;
                    QVERIFY(l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()));
                }
            }
            QVERIFY2(whole == 0 || whole == 16,
                     qPrintable(QStringLiteral("language %1, width %2: %3 of 16 headings whole")
                                    .arg(language)
                                    .arg(width)
                                    .arg(whole)));
            auto* text = WindowWidgets::named<QLineEdit>(*w, "txtEingangSF", 0);
            if (whole)
                QCOMPARE(text->width(), text->sizeHint().width());
        }
    }
}

namespace {
// What a user sees of every named widget (texts, tool tips, help, visibility, values), all tabs built.
QMap<QString, QString> visibleState(MainWindow& w)
{
    QMap<QString, QString> m = texts(w);
    for (QWidget* c : w.findChildren<QWidget*>()) {
        const QString name = c->objectName();
        if (name.isEmpty() || name == QStringLiteral("StatusBarPanel1"))
            continue;
        m[name + ".shown"] = c->isHidden() ? "hidden" : "shown";
        m[name + ".enabled"] = c->isEnabled() ? "enabled" : "disabled";
        m[name + ".help"] = QString::number(Help::contextOf(c));
        if (auto* box = qobject_cast<QCheckBox*>(c))
            m[name + ".checked"] = box->isChecked() ? "checked" : "clear";
        else if (auto* radio = qobject_cast<QRadioButton*>(c))
            m[name + ".checked"] = radio->isChecked() ? "checked" : "clear";
        else if (auto* edit = qobject_cast<QLineEdit*>(c))
            m[name + ".value"] = edit->text();
        else if (auto* list = qobject_cast<QComboBox*>(c))
            m[name + ".value"] = QStringLiteral("%1 items, %2").arg(list->count()).arg(list->currentText());
    }
    return m;
}

// The same edits on the store of either window, after the start loaded the default profile.
void editOutputsAndSystem(MainWindow& w)
{
    ConfigEditor& editor = w.editorBinding().editor;
    QVERIFY(editor.setDefaultState(2, true));
    QVERIFY(editor.setText(ConfigEditor::TextBox::AusgangSF, 1, QStringLiteral("Pumpe ein")));
    QVERIFY(editor.setText(ConfigEditor::TextBox::AusgangFF, 3, QStringLiteral("Tor zu")));
    w.editorBinding().refresh();
}
} // namespace

// The outputs and System tabs are built when first shown or used (at the latest right after
// the window's first paint). Built late, they carry the same captions, tool tips, help
// contexts, access level, validity list and editor values as when built at once.
void TestMainWindow::lateTabsMatchTabsBuiltAtOnce()
{
    for (const char* language : {"1", "4"}) {
        TestEnv env(QString::fromLatin1(language));
        Settings::set("Ports", "COM1", "sim");
        Settings::set("Passwort", "Passwort", "17A6"); // the full level: serial number writable
        QMap<QString, QString> atOnce;
        {
            MainWindow w(gState());
            w.ensureTabsBuilt();
            w.initializeControls();
            editOutputsAndSystem(w);
            atOnce = visibleState(w);
        }
        MainWindow w(gState());
        w.initializeControls();
        editOutputsAndSystem(w);
        QVERIFY(!w.outputsTab().isBuilt());
        QVERIFY(!w.systemTab().isBuilt());
        QVERIFY(!w.findChild<QObject*>(QStringLiteral("ChkEmpOut(0)")));
        QVERIFY(!w.findChild<QObject*>(QStringLiteral("cmdSetzen")));
        const QMap<QString, QString> late = visibleState(w);
        QVERIFY(w.outputsTab().isBuilt() && w.systemTab().isBuilt());
        // Spot checks that the state compared is the one wanted, then everything.
        QCOMPARE(late.value("ChkDefaultState(2).checked"), QStringLiteral("checked"));
        QCOMPARE(late.value("txtAusgangFF(3).value"), QStringLiteral("Tor zu"));
        QCOMPARE(late.value("cmdSetzen.shown"), QStringLiteral("shown"));
        QCOMPARE(late.value("cmdUpload.help"), QStringLiteral("3002"));
        QVERIFY2(!late.value("CboGültigkeit.value").startsWith(QStringLiteral("0 items")),
                 qPrintable(late.value("CboGültigkeit.value")));
        for (auto it = atOnce.cbegin(); it != atOnce.cend(); ++it)
            QVERIFY2(
                late.value(it.key()) == it.value(),
                qPrintable(
                    QStringLiteral("%1: late \"%2\", at once \"%3\"").arg(it.key(), late.value(it.key()), it.value())));
        QCOMPARE(late.size(), atOnce.size());
    }
    // Shown, the window builds the two tabs right after its first paint, without being asked.
    TestEnv env;
    Settings::set("Ports", "COM1", "sim");
    MainWindow w(gState());
    w.initializeControls();
    QVERIFY(!w.outputsTab().isBuilt() && !w.systemTab().isBuilt());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(w.outputsTab().isBuilt() && w.systemTab().isBuilt());
    QVERIFY(w.findChild<QObject*>(QStringLiteral("cmdUpload")));
}

// Writes pictures of every tab in every language to SMSV48_SHOTS_DIR when it is set.
void TestMainWindow::screenshots()
{
    const QString dir = qEnvironmentVariable("SMSV48_SHOTS_DIR");
    if (dir.isEmpty())
        QSKIP("SMSV48_SHOTS_DIR not set");
    QDir().mkpath(dir);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    for (int language = 1; language <= 4; ++language) {
        TestEnv env(QString::number(language));
        auto w = loadedWindow();
        w->resize(1280, 720); // the default size on a 1366 x 768 screen (the test screen is smaller)
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (int tab = 0; tab < 3; ++tab) {
            w->tabs()->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            w->grab().save(QStringLiteral("%1/main_s%2_l%3_tab%4.png").arg(dir, scale).arg(language).arg(tab));
        }
    }
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
