// The main window: every control of the three tabs, the menus and the toolbar, the texts the
// loaders take from the language tables in their row order, the access keys, the
// administrator's rule, and the recipient headings after a live language switch.
#include "Desktop.h"
#include "WindowWidgets.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "editing/ConfigEditor.h"
#include "link/UnitOps.h"
#include "store/ConfigStore.h"
#include "store/LanguageTables.h"
#include "ui/AdministratorLogin.h"
#include "ui/EditorBinding.h"
#include "ui/FittedLabel.h"
#include "ui/Help.h"
#include "ui/ShellController.h"
#include "ui/SplashWindow.h"
#include "ui/TransferDialog.h"
#include "ui/WindowTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

namespace {
using WindowWidgets::named;

// What a user sees of every named widget and action, one line each: texts, tool tips, values,
// visibility, help (the clock of the status bar left out).
QStringList visibleState(MainWindow& w)
{
    w.ensureTabsBuilt();
    QStringList m;
    for (QObject* o : w.findChildren<QObject*>()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (o->objectName().isEmpty() || o->objectName() == QStringLiteral("StatusBarPanel1")
            || !(c || qobject_cast<QAction*>(o)))
            continue;
        QString line = o->objectName();
        for (const char* p : {"text", "title", "toolTip", "checked", "enabled", "currentText", "count", "value"})
            line += QStringLiteral(" | ") + o->property(p).toString();
        if (c)
            line += QStringLiteral(" | %1 | help %2").arg(c->isHidden() ? "hidden" : "shown").arg(Help::contextOf(c));
        m << line;
    }
    for (int i = 0; i < 3; ++i)
        m << w.tabs()->tabText(i);
    m.sort();
    return m;
}

// What the user meets of a menu (its visible items) or of a window (its buttons, group titles
// and the labels that lead to a field): the texts among which no access key may stand twice.
QStringList keyed(QWidget* root)
{
    QStringList texts;
    for (QAction* a : root->actions())
        if (a->isVisible() && !a->isSeparator())
            texts << a->text();
    for (QWidget* c : root->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(c);
        if (c->isVisibleTo(root)
            && (qobject_cast<QAbstractButton*>(c) || qobject_cast<QGroupBox*>(c)
                || (label && label->buddy() && !Qt::mightBeRichText(label->text()))))
            texts << c->property(qobject_cast<QGroupBox*>(c) ? "title" : "text").toString();
    }
    return texts;
}
QString accessKey(const QString& text) { return QKeySequence::mnemonic(text).toString(QKeySequence::PortableText); }
// The texts that share an access key ("" when none do).
QString sameKey(const QStringList& texts)
{
    QHash<QString, QString> seen;
    QString twice;
    for (const QString& text : texts)
        if (const QString key = accessKey(text); !key.isEmpty() && seen.contains(key))
            twice += QStringLiteral("%1 in \"%2\" and \"%3\"; ").arg(key, seen.value(key), text);
        else if (!key.isEmpty())
            seen.insert(key, text);
    return twice;
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void everyControlAndTextInEveryLanguage_data();
    void everyControlAndTextInEveryLanguage();
    void damagedTableGivesOneMessage_data();
    void damagedTableGivesOneMessage();
    void lateTabsMatchTabsBuiltAtOnce();
};

void TestMainWindow::everyControlAndTextInEveryLanguage_data()
{
    QTest::addColumn<int>("language");
    for (int language = 1; language <= 4; ++language)
        QTest::newRow(QByteArray::number(language).constData()) << language;
}

// The window as the start prepares it, in each language. The loaders walk the row layout:
// every row is found where it is listed, its text (looked up here by Name) is on the control
// of that name, and every message key and the composed tips are read.
void TestMainWindow::everyControlAndTextInEveryLanguage()
{
    QFETCH(int, language);
    TestEnv env(QString::number(language));
    auto w = Desktop::window(); // as the start prepares it
    w->initializeControls();
    w->ensureTabsBuilt();
    QVERIFY2(w->texts().problems().isEmpty(), qPrintable(w->texts().problems().join('\n')));
    QVERIFY(env.messages.isEmpty());
    // No object name stands twice; the text limits; the tab order; the menus and the toolbar.
    QStringList names;
    for (QWidget* c : w->findChildren<QWidget*>())
        if (!c->objectName().isEmpty() && !c->objectName().startsWith(QLatin1String("qt_")))
            names << c->objectName();
    QVERIFY(names.size() > 400);
    QCOMPARE(names.removeDuplicates(), 0);
    QString limits;
    for (const char* name :
         {"txtEingangSF(0)", "txtEingangFF(7)", "txtAusgangSF(3)", "txtAusgangFF(0)", "txtAlarmDispositiv",
          "txtSMSAufstarten", "txtSerienummer", "txtPINSimCardAlt", "txtPINSimCardNeu"})
        limits += QString::number(named<QLineEdit>(*w, name)->maxLength()) + ' ';
    QCOMPARE(limits, QStringLiteral("63 63 63 63 63 63 6 4 4 "));
    QCOMPARE(named<QSpinBox>(*w, "txtADVerzögerungszeit")->maximum(), 99);
    // Tab moves down the text column, then down each user's column.
    auto next = [](QWidget* x) {
        do
            x = x->nextInFocusChain();
        while (!(x->focusPolicy() & Qt::TabFocus));
        return x->objectName();
    };
    const QStringList order[] = {{"txtEingangSF(0)", "txtEingangFF(0)"},
                                 {"txtEingangFF(0)", "txtEingangSF(1)"},
                                 {"txtEingangFF(7)", "cmdCheckAllEmp(0)"},
                                 {"cmdClrAllEmp(0)", "ChkEmpOP(0)"},
                                 {"ChkEmpOP(0)", "ChkEmpOP(1)"},
                                 {"ChkEmpOP(15)", "cmdCheckAllEmp(1)"},
                                 {"ChkEmpOP(127)", "cmdCheckAllEvents"},
                                 {"ChkBenutzerPowerON(7)", "txtAusgangSF(0)"},
                                 {"ChkDefaultState(7)", "OptPortAnzeige(0)"}};
    for (const QStringList& pair : order)
        QCOMPARE(next(named(*w, pair[0])), pair[1]);
    // The menus (submenus in brackets, a hidden item marked "!") and the toolbar in design order.
    std::function<QString(const QList<QAction*>&)> dump = [&](const QList<QAction*>& actions) {
        QStringList s;
        for (QAction* a : actions)
            s << (a->isVisible() ? "" : "!")
                    + (a->menu()              ? a->menu()->objectName() + "[" + dump(a->menu()->actions()) + "]"
                           : a->isSeparator() ? QStringLiteral("-")
                                              : a->objectName());
        return s.join(' ');
    };
    QCOMPARE(dump(w->menuBar()->actions()),
             QStringLiteral(
                 "mnuDatei[mnuLaden mnuSpeichern mnuSpeichernunter mnuZuletzt[] - mnuBeenden] mnuEinstellungen["
                 "mnuTelefonbuch mnuPort mnuReports[mnuListenAnzeigen[mnuEingängeAnzeigen mnuAusgängeAnzeigen "
                 "mnuAlarmDispositiv mnuBenutzerAnzeigen] mnuListenDrucken[mnuEingängeDrucken mnuAusgängeDrucken "
                 "mnuAlarmDispoDrucken mnuBenutzerDrucken] mnuListenExportieren[mnuEingängeExportieren "
                 "mnuAusgängeExportieren mnuAlarmDispoExportieren mnuBenutzerExportieren]] mnuSprache[mnuSprache(1) "
                 "mnuSprache(2) mnuSprache(3) mnuSprache(4)] mnuVergleichen mnuProtokoll[mnuProtokollStart "
                 "mnuProtokollStop mnuProtokollSpeichern - mnuProtokollImmer] mnuSicherung mnuNurGeaenderte "
                 "!mnuAdministrator] mnuFragezeichen[mnuHelp mnuInfo]"));
    QCOMPARE(
        dump(w->toolbar()->actions()),
        QStringLiteral("- Toolbar1.Open Toolbar1.Save - Toolbar1.Telefonbuch Toolbar1.COM - Toolbar1.ReportAlarm "
                       "Toolbar1.ReportRelais Toolbar1.ReportSequentiell Toolbar1.ReportUser - Toolbar1.PrintAlarm "
                       "Toolbar1.PrintRelais Toolbar1.PrintSequentiell Toolbar1.PrintUser - Toolbar1.Upload "
                       "Toolbar1.Download - Toolbar1.Help Toolbar1.Info"));
    LanguageTable captions(gState(), tbl::Beschriftung), tips(gState(), tbl::ToolTipText);
    auto shown = [](QObject* o, bool tip) {
        if (auto* a = qobject_cast<QAction*>(o); a && a->isSeparator())
            return QStringLiteral("-");
        return o->property(tip ? "toolTip" : qobject_cast<QMenu*>(o) ? "title" : "text").toString();
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
    QCOMPARE(named<QLabel>(*w, "lblEmpfänger", 23)->text(), captions.text("lblEmpfänger(7)"));
    QCOMPARE(named<QCheckBox>(*w, "ChkOP", 3)->accessibleName(), captions.text("ChkOP"));
    // Input 3, user 2: the anchor, the number of the input, the next row, the user, the third row.
    const QStringList part = tips.run("ChkEmpOPSF", 3);
    QCOMPARE(named<QCheckBox>(*w, "ChkEmpOP", 20)->toolTip(), part[0] + " 3 " + part[1] + " 2 " + part[2]);
    for (int p = 0; p < 4; ++p)
        QVERIFY(!WindowWidgets::statusPanel(*w, p)->toolTip().isEmpty());
    // Read in one pass with the rest: the PDF menu and the validity list; the splash's logo.
    const auto message = [&](const char* key) { return Desktop::tableText(env, key, language, "SystemNachrichten"); };
    QStringList items {named<QMenu>(*w, "mnuListenExportieren")->title()};
    for (QAction* a : named<QMenu>(*w, "mnuListenExportieren")->actions())
        items << a->text();
    QCOMPARE(items,
             QStringList({message("mnuListenExportieren"), message("mnuEingängeExportieren"),
                          message("mnuAusgängeExportieren"), message("mnuAlarmDispoExportieren"),
                          message("mnuBenutzerExportieren")}));
    auto* validity = named<QComboBox>(*w, "CboGültigkeit");
    items.clear();
    for (int i = 0; i < validity->count(); ++i)
        items << validity->itemText(i);
    QCOMPARE(items,
             UnitOps::validityItems(message("CboGültigkeit"), message("CboGültigkeit_Minuten"),
                                    message("CboGültigkeit_Tage"), message("CboGültigkeit_Wochen")));
    static const char* const logos[] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    const QImage logo = QImage(QStringLiteral(":/images/%1.png").arg(QLatin1String(logos[language - 1])))
                            .convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!logo.isNull() && !items.first().isEmpty());
    QCOMPARE(SplashWindow(gState()).logos[language - 1]->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
             logo);
    // No access key stands twice in a menu, on a page beside the menu bar's (Alt+letter opens
    // a menu from anywhere) or in a dialog; every label that leads to a field has a key, and
    // Alt with it puts the focus there (a disabled field takes none).
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QStringList bar = keyed(w->menuBar());
    QCOMPARE(sameKey(bar), QString());
    for (QMenu* m : w->findChildren<QMenu*>())
        QCOMPARE(sameKey(keyed(m)), QString());
    int labels = 0, reached = 0;
    for (int tab = 0; tab < 3; ++tab) {
        w->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QWidget* page = w->tabs()->widget(tab);
        QCOMPARE(sameKey(bar + keyed(page)), QString());
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (!label->buddy())
                continue;
            ++labels;
            QVERIFY2(!accessKey(label->text()).isEmpty(), qPrintable(label->objectName()));
            if (!label->buddy()->isEnabled())
                continue;
            ++reached;
            w->tabs()->tabBar()->setFocus();
            QTest::keySequence(w.get(), QKeySequence(accessKey(label->text())));
            QCOMPARE(QApplication::focusWidget(), label->buddy());
        }
    }
    QCOMPARE(labels, 19);
    QVERIFY(reached >= 14);
    for (const char* item : {"mnuTelefonbuch", "mnuPort", "mnuInfo"}) {
        QString twice = QStringLiteral("not shown");
        Desktop::onModal<QDialog>([&](QDialog* d) {
            twice = sameKey(keyed(d));
            d->reject();
        });
        named<QAction>(*w, item)->trigger();
        QCOMPARE(twice, QString());
    }
    AdministratorLogin login(gState(), w.get());
    TransferDialog transfer(gState(), w.get(), nullptr);
    QCOMPARE(sameKey(keyed(&login)) + sameKey(keyed(&transfer)), QString());
    // At the default size all three tabs show their content without clipping any text.
    QVERIFY(w->width() <= 1366 && w->height() <= 768);
    for (int tab = 0; tab < 3; ++tab) {
        w->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (QWidget* c : w->tabs()->widget(tab)->findChildren<QWidget*>()) {
            auto* l = qobject_cast<QLabel*>(c);
            if (c->isVisible() && (qobject_cast<QAbstractButton*>(c) || (l && !l->wordWrap())))
                QVERIFY2(c->width() >= c->minimumSizeHint().width(), qPrintable(c->objectName()));
        }
    }
    // The matrices: user u's column on the input tab is ChkEmpOP(16u .. 16u + 15), one line
    // per input edge, the rising edge above the falling edge, beside the edge's SMS text.
    w->resize(1300, 760);
    w->tabs()->setCurrentIndex(0);
    QCoreApplication::processEvents();
    auto at = [&](const char* name, int i) {
        QWidget* x = named(*w, name, i);
        return x->mapTo(w.get(), QPoint(x->width() / 2, x->height() / 2));
    };
    for (int u = 0; u < 8; ++u)
        for (int r = 1; r < 16; ++r) {
            QCOMPARE(at("ChkEmpOP", 16 * u + r).x(), at("ChkEmpOP", 16 * u).x());
            QVERIFY(at("ChkEmpOP", 16 * u + r).y() > at("ChkEmpOP", 16 * u + r - 1).y());
            QCOMPARE(at("ChkEmpOP", 16 * u + r).y(), at("ChkEmpOP", r).y());
        }
    for (int e = 0; e < 8; ++e) {
        QVERIFY(std::abs(at("txtEingangSF", e).y() - at("ChkEmpOP", 2 * e).y()) <= 2);
        QVERIFY(std::abs(at("txtEingangFF", e).y() - at("ChkEmpOP", 2 * e + 1).y()) <= 2);
        QCOMPARE(at("ChkAlarmDispo", 2 * e).y(), at("ChkEmpOP", 2 * e).y());
    }
    w->tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    for (int r = 0; r < 8; ++r) {
        QCOMPARE(at("ChkDefaultState", r).y(), at("ChkEmpOut", r).y());
        QCOMPARE(at("ChkEmpOut", 56 + r).y(), at("ChkEmpOut", r).y());
    }
    // In a 1000 x 700 window the inputs matrix, its alarm column and the delay box are
    // all in view without scrolling sideways (the SMS texts give up some of their width).
    w->resize(1000, 700);
    w->tabs()->setCurrentIndex(0);
    QCoreApplication::processEvents();
    QCOMPARE(w->tabs()->widget(0)->findChild<QScrollArea*>()->horizontalScrollBar()->maximum(), 0);
    // Across the widths where the headings go from their number alone to the whole caption,
    // they change all alike; a whole caption always has its room, and the SMS texts have
    // their full width before any heading shows its whole caption.
    for (int width = 900; width <= 1400; width += 3) {
        w->resize(width, 700);
        QCoreApplication::processEvents();
        int whole = 0;
        for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23}) {
            auto* l = qobject_cast<FittedLabel*>(named<QLabel>(*w, "lblEmpfänger", k));
            if (!l->shortForm()) {
                ++whole;
                QVERIFY(l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text()));
            }
        }
        QVERIFY2(whole == 0 || whole == 16,
                 qPrintable(QStringLiteral("width %1: %2 of 16 whole").arg(width).arg(whole)));
        auto* text = named<QLineEdit>(*w, "txtEingangSF", 0);
        if (whole)
            QCOMPARE(text->width(), text->sizeHint().width());
    }
    // The administrator's orange rule under the toolbar, only while a higher level is active; back
    // at the normal level the toolbar is as before.
    auto orangeRows = [&] {
        const QImage img = w->toolbar()->grab().toImage();
        int rows = 0;
        for (int y = img.height() - 6; y < img.height(); ++y)
            rows += img.pixelColor(img.width() / 2, y) == QColor(0xe0, 0x7b, 0x00);
        return rows;
    };
    const int heightBefore = w->toolbar()->sizeHint().height();
    QCOMPARE(orangeRows(), 0);
    for (const char* password : {"3961", "6054"}) { // service, full
        w->shell().applyAccessLevel(QString::fromLatin1(password));
        QCOMPARE(orangeRows(), 3);
        w->shell().applyAccessLevel(QString());
        QCOMPARE(orangeRows(), 0);
        QCOMPARE(w->toolbar()->sizeHint().height(), heightBefore);
    }
    // After a live switch to Italian (longer) or German the headings show as after a resize.
    const auto heading = [&] {
        auto* l = qobject_cast<FittedLabel*>(named<QLabel>(*w, "lblEmpfänger", 0));
        return QStringLiteral("%1 %2 %3").arg(l->text()).arg(l->shortForm()).arg(l->isShortened());
    };
    w->resize(1280, 1000);
    named<QAction>(*w, "mnuSprache", language == 3 ? 1 : 3)->trigger();
    QCoreApplication::processEvents();
    const QString switched = heading();
    w->resize(1279, 1000);
    w->resize(1280, 1000);
    QCoreApplication::processEvents();
    QCOMPARE(switched, heading());
}

