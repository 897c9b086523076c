// Widgets of the main window's three tabs, its menus and its toolbar. Only widgets
// live here: the editor, the device link and the shell connect their behaviour to them.
#include "ui/MainWindow.h"

#include "ui/ShapeLamp.h"
#include "ui/ToolbarIcons.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLocale>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString indexed(const char* name, int i) { return QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i); }

template <typename W> W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

// The SMS text boxes: 63 characters at most. They take the width the matrix leaves; their
// minimum is kept small so that the whole matrix fits a narrow window without scrolling.
QLineEdit* smsBox(QWidget* parent, const QString& name)
{
    auto* e = named(new QLineEdit(parent), name);
    e->setMaxLength(63);
    e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 16);
    e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return e;
}

// Counter of the characters still free beside an SMS text box.
QLabel* counterLabel(QWidget* parent, const QString& name)
{
    auto* l = named(new QLabel(QStringLiteral("63"), parent), name);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    return l;
}

QCheckBox* matrixBox(QWidget* parent, const QString& name)
{
    auto* c = named(new QCheckBox(parent), name);
    c->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return c;
}

QLabel* headingLabel(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* l = named(new QLabel(text, parent), name);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    l->setWordWrap(true);
    return l;
}

// Small pictures for the buttons that have no caption: a column of boxes, all ticked
// (check all), all empty (clear all), or ticked in turn (relays: on rows ticked).
QIcon boxesIcon(int pattern /*0 none, 1 all, 2 alternate*/)
{
    const int s = 32;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const QRectF box(6, 2 + i * 10, 8, 8);
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(box);
        const bool ticked = pattern == 1 || (pattern == 2 && i != 1);
        if (ticked) {
            p.setPen(QPen(QColor(0, 120, 0), 2.2));
            p.drawLine(QPointF(box.left() + 1.5, box.center().y()), QPointF(box.center().x(), box.bottom() - 1.5));
            p.drawLine(QPointF(box.center().x(), box.bottom() - 1.5), QPointF(box.right() + 2, box.top() - 1));
        }
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        p.drawLine(QPointF(18, box.center().y()), QPointF(29, box.center().y()));
    }
    return QIcon(pm);
}

// The power symbol that heads the column of the output default states (the state a relay
// takes when the unit is switched on).
QPixmap powerSymbol(int size, qreal dpr)
{
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 60), size / 9.0, Qt::SolidLine, Qt::RoundCap));
    const qreal m = size * 0.18;
    p.drawArc(QRectF(m, m, size - 2 * m, size - 2 * m), 120 * 16, 300 * 16);
    p.drawLine(QPointF(size / 2.0, size * 0.08), QPointF(size / 2.0, size * 0.48));
    return pm;
}

QPushButton* iconButton(QWidget* parent, const QString& name, const QIcon& icon)
{
    auto* b = named(new QPushButton(parent), name);
    b->setIcon(icon);
    const int h = b->fontMetrics().height();
    b->setIconSize(QSize(h, h));
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

QFrame* hLine(QWidget* parent)
{
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// A faint band behind every second pair of matrix lines, so that the eye can follow a
// line from its text to its boxes. Created before the line's widgets, so it lies below them.
void addBand(QGridLayout* grid, QWidget* parent, int row, int rows, int columns)
{
    auto* band = new QFrame(parent);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, parent->palette().color(QPalette::Window).darker(106));
    band->setPalette(pal);
    grid->addWidget(band, row, 0, rows, columns);
}

QLabel* edgeMark(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

// A tab page whose content scrolls when the window is smaller than the content.
QWidget* scrolledContent(QWidget* page)
{
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(page);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    auto* content = new QWidget(area);
    content->setObjectName(page->objectName() + QStringLiteral("_Content"));
    area->setWidget(content);
    outer->addWidget(area);
    return content;
}

// The main window does not count the status bar's width in its own minimum, so a narrow
// window squeezes the panels over each other. This keeps the window at least as wide as
// the status bar needs (within the screen), also when a panel's text changes.
class StatusBarMinimum : public QObject {
public:
    StatusBarMinimum(QMainWindow* window, QStatusBar* bar) : QObject(window), m_window(window), m_bar(bar)
    {
        bar->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Show)
            apply();
        return false;
    }
    void apply()
    {
        int width = m_bar->minimumSizeHint().width();
        if (QScreen* s = m_window->screen())
            width = qMin(width, s->availableGeometry().width());
        if (width != m_window->minimumWidth())
            m_window->setMinimumWidth(width);
    }

private:
    QMainWindow* m_window;
    QStatusBar* m_bar;
};

// The recipient headings of a matrix wrap all alike: on one line each while the page is wide
// enough for that, else all on two lines. Left to the grid, a width just short of the one-line
// width wraps some headings and not their neighbours, as the grid shares the missing pixels
// out unevenly.
class UniformHeadings : public QObject {
public:
    UniformHeadings(QWidget* content, QList<QLabel*> headings, int narrowest)
        : QObject(content), m_content(content), m_headings(std::move(headings)), m_narrowest(narrowest)
    {
        m_viewport = content->parentWidget();
        if (m_viewport)
            m_viewport->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize || e->type() == QEvent::Show)
            apply();
        return false;
    }
    void apply()
    {
        int oneLine = 0, word = m_narrowest;
        for (QLabel* l : m_headings) {
            const QFontMetrics fm = l->fontMetrics();
            const int frame = l->contentsMargins().left() + l->contentsMargins().right() + 2 * l->margin();
            oneLine = qMax(oneLine, fm.horizontalAdvance(l->text()) + frame + 2);
            for (const QString& w : l->text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                word = qMax(word, fm.horizontalAdvance(w) + frame + 2);
        }
        for (QLabel* l : m_headings) {
            l->setMaximumWidth(QWIDGETSIZE_MAX);
            l->setMinimumWidth(oneLine);
        }
        if (m_viewport && m_viewport->width() < m_content->minimumSizeHint().width()) {
            for (QLabel* l : m_headings) {
                l->setMinimumWidth(0);
                l->setMaximumWidth(qMin(word, oneLine - 1));
            }
        }
    }

private:
    QWidget* m_content;
    QWidget* m_viewport = nullptr;
    QList<QLabel*> m_headings;
    int m_narrowest;
};

} // namespace

