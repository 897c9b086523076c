#include "ui/PhoneBookDialog.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "editing/EditorTexts.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int HelpName = 5000, HelpPassword = 5001, HelpActive = 5002, HelpOperator = 5003, HelpMove = 5004,
              HelpCommands = 5005;

void setHelp(QWidget* w, int id) { w->setProperty("HelpContextID", id); }

bool isEnter(QEvent* e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
}

PhoneBookDialog::PhoneBookDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTelefonbuch"));
    setWindowTitle(QStringLiteral("Telefonbuch"));
    setModal(true);

    lblBenutzer = new QLabel(this);
    lblBenutzer->setObjectName(QStringLiteral("lblBenutzer"));
    lblBenutzer->setAlignment(Qt::AlignCenter);
    lblBenutzer->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Utilisateur 8/8")) + 16);

    auto makeLabel = [this](const char* name, const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString::fromUtf8(name));
        return l;
    };
    auto makeBox = [this](const char* name) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromUtf8(name));
        b->installEventFilter(this);
        return b;
    };
    lblName = makeLabel("lblName", QStringLiteral("&Name"));
    lblNatelNr = makeLabel("lblNatelNr", QStringLiteral("Natel &Nr."));
    lblPasswort = makeLabel("lblPasswort", QStringLiteral("&Passwort"));
    txtNameTelefonbuch = makeBox("txtNameTelefonbuch");
    txtTelefonbuchNatelNr = makeBox("txtTelefonbuchNatelNr");
    txtPasswort = makeBox("txtPasswort");
    limitLength(txtNameTelefonbuch, PhoneBook::NameLength, lblName);
    limitLength(txtTelefonbuchNatelNr, PhoneBook::NumberLength, lblNatelNr);
    limitLength(txtPasswort, PhoneBook::PasswordLength, lblPasswort);
    connect(txtTelefonbuchNatelNr, &QLineEdit::textChanged, this, [this] { m_numberReported = false; });
    connect(txtPasswort, &QLineEdit::textChanged, this, [this] { m_passwordReported = false; });
    txtNameTelefonbuch->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    lblName->setBuddy(txtNameTelefonbuch);
    lblNatelNr->setBuddy(txtTelefonbuchNatelNr);
    lblPasswort->setBuddy(txtPasswort);

    ChkOperator = new QCheckBox(QStringLiteral("&Operator"), this);
    ChkOperator->setObjectName(QStringLiteral("ChkOperator"));
    ChkAktivBenutzer = new QCheckBox(QStringLiteral("&Aktiv"), this);
    ChkAktivBenutzer->setObjectName(QStringLiteral("ChkAktivBenutzer"));
    ChkOperator->installEventFilter(this);
    ChkAktivBenutzer->installEventFilter(this);

    const QStyle::StandardPixmap icons[4] = {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,
                                             QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward};
    const QKeySequence keys[4] = {QKeySequence(Qt::CTRL | Qt::Key_Home), QKeySequence(Qt::Key_PageUp),
                                  QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_End)};
    const char* accessible[4] = {"First entry", "Previous entry", "Next entry", "Last entry"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("cmdMoveDatabase(%1)").arg(i));
        b->setIcon(style()->standardIcon(icons[i]));
        b->setAccessibleName(tr(accessible[i]));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdMoveDatabase_Click(i); });
        auto* sc = new QShortcut(keys[i], this);
        connect(sc, &QShortcut::activated, this, [this, i] { cmdMoveDatabase_Click(i); });
        cmdMoveDatabase[i] = b;
    }

    auto makeButton = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        b->installEventFilter(this);
        return b;
    };
    cmdDatensatzLoeschen = makeButton("cmdDatensatzLöschen", QStringLiteral("&Löschen"));
    cmdAenderungenSpeichern = makeButton("cmdAenderungenSpeichern", QStringLiteral("&Speichern"));
    cmdTelefonbuchAbbrechen = makeButton("cmdTelefonbuchAbbrechen", QStringLiteral("S&chliessen"));
    connect(cmdDatensatzLoeschen, &QPushButton::clicked, this, &PhoneBookDialog::cmdDatensatzLoeschen_Click);
    connect(cmdAenderungenSpeichern, &QPushButton::clicked, this, &PhoneBookDialog::cmdAenderungenSpeichern_Click);
    connect(cmdTelefonbuchAbbrechen, &QPushButton::clicked, this, &PhoneBookDialog::cmdTelefonbuchAbbrechen_Click);

    auto* fields = new QGridLayout;
    fields->addWidget(lblName, 0, 0);
    fields->addWidget(txtNameTelefonbuch, 0, 1, 1, 2);
    fields->addWidget(lblNatelNr, 1, 0);
    fields->addWidget(txtTelefonbuchNatelNr, 1, 1, 1, 2);
    fields->addWidget(lblPasswort, 2, 0);
    fields->addWidget(txtPasswort, 2, 1);
    fields->addWidget(ChkOperator, 3, 1);
    fields->addWidget(ChkAktivBenutzer, 4, 1);
    fields->setColumnStretch(2, 1);

    auto* nav = new QHBoxLayout;
    nav->addStretch();
    nav->addWidget(cmdMoveDatabase[0]);
    nav->addWidget(cmdMoveDatabase[1]);
    nav->addWidget(lblBenutzer);
    nav->addWidget(cmdMoveDatabase[2]);
    nav->addWidget(cmdMoveDatabase[3]);
    nav->addStretch();

    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdDatensatzLoeschen);
    commands->addStretch();
    commands->addWidget(cmdAenderungenSpeichern);
    commands->addWidget(cmdTelefonbuchAbbrechen);

    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    top->addSpacing(6);
    top->addLayout(nav);
    top->addSpacing(6);
    top->addLayout(commands);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    // Tab goes down the fields, then along the rows of buttons from left to right as they stand.
    setTabOrder(txtNameTelefonbuch, txtTelefonbuchNatelNr);
    setTabOrder(txtTelefonbuchNatelNr, txtPasswort);
    setTabOrder(txtPasswort, ChkOperator);
    setTabOrder(ChkOperator, ChkAktivBenutzer);
    setTabOrder(ChkAktivBenutzer, cmdMoveDatabase[0]);
    for (int i = 0; i < 3; ++i)
        setTabOrder(cmdMoveDatabase[i], cmdMoveDatabase[i + 1]);
    setTabOrder(cmdMoveDatabase[3], cmdDatensatzLoeschen);
    setTabOrder(cmdDatensatzLoeschen, cmdAenderungenSpeichern);
    setTabOrder(cmdAenderungenSpeichern, cmdTelefonbuchAbbrechen);

    setHelp(txtNameTelefonbuch, HelpName);
    setHelp(txtTelefonbuchNatelNr, HelpName);
    setHelp(txtPasswort, HelpPassword);
    setHelp(ChkAktivBenutzer, HelpActive);
    setHelp(ChkOperator, HelpOperator);
    for (auto* b : cmdMoveDatabase)
        setHelp(b, HelpMove);
    for (auto* b : {cmdDatensatzLoeschen, cmdAenderungenSpeichern, cmdTelefonbuchAbbrechen})
        setHelp(b, HelpCommands);

    m_book.onUserInactive = [](int index) {
        // An inactive user no longer receives the alarm input.
        if (MainWindow* w = mainWindow())
            if (auto* box = w->findChild<QCheckBox*>(QStringLiteral("ChkBenutzerAlarmDispo(%1)").arg(index)))
                box->setChecked(false);
    };
    m_book.open(gState().databasePath);
    loadTexts();
    showEntry();
    txtNameTelefonbuch->setFocus();
}

