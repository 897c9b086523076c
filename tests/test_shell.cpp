// The shell: access levels from the stored password and from the login, the About box and
// its shortcut, context help, the toolbar and menu commands and the demonstration display.
#include "Desktop.h"
#include "WindowWidgets.h"

#include "core/AboutInfo.h"
#include "core/AccessLevel.h"
#include "link/Waiter.h"
#include "reports/Reports.h"
#include "sim/SimChannel.h"
#include "sim/SimUnit.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorLogin.h"
#include "ui/DeviceController.h"
#include "ui/Help.h"
#include "ui/HelpWindow.h"
#include "ui/ShellController.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>

namespace {
using Desktop::onModal;
using Desktop::tableText;

QWidget* widget(MainWindow& w, const char* name) { return WindowWidgets::named<QWidget>(w, name); }

// What the user sees of the access level: the write and increment controls and the serial
// number at the full level, the firmware update and the administrator's toolbar above normal.
void expectLevel(MainWindow& w, AccessLevel::Level level)
{
    const bool full = level == AccessLevel::Full;
    QCOMPARE(!widget(w, "cmdSetzen")->isHidden(), full);
    QCOMPARE(!widget(w, "Check_Inkrement")->isHidden(), full);
    QCOMPARE(widget(w, "txtSerienummer")->isEnabled(), full);
    QCOMPARE(!widget(w, "cmdDownload(1)")->isHidden(), level != AccessLevel::Normal);
    QCOMPARE(w.toolbar()->property("administrator").toBool(), level != AccessLevel::Normal);
}

// Answers the next login window with password.
void loginWith(const QString& password)
{
    onModal<AdministratorLogin>([password](AdministratorLogin* d) {
        d->passwordBox->setText(password);
        d->applyButton->click();
    });
}

// The eight lamps and the modem lamp: G green, W white, ? other.
QString lamps(MainWindow& w)
{
    QString s;
    for (int i = 0; i <= 8; ++i) {
        const int c = (i < 8 ? WindowWidgets::named<QWidget>(w, "ShpLed", i) : widget(w, "ShpModem"))
                          ->property("FillColor")
                          .toInt();
        s += c == DemoDisplay::Green ? 'G' : c == DemoDisplay::White ? 'W' : '?';
    }
    return s.insert(8, ' ');
}
} // namespace

// Receives what the program hands to the platform's default browser or mail program.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void storedPasswordSetsLevel_data();
    void storedPasswordSetsLevel();
    void loginSetsLevel();
    void aboutBoxAndItsShortcut();
    void helpPagesAndF1();
    void everyToolbarKeyReachesItsCommand();
    void demoDisplay();
};

void TestShell::cleanup()
{
    Help::closeAll();
    QCoreApplication::processEvents();
}

void TestShell::storedPasswordSetsLevel_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("level");
    QTest::newRow("none") << QString() << int(AccessLevel::Normal);
    QTest::newRow("full 17A6") << "17A6" << int(AccessLevel::Full);
    QTest::newRow("full lower case") << "17a6" << int(AccessLevel::Full);
    QTest::newRow("service F79") << "F79" << int(AccessLevel::Service);
    QTest::newRow("decimal text is not hex") << "6054" << int(AccessLevel::Normal);
    QTest::newRow("leading zeros") << "0F79" << int(AccessLevel::Service);
    QTest::newRow("not hex") << "zz" << int(AccessLevel::Normal);
}

// The password stored in the settings (hexadecimal) sets the level at the start.
void TestShell::storedPasswordSetsLevel()
{
    QFETCH(QString, stored);
    QFETCH(int, level);
    TestEnv env;
    if (!stored.isEmpty())
        Settings::set("Passwort", "Passwort", stored);
    auto w = Desktop::window();
    w->initializeControls();
    expectLevel(*w, AccessLevel::Level(level));
}

