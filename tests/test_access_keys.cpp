// Access keys as the user meets them: the desktop program started in each of the four
// languages, every menu of its main window, every tab page and every dialog opened as the
// user opens it, each "&" key collected from what is visible. Within one menu or one window
// no key may stand twice. The main window is reached through object names only.
#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Settings.h"
#include "ui/AdministratorLogin.h"
#include "ui/Start.h"
#include "ui/TransferDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// One menu or one window: where it is, and each access key with the text that carries it.
struct Group {
    QString where;
    QList<QPair<QString, QString>> keys; // key, text
    int items = 0;
};

QString accessKey(const QString& text)
{
    const QKeySequence k = QKeySequence::mnemonic(text);
    return k.isEmpty() ? QString() : k.toString(QKeySequence::PortableText);
}

void addText(Group& g, const QString& text)
{
    ++g.items;
    const QString key = accessKey(text);
    if (!key.isEmpty())
        g.keys << qMakePair(key, text);
}

Group menuGroup(const QString& where, const QList<QAction*>& actions)
{
    Group g {where, {}, 0};
    for (QAction* a : actions)
        if (a->isVisible() && !a->isSeparator())
            addText(g, a->text());
    return g;
}

// Buttons, check boxes, group titles and the labels that lead to a field, as far as they show.
Group windowGroup(QWidget* window)
{
    Group g {window->objectName(), {}, 0};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            addText(g, b->text());
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            addText(g, box->title());
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy() && !Qt::mightBeRichText(l->text()))
            addText(g, l->text());
    }
    return g;
}

// Clashes of one group, one line each ("" when none).
QStringList clashes(const Group& g, int language)
{
    QStringList out;
    QHash<QString, QString> seen;
    for (const auto& [key, text] : g.keys) {
        if (seen.contains(key))
            out << QStringLiteral("language %1, %2: %3 in \"%4\" and \"%5\"")
                       .arg(language)
                       .arg(g.where, key, seen.value(key), text);
        seen.insert(key, text);
    }
    return out;
}

// Runs open(), which shows a modal window named name; collects that window and closes it.
void inspectModal(const QString& name, const std::function<void()>& open, QList<Group>& groups)
{
    int tries = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (d && d->objectName() == name) {
            poll.stop();
            groups << windowGroup(d);
            d->reject();
        } else if (++tries > 250) {
            poll.stop();
            if (d)
                d->reject();
        }
    });
    poll.start();
    open();
    poll.stop();
}

QAction* action(QWidget* main, const QString& name)
{
    for (QAction* a : main->findChildren<QAction*>())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

// The tab pages: each page's keys and the menu bar's together (Alt+letter opens a menu from
// anywhere), every main label with a key, and Alt with that key putting the focus on the field
// the label names. The SMS texts keep their width of 63 characters beside the matrix.
void inspectPages(QWidget* main, const Group& menuBar, QList<Group>& groups, QStringList& problems, int language)
{
    auto* tabs = main->findChild<QTabWidget*>();
    if (!tabs) {
        problems << QStringLiteral("no tab pages");
        return;
    }
    const QString sample = QStringLiteral("Einbruch Lager Nord: Tuer offen, bitte sofort vor Ort pruefen!!");
    main->resize(1216, 700);
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main))
        problems << QStringLiteral("the main window is not active");
    static const QStringList labels[]
        = {{"lblEingang(0)", "lblEingang(1)", "lblEingang(2)", "lblEingang(3)", "lblEingang(4)", "lblEingang(5)",
            "lblEingang(6)", "lblEingang(7)", "lblAlarmDispo", "lblAufstarten"},
           {"lblAusgang(0)", "lblAusgang(1)", "lblAusgang(2)", "lblAusgang(3)", "lblOperator"},
           {"lblSerienummer", "lblPinSimCard", "lblGültigkeit"}};
    int reached = 0;
    for (int page = 0; page < 3; ++page) {
        tabs->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* shown = tabs->widget(page);
        Group g = windowGroup(shown);
        g.where = QStringLiteral("page %1").arg(page + 1);
        g.keys += menuBar.keys;
        groups << g;
        for (const QString& name : labels[page]) {
            auto* label = shown->findChild<QLabel*>(name);
            const QString key = label ? accessKey(label->text()) : QString();
            if (!label || !label->buddy() || key.isEmpty()) {
                problems << QStringLiteral("language %1: %2 has no access key").arg(language).arg(name);
                continue;
            }
            // A disabled field (no user with a number, a level that does not allow it) takes
            // no focus: its key still counts above.
            if (!label->buddy()->isEnabled())
                continue;
            ++reached;
            QWidget* start = tabs->tabBar();
            start->setFocus();
            QTest::keySequence(main, QKeySequence(key));
            QApplication::processEvents();
            if (QApplication::focusWidget() != label->buddy())
                problems << QStringLiteral("language %1: %2 does not lead to %3")
                                .arg(language)
                                .arg(key, label->buddy()->objectName());
        }
        if (page == 2)
            continue;
        auto* area = shown->findChild<QScrollArea*>();
        if (area && area->horizontalScrollBar()->isVisible())
            problems << QStringLiteral("language %1: page %2 scrolls sideways").arg(language).arg(page + 1);
        for (QLineEdit* e : shown->findChildren<QLineEdit*>())
            if (e->maxLength() == 63 && e->contentsRect().width() < e->fontMetrics().horizontalAdvance(sample) + 4)
                problems << QStringLiteral("language %1: %2 is %3 px wide")
                                .arg(language)
                                .arg(e->objectName())
                                .arg(e->width());
    }
    tabs->setCurrentIndex(0);
    // Inputs, alarm input, power-on and relays at least.
    if (reached < 14)
        problems << QStringLiteral("language %1: only %2 labels lead to their field").arg(language).arg(reached);
}

} // namespace

