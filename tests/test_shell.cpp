// The shell: access levels from the stored password and from the login, the About box and
// its shortcut, context help, the toolbar and menu commands and the demonstration display.
#include "TestEnv.h"

#include "core/AboutInfo.h"
#include "core/AccessLevel.h"
#include "ui/Help.h"
#include "core/ProgramContext.h"
#include "ui/ReportActions.h"
#include "core/Settings.h"
#include "ui/Start.h"
#include "reports/Reports.h"
#include "ui/HelpWindow.h"
#include "ui/AboutDialog.h"
#include "ui/AdministratorLogin.h"
#include "ui/MainWindow.h"
#include "ui/ShellController.h"
#include "ui/WindowTexts.h"
#include "WindowWidgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

namespace {
std::unique_ptr<MainWindow> makeWindow(MainWindowOptions options = {})
{
    Settings::set("Ports", "COM1", "sim");
    if (!Start::prepare(gState()).isEmpty())
        return nullptr;
    return std::make_unique<MainWindow>(gState(), std::move(options));
}

QWidget* widget(MainWindow* w, const QString& name) { return WindowWidgets::named<QWidget>(*w, name); }

struct LevelView {
    bool writeVisible, incrementVisible, serialEnabled, firmwareVisible, toolbarFlag;
};
LevelView levelOf(MainWindow& w)
{
    return {!widget(&w, "cmdSetzen")->isHidden(), !widget(&w, "Check_Inkrement")->isHidden(),
            widget(&w, "txtSerienummer")->isEnabled(), !widget(&w, "cmdDownload(1)")->isHidden(),
            w.toolbar()->property("administrator").toBool()};
}
void expectLevel(MainWindow& w, AccessLevel::Level level)
{
    const LevelView v = levelOf(w);
    const bool full = level == AccessLevel::Full;
    QCOMPARE(v.writeVisible, full);
    QCOMPARE(v.incrementVisible, full);
    QCOMPARE(v.serialEnabled, full);
    QCOMPARE(v.firmwareVisible, level != AccessLevel::Normal);
    QCOMPARE(v.toolbarFlag, level != AccessLevel::Normal);
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
    void loginTable();
    void loginBoxRules();
    void aboutBoxAndItsShortcut();
    void helpPagesForEveryContext();
    void f1OpensTopicOfControl();
    void helpCommands();
    void linksGoToTheDefaultHandler();
    void toolbarUploadDownloadKeepTab();
    void everyToolbarKeyReachesItsCommand();
    void iconsReadAtBothScales();
    void demoModeTicks();
    void demoFlashEndsWhenClosing();
};

void TestShell::cleanup()
{
    Help::closeAll();
    QCoreApplication::processEvents();
}

void TestShell::storedPasswordSetsLevel_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<int>("level");
    QTest::newRow("none") << ""
                          << "" << int(AccessLevel::Normal);
    QTest::newRow("full 17A6") << "17A6"
                               << "6054" << int(AccessLevel::Full);
    QTest::newRow("full lower case") << "17a6"
                                     << "6054" << int(AccessLevel::Full);
    QTest::newRow("service F79") << "F79"
                                 << "3961" << int(AccessLevel::Service);
    QTest::newRow("decimal text is not hex") << "6054"
                                             << "24660" << int(AccessLevel::Normal);
    QTest::newRow("leading zeros") << "0F79"
                                   << "3961" << int(AccessLevel::Service);
    QTest::newRow("not hex") << "zz"
                             << "" << int(AccessLevel::Normal);
}

void TestShell::storedPasswordSetsLevel()
{
    QFETCH(QString, stored);
    QFETCH(QString, decoded);
    QFETCH(int, level);
    TestEnv env;
    QCOMPARE(AccessLevel::decodeStored(stored), decoded);
    if (!stored.isEmpty())
        Settings::set("Passwort", "Passwort", stored);
    auto w = makeWindow();
    QVERIFY(w);
    w->initializeControls();
    expectLevel(*w, AccessLevel::Level(level));
}

