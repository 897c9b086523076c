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

PhoneBookDialog::PhoneBookDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_book(context)
{
    setObjectName(QStringLiteral("frmTelefonbuch"));
    setWindowTitle(QStringLiteral("Telefonbuch"));
    setModal(true);

    userLabel = new QLabel(this);
    userLabel->setObjectName(QStringLiteral("lblBenutzer"));
    userLabel->setAlignment(Qt::AlignCenter);
    userLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Utilisateur 8/8")) + 16);

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
    nameLabel = makeLabel("lblName", QStringLiteral("&Name"));
    numberLabel = makeLabel("lblNatelNr", QStringLiteral("Natel &Nr."));
    passwordLabel = makeLabel("lblPasswort", QStringLiteral("&Passwort"));
    nameBox = makeBox("txtNameTelefonbuch");
    numberBox = makeBox("txtTelefonbuchNatelNr");
    passwordBox = makeBox("txtPasswort");
    limitLength(nameBox, PhoneBook::NameLength, nameLabel);
    limitLength(numberBox, PhoneBook::NumberLength, numberLabel);
    limitLength(passwordBox, PhoneBook::PasswordLength, passwordLabel);
    connect(numberBox, &QLineEdit::textChanged, this, [this] { m_numberReported = false; });
    connect(passwordBox, &QLineEdit::textChanged, this, [this] { m_passwordReported = false; });
    nameBox->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
    nameLabel->setBuddy(nameBox);
    numberLabel->setBuddy(numberBox);
    passwordLabel->setBuddy(passwordBox);

    operatorBox = new QCheckBox(QStringLiteral("&Operator"), this);
    operatorBox->setObjectName(QStringLiteral("ChkOperator"));
    activeBox = new QCheckBox(QStringLiteral("&Aktiv"), this);
    activeBox->setObjectName(QStringLiteral("ChkAktivBenutzer"));
    operatorBox->installEventFilter(this);
    activeBox->installEventFilter(this);

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
        connect(b, &QPushButton::clicked, this, [this, i] { moveTo(i); });
        auto* sc = new QShortcut(keys[i], this);
        connect(sc, &QShortcut::activated, this, [this, i] { moveTo(i); });
        moveButtons[i] = b;
    }

    auto makeButton = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        b->installEventFilter(this);
        return b;
    };
    clearButton = makeButton("cmdDatensatzLöschen", QStringLiteral("&Löschen"));
    saveButton = makeButton("cmdAenderungenSpeichern", QStringLiteral("&Speichern"));
    closeButton = makeButton("cmdTelefonbuchAbbrechen", QStringLiteral("S&chliessen"));
    connect(clearButton, &QPushButton::clicked, this, &PhoneBookDialog::clearEntry);
    connect(saveButton, &QPushButton::clicked, this, &PhoneBookDialog::saveEntry);
    connect(closeButton, &QPushButton::clicked, this, &PhoneBookDialog::closeBook);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(nameBox, 0, 1, 1, 2);
    fields->addWidget(numberLabel, 1, 0);
    fields->addWidget(numberBox, 1, 1, 1, 2);
    fields->addWidget(passwordLabel, 2, 0);
    fields->addWidget(passwordBox, 2, 1);
    fields->addWidget(operatorBox, 3, 1);
    fields->addWidget(activeBox, 4, 1);
    fields->setColumnStretch(2, 1);

    auto* nav = new QHBoxLayout;
    nav->addStretch();
    nav->addWidget(moveButtons[0]);
    nav->addWidget(moveButtons[1]);
    nav->addWidget(userLabel);
    nav->addWidget(moveButtons[2]);
    nav->addWidget(moveButtons[3]);
    nav->addStretch();

    auto* commands = new QHBoxLayout;
    commands->addWidget(clearButton);
    commands->addStretch();
    commands->addWidget(saveButton);
    commands->addWidget(closeButton);

    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    top->addSpacing(6);
    top->addLayout(nav);
    top->addSpacing(6);
    top->addLayout(commands);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    // Tab goes down the fields, then along the rows of buttons from left to right as they stand.
    setTabOrder(nameBox, numberBox);
    setTabOrder(numberBox, passwordBox);
    setTabOrder(passwordBox, operatorBox);
    setTabOrder(operatorBox, activeBox);
    setTabOrder(activeBox, moveButtons[0]);
    for (int i = 0; i < 3; ++i)
        setTabOrder(moveButtons[i], moveButtons[i + 1]);
    setTabOrder(moveButtons[3], clearButton);
    setTabOrder(clearButton, saveButton);
    setTabOrder(saveButton, closeButton);

    setHelp(nameBox, HelpName);
    setHelp(numberBox, HelpName);
    setHelp(passwordBox, HelpPassword);
    setHelp(activeBox, HelpActive);
    setHelp(operatorBox, HelpOperator);
    for (auto* b : moveButtons)
        setHelp(b, HelpMove);
    for (auto* b : {clearButton, saveButton, closeButton})
        setHelp(b, HelpCommands);

    m_book.onUserInactive = [this](int index) { emit userDeactivated(index); };
    m_book.open(m_context.databasePath);
    loadTexts();
    showEntry();
    nameBox->setFocus();
}

