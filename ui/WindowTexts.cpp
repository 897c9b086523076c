#include "ui/WindowTexts.h"

#include "ui/InputsTab.h"
#include "ui/MainWindow.h"
#include "ui/OutputsTab.h"
#include "ui/SystemTab.h"
#include "ui/TabParts.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "editing/ConfigModel.h"
#include "store/LanguageTables.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <utility>

namespace {

QString n(int i) { return QString::number(i); }

QString indexed(const char* name, int i) { return TabParts::indexedName(name, i); }

// Runs one block of a loader; a text that cannot be read is noted and the block skipped,
// so the controls keep their design texts and the remaining blocks still load.
void guarded(QStringList& problems, const std::function<void()>& block)
{
    try {
        block();
    } catch (const LanguageTableError& e) {
        if (!problems.contains(e.message()))
            problems << e.message();
    } catch (const StoreError& e) {
        if (!problems.contains(e.message()))
            problems << e.message();
    }
}

std::unique_ptr<LanguageTable> openTable(const ProgramContext& context, QStringList& problems, const QString& table)
{
    std::unique_ptr<LanguageTable> t;
    guarded(problems, [&] { t = std::make_unique<LanguageTable>(context, table); });
    return t;
}

} // namespace

WindowTexts::WindowTexts(MainWindow* window) : m_window(window)
{
    for (TabPage* tab : {static_cast<TabPage*>(&window->outputsTab()), static_cast<TabPage*>(&window->systemTab())})
        connect(tab, &TabPage::built, this, [this, tab] {
            applyTo(tab);
            markAccessKeys(tab);
        });
    // Every caption and tool tip in the new language (its messages are loaded by then).
    connect(&window->model(), &ConfigModel::languageChanged, this, [this] { applyAll(); });
}

void WindowTexts::applyAll()
{
    m_captions.clear();
    m_toolTips.clear();
    m_versionPrefixes.clear();
    m_accessibleNames.clear();
    for (QString& text : m_tabTexts)
        text.clear();
    readCaptions();
    readToolTips();
    for (int i = 0; i < 3; ++i)
        if (!m_tabTexts[i].isNull())
            m_window->tabs()->setTabText(i, m_tabTexts[i]);
    applyTo(m_window);
    for (TabPage* tab : {static_cast<TabPage*>(&m_window->inputsTab()), static_cast<TabPage*>(&m_window->outputsTab()),
                         static_cast<TabPage*>(&m_window->systemTab())})
        if (tab->isBuilt())
            markAccessKeys(tab);
}

void WindowTexts::markAccessKeys(TabPage* tab)
{
    // Alt+letter of a menu opens the menu wherever the focus is: the pages' labels take others.
    QSet<QChar> menuKeys;
    for (QAction* menu : m_window->menuBar()->actions()) {
        const QChar key = TabParts::accessKeyOf(menu->text());
        if (!key.isNull())
            menuKeys.insert(key);
    }
    TabParts::markAccessKeys(tab, menuKeys);
}

void WindowTexts::applyTo(QObject* root)
{
    const QList<QObject*> objects = root->findChildren<QObject*>();
    for (QObject* o : objects) {
        const QString name = o->objectName();
        if (name.isEmpty())
            continue;
        const auto caption = m_captions.constFind(name);
        if (caption != m_captions.cend()) {
            if (auto* menu = qobject_cast<QMenu*>(o))
                menu->setTitle(*caption);
            else if (auto* action = qobject_cast<QAction*>(o))
                action->setText(*caption);
            else if (auto* button = qobject_cast<QAbstractButton*>(o))
                button->setText(*caption);
            else if (auto* label = qobject_cast<QLabel*>(o))
                label->setText(*caption);
        }
        const auto toolTip = m_toolTips.constFind(name);
        if (toolTip != m_toolTips.cend()) {
            if (auto* action = qobject_cast<QAction*>(o))
                action->setToolTip(*toolTip);
            else if (auto* widget = qobject_cast<QWidget*>(o))
                widget->setToolTip(*toolTip);
        }
        const auto accessibleName = m_accessibleNames.constFind(name);
        if (accessibleName != m_accessibleNames.cend())
            if (auto* widget = qobject_cast<QWidget*>(o))
                widget->setAccessibleName(*accessibleName);
        const auto prefix = m_versionPrefixes.constFind(name);
        if (prefix != m_versionPrefixes.cend())
            if (auto* label = qobject_cast<QLabel*>(o))
                label->setText(*prefix + QStringLiteral(": ") + label->text().section(QStringLiteral(": "), 1));
    }
}