PhoneBookDialog::~PhoneBookDialog() = default;

void PhoneBookDialog::loadTexts()
{
    const QStringList captions = EditorTexts::run(QStringLiteral("Beschriftung"), QStringLiteral("lblName"), 8);
    if (captions.size() == 8) {
        QWidget* targets[7] = {lblName,
                               lblNatelNr,
                               lblPasswort,
                               ChkAktivBenutzer,
                               cmdAenderungenSpeichern,
                               cmdDatensatzLoeschen,
                               cmdTelefonbuchAbbrechen};
        for (int i = 0; i < 7; ++i) {
            if (auto* l = qobject_cast<QLabel*>(targets[i]))
                l->setText(captions[i]);
            else if (auto* b = qobject_cast<QAbstractButton*>(targets[i]))
                b->setText(captions[i]);
        }
        setWindowTitle(captions[7]);
    }
    // The operator box has no caption of its own in the phone-book run: it shares the
    // caption of the main window's operator boxes.
    const QStringList op = EditorTexts::run(QStringLiteral("Beschriftung"), QStringLiteral("ChkOP"), 1);
    if (!op.isEmpty() && !op.first().isEmpty())
        ChkOperator->setText(op.first().contains(QLatin1Char('&')) ? op.first() : QStringLiteral("&") + op.first());
    const QStringList tips = EditorTexts::run(QStringLiteral("ToolTipText"), QStringLiteral("txtNameTelefonbuch"), 11);
    if (tips.size() == 11) {
        QWidget* targets[11] = {txtNameTelefonbuch,   txtTelefonbuchNatelNr,  ChkOperator,
                                cmdMoveDatabase[0],   cmdMoveDatabase[1],     cmdMoveDatabase[2],
                                cmdMoveDatabase[3],   ChkAktivBenutzer,       cmdAenderungenSpeichern,
                                cmdDatensatzLoeschen, cmdTelefonbuchAbbrechen};
        for (int i = 0; i < 11; ++i)
            targets[i]->setToolTip(tips[i]);
    }
    const QStringList pw = EditorTexts::run(QStringLiteral("ToolTipText"), QStringLiteral("txtUserPasswort"), 1);
    if (!pw.isEmpty())
        txtPasswort->setToolTip(pw.first());
}

