// The main window's texts from the language tables: system messages, captions, tool tips.
#include "ui/MainWindow.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "store/LanguageTables.h"
#include "ui/ShapeLamp.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QComboBox>
#include <functional>
#include <memory>
#include <utility>

namespace {

QString n(int i) { return QString::number(i); }

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

std::unique_ptr<LanguageTable> openTable(QStringList& problems, const QString& table)
{
    std::unique_ptr<LanguageTable> t;
    guarded(problems, [&] { t = std::make_unique<LanguageTable>(table); });
    return t;
}

void setMenuText(QMenu* m, const QString& text) { m->setTitle(text); }

} // namespace

void MainWindow::reportLanguageProblems()
{
    if (languageProblems.isEmpty() || languageProblemsShown)
        return;
    languageProblemsShown = true;
    QStringList shown = languageProblems.mid(0, 6);
    QString text = shown.join(QLatin1Char('\n'));
    if (languageProblems.size() > shown.size())
        text += QLatin1Char('\n')
            + gState()
                  .msgOr(QStringLiteral("gsMsgSprachtabelleWeitere"), QStringLiteral("(und %1 weitere)"))
                  .arg(languageProblems.size() - shown.size());
    text += QStringLiteral("\n\n")
        + gState().msgOr(
            QStringLiteral("gsMsgSprachtabelleHinweis"),
            QStringLiteral("Wo ein Text fehlt, zeigt das Fenster seinen eingebauten deutschen Text. "
                           "Eine neue Installation des Programms stellt die Datenbank mit allen Texten wieder her."));
    const QString title = gState().programName.isEmpty() ? QStringLiteral("SMS Switch Vantor") : gState().programName;
    Dialogs::show(this, text, title, Dialogs::Icon::Exclamation);
}