void WindowTexts::reportProblems()
{
    if (m_problems.isEmpty() || m_problemsShown)
        return;
    m_problemsShown = true;
    QStringList shown = m_problems.mid(0, 6);
    QString text = shown.join(QLatin1Char('\n'));
    if (m_problems.size() > shown.size())
        text += QLatin1Char('\n')
            + m_window->context()
                  .msgOr(QStringLiteral("gsMsgSprachtabelleWeitere"), QStringLiteral("(und %1 weitere)"))
                  .arg(m_problems.size() - shown.size());
    text += QStringLiteral("\n\n")
        + m_window->context().msgOr(
            QStringLiteral("gsMsgSprachtabelleHinweis"),
            QStringLiteral("Wo ein Text fehlt, zeigt das Fenster seinen eingebauten deutschen Text. "
                           "Eine neue Installation des Programms stellt die Datenbank mit allen Texten wieder her."));
    const QString title = m_window->context().programName.isEmpty() ? QStringLiteral("SMS Switch Vantor")
                                                                    : m_window->context().programName;
    Dialogs::show(m_window, text, title, Dialogs::Icon::Exclamation);
}

const QStringList& WindowTexts::messageKeys()
{
    static const QStringList keys {"gsMsgVerzögerungszeit",
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
                                   "gsMsgPINAlteingeben"};
    return keys;
}

void WindowTexts::loadSystemMessages()
{
    ProgramContext& st = m_window->context();
    auto table = openTable(m_window->context(), m_problems, tbl::SystemNachrichten);
    if (table) {
        LanguageTable& t = *table;
        auto multi = [&](const char* key, const QStringList& destinations) {
            const QString k = QString::fromUtf8(key);
            guarded(m_problems, [&] {
                const QStringList texts = t.run(k, destinations.size());
                for (int i = 0; i < destinations.size(); ++i)
                    st.messages.insert(destinations[i], texts[i]);
            });
        };
        // The single keys in table order; the two runs of several rows follow the 29th and the 34th.
        const QStringList& keys = messageKeys();
        for (int i = 0; i < keys.size(); ++i) {
            guarded(m_problems, [&] { st.messages.insert(keys[i], t.text(keys[i])); });
            if (i < 29 && (i + 1) % 4 == 0)
                LoadingProgress::advance();
            if (i == 28)
                multi("CboGültigkeit",
                      {QStringLiteral("CboGültigkeit"), QStringLiteral("CboGültigkeit2"),
                       QStringLiteral("CboGültigkeit3"), QStringLiteral("CboGültigkeit4")});
            if (i == 33) {
                LoadingProgress::advance();
                multi("gsMsgFalschesZeichen",
                      {QStringLiteral("gsMsgFalschesZeichen"), QStringLiteral("gsMsgFalschesZeichen2")});
            }
        }
        LoadingProgress::advance();

        // Every further row (the program's own messages) under its key; the keys above keep
        // what the fixed loading gave them.
        guarded(m_problems, [&] {
            t.first();
            for (QString name = t.currentName(); !name.isEmpty(); name = t.currentName()) {
                const QString text = t.take(name);
                if (!st.messages.contains(name))
                    st.messages.insert(name, text);
            }
        });
    }
    if (st.messages.contains(QStringLiteral("gsProgramName")))
        st.programName = st.messages.value(QStringLiteral("gsProgramName"));
    reportProblems();
}

namespace {

QStringList indexedRows(const char* name, int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i)
        rows << QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i);
    return rows;
}

QStringList withParts(const char* name, const QStringList& parts)
{
    QStringList rows {QString::fromUtf8(name)};
    for (const QString& part : parts)
        rows << QString::fromUtf8(name) + part;
    return rows;
}

} // namespace