void TestMainWindow::damagedTableGivesOneMessage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QStringList>("shown"); // parts of the message ("" for none)
    QTest::newRow("rows missing") << "2"
                                  << QStringList {"DELETE FROM ToolTipText WHERE Name = 'cmdPinLesen'",
                                                  "DELETE FROM Beschriftung WHERE Name = 'lblPinSimCard'",
                                                  "DELETE FROM SystemNachrichten WHERE Name = 'gsMsgNotNumeric'"}
                                  << QStringList {"\"SystemNachrichten\"", "\"gsMsgNotNumeric\""};
    // Two caption rows of the stepped part and two rows of a composed tip swapped: said, and no
    // control shows the other row's text.
    QTest::newRow("rows out of place")
        << "1"
        << QStringList {"UPDATE Beschriftung SET rowid = -1 WHERE rowid = 5", // mnuLaden
                        "UPDATE Beschriftung SET rowid = 5 WHERE rowid = 6", // mnuSpeichernunter
                        "UPDATE Beschriftung SET rowid = 6 WHERE rowid = -1",
                        "UPDATE ToolTipText SET rowid = -1 WHERE Name = 'ChkEmpOPSF.B'",
                        "UPDATE ToolTipText SET rowid = rowid - 1 WHERE Name = 'ChkEmpOPSF.C'",
                        "UPDATE ToolTipText SET rowid = (SELECT rowid + 1 FROM ToolTipText WHERE Name = "
                        "'ChkEmpOPSF.C') WHERE rowid = -1"}
        << QStringList {"Die Sprachtabelle \"Beschriftung\" hat an der Stelle der Zeile \"mnuLaden\" die Zeile "
                        "\"mnuSpeichernunter\"; ihr Text wird nicht gezeigt."};
    QTest::newRow("table too short") << "2" << QStringList {"DELETE FROM Beschriftung WHERE rowid > 30"}
                                     << QStringList {"\"Beschriftung\"", "\"lblEmpfänger(5)\""};
    // An empty text is no damage: the German one stands in, without a message.
    QTest::newRow("empty texts")
        << "4"
        << QStringList {"UPDATE Beschriftung SET \"Französisch\" = '' WHERE Name = 'cmdUpload'",
                        "UPDATE Beschriftung SET \"Französisch\" = NULL WHERE Name = "
                        "'lblEingang(3)'",
                        "UPDATE SystemNachrichten SET \"Französisch\" = '' WHERE Name = "
                        "'gsMsgFalschesZeichen2'"}
        << QStringList();
}