// The login from the menu: the two passwords, a refusal that keeps the window and the level,
// cancel, and the empty password back to normal. The box's own rules in English.
void TestShell::loginSetsLevel()
{
    TestEnv env("2");
    auto w = Desktop::window();
    w->shell().applyAccessLevel(QString());
    QAction* menuItem = w->findChild<QAction*>("mnuAdministrator");
    for (auto [password, level] : {std::pair {"3961", AccessLevel::Service}, std::pair {"6054", AccessLevel::Full}}) {
        loginWith(QString::fromLatin1(password));
        menuItem->trigger();
        expectLevel(*w, level);
    }
    {
        AdministratorLogin dlg(gState(), w.get());
        QObject::connect(&dlg, &AdministratorLogin::accessLevelChosen, &w->shell(), &ShellController::applyAccessLevel);
        QCOMPARE(QStringList({dlg.windowTitle(), dlg.passwordLabel->text(), dlg.applyButton->text()}),
                 QStringList({tableText(env, "frmAdministrator", 2), tableText(env, "lblPasswort", 2),
                              tableText(env, QString::fromUtf8("cmdPasswortÜbernehmen"), 2)}));
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        dlg.passwordBox->setFocus();
        QTest::keyClicks(dlg.passwordBox, "1234567");
        QCOMPARE(dlg.passwordBox->text(), QStringLiteral("123456"));
        QCOMPARE(dlg.passwordBox->echoMode(), QLineEdit::Password);
        QCOMPARE(dlg.passwordBox->palette().color(QPalette::Base), QColor(255, 255, 0)); // focused
        QTest::keyClick(dlg.passwordBox, Qt::Key_Return);
        QVERIFY(dlg.isVisible()); // Enter in the box only moves on
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dlg.applyButton));
        QVERIFY(dlg.passwordBox->palette().color(QPalette::Base) != QColor(255, 255, 0));
        // Refused: the message, the window stays open with the text selected, the level stays.
        dlg.applyButton->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(env.said(), QStringList {gState().msg("gsMsgPasswortNOK")});
        QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
        QCOMPARE(env.messages[0].title, gState().msg("gsFehlerEingabe"));
        QCOMPARE(dlg.passwordBox->selectedText(), QStringLiteral("123456"));
        dlg.passwordBox->setText("3961");
        dlg.cancelButton->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    expectLevel(*w, AccessLevel::Full);
    loginWith("");
    menuItem->trigger();
    expectLevel(*w, AccessLevel::Normal);
    QCOMPARE(env.messages.size(), 1);
}