// The caption rows in table order. The first run starts at the table's first row, every other
// run at the row of its first Name; the loader takes each row only where its Name stands here.
const QList<QStringList>& WindowTexts::captionRows()
{
    static const QList<QStringList> rows = [] {
        QStringList first = indexedRows("SSTab1", 3);
        first << QStringList {"mnuDatei", "mnuLaden",       "mnuSpeichernunter", "mnuBeenden", "mnuEinstellungen",
                              "mnuPort",  "mnuTelefonbuch", "mnuHelp",           "mnuInfo"};
        first << indexedRows("lblAusgang", 4) << indexedRows("lblEingang", 8) << QStringLiteral("lblAlarmDispo")
              << indexedRows("lblEmpfänger", 8);
        first << QStringList {"ChkOP", "lblAufstarten", "mnuReports", "mnuEingängeAnzeigen", "mnuAusgängeAnzeigen"};
        return QList<QStringList> {
            first,
            {"mnuListenAnzeigen", "mnuListenDrucken", "mnuEingängeDrucken", "mnuAusgängeDrucken"},
            {"cmdSetOutput", "cmdResetOutput"},
            {"cmdSetzen"},
            {"cmdLesen"},
            {"lblSerienummer"},
            {"lblPinSimCard"},
            {"cmdPinLesen"},
            {"cmdPinWechseln"},
            {"cmdDownload", "cmdDownload(1)"},
            {"cmdUpload"},
            {"lblKonfiguration"},
            {"mnuAdministrator"},
            {"OptPortAnzeige", "OptPortAnzeige(1)", "OptPortAnzeige(2)"},
            {"cmdAktualisieren"},
            {"lblGültigkeit"},
            {"cmdGueltigkeitLesen"},
            {"cmdGueltigkeitSetzen"},
            {"mnuSpeichern", "mnuAlarmDispositiv", "mnuAlarmDispoDrucken"},
            {"mnuBenutzerAnzeigen", "mnuBenutzerDrucken"}};
    }();
    return rows;
}

// The tool-tip runs, each found by its first Name; ".B" and ".C" rows continue a composed tip.
const QList<QStringList>& WindowTexts::toolTipRows()
{
    static const QList<QStringList> rows = [] {
        const QStringList b {".B"}, bc {".B", ".C"};
        QStringList toolbar {"Toolbar"};
        for (const char* button : {"Open",          "Save",        "Separator(4)", "Telefonbuch",       "COM",
                                   "Separator(7)",  "ReportAlarm", "ReportRelais", "ReportSequentiell", "ReportUser",
                                   "Separator(12)", "PrintAlarm",  "PrintRelais",  "PrintSequentiell",  "PrintUser",
                                   "Separator(17)", "Upload",      "Download",     "Separator(20)",     "Help",
                                   "Info"})
            toolbar << QStringLiteral("Toolbar1.") + QString::fromUtf8(button);
        return QList<QStringList> {withParts("txtEingangSF", b),
                                   withParts("txtEingangFF", b),
                                   {"txtAlarmDispositiv"},
                                   withParts("ChkEmpOPSF", bc),
                                   withParts("ChkEmpOPFF", bc),
                                   {"lblAdresseEmpf"},
                                   withParts("txtAusgangSF", b),
                                   withParts("txtAusgangFF", b),
                                   withParts("ChkEmpOutSF", bc),
                                   withParts("ChkEmpOutFF", bc),
                                   withParts("ChkOP", b),
                                   {"txtSMSAufstarten"},
                                   withParts("ChkBenutzerPowerON", b),
                                   withParts("ChkBenutzerAlarmDispo", b),
                                   withParts("ChkAlarmDispoSF", b),
                                   withParts("ChkAlarmDispoFF", b),
                                   {"txtADVerzögerungszeit"},
                                   withParts("cmdCheckAllEmp", b),
                                   withParts("cmdClrAllEmp", b),
                                   {"cmdCheckAllEvents", "cmdClrAllEvents"},
                                   {"lblAdresseName"},
                                   {"cmdSetOutput"},
                                   {"cmdResetOutput"},
                                   {"cmdDownload", "cmdDownload(1)"},
                                   {"cmdUpload"},
                                   {"txtSerienummer"},
                                   {"txtPINSimCardNeu"},
                                   {"cmdSetzen"},
                                   {"cmdLesen"},
                                   {"StatusBar", "StatusBar(2)", "StatusBar(3)", "StatusBar(4)"},
                                   {"txtPINSimCardAlt"},
                                   {"ChkDefault"},
                                   {"cmdPinLesen"},
                                   {"cmdPinWechseln"},
                                   {"chkDefaultState"},
                                   {"cmdAllRelaisOFF"},
                                   {"cmdAllRelaisON"},
                                   {"CboGültigkeit"},
                                   {"cmdAktualisieren"},
                                   {"OptPortAnzeige"},
                                   {"cmdGueltigkeitLesen"},
                                   {"cmdGueltigkeitSetzen"},
                                   toolbar};
    }();
    return rows;
}