void TestMainWindow::damagedTableGivesOneMessage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, shown);
    TestEnv env(language);
    for (const QString& sql : statements)
        env.exec(sql);
    Settings::set("Ports", "COM1", "sim");
    auto w = std::make_unique<MainWindow>(gState());
    w->texts().loadSystemMessages();
    w->texts().applyAll();
    w->ensureTabsBuilt();
    QCOMPARE(env.messages.size(), shown.isEmpty() ? 0 : 1);
    for (const QString& part : shown)
        QVERIFY2(env.messages.first().text.contains(part), qPrintable(env.messages.first().text));
    QVERIFY(shown.isEmpty() || env.messages.first().icon == Dialogs::Icon::Exclamation);
    if (statements.size() < 3)
        return;
    // Everything else is loaded; what is missing keeps its design text, an empty text the German.
    const auto german = [&](const char* table, const char* name) {
        return env.queryValue(QStringLiteral("SELECT Deutsch FROM %1 WHERE Name = '%2'").arg(table, name)).toString();
    };
    if (statements.size() > 3) // the design captions kept
        QCOMPARE(QStringList({named<QAction>(*w, "mnuLaden")->text(), named<QAction>(*w, "mnuSpeichernunter")->text(),
                              named<QAction>(*w, "mnuBeenden")->text(), named(*w, "ChkEmpOP(20)")->toolTip(),
                              named(*w, "ChkEmpOP(21)")->toolTip()}),
                 QStringList({"&Öffnen", "S&peichern unter", "&Beenden", "",
                              "Eingang 3 – bei fallender Flanke SMS an Benutzer 2 senden, wenn angekreuzt"}));
    else if (shown.isEmpty())
        QCOMPARE(QStringList({named<QPushButton>(*w, "cmdUpload")->text(), WindowWidgets::caption(*w, "lblEingang", 3),
                              WindowWidgets::caption(*w, "lblEingang", 4), gState().msg("gsMsgFalschesZeichen2")}),
                 QStringList({german("Beschriftung", "cmdUpload"), german("Beschriftung", "lblEingang(3)"),
                              QStringLiteral("Entrée 5"), german("SystemNachrichten", "gsMsgFalschesZeichen2")}));
    else
        QCOMPARE(named<QPushButton>(*w, "cmdPinWechseln")->text() + '|' + WindowWidgets::caption(*w, "lblPinSimCard"),
                 QStringLiteral("Change|PIN SIM-Karte"));
}