PhoneBookDialog::~PhoneBookDialog() = default;

void PhoneBookDialog::loadTexts()
{
    const QStringList captions
        = EditorTexts::run(m_context, QStringLiteral("Beschriftung"), QStringLiteral("lblName"), 8);
    if (captions.size() == 8) {
        QWidget* targets[7] = {nameLabel, numberLabel, passwordLabel, activeBox, saveButton, clearButton, closeButton};
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
    const QStringList op = EditorTexts::run(m_context, QStringLiteral("Beschriftung"), QStringLiteral("ChkOP"), 1);
    if (!op.isEmpty() && !op.first().isEmpty())
        operatorBox->setText(op.first().contains(QLatin1Char('&')) ? op.first() : QStringLiteral("&") + op.first());
    const QStringList tips
        = EditorTexts::run(m_context, QStringLiteral("ToolTipText"), QStringLiteral("txtNameTelefonbuch"), 11);
    if (tips.size() == 11) {
        QWidget* targets[11] = {nameBox,        numberBox, operatorBox, moveButtons[0], moveButtons[1], moveButtons[2],
                                moveButtons[3], activeBox, saveButton,  clearButton,    closeButton};
        for (int i = 0; i < 11; ++i)
            targets[i]->setToolTip(tips[i]);
    }
    const QStringList pw
        = EditorTexts::run(m_context, QStringLiteral("ToolTipText"), QStringLiteral("txtUserPasswort"), 1);
    if (!pw.isEmpty())
        passwordBox->setToolTip(pw.first());
}

void PhoneBookDialog::showEntry()
{
    userLabel->setText(QStringLiteral("%1 %2/%3")
                           .arg(m_context.msg(QStringLiteral("gsBenutzer")))
                           .arg(m_book.position())
                           .arg(m_book.count()));
    const PhoneBookEntry e = m_book.current();
    nameBox->setText(e.name);
    numberBox->setText(e.number);
    passwordBox->setText(e.password);
    operatorBox->setChecked(e.isOperator);
    activeBox->setChecked(e.active);
}

PhoneBookEntry PhoneBookDialog::boxes() const
{
    PhoneBookEntry e;
    e.name = nameBox->text();
    e.number = numberBox->text();
    e.password = passwordBox->text();
    e.isOperator = operatorBox->isChecked();
    e.active = activeBox->isChecked();
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
    const QString text = m_context
                             .msgOr(QStringLiteral("gsMsgEingabeGekuerzt"),
                                    QStringLiteral("Das Feld \"%1\" nimmt höchstens %2 Zeichen auf. "
                                                   "Nicht übernommen wurde: \"%3\""))
                             .arg(field, QString::number(limit), cut);
    // Told once the box has finished its edit, not from inside it.
    QTimer::singleShot(0, this, [this, text] {
        m_validating = true;
        Dialogs::show(this, text, m_context.programName, Dialogs::Icon::Information);
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
        m_context
            .msgOr(QStringLiteral("gsMsgNatelNrDoppelt"),
                   QStringLiteral("Benutzer %1 hat dieselbe Natel-Nummer %2. Das Gerät schickt dann jede SMS zweimal "
                                  "an diese Nummer.\nSoll die Nummer trotzdem übernommen werden?"))
            .arg(other)
            .arg(e.number),
        m_context.programName, Dialogs::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    m_validating = false;
    if (answer == QMessageBox::Yes)
        return true;
    numberBox->setFocus();
    numberBox->selectAll();
    return false;
}

bool PhoneBookDialog::validateNumber(bool always)
{
    const QString number = numberBox->text();
    if (PhoneBook::numberError(number) < 0)
        return true;
    m_validating = true;
    if (always || !m_numberReported)
        Dialogs::show(this, m_context.msg(QStringLiteral("gsMsgNotNumeric")), m_context.programName,
                      Dialogs::Icon::Exclamation);
    m_numberReported = true;
    numberBox->setFocus();
    numberBox->setCursorPosition(PhoneBook::numberError(number));
    m_validating = false;
    return false;
}

bool PhoneBookDialog::validatePassword(bool always)
{
    const PhoneBook::PasswordCheck c = PhoneBook::checkPassword(passwordBox->text());
    if (c.ok())
        return true;
    m_validating = true;
    if (always || !m_passwordReported) {
        // The number's message speaks of "*" and "+": a password has a message of its own.
        // An empty box is told only that four digits are needed.
        if (c.notNumeric && !passwordBox->text().isEmpty())
            Dialogs::show(this,
                          m_context.msgOr(QStringLiteral("gsMsgPasswortNurZiffern"),
                                          QStringLiteral("Das Passwort darf nur aus Ziffern (0-9) bestehen.")),
                          m_context.programName, Dialogs::Icon::Critical);
        if (c.wrongLength)
            Dialogs::show(this, m_context.msg(QStringLiteral("gsPasswortAnzZeichen")), m_context.programName,
                          Dialogs::Icon::Critical);
    }
    m_passwordReported = true;
    passwordBox->setFocus();
    passwordBox->selectAll();
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
            m_context.msgOr(QStringLiteral("gsMsgTelefonbuchUnvollstaendig"),
                            QStringLiteral("Ein Eintrag braucht eine Natel-Nummer und ein vierstelliges Passwort. "
                                           "Ergänzen Sie beides oder leeren Sie den Eintrag mit \"Löschen\".")),
            m_context.programName, Dialogs::Icon::Exclamation);
        QLineEdit* box = e.number.isEmpty() ? numberBox : passwordBox;
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
        if (!Dialogs::retryWhileInUse(m_context, this, [&] { m_book.leave(e); }))
            return false;
    } catch (const StoreError& err) {
        Dialogs::showStoreError(this, m_context, err);
        return false;
    }
    if (m_book.anythingWritten()) {
        m_context.unsavedChanges = true;
        emit configurationEdited();
    }
    return true;
}

void PhoneBookDialog::moveTo(int index)
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

void PhoneBookDialog::clearEntry()
{
    m_book.clearCurrent();
    nameBox->clear();
    numberBox->clear();
    passwordBox->setText(PhoneBook::ClearedPassword);
    operatorBox->setChecked(false);
    activeBox->setChecked(false);
}

void PhoneBookDialog::saveEntry()
{
    if (!leaveEntry())
        return;
    m_closing = true;
    m_book.close();
    accept();
}

void PhoneBookDialog::closeBook()
{
    // Only an entry that differs from what is stored has changes to lose.
    if (!m_book.isOpen() || m_book.check(boxes()) == PhoneBook::Leave::Unchanged) {
        m_closing = true;
        m_book.close();
        QDialog::reject();
        return;
    }
    const auto answer
        = Dialogs::show(this, m_context.msg(QStringLiteral("gsFrageOkAbbrechen")), windowTitle(),
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
    closeBook();
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
        if (!m_validating && !m_closing && !leavingWindow && next != closeButton) {
            if (box == numberBox && !box->text().isEmpty())
                validateNumber(true);
            else if (box == passwordBox && box->text() != m_book.current().password)
                validatePassword(true);
        }
    }
    if (isEnter(event)) {
        if (watched == nameBox) {
            numberBox->setFocus();
        } else if (watched == numberBox) {
            if (validateNumber(true))
                passwordBox->setFocus();
        } else if (watched == passwordBox) {
            if (validatePassword(true))
                operatorBox->setFocus();
        } else if (watched == operatorBox) {
            activeBox->setFocus();
        } else if (watched == activeBox) {
            saveButton->setFocus();
        } else if (watched == saveButton) {
            clearButton->setFocus();
        } else if (watched == closeButton) {
            closeBook();
        } else {
            return QDialog::eventFilter(watched, event);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