class TestAccessKeys : public QObject {
    Q_OBJECT
private slots:
    void uniqueInEveryMenuAndWindow();
};

void TestAccessKeys::uniqueInEveryMenuAndWindow()
{
    QStringList problems;
    for (int language = 1; language <= 4; ++language) {
        TestEnv env(QString::number(language));
        Settings::set("Ports", "COM1", "sim");
        QList<Group> groups;
        bool found = false;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* main = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("frmSMS_Vantor") && w->isVisible())
                    main = w;
            // Only from the program's own event loop, not from one a running command waits in
            // (the start-up probe of the unit).
            if (!main || QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() != 1)
                return;
            poll.stop();
            found = true;
            auto* bar = main->findChild<QMenuBar*>();
            if (bar)
                groups << menuGroup(QStringLiteral("menu bar"), bar->actions());
            inspectPages(main, bar ? groups.last() : Group {}, groups, problems, language);
            for (QMenu* m : main->findChildren<QMenu*>())
                groups << menuGroup(m->objectName(), m->actions());
            for (const char* item : {"mnuTelefonbuch", "mnuPort", "mnuInfo"}) {
                QAction* a = action(main, QString::fromLatin1(item));
                if (!a) {
                    problems << QStringLiteral("no menu item %1").arg(QLatin1String(item));
                    continue;
                }
                static const QHash<QString, QString> window {
                    {"mnuTelefonbuch", "frmTelefonbuch"}, {"mnuPort", "frmPortSettings"}, {"mnuInfo", "frmAbout"}};
                inspectModal(
                    window.value(a->objectName()), [a] { a->trigger(); }, groups);
            }
            {
                AdministratorLogin login(gState(), main);
                login.show();
                groups << windowGroup(&login);
            }
            {
                TransferDialog transfer(gState(), main, nullptr);
                transfer.show();
                groups << windowGroup(&transfer);
            }
            gState().unsavedChanges = false;
            main->close();
        });
        poll.start();
        QCOMPARE(Start::prepare(gState()), QString());
        const int code = Start::Main(gState(), *qobject_cast<QApplication*>(QCoreApplication::instance()));
        poll.stop();
        QCOMPARE(code, 0);
        QVERIFY2(found, "the main window did not show");
        QSet<QString> where;
        for (const Group& g : groups) {
            where << g.where;
            problems << clashes(g, language);
        }
        // Every menu and window was looked at, and each has its keys.
        for (const char* name :
             {"menu bar", "mnuDatei", "mnuEinstellungen", "mnuReports", "mnuListenAnzeigen", "mnuListenDrucken",
              "mnuListenExportieren", "mnuFragezeichen", "frmTelefonbuch", "frmPortSettings", "frmAbout",
              "frmAdministrator", "frmDownload", "page 1", "page 2", "page 3"})
            QVERIFY2(where.contains(QString::fromLatin1(name)), name);
        for (const Group& g : groups)
            if (g.where == QLatin1String("frmTelefonbuch"))
                QVERIFY2(g.keys.size() >= 8, qPrintable(QString::number(g.keys.size())));
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestAccessKeys)
#include "test_access_keys.moc"