void PhoneBookDialog::showEntry()
{
    lblBenutzer->setText(QStringLiteral("%1 %2/%3")
                             .arg(gState().msg(QStringLiteral("gsBenutzer")))
                             .arg(m_book.position())
                             .arg(m_book.count()));
    const PhoneBookEntry e = m_book.current();
    txtNameTelefonbuch->setText(e.name);
    txtTelefonbuchNatelNr->setText(e.number);
    txtPasswort->setText(e.password);
    ChkOperator->setChecked(e.isOperator);
    ChkAktivBenutzer->setChecked(e.active);
}

PhoneBookEntry PhoneBookDialog::boxes() const
{
    PhoneBookEntry e;
    e.name = txtNameTelefonbuch->text();
    e.number = txtTelefonbuchNatelNr->text();
    e.password = txtPasswort->text();
    e.isOperator = ChkOperator->isChecked();
    e.active = ChkAktivBenutzer->isChecked();
    return e;
}

void PhoneBookDialog::setFocusColour(QLineEdit* box, bool focused)
{
    box->setStyleSheet(focused ? QStringLiteral("QLineEdit { background-color: rgb(255,255,0); color: black; }")
                               : QString());
}

void PhoneBookDialog::limitLength(QLineEdit* box, int limit, QLabel* label)
{
    connect(box, &QLineEdit::textChanged, this, [this, box, limit](const QString& text) {
        if (text.size() <= limit)
            m_accepted[box] = text;
    });
    connect(box, &QLineEdit::textEdited, this,
            [this, box, limit, label](const QString& text) { cutToLimit(box, limit, label, text); });
}

void PhoneBookDialog::cutToLimit(QLineEdit* box, int limit, QLabel* label, const QString& edited)
{
    if (edited.size() <= limit)
        return;
    // What went in ends at the cursor; what follows it and what precedes it were there before.
    const QString before = m_accepted.value(box);
    const qsizetype end = qBound(qsizetype(0), qsizetype(box->cursorPosition()), edited.size());
    const qsizetype tail = qMin(edited.size() - end, before.size());
    qsizetype head = 0;
    while (head < end && head < before.size() - tail && before[head] == edited[head])
        ++head;
    const QString inserted = edited.mid(head, end - head);
    const qsizetype excess = edited.size() - limit;
    if (excess >= inserted.size()) {
        // Nothing of the new text fits (a key typed into a full box).
        box->setText(before);
        box->setCursorPosition(int(head));
        if (inserted.size() <= 1) {
            QApplication::beep();
            return;
        }
    } else {
        box->setText(edited.left(head) + inserted.left(inserted.size() - excess) + edited.right(tail));
        box->setCursorPosition(int(head + inserted.size() - excess));
    }
    const QString cut = excess >= inserted.size() ? inserted : inserted.right(excess);
    const QString field = QString(label->text()).remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed();
    const QString text = gState()
                             .msgOr(QStringLiteral("gsMsgEingabeGekuerzt"),
                                    QStringLiteral("Das Feld \"%1\" nimmt höchstens %2 Zeichen auf. "
                                                   "Nicht übernommen wurde: \"%3\""))
                             .arg(field, QString::number(limit), cut);
    // Told once the box has finished its edit, not from inside it.
    QTimer::singleShot(0, this, [this, text] {
        m_validating = true;
        Dialogs::show(this, text, gState().programName, Dialogs::Icon::Information);
        m_validating = false;
    });
}