QAction* MainWindow::toolbarButton(const QString& key) const
{
    for (QAction* a : Toolbar1Buttons)
        if (a && !a->isSeparator() && a->property("Key").toString() == key)
            return a;
    return nullptr;
}

void MainWindow::buildWidgets()
{
    // ---- menus ------------------------------------------------------------------------
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto menu = [](QWidget* parent, const char* name, const char* caption) {
        auto* m = new QMenu(QString::fromUtf8(caption), parent);
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };
    auto item = [](QMenu* m, const char* name, const char* caption) {
        auto* a = new QAction(QString::fromUtf8(caption), m);
        a->setObjectName(QString::fromUtf8(name));
        m->addAction(a);
        return a;
    };
    mnuDatei = menu(bar, "mnuDatei", "&Datei");
    bar->addMenu(mnuDatei);
    mnuLaden = item(mnuDatei, "mnuLaden", "&Öffnen");
    mnuSpeichern = item(mnuDatei, "mnuSpeichern", "S&peichern");
    mnuSpeichernunter = item(mnuDatei, "mnuSpeichernunter", "S&peichern unter");
    mnuLinie = mnuDatei->addSeparator();
    mnuLinie->setObjectName(QStringLiteral("mnuLinie"));
    mnuBeenden = item(mnuDatei, "mnuBeenden", "&Beenden");
    mnuLaden->setShortcut(QKeySequence::Open);
    mnuSpeichern->setShortcut(QKeySequence::Save);

    mnuEinstellungen = menu(bar, "mnuEinstellungen", "&Extras");
    bar->addMenu(mnuEinstellungen);
    mnuTelefonbuch = item(mnuEinstellungen, "mnuTelefonbuch", "&Benutzer");
    mnuPort = item(mnuEinstellungen, "mnuPort", "Schnittste&lle");
    mnuReports = menu(mnuEinstellungen, "mnuReports", "&Konfiguration");
    mnuEinstellungen->addMenu(mnuReports);
    mnuListenAnzeigen = menu(mnuReports, "mnuListenAnzeigen", "&Anzeigen");
    mnuReports->addMenu(mnuListenAnzeigen);
    mnuEingaengeAnzeigen = item(mnuListenAnzeigen, "mnuEingängeAnzeigen", "&Eingänge");
    mnuAusgaengeAnzeigen = item(mnuListenAnzeigen, "mnuAusgängeAnzeigen", "&Ausgänge");
    mnuAlarmDispositiv = item(mnuListenAnzeigen, "mnuAlarmDispositiv", "Sequentielle Alarmierung");
    mnuBenutzerAnzeigen = item(mnuListenAnzeigen, "mnuBenutzerAnzeigen", "Benutzer");
    mnuListenDrucken = menu(mnuReports, "mnuListenDrucken", "&Drucken");
    mnuReports->addMenu(mnuListenDrucken);
    mnuEingaengeDrucken = item(mnuListenDrucken, "mnuEingängeDrucken", "E&ingänge");
    mnuAusgaengeDrucken = item(mnuListenDrucken, "mnuAusgängeDrucken", "A&usgänge");
    mnuAlarmDispoDrucken = item(mnuListenDrucken, "mnuAlarmDispoDrucken", "Sequentielle Alarmierung");
    mnuBenutzerDrucken = item(mnuListenDrucken, "mnuBenutzerDrucken", "Benutzer");
    // The administrator login is switched off in the design; the About box's logo reaches it.
    mnuAdministrator = item(mnuEinstellungen, "mnuAdministrator", "&Administrator");
    mnuAdministrator->setVisible(false);

    mnuFragezeichen = menu(bar, "mnuFragezeichen", "&?");
    bar->addMenu(mnuFragezeichen);
    mnuHelp = item(mnuFragezeichen, "mnuHelp", "&Help");
    mnuHelp->setShortcut(QKeySequence::HelpContents);
    mnuInfo = item(mnuFragezeichen, "mnuInfo", "&Info");

    // ---- toolbar ------------------------------------------------------------------------
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setFloatable(false);
    {
        struct Slot {
            const char* key;
            QStyle::StandardPixmap icon;
            const char* tip;
        };
        const QStyle::StandardPixmap none = QStyle::SP_CustomBase;
        const Slot layoutSlots[ToolbarSlots] = {
            {nullptr, none, nullptr},
            {"Open", QStyle::SP_DialogOpenButton, nullptr},
            {"Save", QStyle::SP_DialogSaveButton, nullptr},
            {nullptr, none, nullptr},
            {"Telefonbuch", QStyle::SP_FileDialogContentsView, nullptr},
            {"COM", QStyle::SP_DriveNetIcon, nullptr},
            {nullptr, none, nullptr},
            {"ReportAlarm", QStyle::SP_FileDialogDetailedView, "Show Alarm Configuration"},
            {"ReportRelais", QStyle::SP_FileDialogDetailedView, "Show RelayConfiguration"},
            {"ReportSequentiell", QStyle::SP_FileDialogDetailedView, "Show sequentiell Alarm Configuration"},
            {"ReportUser", QStyle::SP_FileDialogDetailedView, "Show User"},
            {nullptr, none, nullptr},
            {"PrintAlarm", QStyle::SP_FileIcon, "Print Alarm Configuration"},
            {"PrintRelais", QStyle::SP_FileIcon, "Print Relay Configuration"},
            {"PrintSequentiell", QStyle::SP_FileIcon, "Print sequentiell Alarm Configuration"},
            {"PrintUser", QStyle::SP_FileIcon, "Print User"},
            {nullptr, none, nullptr},
            {"Upload", QStyle::SP_ArrowUp, nullptr},
            {"Download", QStyle::SP_ArrowDown, nullptr},
            {nullptr, none, nullptr},
            {"Help", QStyle::SP_DialogHelpButton, nullptr},
            {"Info", QStyle::SP_MessageBoxInformation, nullptr},
        };
        int separators = 0;
        for (int i = 0; i < ToolbarSlots; ++i) {
            QAction* a = nullptr;
            if (!layoutSlots[i].key) {
                a = Toolbar1->addSeparator();
                a->setObjectName(QStringLiteral("Toolbar1.Separator(%1)").arg(separators++));
            } else {
                const QString key = QString::fromLatin1(layoutSlots[i].key);
                QIcon icon = ToolbarIcons::icon(key);
                if (icon.isNull())
                    icon = style()->standardIcon(layoutSlots[i].icon);
                a = new QAction(icon, key, Toolbar1);
                a->setObjectName(QStringLiteral("Toolbar1.") + key);
                a->setProperty("Key", key);
                if (layoutSlots[i].tip)
                    a->setToolTip(QString::fromLatin1(layoutSlots[i].tip));
                Toolbar1->addAction(a);
            }
            a->setProperty("Index", i + 1);
            Toolbar1Buttons[i] = a;
        }
    }

    QList<QWidget*> tabOrder;
    // The check-all and clear-all pictures, painted once for the 35 buttons that show them.
    const QIcon boxesAll = boxesIcon(1), boxesNone = boxesIcon(0);

    // ---- tab 0: inputs ---------------------------------------------------------------------
    {
        QWidget* c = scrolledContent(tabPage[0]);
        auto* grid = new QGridLayout(c);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(2);
        const int colLabel = 0, colMark = 1, colText = 2, colCount = 3, colUser = 4, colAlarm = 13;
        grid->setColumnMinimumWidth(12, 10);

        // Recipient headings of group 0.
        for (int u = 0; u < 8; ++u) {
            lblEmpfaenger[u] = headingLabel(c, indexed("lblEmpfänger", u), QStringLiteral("Empfänger %1").arg(u + 1));
            lblAdresseName[u] = headingLabel(c, indexed("lblAdresseName", u));
            lblAdresseEmpf[u] = headingLabel(c, indexed("lblAdresseEmpf", u));
            grid->addWidget(lblEmpfaenger[u], 0, colUser + u);
            grid->addWidget(lblAdresseName[u], 1, colUser + u);
            grid->addWidget(lblAdresseEmpf[u], 2, colUser + u);
        }
        lblAlarmDispoSpalte
            = headingLabel(c, QStringLiteral("lblAlarmDispoSpalte"), QStringLiteral("Sequentielle Alarmierung"));
        lblAlarmDispoSpalte->setMaximumWidth(lblAlarmDispoSpalte->fontMetrics().averageCharWidth() * 16);
        grid->addWidget(lblAlarmDispoSpalte, 0, colAlarm, 3, 1, Qt::AlignHCenter | Qt::AlignBottom);

        // The SMS texts and the matrix: one line per input edge, one column per user.
        for (int e = 1; e < 8; e += 2)
            addBand(grid, c, 4 + 2 * e, 2, colAlarm + 1);
        for (int e = 0; e < 8; ++e) {
            const int rowSF = 4 + 2 * e, rowFF = rowSF + 1;
            lblEingang[e] = named(new QLabel(QStringLiteral("Eingang %1").arg(e + 1), c), indexed("lblEingang", e));
            grid->addWidget(lblEingang[e], rowSF, colLabel, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
            grid->addWidget(edgeMark(c, QStringLiteral("\u2191")), rowSF, colMark);
            grid->addWidget(edgeMark(c, QStringLiteral("\u2193")), rowFF, colMark);
            txtEingangSF[e] = smsBox(c, indexed("txtEingangSF", e));
            txtEingangFF[e] = smsBox(c, indexed("txtEingangFF", e));
            lblAnzZeichenSF[e] = counterLabel(c, indexed("lblAnzZeichenSF", e));
            lblAnzZeichenFF[e] = counterLabel(c, indexed("lblAnzZeichenFF", e));
            grid->addWidget(txtEingangSF[e], rowSF, colText);
            grid->addWidget(txtEingangFF[e], rowFF, colText);
            grid->addWidget(lblAnzZeichenSF[e], rowSF, colCount);
            grid->addWidget(lblAnzZeichenFF[e], rowFF, colCount);
        }
        for (int u = 0; u < 8; ++u) {
            cmdCheckAllEmp[u] = iconButton(c, indexed("cmdCheckAllEmp", u), boxesAll);
            cmdClrAllEmp[u] = iconButton(c, indexed("cmdClrAllEmp", u), boxesNone);
            auto* pair = new QHBoxLayout;
            pair->setSpacing(2);
            pair->addWidget(cmdCheckAllEmp[u]);
            pair->addWidget(cmdClrAllEmp[u]);
            grid->addLayout(pair, 3, colUser + u, Qt::AlignHCenter);
            for (int r = 0; r < 16; ++r) {
                ChkEmpOP[16 * u + r] = matrixBox(c, indexed("ChkEmpOP", 16 * u + r));
                grid->addWidget(ChkEmpOP[16 * u + r], 4 + r, colUser + u, Qt::AlignCenter);
            }
        }
        cmdCheckAllEvents = iconButton(c, QStringLiteral("cmdCheckAllEvents"), boxesAll);
        cmdClrAllEvents = iconButton(c, QStringLiteral("cmdClrAllEvents"), boxesNone);
        {
            auto* pair = new QHBoxLayout;
            pair->setSpacing(2);
            pair->addWidget(cmdCheckAllEvents);
            pair->addWidget(cmdClrAllEvents);
            grid->addLayout(pair, 3, colAlarm, Qt::AlignHCenter);
        }
        for (int r = 0; r < 16; ++r) {
            ChkAlarmDispo[r] = matrixBox(c, indexed("ChkAlarmDispo", r));
            grid->addWidget(ChkAlarmDispo[r], 4 + r, colAlarm, Qt::AlignCenter);
        }

        grid->addWidget(hLine(c), 20, 0, 1, colAlarm + 1);

        // Alarm input and power-on message, with the recipient headings of group 2.
        for (int u = 0; u < 8; ++u) {
            const int k = 16 + u;
            lblEmpfaenger[k] = headingLabel(c, indexed("lblEmpfänger", k), QStringLiteral("Empfänger %1").arg(u + 1));
            lblAdresseName[k] = headingLabel(c, indexed("lblAdresseName", k));
            lblAdresseEmpf[k] = headingLabel(c, indexed("lblAdresseEmpf", k));
            grid->addWidget(lblEmpfaenger[k], 21, colUser + u);
            grid->addWidget(lblAdresseName[k], 22, colUser + u);
            grid->addWidget(lblAdresseEmpf[k], 23, colUser + u);
        }
        lblAlarmDispo
            = named(new QLabel(QStringLiteral("Sequentielle Alarmierung"), c), QStringLiteral("lblAlarmDispo"));
        lblAlarmDispo->setWordWrap(true);
        txtAlarmDispositiv = smsBox(c, QStringLiteral("txtAlarmDispositiv"));
        lblAnzZeichenAD = counterLabel(c, QStringLiteral("lblAnzZeichenAD"));
        grid->addWidget(lblAlarmDispo, 24, colLabel, 1, 2);
        grid->addWidget(txtAlarmDispositiv, 24, colText);
        grid->addWidget(lblAnzZeichenAD, 24, colCount);
        lblAufstarten = named(new QLabel(QStringLiteral("Aufstarten"), c), QStringLiteral("lblAufstarten"));
        lblAufstarten->setWordWrap(true);
        txtSMSAufstarten = smsBox(c, QStringLiteral("txtSMSAufstarten"));
        lblAnzZeichenPON = counterLabel(c, QStringLiteral("lblAnzZeichenPON"));
        grid->addWidget(lblAufstarten, 25, colLabel, 1, 2);
        grid->addWidget(txtSMSAufstarten, 25, colText);
        grid->addWidget(lblAnzZeichenPON, 25, colCount);
        for (int u = 0; u < 8; ++u) {
            ChkBenutzerAlarmDispo[u] = matrixBox(c, indexed("ChkBenutzerAlarmDispo", u));
            ChkBenutzerPowerON[u] = matrixBox(c, indexed("ChkBenutzerPowerON", u));
            grid->addWidget(ChkBenutzerAlarmDispo[u], 24, colUser + u, Qt::AlignCenter);
            grid->addWidget(ChkBenutzerPowerON[u], 25, colUser + u, Qt::AlignCenter);
        }
        {
            txtADVerzoegerungszeit = named(new QLineEdit(c), QStringLiteral("txtADVerzögerungszeit"));
            txtADVerzoegerungszeit->setMaxLength(2);
            txtADVerzoegerungszeit->setAlignment(Qt::AlignRight);
            txtADVerzoegerungszeit->setFixedWidth(
                txtADVerzoegerungszeit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
            auto* delay = new QHBoxLayout;
            delay->setSpacing(3);
            delay->addWidget(txtADVerzoegerungszeit);
            auto* unit = new QLabel(QStringLiteral("min"), c);
            unit->setBuddy(txtADVerzoegerungszeit);
            delay->addWidget(unit);
            grid->addLayout(delay, 24, colAlarm, Qt::AlignHCenter);
        }
        grid->setColumnStretch(colText, 1);
        grid->setRowStretch(26, 1);

        for (int e = 0; e < 8; ++e)
            tabOrder << txtEingangSF[e] << txtEingangFF[e];
        for (int u = 0; u < 8; ++u) {
            tabOrder << cmdCheckAllEmp[u] << cmdClrAllEmp[u];
            for (int r = 0; r < 16; ++r)
                tabOrder << ChkEmpOP[16 * u + r];
        }
        tabOrder << cmdCheckAllEvents << cmdClrAllEvents;
        for (int r = 0; r < 16; ++r)
            tabOrder << ChkAlarmDispo[r];
        tabOrder << txtAlarmDispositiv;
        for (int u = 0; u < 8; ++u)
            tabOrder << ChkBenutzerAlarmDispo[u];
        tabOrder << txtADVerzoegerungszeit << txtSMSAufstarten;
        for (int u = 0; u < 8; ++u)
            tabOrder << ChkBenutzerPowerON[u];

        QList<QLabel*> headings;
        for (int u = 0; u < 8; ++u)
            headings << lblEmpfaenger[u] << lblEmpfaenger[16 + u];
        const int pair = cmdCheckAllEmp[0]->sizeHint().width() + 2 + cmdClrAllEmp[0]->sizeHint().width();
        new UniformHeadings(c, headings, pair);
    }

    // ---- tab 1: outputs --------------------------------------------------------------------
    {
        QWidget* c = scrolledContent(tabPage[1]);
        auto* grid = new QGridLayout(c);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(2);
        const int colLabel = 0, colMark = 1, colText = 2, colCount = 3, colUser = 4, colDefault = 13, colRelay = 14;
        grid->setColumnMinimumWidth(12, 10);
        for (int u = 0; u < 8; ++u) {
            const int k = 8 + u;
            lblEmpfaenger[k] = headingLabel(c, indexed("lblEmpfänger", k), QStringLiteral("Empfänger %1").arg(u + 1));
            lblAdresseName[k] = headingLabel(c, indexed("lblAdresseName", k));
            lblAdresseEmpf[k] = headingLabel(c, indexed("lblAdresseEmpf", k));
            ChkOP[u] = named(new QCheckBox(QStringLiteral("Operator"), c), indexed("ChkOP", u));
            grid->addWidget(lblEmpfaenger[k], 0, colUser + u);
            grid->addWidget(lblAdresseName[k], 1, colUser + u);
            grid->addWidget(lblAdresseEmpf[k], 2, colUser + u);
            grid->addWidget(ChkOP[u], 3, colUser + u, Qt::AlignHCenter);
            cmdCheckAllEmp[k] = iconButton(c, indexed("cmdCheckAllEmp", k), boxesAll);
            cmdClrAllEmp[k] = iconButton(c, indexed("cmdClrAllEmp", k), boxesNone);
            auto* pair = new QHBoxLayout;
            pair->setSpacing(2);
            pair->addWidget(cmdCheckAllEmp[k]);
            pair->addWidget(cmdClrAllEmp[k]);
            grid->addLayout(pair, 4, colUser + u, Qt::AlignHCenter);
        }
        auto* defaultHeading = named(new QLabel(c), QStringLiteral("lblDefaultStateSpalte"));
        defaultHeading->setPixmap(powerSymbol(defaultHeading->fontMetrics().height() + 4, devicePixelRatioF()));
        grid->addWidget(defaultHeading, 3, colDefault, Qt::AlignCenter);
        cmdAllRelaisON = iconButton(c, QStringLiteral("cmdAllRelaisON"), boxesIcon(2));
        cmdAllRelaisOFF = iconButton(c, QStringLiteral("cmdAllRelaisOFF"), boxesNone);
        {
            auto* pair = new QHBoxLayout;
            pair->setSpacing(2);
            pair->addWidget(cmdAllRelaisON);
            pair->addWidget(cmdAllRelaisOFF);
            grid->addLayout(pair, 4, colDefault, 1, 2, Qt::AlignLeft);
        }
        for (int k = 1; k < 4; k += 2)
            addBand(grid, c, 5 + 2 * k, 2, colRelay + 1);
        for (int k = 0; k < 4; ++k) {
            const int rowOn = 5 + 2 * k, rowOff = rowOn + 1;
            lblAusgang[k] = named(new QLabel(QStringLiteral("Relais %1").arg(k + 1), c), indexed("lblAusgang", k));
            grid->addWidget(lblAusgang[k], rowOn, colLabel, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
            grid->addWidget(edgeMark(c, QStringLiteral("1")), rowOn, colMark);
            grid->addWidget(edgeMark(c, QStringLiteral("0")), rowOff, colMark);
            txtAusgangSF[k] = smsBox(c, indexed("txtAusgangSF", k));
            txtAusgangFF[k] = smsBox(c, indexed("txtAusgangFF", k));
            lblAnzZeichenOutAK[k] = counterLabel(c, indexed("lblAnzZeichenOutAK", k));
            lblAnzZeichenOutRK[k] = counterLabel(c, indexed("lblAnzZeichenOutRK", k));
            grid->addWidget(txtAusgangSF[k], rowOn, colText);
            grid->addWidget(txtAusgangFF[k], rowOff, colText);
            grid->addWidget(lblAnzZeichenOutAK[k], rowOn, colCount);
            grid->addWidget(lblAnzZeichenOutRK[k], rowOff, colCount);
            lblAusgang[4 + k]
                = named(new QLabel(QStringLiteral("Relais %1").arg(k + 1), c), indexed("lblAusgang", 4 + k));
            grid->addWidget(lblAusgang[4 + k], rowOn, colRelay, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        }
        for (int u = 0; u < 8; ++u)
            for (int r = 0; r < 8; ++r) {
                ChkEmpOut[8 * u + r] = matrixBox(c, indexed("ChkEmpOut", 8 * u + r));
                grid->addWidget(ChkEmpOut[8 * u + r], 5 + r, colUser + u, Qt::AlignCenter);
            }
        for (int r = 0; r < 8; ++r) {
            ChkDefaultState[r] = matrixBox(c, indexed("ChkDefaultState", r));
            grid->addWidget(ChkDefaultState[r], 5 + r, colDefault, Qt::AlignCenter);
        }
        grid->setColumnStretch(colText, 1);
        grid->setRowStretch(13, 1);

        for (int k = 0; k < 4; ++k)
            tabOrder << txtAusgangSF[k] << txtAusgangFF[k];
        for (int u = 0; u < 8; ++u) {
            tabOrder << ChkOP[u] << cmdCheckAllEmp[8 + u] << cmdClrAllEmp[8 + u];
            for (int r = 0; r < 8; ++r)
                tabOrder << ChkEmpOut[8 * u + r];
        }
        tabOrder << cmdAllRelaisON << cmdAllRelaisOFF;
        for (int r = 0; r < 8; ++r)
            tabOrder << ChkDefaultState[r];
    }

    // ---- tab 2: System ---------------------------------------------------------------------
    {
        QWidget* c = scrolledContent(tabPage[2]);
        auto* cols = new QHBoxLayout(c);
        auto* left = new QVBoxLayout;
        auto* right = new QVBoxLayout;
        cols->addLayout(left, 1);
        cols->addLayout(right, 1);

        // Live status of the unit.
        auto* status = named(new QGroupBox(c), QStringLiteral("fraStatus"));
        auto* sg = new QGridLayout(status);
        auto* leds = new QGridLayout;
        leds->setHorizontalSpacing(10);
        for (int i = 0; i < 8; ++i) {
            ShpLed[i] = named(new ShapeLamp(status), indexed("ShpLed", i));
            auto* n = new QLabel(QString::number(i + 1), status);
            n->setAlignment(Qt::AlignHCenter);
            leds->addWidget(ShpLed[i], 0, i, Qt::AlignHCenter);
            leds->addWidget(n, 1, i, Qt::AlignHCenter);
        }
        leds->setColumnMinimumWidth(8, 16);
        ShpModem = named(new ShapeLamp(status), QStringLiteral("ShpModem"));
        leds->addWidget(ShpModem, 0, 9, Qt::AlignHCenter);
        {
            auto* gsm = new QLabel(QStringLiteral("GSM"), status);
            gsm->setAlignment(Qt::AlignHCenter);
            leds->addWidget(gsm, 1, 9, Qt::AlignHCenter);
        }
        leds->setColumnStretch(10, 1);
        sg->addLayout(leds, 0, 0, 1, 3);
        const char* optCaptions[3] = {"Relais", "Alarm", "Demo"};
        auto* opts = new QHBoxLayout;
        for (int i = 0; i < 3; ++i) {
            OptPortAnzeige[i]
                = named(new QRadioButton(QString::fromLatin1(optCaptions[i]), status), indexed("OptPortAnzeige", i));
            opts->addWidget(OptPortAnzeige[i]);
        }
        opts->addStretch(1);
        sg->addLayout(opts, 1, 0, 1, 3);
        cmdAktualisieren
            = named(new QPushButton(QStringLiteral("Aktualisieren"), status), QStringLiteral("cmdAktualisieren"));
        sg->addWidget(cmdAktualisieren, 2, 0);
        lblHWVersion = named(new QLabel(QStringLiteral("HW-Version: 0.00"), status), QStringLiteral("lblHWVersion"));
        lblSWVersion = named(new QLabel(QStringLiteral("SW-Version: 0.00"), status), QStringLiteral("lblSWVersion"));
        sg->addWidget(lblHWVersion, 2, 1);
        sg->addWidget(lblSWVersion, 2, 2);
        sg->setColumnStretch(2, 1);
        left->addWidget(status);

        // Relays switched by hand.
        auto* relays = named(new QGroupBox(c), QStringLiteral("fraRelais"));
        auto* rg = new QGridLayout(relays);
        for (int i = 0; i < 4; ++i) {
            auto* name = named(new QLabel(QStringLiteral("Relais %1").arg(i + 1), relays), indexed("lblRelais", i));
            cmdSetOutput[i] = named(new QPushButton(QStringLiteral("Ein"), relays), indexed("cmdSetOutput", i));
            cmdResetOutput[i] = named(new QPushButton(QStringLiteral("Aus"), relays), indexed("cmdResetOutput", i));
            rg->addWidget(name, i, 0);
            rg->addWidget(cmdSetOutput[i], i, 1);
            rg->addWidget(cmdResetOutput[i], i, 2);
        }
        rg->setColumnStretch(3, 1);
        left->addWidget(relays);
        left->addStretch(1);

        // Unit parameters: serial number, SIM PIN, validity reminder.
        auto* params = named(new QGroupBox(c), QStringLiteral("fraParameter"));
        auto* pg = new QGridLayout(params);
        lblSerienummer = named(new QLabel(QStringLiteral("Seriennummer"), params), QStringLiteral("lblSerienummer"));
        txtSerienummer = named(new QLineEdit(params), QStringLiteral("txtSerienummer"));
        txtSerienummer->setMaxLength(6);
        txtSerienummer->setMinimumWidth(txtSerienummer->fontMetrics().horizontalAdvance(QStringLiteral("0000000"))
                                        + 12);
        lblSerienummer->setBuddy(txtSerienummer);
        cmdLesen = named(new QPushButton(QStringLiteral("Lesen"), params), QStringLiteral("cmdLesen"));
        cmdSetzen = named(new QPushButton(QStringLiteral("Setzen"), params), QStringLiteral("cmdSetzen"));
        Check_Inkrement = named(new QCheckBox(QStringLiteral("+1"), params), QStringLiteral("Check_Inkrement"));
        cmdSetzen->hide();
        Check_Inkrement->hide();
        pg->addWidget(lblSerienummer, 0, 0);
        pg->addWidget(txtSerienummer, 0, 1);
        {
            auto* b = new QHBoxLayout;
            b->addWidget(cmdLesen);
            b->addWidget(cmdSetzen);
            b->addWidget(Check_Inkrement);
            b->addStretch(1);
            pg->addLayout(b, 0, 2);
        }
        lblPinSimCard = named(new QLabel(QStringLiteral("PIN SIM-Karte"), params), QStringLiteral("lblPinSimCard"));
        txtPINSimCardAlt = named(new QLineEdit(params), QStringLiteral("txtPINSimCardAlt"));
        txtPINSimCardNeu = named(new QLineEdit(params), QStringLiteral("txtPINSimCardNeu"));
        for (QLineEdit* e : {txtPINSimCardAlt, txtPINSimCardNeu}) {
            e->setMaxLength(4);
            e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
        }
        lblPinSimCard->setBuddy(txtPINSimCardAlt);
        ChkDefault = named(new QCheckBox(QStringLiteral("Default"), params), QStringLiteral("ChkDefault"));
        cmdPinLesen = named(new QPushButton(QStringLiteral("Lesen"), params), QStringLiteral("cmdPinLesen"));
        cmdPinWechseln = named(new QPushButton(QStringLiteral("Wechseln"), params), QStringLiteral("cmdPinWechseln"));
        pg->addWidget(lblPinSimCard, 1, 0);
        {
            auto* pins = new QHBoxLayout;
            pins->addWidget(txtPINSimCardAlt);
            pins->addWidget(new QLabel(QStringLiteral("\u2192"), params));
            pins->addWidget(txtPINSimCardNeu);
            pins->addStretch(1);
            pg->addLayout(pins, 1, 1);
            auto* b = new QHBoxLayout;
            b->addWidget(cmdPinLesen);
            b->addWidget(cmdPinWechseln);
            b->addStretch(1);
            pg->addLayout(b, 1, 2);
        }
        pg->addWidget(ChkDefault, 2, 1, 1, 2);
        lblGueltigkeit = named(new QLabel(QStringLiteral("Gültigkeit"), params), QStringLiteral("lblGültigkeit"));
        CboGueltigkeit = named(new QComboBox(params), QStringLiteral("CboGültigkeit"));
        CboGueltigkeit->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        CboGueltigkeit->setMaxVisibleItems(20);
        lblGueltigkeit->setBuddy(CboGueltigkeit);
        cmdGueltigkeitLesen
            = named(new QPushButton(QStringLiteral("Lesen"), params), QStringLiteral("cmdGueltigkeitLesen"));
        cmdGueltigkeitSetzen
            = named(new QPushButton(QStringLiteral("Setzen"), params), QStringLiteral("cmdGueltigkeitSetzen"));
        pg->addWidget(lblGueltigkeit, 3, 0);
        pg->addWidget(CboGueltigkeit, 3, 1);
        {
            auto* b = new QHBoxLayout;
            b->addWidget(cmdGueltigkeitLesen);
            b->addWidget(cmdGueltigkeitSetzen);
            b->addStretch(1);
            pg->addLayout(b, 3, 2);
        }
        pg->setColumnStretch(2, 1);
        right->addWidget(params);

        // Configuration transfers and firmware update.
        auto* transfer = named(new QGroupBox(c), QStringLiteral("fraKonfiguration"));
        auto* tg = new QHBoxLayout(transfer);
        lblDownload = named(new QLabel(QStringLiteral("Konfiguration"), transfer), QStringLiteral("lblDownload"));
        cmdDownload[0] = named(new QPushButton(QStringLiteral("Download"), transfer), indexed("cmdDownload", 0));
        cmdUpload = named(new QPushButton(QStringLiteral("Upload"), transfer), QStringLiteral("cmdUpload"));
        cmdDownload[1] = named(new QPushButton(QStringLiteral("Firmware"), transfer), indexed("cmdDownload", 1));
        cmdDownload[1]->hide();
        tg->addWidget(lblDownload);
        tg->addWidget(cmdDownload[0]);
        tg->addWidget(cmdUpload);
        tg->addWidget(cmdDownload[1]);
        tg->addStretch(1);
        right->addWidget(transfer);
        right->addStretch(1);

        for (QRadioButton* o : OptPortAnzeige)
            tabOrder << o;
        tabOrder << cmdAktualisieren;
        for (int i = 0; i < 4; ++i)
            tabOrder << cmdSetOutput[i] << cmdResetOutput[i];
        tabOrder << txtSerienummer << cmdLesen << cmdSetzen << Check_Inkrement << txtPINSimCardAlt << txtPINSimCardNeu
                 << cmdPinLesen << cmdPinWechseln << ChkDefault << CboGueltigkeit << cmdGueltigkeitLesen
                 << cmdGueltigkeitSetzen << cmdDownload[0] << cmdUpload << cmdDownload[1];
    }

    for (int i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Status-bar panels as wide as their longest usual text, so that they never overlap:
    // 1 the clock, 2 the port, 3 the last command line sent, 4 free.
    {
        const QFontMetrics fm = statusPanel[0]->fontMetrics();
        const int pad = 2 * fm.averageCharWidth() + 8;
        const QString clock
            = QLocale().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
        statusPanel[0]->setMinimumWidth(fm.horizontalAdvance(clock) + pad);
        statusPanel[1]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("COM ----")) + pad);
        statusPanel[2]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral(":HR1 CT:0010 AD:0060")) + pad);
        statusPanel[3]->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000")) + pad);
        (new StatusBarMinimum(this, statusBar()))->apply();
    }

    // A default size that shows the whole input tab on a 1366 x 768 screen; smaller screens
    // (or large scaling) get a window that fits, with scrolling tab pages.
    QSize size(1280, 720);
    if (QScreen* s = screen()) {
        const QSize avail = s->availableGeometry().size();
        size = size.boundedTo(QSize(avail.width() * 95 / 100, avail.height() * 92 / 100));
    }
    resize(size);
}