void MainWindow::loadSystemMessages()
{
    ProgramContext& st = gState();
    auto table = openTable(languageProblems, tbl::SystemNachrichten);
    if (table) {
        LanguageTable& t = *table;
        auto single = [&](const char* key) {
            const QString k = QString::fromUtf8(key);
            guarded(languageProblems, [&] { st.messages.insert(k, t.text(k)); });
        };
        auto multi = [&](const char* key, const QStringList& destinations) {
            const QString k = QString::fromUtf8(key);
            guarded(languageProblems, [&] {
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
        guarded(languageProblems, [&] {
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
    reportLanguageProblems();
}

void MainWindow::applyCaptions()
{
    auto table = openTable(languageProblems, tbl::Beschriftung);
    if (!table) {
        reportLanguageProblems();
        return;
    }
    LanguageTable& t = *table;

    // The first 38 rows in table order.
    guarded(languageProblems, [&] {
        t.first();
        for (int i = 0; i < 3; ++i)
            SSTab1->setTabText(i, t.take(QStringLiteral("SSTab1 tab %1").arg(i)));
        setMenuText(mnuDatei, t.take(QStringLiteral("mnuDatei")));
        mnuLaden->setText(t.take(QStringLiteral("mnuLaden")));
        mnuSpeichernunter->setText(t.take(QStringLiteral("mnuSpeichernunter")));
        mnuBeenden->setText(t.take(QStringLiteral("mnuBeenden")));
        setMenuText(mnuEinstellungen, t.take(QStringLiteral("mnuEinstellungen")));
        mnuPort->setText(t.take(QStringLiteral("mnuPort")));
        mnuTelefonbuch->setText(t.take(QStringLiteral("mnuTelefonbuch")));
        mnuHelp->setText(t.take(QStringLiteral("mnuHelp")));
        mnuInfo->setText(t.take(QStringLiteral("mnuInfo")));
        LoadingProgress::advance();

        // Relay labels; the reports show the same texts from column I/O of the output rows.
        for (int k = 1; k <= 4; ++k) {
            const QString text = t.take(QStringLiteral("lblAusgang(%1)").arg(k - 1));
            lblAusgang[k - 1]->setText(text);
            lblAusgang[k + 3]->setText(text);
            if (auto* relay = findChild<QLabel*>(QStringLiteral("lblRelais(%1)").arg(k - 1)))
                relay->setText(text);
            for (int row : {2 * k - 1, 2 * k}) {
                store.outputs.setAbsolutePosition(row);
                store.outputs.setValue(QStringLiteral("I/O"), text);
            }
        }
        store.outputs.updateBatch();
        LoadingProgress::advance();
        for (int k = 1; k <= 8; ++k) {
            const QString text = t.take(QStringLiteral("lblEingang(%1)").arg(k - 1));
            lblEingang[k - 1]->setText(text);
            for (int row : {2 * k - 1, 2 * k}) {
                store.inputs.setAbsolutePosition(row);
                store.inputs.setValue(QStringLiteral("I/O"), text);
            }
        }
        store.inputs.updateBatch();
        LoadingProgress::advance();

        const QString alarm = t.take(QStringLiteral("lblAlarmDispo"));
        lblAlarmDispo->setText(alarm);
        lblAlarmDispoSpalte->setText(alarm);
        for (int k = 1; k <= 8; ++k) {
            const QString text = t.take(QStringLiteral("lblEmpfänger(%1)").arg(k - 1));
            for (int g = 0; g < 3; ++g)
                lblEmpfaenger[8 * g + k - 1]->setText(text);
        }
        const QString op = t.take(QStringLiteral("ChkOP"));
        for (QCheckBox* c : ChkOP)
            c->setText(op);
        lblAufstarten->setText(t.take(QStringLiteral("lblAufstarten")));
        setMenuText(mnuReports, t.take(QStringLiteral("mnuReports")));
        mnuEingaengeAnzeigen->setText(t.take(QStringLiteral("mnuEingängeAnzeigen")));
        mnuAusgaengeAnzeigen->setText(t.take(QStringLiteral("mnuAusgängeAnzeigen")));
        LoadingProgress::advance();
    });

    // Anchored runs.
    auto runOf = [&](const char* key, const std::function<void()>& fill) {
        guarded(languageProblems, [&] {
            t.anchor(QString::fromUtf8(key));
            fill();
        });
    };
    runOf("mnuListenAnzeigen", [&] {
        setMenuText(mnuListenAnzeigen, t.take());
        setMenuText(mnuListenDrucken, t.take());
        mnuEingaengeDrucken->setText(t.take());
        mnuAusgaengeDrucken->setText(t.take());
    });
    runOf("cmdSetOutput", [&] {
        const QString on = t.take();
        const QString off = t.take();
        for (int i = 0; i < 4; ++i) {
            cmdSetOutput[i]->setText(on);
            cmdResetOutput[i]->setText(off);
        }
    });
    runOf("cmdSetzen", [&] { cmdSetzen->setText(t.take()); });
    runOf("cmdLesen", [&] { cmdLesen->setText(t.take()); });
    runOf("lblSerienummer", [&] { lblSerienummer->setText(t.take()); });
    runOf("lblPinSimCard", [&] { lblPinSimCard->setText(t.take()); });
    runOf("cmdPinLesen", [&] { cmdPinLesen->setText(t.take()); });
    runOf("cmdPinWechseln", [&] { cmdPinWechseln->setText(t.take()); });
    LoadingProgress::advance();
    runOf("cmdDownload", [&] {
        cmdDownload[0]->setText(t.take());
        cmdDownload[1]->setText(t.take());
    });
    runOf("cmdUpload", [&] { cmdUpload->setText(t.take()); });
    runOf("lblKonfiguration", [&] { lblDownload->setText(t.take()); });
    runOf("mnuAdministrator", [&] { mnuAdministrator->setText(t.take()); });
    runOf("OptPortAnzeige", [&] {
        for (QRadioButton* o : OptPortAnzeige)
            o->setText(t.take());
    });
    runOf("cmdAktualisieren", [&] { cmdAktualisieren->setText(t.take()); });
    runOf("lblGültigkeit", [&] { lblGueltigkeit->setText(t.take()); });
    runOf("cmdGueltigkeitLesen", [&] { cmdGueltigkeitLesen->setText(t.take()); });
    runOf("cmdGueltigkeitSetzen", [&] { cmdGueltigkeitSetzen->setText(t.take()); });
    runOf("mnuSpeichern", [&] {
        mnuSpeichern->setText(t.take());
        mnuAlarmDispositiv->setText(t.take());
        mnuAlarmDispoDrucken->setText(t.take());
    });
    runOf("mnuBenutzerAnzeigen", [&] {
        mnuBenutzerAnzeigen->setText(t.take());
        mnuBenutzerDrucken->setText(t.take());
    });
    // Two check boxes of the System tab have caption rows only in newer tables; without
    // them they keep their design captions.
    for (QCheckBox* c : {ChkDefault, Check_Inkrement}) {
        try {
            c->setText(t.text(c->objectName()));
        } catch (const LanguageTableError&) {
        }
    }
    // The version labels keep their value and take the prefix of the program's language.
    for (auto [label, key] : {std::pair {lblHWVersion, "gsHWVersion"}, std::pair {lblSWVersion, "gsSWVersion"}}) {
        const QString prefix = gState().msgOr(QString::fromUtf8(key), QString());
        if (label && !prefix.isEmpty())
            label->setText(prefix + QStringLiteral(": ") + label->text().section(QStringLiteral(": "), 1));
    }
    LoadingProgress::advance();
    table.reset();
    reportLanguageProblems();
}

void MainWindow::applyToolTips()
{
    auto table = openTable(languageProblems, tbl::ToolTipText);
    if (!table) {
        reportLanguageProblems();
        return;
    }
    LanguageTable& t = *table;
    // One block: find the anchor, read A (and B, C), fill the controls.
    auto block = [&](const char* key, const std::function<void(const QString&, const QString&, const QString&)>& fill,
                     int rows = 1) {
        guarded(languageProblems, [&] {
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
        = [&](const char* key, QWidget* w) { block(key, [&](const QString& a, auto&, auto&) { w->setToolTip(a); }); };

    block(
        "txtEingangSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                txtEingangSF[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "txtEingangFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                txtEingangFF[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    single("txtAlarmDispositiv", txtAlarmDispositiv);
    for (int edge = 0; edge < 2; ++edge)
        block(
            edge == 0 ? "ChkEmpOPSF" : "ChkEmpOPFF",
            [&](const QString& a, const QString& b, const QString& c) {
                for (int u = 0; u < 8; ++u)
                    for (int e = 0; e < 8; ++e)
                        ChkEmpOP[16 * u + 2 * e + edge]->setToolTip(a + sp + n(e + 1) + sp + b + sp + n(u + 1) + sp
                                                                    + c);
            },
            3);
    LoadingProgress::advance();
    block("lblAdresseEmpf", [&](const QString& a, auto&, auto&) {
        for (int j : {0, 8, 16})
            for (int i = 0; i < 8; ++i)
                lblAdresseEmpf[j + i]->setToolTip(a + sp + n(i + 1));
    });
    block(
        "txtAusgangSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 4; ++i)
                txtAusgangSF[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "txtAusgangFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 4; ++i)
                txtAusgangFF[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    for (int edge = 0; edge < 2; ++edge)
        block(
            edge == 0 ? "ChkEmpOutSF" : "ChkEmpOutFF",
            [&](const QString& a, const QString& b, const QString& c) {
                for (int u = 0; u < 8; ++u)
                    for (int o = 0; o < 4; ++o)
                        ChkEmpOut[8 * u + 2 * o + edge]->setToolTip(a + sp + n(o + 1) + sp + b + sp + n(u + 1) + sp
                                                                    + c);
            },
            3);
    LoadingProgress::advance();
    block(
        "ChkOP",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                ChkOP[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    single("txtSMSAufstarten", txtSMSAufstarten);
    block(
        "ChkBenutzerPowerON",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                ChkBenutzerPowerON[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "ChkBenutzerAlarmDispo",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 8; ++i)
                ChkBenutzerAlarmDispo[i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "ChkAlarmDispoSF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 0; i < 16; i += 2)
                ChkAlarmDispo[i]->setToolTip(a + sp + n(i / 2 + 1) + sp + b);
        },
        2);
    block(
        "ChkAlarmDispoFF",
        [&](const QString& a, const QString& b, auto&) {
            for (int i = 1; i < 16; i += 2)
                ChkAlarmDispo[i]->setToolTip(a + sp + n((i - 1) / 2 + 1) + sp + b);
        },
        2);
    single("txtAlarmDispositiv", txtAlarmDispositiv);
    single("txtADVerzögerungszeit", txtADVerzoegerungszeit);
    LoadingProgress::advance();
    block(
        "cmdCheckAllEmp",
        [&](const QString& a, const QString& b, auto&) {
            for (int j : {0, 8})
                for (int i = 0; i < 8; ++i)
                    cmdCheckAllEmp[j + i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "cmdClrAllEmp",
        [&](const QString& a, const QString& b, auto&) {
            for (int j : {0, 8})
                for (int i = 0; i < 8; ++i)
                    cmdClrAllEmp[j + i]->setToolTip(a + sp + n(i + 1) + sp + b);
        },
        2);
    block(
        "cmdCheckAllEvents",
        [&](const QString& a, const QString& b, auto&) {
            cmdCheckAllEvents->setToolTip(a);
            cmdClrAllEvents->setToolTip(b);
        },
        2);
    block("lblAdresseName", [&](const QString& a, auto&, auto&) {
        for (int j : {0, 8, 16})
            for (int i = 0; i < 8; ++i)
                lblAdresseName[j + i]->setToolTip(a + sp + n(i + 1));
    });
    block("cmdSetOutput", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 4; ++i)
            cmdSetOutput[i]->setToolTip(a + sp + n(i + 1));
    });
    block("cmdResetOutput", [&](const QString& a, auto&, auto&) {
        for (int i = 0; i < 4; ++i)
            cmdResetOutput[i]->setToolTip(a + sp + n(i + 1));
    });
    block(
        "cmdDownload",
        [&](const QString& a, const QString& b, auto&) {
            cmdDownload[0]->setToolTip(a);
            cmdDownload[1]->setToolTip(b);
        },
        2);
    LoadingProgress::advance();
    single("cmdUpload", cmdUpload);
    single("txtSerienummer", txtSerienummer);
    single("txtPINSimCardNeu", txtPINSimCardNeu);
    single("cmdSetzen", cmdSetzen);
    single("cmdLesen", cmdLesen);
    block(
        "StatusBar",
        [&](const QString& a, const QString& b, const QString& c) {
            statusPanel[0]->setToolTip(a);
            statusPanel[1]->setToolTip(b);
            statusPanel[2]->setToolTip(c);
            statusPanel[3]->setToolTip(t.take());
        },
        3);
    single("txtPINSimCardAlt", txtPINSimCardAlt);
    single("ChkDefault", ChkDefault);
    single("cmdPinLesen", cmdPinLesen);
    single("cmdPinWechseln", cmdPinWechseln);
    block("chkDefaultState", [&](const QString& a, auto&, auto&) {
        for (QCheckBox* c : ChkDefaultState)
            c->setToolTip(a);
        if (auto* heading = findChild<QLabel*>(QStringLiteral("lblDefaultStateSpalte")))
            heading->setToolTip(a);
    });
    single("cmdAllRelaisOFF", cmdAllRelaisOFF);
    single("cmdAllRelaisON", cmdAllRelaisON);
    single("CboGültigkeit", CboGueltigkeit);
    single("cmdAktualisieren", cmdAktualisieren);
    block("OptPortAnzeige", [&](const QString& a, auto&, auto&) {
        for (QRadioButton* o : OptPortAnzeige)
            o->setToolTip(a);
    });
    single("cmdGueltigkeitLesen", cmdGueltigkeitLesen);
    single("cmdGueltigkeitSetzen", cmdGueltigkeitSetzen);
    LoadingProgress::advance();
    block("Toolbar", [&](const QString& a, auto&, auto&) {
        QStringList tips {a};
        for (int i = 1; i < ToolbarSlots; ++i)
            tips << t.take(QStringLiteral("Toolbar1 button %1").arg(i + 1));
        for (int i = 0; i < ToolbarSlots; ++i) {
            QAction* act = Toolbar1Buttons[i];
            if (act->isSeparator())
                continue;
            act->setToolTip(tips[i]);
            act->setText(tips[i]);
        }
    });
    LoadingProgress::advance();
    table.reset();
    reportLanguageProblems();
}