// The outputs and System tabs are built when first shown or used (at the latest right after
// the window's first paint). Built late, they carry the same captions, tool tips, help
// contexts, access level, validity list and editor values as when built at once.
void TestMainWindow::lateTabsMatchTabsBuiltAtOnce()
{
    const auto edit = [](MainWindow& w) {
        ConfigEditor& editor = w.editorBinding().editor;
        QVERIFY(editor.setDefaultState(2, true));
        QVERIFY(editor.setText(ConfigEditor::TextBox::AusgangSF, 1, QStringLiteral("Pumpe ein")));
        QVERIFY(editor.setText(ConfigEditor::TextBox::AusgangFF, 3, QStringLiteral("Tor zu")));
        w.editorBinding().refresh();
    };
    {
        TestEnv env(QStringLiteral("4"));
        Settings::set("Ports", "COM1", "sim");
        Settings::set("Passwort", "Passwort", "17A6"); // the full level: serial number writable
        QStringList atOnce;
        {
            MainWindow w(gState());
            w.ensureTabsBuilt();
            w.initializeControls();
            edit(w);
            atOnce = visibleState(w);
        }
        MainWindow w(gState());
        w.initializeControls();
        edit(w);
        QVERIFY(!w.findChild<QObject*>(QStringLiteral("ChkEmpOut(0)")));
        QVERIFY(!w.findChild<QObject*>(QStringLiteral("cmdSetzen")));
        const QStringList late = visibleState(w);
        // A spot check that the state compared is the one wanted (the password, the edits and
        // the validity list are the start's and the editor's own tests), then everything.
        QVERIFY(late.indexOf(QRegularExpression(QStringLiteral("cmdUpload .* help 3002"),
                                                QRegularExpression::DotMatchesEverythingOption))
                >= 0);
        QCOMPARE(late, atOnce);
    }
    // Shown, the window builds the two tabs right after its first paint, without being asked.
    TestEnv env;
    Settings::set("Ports", "COM1", "sim");
    MainWindow w(gState());
    w.initializeControls();
    QVERIFY(!w.findChild<QObject*>(QStringLiteral("cmdUpload")));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(w.findChild<QObject*>(QStringLiteral("cmdUpload")));
    QVERIFY(w.findChild<QObject*>(QStringLiteral("ChkEmpOut(0)")));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