void TestShell::loginTable()
{
    TestEnv env;
    auto w = makeWindow();
    QVERIFY(w);
    w->shell().applyAccessLevel(QString());
    expectLevel(*w, AccessLevel::Normal);

    auto login = [&](const QString& text) {
        AdministratorLogin dlg(gState(), w.get());
        QObject::connect(&dlg, &AdministratorLogin::accessLevelChosen, &w->shell(), &ShellController::applyAccessLevel);
        dlg.passwordBox->setText(text);
        dlg.applyButton->click();
        return dlg.result();
    };
    QCOMPARE(login("3961"), int(QDialog::Accepted));
    expectLevel(*w, AccessLevel::Service);
    QCOMPARE(login("6054"), int(QDialog::Accepted));
    expectLevel(*w, AccessLevel::Full);

    // Refusal: message, the window stays open, the level stays.
    {
        AdministratorLogin dlg(gState(), w.get());
        dlg.show();
        dlg.passwordBox->setText("1234");
        dlg.applyButton->click();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(env.messages.size(), 1);
        QCOMPARE(env.messages[0].icon, Dialogs::Icon::Critical);
        QCOMPARE(env.messages[0].text, gState().msg("gsMsgPasswortNOK"));
        QCOMPARE(env.messages[0].title, gState().msg("gsFehlerEingabe"));
        QCOMPARE(dlg.passwordBox->selectedText(), QStringLiteral("1234"));
        QCOMPARE(dlg.passwordBox->palette().color(QPalette::Base), QColor(255, 255, 0));
        dlg.cancelButton->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }
    expectLevel(*w, AccessLevel::Full);

    // Cancel keeps the level; the empty password is the way back.
    {
        AdministratorLogin dlg(gState(), w.get());
        dlg.passwordBox->setText("3961");
        dlg.cancelButton->click();
    }
    expectLevel(*w, AccessLevel::Full);
    QCOMPARE(login(""), int(QDialog::Accepted));
    expectLevel(*w, AccessLevel::Normal);
    QCOMPARE(env.messages.size(), 1);

    // Through the menu item (modal).
    onModal<AdministratorLogin>([](AdministratorLogin* d) {
        d->passwordBox->setText("6054");
        d->applyButton->click();
    });
    w->findChild<QAction*>("mnuAdministrator")->trigger();
    expectLevel(*w, AccessLevel::Full);

    // Through a double click on the logo of the About box.
    onModal<AboutDialog>([](AboutDialog* about) {
        onModal<AdministratorLogin>([](AdministratorLogin* d) {
            d->passwordBox->setText("3961");
            d->applyButton->click();
        });
        for (QLabel* logo : about->logos)
            if (logo->isVisible())
                QTest::mouseDClick(logo, Qt::LeftButton);
        about->accept();
    });
    w->findChild<QAction*>("mnuInfo")->trigger();
    expectLevel(*w, AccessLevel::Service);
}

void TestShell::loginBoxRules()
{
    TestEnv env("2");
    auto w = makeWindow();
    QVERIFY(w);
    AdministratorLogin dlg(gState(), w.get());
    QCOMPARE(dlg.windowTitle(), caption(env, "frmAdministrator", 2));
    QCOMPARE(dlg.passwordLabel->text(), caption(env, "lblPasswort", 2));
    QCOMPARE(dlg.applyButton->objectName(), QString::fromUtf8("cmdÜbernehmen"));
    QCOMPARE(dlg.applyButton->text(), caption(env, QString::fromUtf8("cmdPasswortÜbernehmen"), 2));
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
}

