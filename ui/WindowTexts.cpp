#include "ui/WindowTexts.h"

#include "ui/InputsTab.h"
#include "ui/MainWindow.h"
#include "ui/OutputsTab.h"
#include "ui/SystemTab.h"
#include "ui/TabParts.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
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

void WindowTexts::loadSystemMessages()
{
    ProgramContext& st = m_window->context();
    auto table = openTable(m_window->context(), m_problems, tbl::SystemNachrichten);
    if (table) {
        LanguageTable& t = *table;
        auto single = [&](const char* key) {
            const QString k = QString::fromUtf8(key);
            guarded(m_problems, [&] { st.messages.insert(k, t.text(k)); });
        };
        auto multi = [&](const char* key, const QStringList& destinations) {
            const QString k = QString::fromUtf8(key);
            guarded(m_problems, [&] {
                const QStringList texts = t.run(k, destinations.size());
                for (int i = 0; i < destinations.size(); ++i)
                    st.messages.insert(destinations[i], texts[i]);
            });
        };
        const char* first[] = {"gsMsgVerzögerungszeit",
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
                               "gsMsgNotPlus"};
        int count = 0;
        for (const char* key : first) {
            single(key);
            if (++count % 4 == 0)
                LoadingProgress::advance();
        }
        multi("CboGültigkeit",
              {QStringLiteral("CboGültigkeit"), QStringLiteral("CboGültigkeit2"), QStringLiteral("CboGültigkeit3"),
               QStringLiteral("CboGültigkeit4")});
        for (const char* key : {"gsMsgVersionskonflikt", "gsTitelVersionskonflikt", "gsMsgDateiSchreibgeschützt",
                                "gsMsgSpeichereAndererDateiname", "gsMsgÄnderungenSpeichern"})
            single(key);
        LoadingProgress::advance();
        multi("gsMsgFalschesZeichen",
              {QStringLiteral("gsMsgFalschesZeichen"), QStringLiteral("gsMsgFalschesZeichen2")});
        single("gsMsgPINeingeben");
        single("gsMsgPINAlteingeben");
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

void WindowTexts::readCaptions()
{
    auto table = openTable(m_window->context(), m_problems, tbl::Beschriftung);
    if (!table) {
        reportProblems();
        return;
    }
    LanguageTable& t = *table;

    // The first 38 rows in table order.
    guarded(m_problems, [&] {
        t.first();
        for (int i = 0; i < 3; ++i)
            m_tabTexts[i] = t.take(QStringLiteral("SSTab1 tab %1").arg(i));
        caption("mnuDatei", t.take(QStringLiteral("mnuDatei")));
        caption("mnuLaden", t.take(QStringLiteral("mnuLaden")));
        caption("mnuSpeichernunter", t.take(QStringLiteral("mnuSpeichernunter")));
        caption("mnuBeenden", t.take(QStringLiteral("mnuBeenden")));
        caption("mnuEinstellungen", t.take(QStringLiteral("mnuEinstellungen")));
        caption("mnuPort", t.take(QStringLiteral("mnuPort")));
        caption("mnuTelefonbuch", t.take(QStringLiteral("mnuTelefonbuch")));
        caption("mnuHelp", t.take(QStringLiteral("mnuHelp")));
        caption("mnuInfo", t.take(QStringLiteral("mnuInfo")));
        LoadingProgress::advance();

        // Relay labels; the reports show the same texts from column I/O of the output rows.
        for (int k = 1; k <= 4; ++k) {
            const QString text = t.take(QStringLiteral("lblAusgang(%1)").arg(k - 1));
            for (const char* name : {"lblAusgang", "lblRelais"})
                caption(indexed(name, k - 1), text);
            caption(indexed("lblAusgang", k + 3), text);
            for (int row : {2 * k - 1, 2 * k}) {
                m_window->store().outputs.setAbsolutePosition(row);
                m_window->store().outputs.setValue(QStringLiteral("I/O"), text);
            }
        }
        m_window->store().outputs.updateBatch();
        LoadingProgress::advance();
        for (int k = 1; k <= 8; ++k) {
            const QString text = t.take(QStringLiteral("lblEingang(%1)").arg(k - 1));
            caption(indexed("lblEingang", k - 1), text);
            for (int row : {2 * k - 1, 2 * k}) {
                m_window->store().inputs.setAbsolutePosition(row);
                m_window->store().inputs.setValue(QStringLiteral("I/O"), text);
            }
        }
        m_window->store().inputs.updateBatch();
        LoadingProgress::advance();

        const QString alarm = t.take(QStringLiteral("lblAlarmDispo"));
        caption("lblAlarmDispo", alarm);
        caption("lblAlarmDispoSpalte", alarm);
        for (int k = 1; k <= 8; ++k) {
            const QString text = t.take(QStringLiteral("lblEmpfänger(%1)").arg(k - 1));
            for (int g = 0; g < 3; ++g)
                caption(indexed("lblEmpfänger", 8 * g + k - 1), text);
        }
        // One caption for the eight operator boxes, shown by the row's label.
        const QString op = t.take(QStringLiteral("ChkOP"));
        caption("lblOperator", op);
        for (int i = 0; i < 8; ++i)
            m_accessibleNames.insert(indexed("ChkOP", i), op);
        caption("lblAufstarten", t.take(QStringLiteral("lblAufstarten")));
        caption("mnuReports", t.take(QStringLiteral("mnuReports")));
        caption("mnuEingängeAnzeigen", t.take(QStringLiteral("mnuEingängeAnzeigen")));
        caption("mnuAusgängeAnzeigen", t.take(QStringLiteral("mnuAusgängeAnzeigen")));
        LoadingProgress::advance();
    });

    // Anchored runs.
    auto runOf = [&](const char* key, const std::function<void()>& fill) {
        guarded(m_problems, [&] {
            t.anchor(QString::fromUtf8(key));
            fill();
        });
    };
    runOf("mnuListenAnzeigen", [&] {
        for (const char* name : {"mnuListenAnzeigen", "mnuListenDrucken", "mnuEingängeDrucken", "mnuAusgängeDrucken"})
            caption(name, t.take());
    });
    runOf("cmdSetOutput", [&] {
        const QString on = t.take();
        const QString off = t.take();
        for (int i = 0; i < 4; ++i) {
            caption(indexed("cmdSetOutput", i), on);
            caption(indexed("cmdResetOutput", i), off);
        }
    });
    runOf("cmdSetzen", [&] { caption("cmdSetzen", t.take()); });
    runOf("cmdLesen", [&] { caption("cmdLesen", t.take()); });
    runOf("lblSerienummer", [&] { caption("lblSerienummer", t.take()); });
    runOf("lblPinSimCard", [&] { caption("lblPinSimCard", t.take()); });
    runOf("cmdPinLesen", [&] { caption("cmdPinLesen", t.take()); });
    runOf("cmdPinWechseln", [&] { caption("cmdPinWechseln", t.take()); });
    LoadingProgress::advance();
    runOf("cmdDownload", [&] {
        caption(indexed("cmdDownload", 0), t.take());
        caption(indexed("cmdDownload", 1), t.take());
    });
    runOf("cmdUpload", [&] { caption("cmdUpload", t.take()); });
    runOf("lblKonfiguration", [&] { caption("lblDownload", t.take()); });
    runOf("mnuAdministrator", [&] { caption("mnuAdministrator", t.take()); });
    runOf("OptPortAnzeige", [&] {
        for (int i = 0; i < 3; ++i)
            caption(indexed("OptPortAnzeige", i), t.take());
    });
    runOf("cmdAktualisieren", [&] { caption("cmdAktualisieren", t.take()); });
    runOf("lblGültigkeit", [&] { caption("lblGültigkeit", t.take()); });
    runOf("cmdGueltigkeitLesen", [&] { caption("cmdGueltigkeitLesen", t.take()); });
    runOf("cmdGueltigkeitSetzen", [&] { caption("cmdGueltigkeitSetzen", t.take()); });
    runOf("mnuSpeichern", [&] {
        for (const char* name : {"mnuSpeichern", "mnuAlarmDispositiv", "mnuAlarmDispoDrucken"})
            caption(name, t.take());
    });
    runOf("mnuBenutzerAnzeigen", [&] {
        for (const char* name : {"mnuBenutzerAnzeigen", "mnuBenutzerDrucken"})
            caption(name, t.take());
    });
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
    // One block: find the anchor, read A (and B, C), fill the controls.
    auto block = [&](const char* key, const std::function<void(const QString&, const QString&, const QString&)>& fill,
                     int rows = 1) {
        guarded(m_problems, [&] {
            t.anchor(QString::fromUtf8(key));
            QString a = t.take(), b, c;
            if (rows > 1)
                b = t.take();
            if (rows > 2)
                c = t.take();
            fill(a, b, c);
        });
    };
    const QString sp = QStringLiteral(" ");
    auto single
        = [&](const char* key, const char* name) { block(key, [&](const QString& a, auto&, auto&) { tip(name, a); }); };

    block(
        "txtEingangSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                tip(indexed("txtEingangSF", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "txtEingangFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                tip(indexed("txtEingangFF", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    single("txtAlarmDispositiv", "txtAlarmDispositiv");
    for (int edge = 0; edge < 2; ++edge)
        block(
            edge == 0 ? "ChkEmpOPSF" : "ChkEmpOPFF",
            [&](const QString& a, const QString& b, const QString& c) {
                for (int u = 0; u < 8; ++u)
                    for (int e = 0; e < 8; ++e)
                        tip(indexed("ChkEmpOP", 16 * u + 2 * e + edge),
                            a + sp + n(e + 1) + sp + b + sp + n(u + 1) + sp + c);
            },
            3);
    LoadingProgress::advance();
    block("lblAdresseEmpf", [&](const QString& a, auto&, auto&) {
        for (int j : {0, 8, 16})
            for (int i = 0; i < 8; ++i)
                tip(indexed("lblAdresseEmpf", j + i), a + sp + n(i + 1));
    });
    block(
        "txtAusgangSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 4; ++i)
                tip(indexed("txtAusgangSF", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "txtAusgangFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 4; ++i)
                tip(indexed("txtAusgangFF", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    for (int edge = 0; edge < 2; ++edge)
        block(
            edge == 0 ? "ChkEmpOutSF" : "ChkEmpOutFF",
            [&](const QString& a, const QString& b, const QString& c) {
                for (int u = 0; u < 8; ++u)
                    for (int o = 0; o < 4; ++o)
                        tip(indexed("ChkEmpOut", 8 * u + 2 * o + edge),
                            a + sp + n(o + 1) + sp + b + sp + n(u + 1) + sp + c);
            },
            3);
    LoadingProgress::advance();
    block(
        "ChkOP",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                tip(indexed("ChkOP", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    single("txtSMSAufstarten", "txtSMSAufstarten");
    block(
        "ChkBenutzerPowerON",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                tip(indexed("ChkBenutzerPowerON", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "ChkBenutzerAlarmDispo",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                tip(indexed("ChkBenutzerAlarmDispo", i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "ChkAlarmDispoSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 16; i += 2)
                tip(indexed("ChkAlarmDispo", i), a + sp + n(i / 2 + 1) + sp + b);
        },
        2);
    block(
        "ChkAlarmDispoFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 1; i < 16; i += 2)
                tip(indexed("ChkAlarmDispo", i), a + sp + n((i - 1) / 2 + 1) + sp + b);
        },
        2);
    single("txtAlarmDispositiv", "txtAlarmDispositiv");
    single("txtADVerzögerungszeit", "txtADVerzögerungszeit");
    LoadingProgress::advance();
    block(
        "cmdCheckAllEmp",
        [&](const QString& a, const QString& b, auto&) {
            for (int j : {0, 8})
                for (int i = 0; i < 8; ++i)
                    tip(indexed("cmdCheckAllEmp", j + i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "cmdClrAllEmp",
        [&](const QString& a, const QString& b, auto&) {
            for (int j : {0, 8})
                for (int i = 0; i < 8; ++i)
                    tip(indexed("cmdClrAllEmp", j + i), a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "cmdCheckAllEvents",
        [&](const QString& a, const QString& b, auto&) {
            tip("cmdCheckAllEvents", a);
            tip("cmdClrAllEvents", b);
        },
        2);
    block("lblAdresseName", [&](const QString& a, auto&, auto&) {
        for (int j : {0, 8, 16})
            for (int i = 0; i < 8; ++i)
                tip(indexed("lblAdresseName", j + i), a + sp + n(i + 1));
    });
    block("cmdSetOutput", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 4; ++i)
            tip(indexed("cmdSetOutput", i), a + sp + n(i + 1));
    });
    block("cmdResetOutput", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 4; ++i)
            tip(indexed("cmdResetOutput", i), a + sp + n(i + 1));
    });
    block(
        "cmdDownload",
        [&](const QString& a, const QString& b, auto&) {
            tip(indexed("cmdDownload", 0), a);
            tip(indexed("cmdDownload", 1), b);
        },
        2);
    LoadingProgress::advance();
    single("cmdUpload", "cmdUpload");
    single("txtSerienummer", "txtSerienummer");
    single("txtPINSimCardNeu", "txtPINSimCardNeu");
    single("cmdSetzen", "cmdSetzen");
    single("cmdLesen", "cmdLesen");
    block(
        "StatusBar",
        [&](const QString& a, const QString& b, const QString& c) {
            tip("StatusBarPanel1", a);
            tip("StatusBarPanel2", b);
            tip("StatusBarPanel3", c);
            tip("StatusBarPanel4", t.take());
        },
        3);
    single("txtPINSimCardAlt", "txtPINSimCardAlt");
    single("ChkDefault", "ChkDefault");
    single("cmdPinLesen", "cmdPinLesen");
    single("cmdPinWechseln", "cmdPinWechseln");
    block("chkDefaultState", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 8; ++i)
            tip(indexed("ChkDefaultState", i), a);
        tip("lblDefaultStateSpalte", a);
    });
    single("cmdAllRelaisOFF", "cmdAllRelaisOFF");
    single("cmdAllRelaisON", "cmdAllRelaisON");
    single("CboGültigkeit", "CboGültigkeit");
    single("cmdAktualisieren", "cmdAktualisieren");
    block("OptPortAnzeige", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 3; ++i)
            tip(indexed("OptPortAnzeige", i), a);
    });
    single("cmdGueltigkeitLesen", "cmdGueltigkeitLesen");
    single("cmdGueltigkeitSetzen", "cmdGueltigkeitSetzen");
    LoadingProgress::advance();
    block("Toolbar", [&](const QString& a, auto&, auto&) {
        QStringList tips {a};
        for (int i = 1; i < MainWindow::ToolbarSlots; ++i)
            tips << t.take(QStringLiteral("Toolbar1 button %1").arg(i + 1));
        for (int i = 0; i < MainWindow::ToolbarSlots; ++i) {
            const QAction* button = m_window->toolbarSlot(i);
            if (button->isSeparator())
                continue;
            caption(button->objectName(), tips[i]);
            tip(button->objectName(), tips[i]);
        }
    });
    LoadingProgress::advance();
    table.reset();
    reportProblems();
}