bool PhoneBookDialog::acceptDuplicateNumber(const PhoneBookEntry& e)
{
    if (e.number == m_book.current().number)
        return true; // as stored: asked when it was entered
    const int other = m_book.otherEntryWithNumber(e.number);
    if (other == 0)
        return true;
    m_validating = true;
    const auto answer = Dialogs::show(
        this,
        gState()
            .msgOr(QStringLiteral("gsMsgNatelNrDoppelt"),
                   QStringLiteral("Benutzer %1 hat dieselbe Natel-Nummer %2. Das Gerät schickt dann jede SMS zweimal "
                                  "an diese Nummer.\nSoll die Nummer trotzdem übernommen werden?"))
            .arg(other)
            .arg(e.number),
        gState().programName, Dialogs::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    m_validating = false;
    if (answer == QMessageBox::Yes)
        return true;
    txtTelefonbuchNatelNr->setFocus();
    txtTelefonbuchNatelNr->selectAll();
    return false;
}

bool PhoneBookDialog::validateNumber(bool always)
{
    const QString number = txtTelefonbuchNatelNr->text();
    if (PhoneBook::numberError(number) < 0)
        return true;
    m_validating = true;
    if (always || !m_numberReported)
        Dialogs::show(this, gState().msg(QStringLiteral("gsMsgNotNumeric")), gState().programName,
                      Dialogs::Icon::Exclamation);
    m_numberReported = true;
    txtTelefonbuchNatelNr->setFocus();
    txtTelefonbuchNatelNr->setCursorPosition(PhoneBook::numberError(number));
    m_validating = false;
    return false;
}

bool PhoneBookDialog::validatePassword(bool always)
{
    const PhoneBook::PasswordCheck c = PhoneBook::checkPassword(txtPasswort->text());
    if (c.ok())
        return true;
    m_validating = true;
    if (always || !m_passwordReported) {
        // The number's message speaks of "*" and "+": a password has a message of its own.
        // An empty box is told only that four digits are needed.
        if (c.notNumeric && !txtPasswort->text().isEmpty())
            Dialogs::show(this,
                          gState().msgOr(QStringLiteral("gsMsgPasswortNurZiffern"),
                                         QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen.")),
                          gState().programName, Dialogs::Icon::Critical);
        if (c.wrongLength)
            Dialogs::show(this, gState().msg(QStringLiteral("gsPasswortAnzZeichen")), gState().programName,
                          Dialogs::Icon::Critical);
    }
    m_passwordReported = true;
    txtPasswort->setFocus();
    txtPasswort->selectAll();
    m_validating = false;
    return false;
}

bool PhoneBookDialog::leaveEntry()
{
    const PhoneBookEntry e = boxes();
    switch (m_book.check(e)) {
    case PhoneBook::Leave::Unchanged: return true;
    case PhoneBook::Leave::Invalid:
        if (validateNumber(false))
            validatePassword(false);
        return false;
    case PhoneBook::Leave::Incomplete: {
        m_validating = true;
        Dialogs::show(
            this,
            gState().msgOr(QStringLiteral("gsMsgTelefonbuchUnvollstaendig"),
                           QStringLiteral("Ein Eintrag braucht eine Natel-Nummer und ein vierstelliges Passwort. "
                                          "Ergänzen Sie beides oder leeren Sie den Eintrag mit \"Löschen\".")),
            gState().programName, Dialogs::Icon::Exclamation);
        QLineEdit* box = e.number.isEmpty() ? txtTelefonbuchNatelNr : txtPasswort;
        box->setFocus();
        m_validating = false;
        return false;
    }
    case PhoneBook::Leave::Written: break;
    }
    if (!acceptDuplicateNumber(e))
        return false;
    try {
        // While another program holds the database, Retry writes the entry once more.
        if (!Dialogs::retryWhileInUse(this, [&] { m_book.leave(e); }))
            return false;
    } catch (const StoreError& err) {
        Dialogs::show(this, err.message(), gState().programName, Dialogs::Icon::Critical);
        return false;
    }
    if (m_book.anythingWritten())
        gState().unsavedChanges = true;
    return true;
}

void PhoneBookDialog::cmdMoveDatabase_Click(int index)
{
    if (!leaveEntry())
        return;
    bool moved = false;
    switch (index) {
    case 0: moved = m_book.moveFirst(); break;
    case 1: moved = m_book.movePrevious(); break;
    case 2: moved = m_book.moveNext(); break;
    case 3: moved = m_book.moveLast(); break;
    default: return;
    }
    // Also after a write without a move: the boxes show what is stored now.
    Q_UNUSED(moved);
    showEntry();
}

void PhoneBookDialog::cmdDatensatzLoeschen_Click()
{
    m_book.clearCurrent();
    txtNameTelefonbuch->clear();
    txtTelefonbuchNatelNr->clear();
    txtPasswort->setText(PhoneBook::ClearedPassword);
    ChkOperator->setChecked(false);
    ChkAktivBenutzer->setChecked(false);
}

void PhoneBookDialog::cmdAenderungenSpeichern_Click()
{
    if (!leaveEntry())
        return;
    m_closing = true;
    m_book.close();
    accept();
}

void PhoneBookDialog::cmdTelefonbuchAbbrechen_Click()
{
    const auto answer
        = Dialogs::show(this, gState().msg(QStringLiteral("gsFrageOkAbbrechen")), windowTitle(),
                        Dialogs::Icon::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    m_closing = true;
    m_book.close();
    QDialog::reject();
}

void PhoneBookDialog::reject()
{
    if (m_closing) {
        QDialog::reject();
        return;
    }
    // Escape or the title bar: ask only when the current entry holds changes that would be lost.
    const bool changed = m_book.isOpen() && m_book.check(boxes()) != PhoneBook::Leave::Unchanged;
    if (changed) {
        cmdTelefonbuchAbbrechen_Click();
        return;
    }
    m_closing = true;
    m_book.close();
    QDialog::reject();
}

void PhoneBookDialog::closeEvent(QCloseEvent* e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    e->ignore();
    reject();
}

bool PhoneBookDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::FocusIn) {
        setFocusColour(box, true);
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
    } else if (box && event->type() == QEvent::FocusOut) {
        setFocusColour(box, false);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        QWidget* next = QApplication::focusWidget();
        const bool leavingWindow = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        // Closing stays possible with a wrong entry in a box; everything else checks it first.
        if (!m_validating && !m_closing && !leavingWindow && next != cmdTelefonbuchAbbrechen) {
            if (box == txtTelefonbuchNatelNr && !box->text().isEmpty())
                validateNumber(true);
            else if (box == txtPasswort && box->text() != m_book.current().password)
                validatePassword(true);
        }
    }
    if (isEnter(event)) {
        if (watched == txtNameTelefonbuch) {
            txtTelefonbuchNatelNr->setFocus();
        } else if (watched == txtTelefonbuchNatelNr) {
            if (validateNumber(true))
                txtPasswort->setFocus();
        } else if (watched == txtPasswort) {
            if (validatePassword(true))
                ChkOperator->setFocus();
        } else if (watched == ChkOperator) {
            ChkAktivBenutzer->setFocus();
        } else if (watched == ChkAktivBenutzer) {
            cmdAenderungenSpeichern->setFocus();
        } else if (watched == cmdAenderungenSpeichern) {
            cmdDatensatzLoeschen->setFocus();
        } else if (watched == cmdTelefonbuchAbbrechen) {
            cmdTelefonbuchAbbrechen_Click();
        } else {
            return QDialog::eventFilter(watched, event);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
