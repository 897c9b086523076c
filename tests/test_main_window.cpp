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
    void textLayoutInEveryLanguage_data();
    void textLayoutInEveryLanguage();
    void rowOutOfPlaceIsReportedNotShown();
    void emptyTextFallsBackToGerman();
    void damagedTableGivesOneMessage_data();
    void damagedTableGivesOneMessage();
    void sharedLoaderSteppingAndSearch();
    void windowFitsItsTexts();
    void lateTabsMatchTabsBuiltAtOnce();
};

void TestMainWindow::everyControlExistsOnceWithItsType()
{
    TestEnv env;
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

void TestMainWindow::textLayoutInEveryLanguage_data()
{
    QTest::addColumn<int>("language");
    for (int language = 1; language <= 4; ++language)
        QTest::newRow(QByteArray::number(language).constData()) << language;
}

// The loaders walk the row layout in each language: every row is found where it is listed,
// its text (looked up here by Name) is on the control of that name, every message key and
// the composed tips are read, and the relay and input names reach the store for the reports.
void TestMainWindow::textLayoutInEveryLanguage()
{
    QFETCH(int, language);
    TestEnv env(QString::number(language));
    auto w = loadedWindow();
    w->ensureTabsBuilt();
    QVERIFY2(w->texts().problems().isEmpty(), qPrintable(w->texts().problems().join('\n')));
    QVERIFY(env.messages.isEmpty());
    LanguageTable captions(gState(), tbl::Beschriftung), tips(gState(), tbl::ToolTipText);
    auto shown = [&](QObject* o, bool tip) -> QString {
        if (auto* a = qobject_cast<QAction*>(o))
            return a->isSeparator() ? QStringLiteral("-") : tip ? a->toolTip() : a->text();
        if (tip)
            return qobject_cast<QWidget*>(o)->toolTip();
        if (auto* m = qobject_cast<QMenu*>(o))
            return m->title();
        if (auto* b = qobject_cast<QAbstractButton*>(o))
            return b->text();
        return qobject_cast<QLabel*>(o)->text();
    };
    int compared = 0;
    for (bool tip : {false, true})
        for (const QStringList& run : tip ? WindowTexts::toolTipRows() : WindowTexts::captionRows())
            for (const QString& row : run) {
                const QString text = (tip ? tips : captions).text(row);
                QVERIFY2(!text.isEmpty(), qPrintable(row));
                QObject* o = w->findChild<QObject*>(row);
                if (o && row != QLatin1String("StatusBar")) { // (its rows go to its four panels)
                    // The labels' access keys are placed after the captions are read.
                    QVERIFY2(shown(o, tip).remove('&') == QString(text).remove('&'),
                             qPrintable(row + ": " + shown(o, tip) + " / " + text));
                    ++compared;
                }
            }
    QVERIFY2(compared > 80, qPrintable(QString::number(compared)));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w->tabs()->tabText(i), captions.text(QStringLiteral("SSTab1(%1)").arg(i)));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblEmpfänger", 23)->text(), captions.text("lblEmpfänger(7)"));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkOP", 3)->accessibleName(), captions.text("ChkOP"));
    // Input 3, user 2: the anchor, the number of the input, the next row, the user, the third row.
    const QStringList part = tips.run("ChkEmpOPSF", 3);
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip(),
             part[0] + " 3 " + part[1] + " 2 " + part[2]);
    for (int p = 0; p < 4; ++p)
        QVERIFY(!WindowWidgets::statusPanel(*w, p)->toolTip().isEmpty());
    for (const QString& key : WindowTexts::messageKeys())
        QVERIFY2(!gState().msg(key).isEmpty() && gState().msg(key) != key, qPrintable(key));
    for (const char* k : {"CboGültigkeit4", "gsMsgFalschesZeichen2"})
        QVERIFY2(!gState().msg(QString::fromUtf8(k)).isEmpty() && gState().msg(QString::fromUtf8(k)) != k, k);
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (!b->objectName().isEmpty() && b->icon().isNull() && b->objectName() != QLatin1String("cmdStatKom")
            && (qobject_cast<QPushButton*>(b) || qobject_cast<QRadioButton*>(b)))
            QVERIFY2(!b->text().isEmpty(), qPrintable(b->objectName()));
    static const char* const defaultCaption[] = {"Standard", "Default", "Predefinito", "Par défaut"};
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkDefault")->text(),
             QString::fromUtf8(defaultCaption[language - 1]));
    QCOMPARE(WindowWidgets::named<QLabel>(*w, "lblSWVersion")->text(), gState().msg("gsSWVersion") + ": 0.00");
    for (int r : {1, 16})
        QCOMPARE(env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Eingänge\" WHERE ID = %1").arg(r))
                     .toString(),
                 captions.text(QStringLiteral("lblEingang(%1)").arg((r - 1) / 2)));
    QCOMPARE(env.queryValue(QStringLiteral("SELECT \"I/O\" FROM \"Konfiguration_Ausgänge\" WHERE ID = 8")).toString(),
             captions.text("lblAusgang(3)"));
    QVERIFY(!w->store().inputs.hasPendingChanges());
}

