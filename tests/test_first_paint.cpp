// What the window shows although the start reads less before its first paint: the texts read in
// one pass (PDF menu, validity list) in each language, the splash's one logo, and the
// administrator's rule under the toolbar, which is a style sheet only while it shows.
#include "Desktop.h"
#include "TestEnv.h"
#include "WindowWidgets.h"

#include "link/UnitOps.h"
#include "ui/ShellController.h"
#include "ui/SplashWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QtTest>

using Desktop::tableText;

class TestFirstPaint : public QObject {
    Q_OBJECT
private slots:
    void textsReadInOnePass_data();
    void textsReadInOnePass();
    void administratorRule_data();
    void administratorRule();
};

void TestFirstPaint::textsReadInOnePass_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("German") << 1;
    QTest::newRow("English") << 2;
    QTest::newRow("Italian") << 3;
    QTest::newRow("French") << 4;
}

void TestFirstPaint::textsReadInOnePass()
{
    QFETCH(int, language);
    TestEnv env(QString::number(language));
    auto w = Desktop::window();
    QVERIFY(w);
    w->initializeControls();
    auto message
        = [&](const char* key) { return tableText(env, QString::fromUtf8(key), language, "SystemNachrichten"); };

    auto* pdf = w->findChild<QMenu*>(QStringLiteral("mnuListenExportieren"));
    QVERIFY(pdf);
    QCOMPARE(pdf->title(), message("mnuListenExportieren"));
    QStringList items;
    for (QAction* a : pdf->actions())
        items << a->text();
    QCOMPARE(items,
             QStringList({message("mnuEingängeExportieren"), message("mnuAusgängeExportieren"),
                          message("mnuAlarmDispoExportieren"), message("mnuBenutzerExportieren")}));

    w->ensureTabsBuilt();
    auto* validity = WindowWidgets::named<QComboBox>(*w, "CboGültigkeit");
    QStringList shown;
    for (int i = 0; i < validity->count(); ++i)
        shown << validity->itemText(i);
    QCOMPARE(shown,
             UnitOps::validityItems(message("CboGültigkeit"), message("CboGültigkeit_Minuten"),
                                    message("CboGültigkeit_Tage"), message("CboGültigkeit_Wochen")));
    QVERIFY(!shown.first().isEmpty());

    static const char* const logos[] = {"PicLogoD", "PicLogoE", "PicLogoI", "PicLogoF"};
    SplashWindow splash(gState());
    const QImage logo = splash.logos[language - 1]->pixmap().toImage();
    QCOMPARE(logo.convertToFormat(QImage::Format_ARGB32),
             QImage(QStringLiteral(":/images/%1.png").arg(QString::fromLatin1(logos[language - 1])))
                 .convertToFormat(QImage::Format_ARGB32));
    QVERIFY(!logo.isNull());
}

void TestFirstPaint::administratorRule_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("rule");
    QTest::newRow("normal") << QString() << false;
    QTest::newRow("service") << QStringLiteral("3961") << true;
    QTest::newRow("full") << QStringLiteral("6054") << true;
}

void TestFirstPaint::administratorRule()
{
    QFETCH(QString, password);
    QFETCH(bool, rule);
    TestEnv env;
    auto w = Desktop::window();
    QVERIFY(w);
    w->initializeControls();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // Orange pixels in the toolbar's bottom rows: the rule under it.
    auto orangeRows = [&] {
        const QImage img = w->toolbar()->grab().toImage();
        int rows = 0;
        for (int y = img.height() - 6; y < img.height(); ++y)
            if (img.pixelColor(img.width() / 2, y) == QColor(0xe0, 0x7b, 0x00))
                ++rows;
        return rows;
    };
    const int heightBefore = w->toolbar()->sizeHint().height();
    w->shell().applyAccessLevel(password);
    QCOMPARE(orangeRows(), rule ? 3 : 0);
    // Back at the normal level the toolbar is as before.
    w->shell().applyAccessLevel(QString());
    QCOMPARE(orangeRows(), 0);
    QCOMPARE(w->toolbar()->sizeHint().height(), heightBefore);
}

QTEST_MAIN(TestFirstPaint)
#include "test_first_paint.moc"