void TestShell::aboutBoxAndItsShortcut()
{
    TestEnv env("3");
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    auto w = Desktop::window();
    w->shell().applyAccessLevel(QString());
    bool checked = false;
    onModal<AboutDialog>([&](AboutDialog* about) {
        QString logos;
        for (const char* logo : {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"})
            logos += about->findChild<QLabel*>(logo)->isHidden() ? '-' : 'I';
        QCOMPARE(logos, QStringLiteral("--I-"));
        QCOMPARE(about->versionLabel->text(), tableText(env, "lblVersion", 3) + QStringLiteral(" " SMSV48_VERSION));
        QCOMPARE(about->licenceLabel[4]->text(), tableText(env, "lblLizenz(4)", 3));
        QVERIFY(about->windowTitle().startsWith(tableText(env, "frmAbout", 3) + ' '));
        // The links go to the default browser and mail program.
        about->openHomepage();
        about->writeMail();
        emit about->homepageLabel->linkActivated(AboutInfo::homepage().toString());
        // The logo's double click opens the login on top of the About box.
        onModal<AdministratorLogin>([about](AdministratorLogin* login) {
            QCOMPARE(login->parentWidget(), static_cast<QWidget*>(about));
            login->passwordBox->setText("3961");
            login->applyButton->click();
        });
        QTest::mouseDClick(about->findChild<QLabel*>("PicLogoI"), Qt::LeftButton);
        checked = true;
        about->okButton->click();
    });
    w->shell().toolbarButtonClicked("Info");
    QVERIFY(checked);
    expectLevel(*w, AccessLevel::Service);
    QCOMPARE(catcher.urls, QList<QUrl>({AboutInfo::homepage(), catcher.urls.value(1), AboutInfo::homepage()}));
    QCOMPARE(catcher.urls[1].scheme(), QStringLiteral("mailto"));
    // A web link in a help page leaves the help page where it is.
    Help::showContext(gState(), 3001);
    emit Help::window(gState())->browser()->anchorClicked(QUrl("https://example.org/manual"));
    QCOMPARE(catcher.urls.last(), QUrl("https://example.org/manual"));
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/it/3001.html"));
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

// Every help context has its page in every language, linked from the contents; F1 on a
// control opens its topic (a part of a control takes its parent's); the help commands, and
// links between topics that stay in the help window.
void TestShell::helpPagesAndF1()
{
    TestEnv env("4");
    for (int lang = 1; lang <= 4; ++lang) {
        const QString folder = Help::languageFolder(lang);
        const QString toc = QString::fromUtf8(readAll(Help::pagePath(gState(), 0, lang)));
        for (int c : {1000, 1001, 1002, 2000, 2001, 2002, 2003, 3000, 3001, 3002, 3003,
                      3005, 3006, 3007, 3008, 3009, 5000, 5001, 5002, 5003, 5004, 5005})
            QVERIFY2(toc.contains(QStringLiteral("href=\"%1.html\"").arg(c))
                         && QFile::exists(env.path(QStringLiteral("help/%1/%2.html").arg(folder).arg(c))),
                     qPrintable(folder));
    }
    // A missing page falls back to English, then to the contents.
    QFile::remove(env.path("help/fr/2001.html"));
    QCOMPARE(Help::pagePath(gState(), 2001, 4), env.path("help/en/2001.html"));
    QCOMPARE(Help::pagePath(gState(), 4711, 4), env.path("help/fr/index.html"));

    auto w = Desktop::window();
    w->shell().assignHelpContexts();
    w->show();
    // Windows that name the property as the design does are understood too (the phone book);
    // a part of a control takes its parent's; a control without a number opens the contents.
    QWidget other;
    other.setProperty("HelpContextID", 5001);
    QStringList opened;
    for (QWidget* c : {widget(*w, "ChkEmpOut(40)"), widget(*w, "cmdDownload(1)"), widget(*w, "txtEingangSF(3)"),
                       widget(*w, "ChkEmpOP(127)"), widget(*w, "OptPortAnzeige(2)"), widget(*w, "ChkDefaultState(7)"),
                       new QWidget(widget(*w, "ChkEmpOut(40)")), static_cast<QWidget*>(new QLineEdit(&other)),
                       static_cast<QWidget*>(w->tabs())}) {
        QTest::keyClick(c, Qt::Key_F1);
        QVERIFY(Help::window(gState())->isVisible() && !Help::window(gState())->browser()->toPlainText().isEmpty());
        opened << QFileInfo(Help::window(gState())->currentPage()).fileName();
    }
    QCOMPARE(opened.join(' '),
             QStringLiteral("2001.html 3003.html 1000.html 1001.html 3007.html 2003.html 2001.html "
                            "5001.html index.html"));
    QCOMPARE(QFileInfo(Help::window(gState())->currentPage()).dir().path(), env.path("help/fr"));
    Help::closeAll();
    HelpLauncher help(gState());
    QCOMPARE(help.run(w.get(), 7), 0);
    QVERIFY(!Help::window(gState())->isVisible());
    // Toolbar "Help" and the menu item have the same effect.
    w->shell().toolbarButtonClicked("Help");
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/fr/index.html"));
    Help::window(gState())->openPage(Help::pagePath(gState(), 1000, 4));
    w->findChild<QAction*>("mnuHelp")->trigger();
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/fr/index.html"));
    QCOMPARE(help.run(w.get(), 2), 1);
    QVERIFY(Help::window(gState())->isVisible());
    QCOMPARE(help.run(w.get(), 3), 0);
    QCoreApplication::processEvents();
    QVERIFY(!Help::window(gState())->isVisible());
    // A link to another topic stays in the help window.
    Help::showContext(gState(), 0);
    emit Help::window(gState())->browser()->anchorClicked(QUrl("3008.html"));
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/fr/3008.html"));
}

// The toolbar's keys and the menu items run their commands: the reports, printing (with no
// printer the PDF is offered), the PDF export, transfers on the System tab (the shown tab
// kept), About, help and quitting. Every button shows its icon at both scales.
void TestShell::everyToolbarKeyReachesItsCommand()
{
    TestEnv env;
    QList<Reports::Kind> previews;
    MainWindowOptions options;
    options.reportPreview = [&](const Reports::Report& r) { previews << r.kind; };
    options.printerName = [] { return QString(); };
    auto w = Desktop::window(options);
    auto trigger = [&](const QString& key) {
        for (QAction* a : w->toolbar()->actions())
            if (a->property("Key").toString() == key)
                return a->trigger();
        QFAIL(qPrintable("no toolbar key " + key));
    };
    auto item = [&](const char* name) { w->findChild<QAction*>(QString::fromUtf8(name))->trigger(); };
    for (const char* key : {"ReportAlarm", "ReportRelais", "ReportSequentiell", "ReportUser"})
        trigger(key);
    QCOMPARE(previews,
             (QList<Reports::Kind> {Reports::Kind::Inputs, Reports::Kind::Outputs, Reports::Kind::Alarm,
                                    Reports::Kind::Users}));
    for (const char* name : {"mnuEingängeAnzeigen", "mnuAusgängeAnzeigen", "mnuAlarmDispositiv", "mnuBenutzerAnzeigen"})
        item(name);
    QCOMPARE(previews.mid(4), previews.mid(0, 4));
    env.answers = QList<QMessageBox::StandardButton>(8, QMessageBox::No);
    for (const char* key : {"PrintAlarm", "PrintRelais", "PrintSequentiell", "PrintUser"})
        trigger(key);
    for (const char* name : {"mnuEingängeDrucken", "mnuAusgängeDrucken", "mnuAlarmDispoDrucken", "mnuBenutzerDrucken"})
        item(name);
    QCOMPARE(env.messages.size(), 8);
    QCOMPARE(env.fileRequests.size(), 0);
    env.fileAnswers << env.path("users.pdf");
    item("mnuBenutzerExportieren");
    QVERIFY(readAll(env.path("users.pdf")).startsWith("%PDF-"));
    // The read and the send behind these keys run against the simulated unit on a virtual clock.
    VirtualWaiter clock;
    w->device().setWaiter(&clock);
    SimUnit& unit = static_cast<SimChannel*>(w->device().channel.get())->unit();
    for (const char* key : {"Download", "Upload"}) {
        // The command runs with the System tab in view, and the tab shown before comes back.
        int tabMeanwhile = -1;
        clock.schedule(clock.now() + 1, [&] { tabMeanwhile = w->tabs()->currentIndex(); });
        unit.clearLog();
        w->tabs()->setCurrentIndex(1);
        trigger(QString::fromLatin1(key));
        QCOMPARE(tabMeanwhile, 2);
        QCOMPARE(w->tabs()->currentIndex(), 1);
        QVERIFY(unit.rawIn().contains(QLatin1String(key) == QLatin1String("Upload") ? ":HR3" : ":HW3"));
    }
    const int said = env.messages.size();
    onModal<AboutDialog>([](AboutDialog* a) { a->okButton->click(); });
    trigger("Info");
    trigger("Help");
    QVERIFY(Help::window(gState())->isVisible());
    w->shell().toolbarButtonClicked("NoSuchKey");
    QCOMPARE(env.messages.size(), said);

    w->shell().applyMenuIcons();
    for (QAction* a : w->toolbar()->actions())
        for (int size : {16, 32}) {
            const QImage img = a->icon().pixmap(size, size).toImage();
            int opaque = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    opaque += qAlpha(img.pixel(x, y)) > 128;
            QVERIFY2(a->isSeparator() || opaque > size * size / 6, qPrintable(a->objectName()));
        }
    // Quit closes the main window through its close sequence.
    w->show();
    item("mnuBeenden");
    QVERIFY(!w->isVisible());
    QVERIFY(gState().closing);
    gState().closing = false;
}

// One lamp more each second until all eight are green, then all white; the modem lamp
// flashes green on every third tick. Chosen anew, the demonstration starts over at lamp 0;
// stopped, it does not step; while the window closes the flash is not waited for.
void TestShell::demoDisplay()
{
    TestEnv env;
    QList<int> flashTicks;
    int tick = 0;
    MainWindow* window = nullptr;
    MainWindowOptions options;
    // Replaces the 100 ms wait of the modem flash: the ticks run without waiting.
    options.modemFlashWait = [&] {
        QCOMPARE(lamps(*window).right(1), QStringLiteral("G"));
        flashTicks << tick;
    };
    auto w = Desktop::window(options);
    window = w.get();
    const auto stepTo = [&](int last) {
        for (++tick; tick <= last; ++tick)
            w->shell().demoDisplayStep();
        tick = last;
        return lamps(*w);
    };
    w->shell().startDemoDisplay();
    QCOMPARE(w->shell().demoTimer()->interval(), 1000);
    QCOMPARE(stepTo(3), QStringLiteral("GGGWWWWW W"));
    QCOMPARE(stepTo(8), QStringLiteral("GGGGGGGG W"));
    QCOMPARE(stepTo(9), QStringLiteral("WWWWWWWW W"));
    stepTo(20);
    QCOMPARE(flashTicks, (QList<int> {3, 6, 10, 13, 16, 20}));
    // Chosen anew by the display selection, which clears the lamps and starts the timer itself.
    w->shell().demoTimer()->stop();
    for (int i = 0; i < 8; ++i)
        WindowWidgets::named<QWidget>(*w, "ShpLed", i)->setProperty("FillColor", DemoDisplay::White);
    w->shell().demoTimer()->start();
    flashTicks.clear();
    tick = 0;
    QCOMPARE(stepTo(3), QStringLiteral("GGGWWWWW W"));
    w->shell().demoTimer()->stop();
    QCOMPARE(stepTo(4), QStringLiteral("GGGWWWWW W"));
    QCOMPARE(flashTicks, QList<int> {3});
    // Closing: no flash waited for, the modem lamp white.
    w->shell().demoTimer()->start();
    gState().closing = true;
    QCOMPARE(stepTo(6), QStringLiteral("GGGGGWWW W"));
    gState().closing = false;
    QVERIFY(!w->shell().modemFlashTimer()->isActive());
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