// The texts of one run of rows (rows[0] the first row of the table when fromFirstRow, else the
// anchor); a text whose row is not the one expected is null.
static QStringList takeRun(LanguageTable& t, const QStringList& rows, bool fromFirstRow = false)
{
    if (fromFirstRow)
        t.first();
    else
        t.anchor(rows.first());
    QStringList texts;
    for (const QString& row : rows)
        texts << t.takeNamed(row);
    return texts;
}

void WindowTexts::readCaptions()
{
    auto table = openTable(m_window->context(), m_problems, tbl::Beschriftung);
    if (!table) {
        reportProblems();
        return;
    }
    LanguageTable& t = *table;
    const QList<QStringList>& layout = captionRows();

    // The first 38 rows in table order.
    guarded(m_problems, [&] {
        const QStringList texts = takeRun(t, layout.first(), true);
        int row = 0;
        for (int i = 0; i < 3; ++i)
            m_tabTexts[i] = texts[row++];
        for (const char* name : {"mnuDatei", "mnuLaden", "mnuSpeichernunter", "mnuBeenden", "mnuEinstellungen",
                                 "mnuPort", "mnuTelefonbuch", "mnuHelp", "mnuInfo"})
            caption(name, texts[row++]);
        LoadingProgress::advance();

        // Relay and input labels; the reports show the same texts from column I/O of their rows.
        auto ioText = [&](Recordset& rs, int k, const QString& text) {
            if (text.isNull())
                return;
            for (int r : {2 * k - 1, 2 * k}) {
                rs.setAbsolutePosition(r);
                rs.setValue(QStringLiteral("I/O"), text);
            }
        };
        for (int k = 1; k <= 4; ++k) {
            const QString text = texts[row++];
            for (const char* name : {"lblAusgang", "lblRelais"})
                caption(indexed(name, k - 1), text);
            caption(indexed("lblAusgang", k + 3), text);
            ioText(m_window->store().outputs, k, text);
        }
        m_window->store().outputs.updateBatch();
        LoadingProgress::advance();
        for (int k = 1; k <= 8; ++k) {
            const QString text = texts[row++];
            caption(indexed("lblEingang", k - 1), text);
            ioText(m_window->store().inputs, k, text);
        }
        m_window->store().inputs.updateBatch();
        LoadingProgress::advance();

        const QString alarm = texts[row++];
        caption("lblAlarmDispo", alarm);
        caption("lblAlarmDispoSpalte", alarm);
        for (int k = 1; k <= 8; ++k) {
            const QString text = texts[row++];
            for (int g = 0; g < 3; ++g)
                caption(indexed("lblEmpfänger", 8 * g + k - 1), text);
        }
        // One caption for the eight operator boxes, shown by the row's label.
        const QString op = texts[row++];
        caption("lblOperator", op);
        if (!op.isNull())
            for (int i = 0; i < 8; ++i)
                m_accessibleNames.insert(indexed("ChkOP", i), op);
        for (const char* name : {"lblAufstarten", "mnuReports", "mnuEingängeAnzeigen", "mnuAusgängeAnzeigen"})
            caption(name, texts[row++]);
        LoadingProgress::advance();
    });

    // The anchored runs: each row names its control, but for these.
    const QHash<QString, QStringList> controls {
        {QStringLiteral("cmdSetOutput"), indexedRows("cmdSetOutput", 4)},
        {QStringLiteral("cmdResetOutput"), indexedRows("cmdResetOutput", 4)},
        {QStringLiteral("cmdDownload"), {QStringLiteral("cmdDownload(0)")}},
        {QStringLiteral("lblKonfiguration"), {QStringLiteral("lblDownload")}},
        {QStringLiteral("OptPortAnzeige"), {QStringLiteral("OptPortAnzeige(0)")}}};
    for (const QStringList& rows : layout.mid(1)) {
        guarded(m_problems, [&] {
            const QStringList texts = takeRun(t, rows);
            for (int i = 0; i < rows.size(); ++i)
                for (const QString& name : controls.value(rows[i], {rows[i]}))
                    caption(name, texts[i]);
        });
        if (rows.first() == QLatin1String("cmdPinWechseln"))
            LoadingProgress::advance();
    }
    // Two check boxes of the System tab have caption rows only in newer tables; without
    // them they keep their design captions.
    for (const char* name : {"ChkDefault", "Check_Inkrement"}) {
        try {
            caption(name, t.text(QString::fromUtf8(name)));
        } catch (const LanguageTableError&) {
        }
    }
    // The version labels keep their value and take the prefix of the program's language.
    for (auto [label, key] : {std::pair {"lblHWVersion", "gsHWVersion"}, std::pair {"lblSWVersion", "gsSWVersion"}}) {
        const QString prefix = m_window->context().msgOr(QString::fromUtf8(key), QString());
        if (!prefix.isEmpty())
            m_versionPrefixes.insert(QString::fromUtf8(label), prefix);
    }
    LoadingProgress::advance();
    for (const QString& problem : t.wrongRows())
        if (!m_problems.contains(problem))
            m_problems << problem;
    table.reset();
    reportProblems();
}