// Two caption rows of the stepped part and two rows of a composed tip swapped in the database:
// the user is told, and no control shows the other row's text.
void TestMainWindow::rowOutOfPlaceIsReportedNotShown()
{
    TestEnv env;
    swapRows(env, tbl::Beschriftung, 5, 6); // mnuLaden, mnuSpeichernunter
    const int b = env.queryValue(QStringLiteral("SELECT rowid FROM ToolTipText WHERE Name = 'ChkEmpOPSF.B'")).toInt();
    swapRows(env, tbl::ToolTipText, b, b + 1);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("\"Beschriftung\" hat an der Stelle der Zeile \"mnuLaden\"")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\"Beschriftung\".*\"mnuSpeichernunter\"")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\"ToolTipText\".*\"ChkEmpOPSF.B\"")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\"ToolTipText\".*\"ChkEmpOPSF.C\"")));
    auto w = loadedWindow();
    QCOMPARE(env.messages.size(), 1);
    QVERIFY2(env.messages.first().text.contains(
                 QStringLiteral("Die Sprachtabelle \"Beschriftung\" hat an der Stelle der Zeile \"mnuLaden\" die Zeile "
                                "\"mnuSpeichernunter\"; ihr Text wird nicht gezeigt.")),
             qPrintable(env.messages.first().text));
    // The two keep their design captions.
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuLaden")->text(), QStringLiteral("&Öffnen"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuSpeichernunter")->text(), QStringLiteral("S&peichern unter"));
    QCOMPARE(WindowWidgets::named<QAction>(*w, "mnuBeenden")->text(), QStringLiteral("&Beenden"));
    QVERIFY(!WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip().contains(QStringLiteral("angekreuzt 2")));
    QCOMPARE(WindowWidgets::named<QCheckBox>(*w, "ChkEmpOP", 21)->toolTip(),
             QStringLiteral("Eingang 3 – bei fallender Flanke SMS an Benutzer 2 senden, wenn angekreuzt"));
}

void TestMainWindow::emptyTextFallsBackToGerman()
{
    TestEnv env("4");
    env.exec(QStringLiteral("UPDATE Beschriftung SET \"Französisch\" = '' WHERE Name = 'cmdUpload'"));
    env.exec(QStringLiteral("UPDATE Beschriftung SET \"Französisch\" = NULL WHERE Name = 'lblEingang(3)'"));
    env.exec(QStringLiteral("UPDATE SystemNachrichten SET \"Französisch\" = '' WHERE Name = 'gsMsgFalschesZeichen2'"));
    auto w = loadedWindow();
    const auto german = [&](const QString& table, const QString& name) {
        return env.queryValue(QStringLiteral("SELECT Deutsch FROM %1 WHERE Name = '%2'").arg(table, name)).toString();
    };
    QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdUpload")->text(), german("Beschriftung", "cmdUpload"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 3), german("Beschriftung", "lblEingang(3)"));
    QCOMPARE(WindowWidgets::caption(*w, "lblEingang", 4), QStringLiteral("Entrée 5"));
    QCOMPARE(gState().msg("gsMsgFalschesZeichen2"), german("SystemNachrichten", "gsMsgFalschesZeichen2"));
    QVERIFY(env.messages.isEmpty());
}

void TestMainWindow::damagedTableGivesOneMessage_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("shown"); // parts of the message
    QTest::newRow("rows missing") << QStringList {"DELETE FROM ToolTipText WHERE Name = 'cmdPinLesen'",
                                                  "DELETE FROM Beschriftung WHERE Name = 'lblPinSimCard'",
                                                  "DELETE FROM SystemNachrichten WHERE Name = 'gsMsgNotNumeric'"}
                                  << QStringList {"\"SystemNachrichten\"", "\"gsMsgNotNumeric\""};
    QTest::newRow("table too short") << QStringList {"DELETE FROM Beschriftung WHERE rowid > 30"}
                                     << QStringList {"\"Beschriftung\"", "\"lblEmpfänger(5)\""};
}

void TestMainWindow::damagedTableGivesOneMessage()
{
    QFETCH(QStringList, statements);
    QFETCH(QStringList, shown);
    TestEnv env("2");
    for (const QString& sql : statements)
        env.exec(sql);
    auto w = loadedWindow();
    QCOMPARE(env.messages.size(), 1);
    for (const QString& part : shown)
        QVERIFY2(env.messages.first().text.contains(part), qPrintable(env.messages.first().text));
    QCOMPARE(env.messages.first().icon, Dialogs::Icon::Exclamation);
    // Everything else is loaded; what is missing keeps its design text.
    if (statements.size() > 1) {
        QCOMPARE(WindowWidgets::named<QPushButton>(*w, "cmdPinWechseln")->text(), QStringLiteral("Change"));
        QCOMPARE(WindowWidgets::caption(*w, "lblPinSimCard"), QStringLiteral("PIN SIM-Karte"));
        QVERIFY(w->texts().problems().join('\n').contains(QStringLiteral("\"ToolTipText\"")));
        QVERIFY(w->texts().problems().join('\n').contains(QStringLiteral("\"cmdPinLesen\"")));
    }
}

void TestMainWindow::sharedLoaderSteppingAndSearch()
{
    TestEnv env("2");
    LanguageTable t(gState(), tbl::Beschriftung);
    QCOMPARE(t.language(), 2);
    // The transfer windows search CreateFile on from their own row.
    t.anchor("frmDownload");
    t.findNext("CreateFile");
    QCOMPARE(t.currentName(), QStringLiteral("CreateFile"));
    QCOMPARE(t.run("lblName", 8).last(), t.text("frmTelefonbuch"));
    try {
        t.anchor("rptlblOperator");
        for (int i = 0; i < t.rowCount(); ++i)
            t.take();
        QFAIL("no error past the run");
    } catch (const LanguageTableError& e) {
        QCOMPARE(e.table(), tbl::Beschriftung);
        QCOMPARE(e.key(), QStringLiteral("rptlblOperator"));
    }
    try {
        t.text("lblNirgends");
        QFAIL("no error for a missing key");
    } catch (const LanguageTableError& e) {
        QCOMPARE(e.key(), QStringLiteral("lblNirgends"));
    }
    QVERIFY_THROWS_EXCEPTION(LanguageTableError, LanguageTable(gState(), QStringLiteral("KeineTabelle")));
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

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
