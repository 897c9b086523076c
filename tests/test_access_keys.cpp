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
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QtTest>

namespace {
QString accessKey(const QString& text)
{
    const QKeySequence k = QKeySequence::mnemonic(text);
    return k.isEmpty() ? QString() : k.toString(QKeySequence::PortableText);
}

// The access keys of one menu or one window, each with the text that carries it; a key that
// stands twice is a problem.
struct Group {
    QString where;
    QHash<QString, QString> keys;
    void add(const QString& text, QStringList& problems, int language)
    {
        const QString key = accessKey(text);
        if (!key.isEmpty() && keys.contains(key))
            problems << QStringLiteral("language %1, %2: %3 in \"%4\" and \"%5\"")
                            .arg(language)
                            .arg(where, key, keys.value(key), text);
        else if (!key.isEmpty())
            keys.insert(key, text);
    }
};

// A window's buttons, check boxes, group titles and the labels that lead to a field, as far
// as they show (the menu bar's keys first when given: Alt+letter opens a menu from anywhere).
Group windowGroup(QWidget* window, QStringList& problems, int language, const QString& where = QString(),
                  const Group& menuBar = {})
{
    Group g {where.isEmpty() ? window->objectName() : where, menuBar.keys};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        if (!w->isVisibleTo(window))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            g.add(b->text(), problems, language);
        else if (auto* box = qobject_cast<QGroupBox*>(w))
            g.add(box->title(), problems, language);
        else if (label && label->buddy() && !Qt::mightBeRichText(label->text()))
            g.add(label->text(), problems, language);
    }
    return g;
}

// Runs open(), which shows a modal window named name; collects that window and closes it.
void inspectModal(const QString& name, QAction* open, QStringList& problems, int language, QStringList& seen)
{
    int tries = 0;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if ((d && d->objectName() == name) || ++tries > 250) {
            poll.stop();
            if (d && d->objectName() == name)
                seen << windowGroup(d, problems, language).where;
            if (d)
                d->reject();
        }
    });
    poll.start();
    open->trigger();
}

// The tab pages: every main label with a key, and Alt with that key putting the focus on the
// field the label names.
void inspectPages(QWidget* main, const Group& menuBar, QStringList& problems, int language, QStringList& seen)
{
    auto* tabs = main->findChild<QTabWidget*>();
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
        seen << windowGroup(shown, problems, language, QStringLiteral("page %1").arg(page + 1), menuBar).where;
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
            tabs->tabBar()->setFocus();
            QTest::keySequence(main, QKeySequence(key));
            QApplication::processEvents();
            if (QApplication::focusWidget() != label->buddy())
                problems << QStringLiteral("language %1: %2 does not lead to %3")
                                .arg(language)
                                .arg(key, label->buddy()->objectName());
        }
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
        QStringList seen;
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
            Group bar {QStringLiteral("menu bar"), {}};
            for (QAction* a : main->findChild<QMenuBar*>()->actions())
                bar.add(a->text(), problems, language);
            seen << bar.where;
            inspectPages(main, bar, problems, language, seen);
            for (QMenu* m : main->findChildren<QMenu*>()) {
                Group g {m->objectName(), {}};
                for (QAction* a : m->actions())
                    if (a->isVisible() && !a->isSeparator())
                        g.add(a->text(), problems, language);
                seen << g.where;
            }
            for (const auto& [item, window] :
                 {std::pair {"mnuTelefonbuch", "frmTelefonbuch"}, std::pair {"mnuPort", "frmPortSettings"},
                  std::pair {"mnuInfo", "frmAbout"}})
                inspectModal(window, main->findChild<QAction*>(item), problems, language, seen);
            AdministratorLogin login(gState(), main);
            login.show();
            seen << windowGroup(&login, problems, language).where;
            TransferDialog transfer(gState(), main, nullptr);
            transfer.show();
            seen << windowGroup(&transfer, problems, language).where;
            gState().unsavedChanges = false;
            main->close();
        });
        poll.start();
        QCOMPARE(Start::prepare(gState()), QString());
        QCOMPARE(Start::Main(gState(), *qobject_cast<QApplication*>(QCoreApplication::instance())), 0);
        // Every menu and window was looked at.
        for (const char* name :
             {"menu bar", "mnuDatei", "mnuEinstellungen", "mnuReports", "mnuListenAnzeigen", "mnuListenDrucken",
              "mnuListenExportieren", "mnuFragezeichen", "frmTelefonbuch", "frmPortSettings", "frmAbout",
              "frmAdministrator", "frmDownload", "page 1", "page 2", "page 3"})
            QVERIFY2(seen.contains(QString::fromLatin1(name)), name);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestAccessKeys)
#include "test_access_keys.moc"