void WindowTexts::readToolTips()
{
    auto table = openTable(m_window->context(), m_problems, tbl::ToolTipText);
    if (!table) {
        reportProblems();
        return;
    }
    LanguageTable& t = *table;
    const QString sp = QStringLiteral(" ");
    // "A 3 B": the run's first text, a number, the second text.
    auto numbered = [&](const QStringList& x, int number) { return x[0] + sp + n(number) + sp + x.value(1); };
    using Fill = std::function<void(const QStringList&)>;
    auto each = [&](const char* name, int count, int numberedFrom = -1) -> Fill {
        return [=, this](const QStringList& x) {
            for (int i = 0; i < count; ++i)
                tip(indexed(name, i), numberedFrom < 0 ? x[0] : numbered(x, i + numberedFrom));
        };
    };
    auto byEdge = [&](const char* name, int columns, int edge) -> Fill {
        return [=, this](const QStringList& x) {
            for (int u = 0; u < 8; ++u)
                for (int e = 0; e < columns; ++e)
                    tip(indexed(name, 2 * columns * u + 2 * e + edge),
                        x[0] + sp + n(e + 1) + sp + x[1] + sp + n(u + 1) + sp + x[2]);
        };
    };
    auto groups = [&](const char* name, std::initializer_list<int> starts, bool withText) -> Fill {
        const QList<int> from(starts);
        return [=, this](const QStringList& x) {
            for (int j : from)
                for (int i = 0; i < 8; ++i)
                    tip(indexed(name, j + i), withText ? numbered(x, i + 1) : x[0] + sp + n(i + 1));
        };
    };
    // The controls of the runs whose rows are not simply their names.
    const QHash<QString, Fill> fills {
        {QStringLiteral("txtEingangSF"), each("txtEingangSF", 8, 1)},
        {QStringLiteral("txtEingangFF"), each("txtEingangFF", 8, 1)},
        {QStringLiteral("ChkEmpOPSF"), byEdge("ChkEmpOP", 8, 0)},
        {QStringLiteral("ChkEmpOPFF"), byEdge("ChkEmpOP", 8, 1)},
        {QStringLiteral("lblAdresseEmpf"), groups("lblAdresseEmpf", {0, 8, 16}, false)},
        {QStringLiteral("txtAusgangSF"), each("txtAusgangSF", 4, 1)},
        {QStringLiteral("txtAusgangFF"), each("txtAusgangFF", 4, 1)},
        {QStringLiteral("ChkEmpOutSF"), byEdge("ChkEmpOut", 4, 0)},
        {QStringLiteral("ChkEmpOutFF"), byEdge("ChkEmpOut", 4, 1)},
        {QStringLiteral("ChkOP"), each("ChkOP", 8, 1)},
        {QStringLiteral("ChkBenutzerPowerON"), each("ChkBenutzerPowerON", 8, 1)},
        {QStringLiteral("ChkBenutzerAlarmDispo"), each("ChkBenutzerAlarmDispo", 8, 1)},
        {QStringLiteral("ChkAlarmDispoSF"),
         [&](const QStringList& x) {
             for (int i = 0; i < 16; i += 2)
                 tip(indexed("ChkAlarmDispo", i), numbered(x, i / 2 + 1));
         }},
        {QStringLiteral("ChkAlarmDispoFF"),
         [&](const QStringList& x) {
             for (int i = 1; i < 16; i += 2)
                 tip(indexed("ChkAlarmDispo", i), numbered(x, (i - 1) / 2 + 1));
         }},
        {QStringLiteral("cmdCheckAllEmp"), groups("cmdCheckAllEmp", {0, 8}, true)},
        {QStringLiteral("cmdClrAllEmp"), groups("cmdClrAllEmp", {0, 8}, true)},
        {QStringLiteral("lblAdresseName"), groups("lblAdresseName", {0, 8, 16}, false)},
        {QStringLiteral("cmdSetOutput"),
         [&](const QStringList& x) {
             for (int i = 0; i < 4; ++i)
                 tip(indexed("cmdSetOutput", i), x[0] + sp + n(i + 1));
         }},
        {QStringLiteral("cmdResetOutput"),
         [&](const QStringList& x) {
             for (int i = 0; i < 4; ++i)
                 tip(indexed("cmdResetOutput", i), x[0] + sp + n(i + 1));
         }},
        {QStringLiteral("cmdDownload"),
         [&](const QStringList& x) {
             tip(indexed("cmdDownload", 0), x[0]);
             tip(indexed("cmdDownload", 1), x[1]);
         }},
        {QStringLiteral("StatusBar"),
         [&](const QStringList& x) {
             for (int i = 0; i < 4; ++i)
                 tip(QStringLiteral("StatusBarPanel%1").arg(i + 1), x[i]);
         }},
        {QStringLiteral("chkDefaultState"),
         [&](const QStringList& x) {
             each("ChkDefaultState", 8)(x);
             tip("lblDefaultStateSpalte", x[0]);
         }},
        {QStringLiteral("OptPortAnzeige"), each("OptPortAnzeige", 3)},
        {QStringLiteral("Toolbar"),
         [&](const QStringList& x) {
             for (int i = 0; i < MainWindow::ToolbarSlots && i < x.size(); ++i) {
                 const QAction* button = m_window->toolbarSlot(i);
                 if (button->isSeparator())
                     continue;
                 caption(button->objectName(), x[i]);
                 tip(button->objectName(), x[i]);
             }
         }},
    };
    int run = 0;
    for (const QStringList& rows : toolTipRows()) {
        guarded(m_problems, [&] {
            const QStringList texts = takeRun(t, rows);
            const auto fill = fills.constFind(rows.first());
            if (fill == fills.cend()) {
                for (int i = 0; i < rows.size(); ++i)
                    tip(rows[i], texts[i]);
            } else if (rows.first() == QLatin1String("Toolbar") || !texts.contains(QString())) {
                fill.value()(texts); // a composed tip with a part missing keeps the tip it has
            }
        });
        if (++run % 8 == 0)
            LoadingProgress::advance();
    }
    for (const QString& problem : t.wrongRows())
        if (!m_problems.contains(problem))
            m_problems << problem;
    LoadingProgress::advance();
    table.reset();
    reportProblems();
}