void TestShell::aboutBoxAndItsShortcut()
{
    TestEnv env("3");
    auto w = makeWindow();
    QVERIFY(w);
    w->shell().applyAccessLevel(QString());
    bool checked = false;
    onModal<AboutDialog>([&](AboutDialog* about) {
        QVERIFY(!about->findChild<QLabel*>("PicLogoI")->isHidden());
        for (const char* other : {"PicLogoD", "PicLogoE", "PicLogoF"})
            QVERIFY(about->findChild<QLabel*>(other)->isHidden());
        QCOMPARE(about->versionLabel->text(),
                 caption(env, "lblVersion", 3)
                     + QStringLiteral(" %1.%2.%3")
                           .arg(SMSV48_VERSION_MAJOR)
                           .arg(SMSV48_VERSION_MINOR)
                           .arg(SMSV48_VERSION_PATCH));
        QCOMPARE(about->licenceLabel[0]->text(), caption(env, "lblLizenz", 3));
        QCOMPARE(about->licenceLabel[4]->text(), caption(env, "lblLizenz(4)", 3));
        QVERIFY(about->windowTitle().startsWith(caption(env, "frmAbout", 3) + ' '));
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
}

void TestShell::helpPagesForEveryContext()
{
    TestEnv env;
    const int contexts[] = {1000, 1001, 1002, 2000, 2001, 2002, 2003, 3000, 3001, 3002, 3003,
                            3005, 3006, 3007, 3008, 3009, 5000, 5001, 5002, 5003, 5004, 5005};
    for (int lang = 1; lang <= 4; ++lang) {
        const QString folder = Help::languageFolder(lang);
        for (int c : contexts) {
            const QString p = Help::pagePath(gState(), c, lang);
            QCOMPARE(p, env.path(QStringLiteral("help/%1/%2.html").arg(folder).arg(c)));
        }
        // The contents page links every topic.
        QFile toc(Help::pagePath(gState(), 0, lang));
        QVERIFY(toc.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(toc.readAll());
        for (int c : contexts)
            QVERIFY2(html.contains(QStringLiteral("href=\"%1.html\"").arg(c)), qPrintable(folder));
        QVERIFY(html.contains("name=\"index\""));
    }
    // A missing page falls back to English, then to the contents.
    QFile::remove(env.path("help/fr/2001.html"));
    QCOMPARE(Help::pagePath(gState(), 2001, 4), env.path("help/en/2001.html"));
    QCOMPARE(Help::pagePath(gState(), 4711, 4), env.path("help/fr/index.html"));
}

void TestShell::f1OpensTopicOfControl()
{
    TestEnv env("2");
    auto w = makeWindow();
    QVERIFY(w);
    w->shell().assignHelpContexts();
    w->show();
    const struct {
        const char* control;
        int context;
    } samples[] = {{"ChkEmpOut(40)", 2001},      {"cmdDownload(1)", 3003},   {"txtEingangSF(3)", 1000},
                   {"ChkEmpOP(127)", 1001},      {"CboGültigkeit", 3006},    {"OptPortAnzeige(2)", 3007},
                   {"ChkDefaultState(7)", 2003}, {"txtPINSimCardAlt", 3009}, {"cmdDownload(0)", 3001}};
    for (const auto& s : samples) {
        QWidget* c = widget(w.get(), QString::fromUtf8(s.control));
        QVERIFY2(c, s.control);
        QCOMPARE(Help::contextOf(c), s.context);
        QTest::keyClick(c, Qt::Key_F1);
        QVERIFY(Help::window(gState())->isVisible());
        QCOMPARE(Help::window(gState())->currentPage(), env.path(QStringLiteral("help/en/%1.html").arg(s.context)));
        QVERIFY(!Help::window(gState())->browser()->toPlainText().isEmpty());
    }
    // A part of a control without its own number uses the nearest parent's number.
    auto* inner = new QWidget(widget(w.get(), "ChkEmpOut(40)"));
    QCOMPARE(Help::contextOf(inner), 2001);
    // Windows that name the property as the design does are understood too (the phone book).
    QWidget other;
    other.setProperty("HelpContextID", 5001);
    auto* box = new QLineEdit(&other);
    QCOMPARE(Help::contextOf(box), 5001);
    QTest::keyClick(box, Qt::Key_F1);
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/en/5001.html"));
    // A control without a number opens the contents.
    QTest::keyClick(w->tabs(), Qt::Key_F1);
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/en/index.html"));
}

void TestShell::helpCommands()
{
    TestEnv env("4");
    auto w = makeWindow();
    QVERIFY(w);
    HelpLauncher help(gState());
    QCOMPARE(help.run(w.get(), 7), 0);
    QVERIFY(!Help::window(gState())->isVisible());
    Help::closeAll();
    QCoreApplication::processEvents();
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

void TestShell::linksGoToTheDefaultHandler()
{
    TestEnv env("2");
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    auto w = makeWindow();
    QVERIFY(w);
    {
        AboutDialog about(gState(), w.get());
        about.openHomepage();
        about.writeMail();
        emit about.homepageLabel->linkActivated(AboutInfo::homepage().toString());
    }
    QCOMPARE(catcher.urls.size(), 3);
    QCOMPARE(catcher.urls[0].scheme(), QStringLiteral("https"));
    QCOMPARE(catcher.urls[1].scheme(), QStringLiteral("mailto"));
    QCOMPARE(catcher.urls[2], catcher.urls[0]);
    // A web link in a help page leaves the help page where it is.
    Help::showContext(gState(), 3001);
    emit Help::window(gState())->browser()->anchorClicked(QUrl("https://example.org/manual"));
    QCOMPARE(catcher.urls.size(), 4);
    QCOMPARE(catcher.urls.last(), QUrl("https://example.org/manual"));
    QCOMPARE(Help::window(gState())->currentPage(), env.path("help/en/3001.html"));
    for (const char* scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void TestShell::toolbarUploadDownloadKeepTab()
{
    TestEnv env;
    auto w = makeWindow();
    QVERIFY(w);
    for (const char* key : {"Download", "Upload"}) {
        auto* button = WindowWidgets::named<QPushButton>(
            *w, QLatin1String(key) == QLatin1String("Upload") ? "cmdUpload" : "cmdDownload(0)");
        QVERIFY(button);
        int tabAtClick = -1;
        auto conn = connect(button, &QPushButton::clicked, [&] { tabAtClick = w->tabs()->currentIndex(); });
        w->tabs()->setCurrentIndex(1);
        w->shell().toolbarButtonClicked(QString::fromLatin1(key));
        QCOMPARE(tabAtClick, 2);
        QCOMPARE(w->tabs()->currentIndex(), 1);
        disconnect(conn);
    }
}

void TestShell::everyToolbarKeyReachesItsCommand()
{
    TestEnv env;
    QList<Reports::Kind> previews;
    MainWindowOptions options;
    options.reportPreview = [&](const Reports::Report& r) { previews << r.kind; };
    options.printerName = [] { return QString(); };
    auto w = makeWindow(options);
    QVERIFY(w);
    auto action = [&](const QString& key) {
        for (QAction* a : w->toolbar()->actions())
            if (a->property("Key").toString() == key)
                return a;
        return static_cast<QAction*>(nullptr);
    };
    for (const char* key : {"ReportAlarm", "ReportRelais", "ReportSequentiell", "ReportUser"}) {
        QVERIFY(action(key));
        action(key)->trigger();
    }
    QCOMPARE(previews,
             (QList<Reports::Kind> {Reports::Kind::Inputs, Reports::Kind::Outputs, Reports::Kind::Alarm,
                                    Reports::Kind::Users}));
    // Menu items run the same reports.
    for (const char* item : {"mnuEingängeAnzeigen", "mnuAusgängeAnzeigen", "mnuAlarmDispositiv", "mnuBenutzerAnzeigen"})
        w->findChild<QAction*>(QString::fromUtf8(item))->trigger();
    QCOMPARE(previews.mid(4), previews.mid(0, 4));

    // Print buttons and menu items: with no printer, the PDF is offered (answered No here).
    int asked = 0;
    env.answers = QList<QMessageBox::StandardButton>(8, QMessageBox::No);
    for (const char* key : {"PrintAlarm", "PrintRelais", "PrintSequentiell", "PrintUser"}) {
        action(key)->trigger();
        ++asked;
    }
    for (const char* item :
         {"mnuEingängeDrucken", "mnuAusgängeDrucken", "mnuAlarmDispoDrucken", "mnuBenutzerDrucken"}) {
        w->findChild<QAction*>(QString::fromUtf8(item))->trigger();
        ++asked;
    }
    QCOMPARE(env.messages.size(), asked);
    QCOMPARE(env.fileRequests.size(), 0);

    // The PDF entries beside print.
    auto* pdfMenu = w->findChild<QMenu*>("mnuListenExportieren");
    QVERIFY(pdfMenu);
    QCOMPARE(pdfMenu->actions().size(), 4);
    QVERIFY(w->findChild<QMenu*>("mnuReports")->actions().contains(pdfMenu->menuAction()));
    const QString out = env.path("users.pdf");
    env.fileAnswers << out;
    w->findChild<QAction*>(QString::fromUtf8("mnuBenutzerExportieren"))->trigger();
    QVERIFY(QFile::exists(out));

    // Info and Help keys.
    onModal<AboutDialog>([](AboutDialog* a) { a->okButton->click(); });
    action("Info")->trigger();
    action("Help")->trigger();
    QVERIFY(Help::window(gState())->isVisible());
    // Unknown key: nothing.
    w->shell().toolbarButtonClicked("NoSuchKey");
    QCOMPARE(env.messages.size(), asked);
    // Quit closes the main window through its close sequence.
    w->show();
    w->findChild<QAction*>("mnuBeenden")->trigger();
    QVERIFY(!w->isVisible());
    QVERIFY(gState().closing);
}

void TestShell::iconsReadAtBothScales()
{
    TestEnv env;
    auto w = makeWindow();
    QVERIFY(w);
    w->shell().applyMenuIcons();
    int checked = 0;
    for (QAction* a : w->toolbar()->actions()) {
        if (a->isSeparator())
            continue;
        for (int size : {16, 32}) {
            const QImage img = a->icon().pixmap(size, size).toImage();
            QVERIFY2(!img.isNull(), qPrintable(a->objectName()));
            int opaque = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    opaque += qAlpha(img.pixel(x, y)) > 128;
            QVERIFY2(opaque > img.width() * img.height() / 6, qPrintable(a->objectName()));
        }
        ++checked;
    }
    QCOMPARE(checked, 16);
    for (const char* item : {"mnuLaden", "mnuSpeichern", "mnuTelefonbuch", "mnuPort", "mnuEingängeAnzeigen",
                             "mnuBenutzerDrucken", "mnuHelp", "mnuInfo"})
        QVERIFY2(!w->findChild<QAction*>(QString::fromUtf8(item))->icon().isNull(), item);
}

void TestShell::demoModeTicks()
{
    TestEnv env;
    QList<int> flashTicks;
    int tick = 0;
    MainWindow* window = nullptr;
    MainWindowOptions options;
    // Replaces the 100 ms wait of the modem flash: the ticks run without waiting.
    options.modemFlashWait = [&] {
        QCOMPARE(window->shell().demo.modem, DemoDisplay::Green);
        QCOMPARE(WindowWidgets::named<QWidget>(*window, "ShpModem")->property("FillColor").toInt(), DemoDisplay::Green);
        flashTicks << tick;
    };
    auto w = makeWindow(options);
    QVERIFY(w);
    window = w.get();
    auto led = [&](int i) {
        return WindowWidgets::named<QWidget>(*w, QStringLiteral("ShpLed(%1)").arg(i))->property("FillColor").toInt();
    };
    w->shell().startDemoDisplay();
    QVERIFY(w->shell().demoTimer()->isActive());
    QCOMPARE(w->shell().demoTimer()->interval(), 1000);
    for (tick = 1; tick <= 3; ++tick)
        w->shell().demoDisplayStep();
    for (int i = 0; i < 8; ++i)
        QCOMPARE(led(i), i < 3 ? DemoDisplay::Green : DemoDisplay::White);
    QCOMPARE(flashTicks, QList<int> {3});
    QCOMPARE(WindowWidgets::named<QWidget>(*w, "ShpModem")->property("FillColor").toInt(), DemoDisplay::White);
    for (tick = 4; tick <= 8; ++tick)
        w->shell().demoDisplayStep();
    for (int i = 0; i < 8; ++i)
        QCOMPARE(led(i), DemoDisplay::Green);
    w->shell().demoDisplayStep(); // tick 9
    for (int i = 0; i < 8; ++i)
        QCOMPARE(led(i), DemoDisplay::White);
    for (tick = 10; tick <= 20; ++tick)
        w->shell().demoDisplayStep();
    QCOMPARE(flashTicks, (QList<int> {3, 6, 10, 13, 16, 20}));
    // A stopped demonstration does not step.
    // Chosen anew by the display selection, which clears the lamps and starts the timer
    // itself: the demonstration starts over at lamp 0.
    w->shell().demoTimer()->stop();
    for (int i = 0; i < 8; ++i)
        WindowWidgets::named<QWidget>(*w, QStringLiteral("ShpLed(%1)").arg(i))
            ->setProperty("FillColor", DemoDisplay::White);
    w->shell().demoTimer()->start();
    flashTicks.clear();
    for (tick = 1; tick <= 3; ++tick)
        w->shell().demoDisplayStep();
    for (int i = 0; i < 8; ++i)
        QCOMPARE(led(i), i < 3 ? DemoDisplay::Green : DemoDisplay::White);
    QCOMPARE(flashTicks, QList<int> {3});

    const auto lamps = w->shell().demo.led;
    w->shell().demoTimer()->stop();
    w->shell().demoDisplayStep();
    QCOMPARE(w->shell().demo.led, lamps);
    QCOMPARE(flashTicks.size(), 1);
    QVERIFY(!w->shell().modemFlashTimer()->isActive());
}

void TestShell::demoFlashEndsWhenClosing()
{
    TestEnv env;
    auto w = makeWindow();
    QVERIFY(w);
    w->shell().startDemoDisplay();
    gState().closing = true; // the window is closing
    for (int i = 0; i < 3; ++i)
        w->shell().demoDisplayStep();
    QCOMPARE(w->shell().demo.flashes, 1);
    QVERIFY(!w->shell().modemFlashTimer()->isActive());
    QCOMPARE(w->shell().demo.modem, DemoDisplay::White);
    gState().closing = false;
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
