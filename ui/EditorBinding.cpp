// The main window's editing logic: recipients, SMS m_texts, alarm input, power-on, default states.
#include "editing/ConfigModel.h"
#include "editing/EditorTexts.h"
#include "ui/EditorBinding.h"
#include "ui/InputsTab.h"
#include "ui/MainWindow.h"
#include "ui/OutputsTab.h"
#include "ui/PhoneBookDialog.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QMouseEvent>

namespace {
// Label colours as the window's BGR numbers.
constexpr int Grey = 0x808080;
constexpr int Blue = 0xFF0000;
constexpr int Yellow = 0x00FFFF;
constexpr int WindowBackground = int(0x80000005u);

QColor fromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void setForeColour(QLabel* l, int bgr)
{
    if (!l)
        return;
    l->setProperty("ForeColor", bgr);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, fromBgr(bgr));
    l->setPalette(p);
}

bool isEnter(QEvent* e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
}

// ---- wiring ---------------------------------------------------------------------------------------

EditorBinding::EditorBinding(MainWindow* window)
    : editor(window->store()), m_window(window), m_inputRecipients(128, nullptr), m_outputRecipients(64, nullptr),
      m_defaultStates(8, nullptr), m_alarmEvents(16, nullptr), m_alarmUsers(8, nullptr), m_powerOnUsers(8, nullptr),
      m_operators(8, nullptr), m_checkColumn(16, nullptr), m_clearColumn(16, nullptr), m_headings(24, nullptr),
      m_numbers(24, nullptr), m_names(24, nullptr)
{
    setObjectName(QStringLiteral("EditorWiring"));
    bindInputs(window->inputsTab());
    OutputsTab& outputs = window->outputsTab();
    if (outputs.isBuilt())
        bindOutputs(outputs);
    else
        connect(&outputs, &TabPage::built, this, [this, &outputs] {
            bindOutputs(outputs);
            // The page shows what the store holds, as the inputs page does.
            labelRecipients();
            fillOutputTexts();
            fillOutputRecipients();
        });
    // Another configuration in the store, or the texts in another language: every box again.
    connect(&window->model(), &ConfigModel::changed, this, &EditorBinding::refresh);
    connect(&window->model(), &ConfigModel::languageChanged, this, &EditorBinding::refresh);
    if (QAction* phoneBook = window->action(MainWindow::Command::PhoneBook))
        connect(phoneBook, &QAction::triggered, this, &EditorBinding::openPhoneBook);
    // A text still being edited is checked and written before the window closes, and
    // before a toolbar command runs.
    window->installEventFilter(this);
    for (QToolButton* b : window->toolbar()->findChildren<QToolButton*>())
        b->installEventFilter(this);
}

void EditorBinding::connectBoxes(const QVector<QCheckBox*>& boxes, int first, int count,
                                 void (EditorBinding::*handler)(int))
{
    for (int i = first; i < first + count; ++i)
        connect(boxes[i], &QCheckBox::toggled, this, [this, handler, i] {
            if (!m_filling)
                (this->*handler)(i);
        });
}

void EditorBinding::connectText(const TextBox& t)
{
    t.box->setMaxLength(SmsText::MaxLength);
    t.box->installEventFilter(this);
    QLabel* counter = t.counter;
    connect(t.box, &QLineEdit::textChanged, this,
            [counter](const QString& s) { counter->setText(QString::number(SmsText::remaining(s))); });
    counter->setText(QString::number(SmsText::remaining(t.box->text())));
    m_texts << t;
}

void EditorBinding::bindInputs(InputsTab& tab)
{
    using K = ConfigEditor::TextBox;
    for (int i = 0; i < 128; ++i)
        m_inputRecipients[i] = tab.recipientBox(i);
    for (int i = 0; i < 16; ++i)
        m_alarmEvents[i] = tab.alarmEventBox(i);
    for (int u = 0; u < 8; ++u) {
        m_alarmUsers[u] = tab.alarmUserBox(u);
        m_powerOnUsers[u] = tab.powerOnUserBox(u);
        m_checkColumn[u] = tab.checkColumnButton(u);
        m_clearColumn[u] = tab.clearColumnButton(u);
        for (int block = 0; block < 2; ++block) {
            const int j = 16 * block + u; // groups 0 and 2
            m_headings[j] = tab.recipientHeading(block, u);
            m_names[j] = tab.recipientName(block, u);
            m_numbers[j] = tab.recipientNumber(block, u);
        }
    }
    m_checkAllEvents = tab.checkAllEventsButton();
    m_clearAllEvents = tab.clearAllEventsButton();
    m_alarmDelay = tab.alarmDelay();

    connectBoxes(m_inputRecipients, 0, 128, &EditorBinding::inputRecipientToggled);
    connectBoxes(m_alarmEvents, 0, 16, &EditorBinding::alarmEventToggled);
    connectBoxes(m_alarmUsers, 0, 8, &EditorBinding::alarmUserToggled);
    connectBoxes(m_powerOnUsers, 0, 8, &EditorBinding::powerOnUserToggled);
    for (int i = 0; i < 8; ++i) {
        connect(m_checkColumn[i], &QPushButton::clicked, this, [this, i] { checkColumn(i, true); });
        connect(m_clearColumn[i], &QPushButton::clicked, this, [this, i] { checkColumn(i, false); });
    }
    connect(m_checkAllEvents, &QPushButton::clicked, this, [this] { checkAllEvents(true); });
    connect(m_clearAllEvents, &QPushButton::clicked, this, [this] { checkAllEvents(false); });
    for (int block = 0; block < 2; ++block)
        for (int u = 0; u < 8; ++u) {
            tab.recipientName(block, u)->installEventFilter(this);
            tab.recipientNumber(block, u)->installEventFilter(this);
        }
    for (int i = 0; i < 8; ++i)
        connectText({tab.inputText(i, false), tab.inputTextCounter(i, false), K::EingangSF, i});
    for (int i = 0; i < 8; ++i)
        connectText({tab.inputText(i, true), tab.inputTextCounter(i, true), K::EingangFF, i});
    connectText({tab.alarmText(), tab.alarmTextCounter(), K::AlarmDispositiv, 0});
    connectText({tab.powerOnText(), tab.powerOnTextCounter(), K::SMSAufstarten, 0});
    m_alarmDelay->installEventFilter(this);
    // The arrows and the wheel store each step; a typed number is checked on leaving or Enter.
    connect(m_alarmDelay, &QSpinBox::valueChanged, this, [this](int minutes) {
        if (m_filling || m_validating || minutes < 1 || typedDelay())
            return;
        if (guarded([&] { return editor.setDelay(QString::number(minutes)); }))
            showDelay(minutes);
    });
}

void EditorBinding::bindOutputs(OutputsTab& tab)
{
    using K = ConfigEditor::TextBox;
    for (int i = 0; i < 64; ++i)
        m_outputRecipients[i] = tab.recipientBox(i);
    for (int i = 0; i < 8; ++i) {
        m_defaultStates[i] = tab.defaultStateBox(i);
        m_operators[i] = tab.operatorBox(i);
        m_checkColumn[8 + i] = tab.checkColumnButton(i);
        m_clearColumn[8 + i] = tab.clearColumnButton(i);
        m_headings[8 + i] = tab.recipientHeading(i);
        m_names[8 + i] = tab.recipientName(i);
        m_numbers[8 + i] = tab.recipientNumber(i);
    }
    connectBoxes(m_outputRecipients, 0, 64, &EditorBinding::outputRecipientToggled);
    connectBoxes(m_defaultStates, 0, 8, &EditorBinding::defaultStateToggled);
    connectBoxes(m_operators, 0, 8, &EditorBinding::operatorToggled);
    for (int i = 8; i < 16; ++i) {
        connect(m_checkColumn[i], &QPushButton::clicked, this, [this, i] { checkColumn(i, true); });
        connect(m_clearColumn[i], &QPushButton::clicked, this, [this, i] { checkColumn(i, false); });
    }
    connect(tab.allDefaultsOnButton(), &QPushButton::clicked, this, &EditorBinding::setDefaultStatesOn);
    connect(tab.allDefaultsOffButton(), &QPushButton::clicked, this, &EditorBinding::setDefaultStatesOff);
    for (int u = 0; u < 8; ++u) {
        m_names[8 + u]->installEventFilter(this);
        m_numbers[8 + u]->installEventFilter(this);
    }
    // Relay m_texts before input m_texts in the list does not matter: the list is searched by box.
    for (int i = 0; i < 4; ++i)
        connectText({tab.relayText(i, false), tab.relayTextCounter(i, false), K::AusgangSF, i});
    for (int i = 0; i < 4; ++i)
        connectText({tab.relayText(i, true), tab.relayTextCounter(i, true), K::AusgangFF, i});
}

namespace {
void setEnabled(QWidget* w, bool on)
{
    if (w)
        w->setEnabled(on);
}
} // namespace

void EditorBinding::setChecked(QCheckBox* box, bool on)
{
    if (!box)
        return;
    const bool was = m_filling;
    m_filling = true;
    box->setChecked(on);
    m_filling = was;
}

bool EditorBinding::storeStillCurrent()
{
    ConfigStore& store = m_window->store();
    if (m_askingAboutStore || !store.changedElsewhere())
        return true;
    m_askingAboutStore = true;
    const ProgramContext& st = m_window->context();
    const auto answer = Dialogs::show(
        m_window,
        st.msgOr(QStringLiteral("gsMsgDatenbankExternGeändert"),
                 QStringLiteral("Die Konfiguration in der Datenbank wurde von einem anderen Programm geändert. Soll "
                                "sie neu gelesen und angezeigt werden? (Nein: mit der angezeigten Konfiguration "
                                "weiterarbeiten.)")),
        st.programName, Dialogs::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    m_askingAboutStore = false;
    if (answer != QMessageBox::Yes) {
        store.acceptChanges();
        return true;
    }
    try {
        store.requeryAll();
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, st, e);
    }
    m_window->model().replaced();
    return false;
}

bool EditorBinding::guarded(const std::function<bool()>& write)
{
    if (!storeStillCurrent())
        return false;
    try {
        // A database in use by another program: the user may try the same edit again.
        bool changed = false;
        if (!Dialogs::retryWhileInUse(m_window->context(), m_window, [&] { changed = write(); }))
            return false;
        if (changed)
            m_window->model().setModified(true);
        return true;
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
    return false;
}

// ---- fills ------------------------------------------------------------------------------------------

void EditorBinding::labelRecipients()
{
    QVector<RecipientUser> users;
    try {
        users = editor.users();
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return;
    }
    const QString undefined = m_window->context().msg(QStringLiteral("gsDefined_Undefined"));
    bool anyNumber = false;
    for (int i = 0; i < users.size() && i < 8; ++i) {
        const RecipientUser& u = users[i];
        anyNumber = anyNumber || u.hasNumber;
        for (int k = 0; k < 16; ++k)
            setEnabled(m_inputRecipients[16 * i + k], u.hasNumber);
        for (int k = 0; k < 8; ++k)
            setEnabled(m_outputRecipients[8 * i + k], u.hasNumber);
        setEnabled(m_operators[i], u.hasNumber);
        setEnabled(m_powerOnUsers[i], u.hasNumber);
        setEnabled(m_alarmUsers[i], u.hasNumber);
        setChecked(m_operators[i], u.isOperator);
        const int colour = (u.hasNumber && u.active) ? Blue : Grey;
        for (int g = 0; g < 3; ++g) {
            const int j = 8 * g + i;
            if (m_names[j])
                m_names[j]->setText(u.hasNumber && !u.nameIsNull ? u.name : undefined);
            if (m_numbers[j])
                m_numbers[j]->setText(u.hasNumber ? u.number : QString());
            setForeColour(m_names[j], colour);
            setForeColour(m_numbers[j], colour);
        }
        LoadingProgress::advance();
    }
    for (QCheckBox* b : m_alarmEvents)
        setEnabled(b, anyNumber);
    setEnabled(m_alarmDelay, anyNumber);
}

void EditorBinding::fillTexts(ConfigEditor::TextBox first, ConfigEditor::TextBox second)
{
    try {
        editor.reread(ConfigEditor::Tables::Texts);
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
        return;
    }
    for (const TextBox& t : m_texts) {
        if (t.kind != first && t.kind != second)
            continue;
        try {
            const QString s = editor.text(t.kind, t.index);
            if (t.box)
                t.box->setText(s);
        } catch (const StoreError& e) {
            Dialogs::showStoreError(m_window, m_window->context(), e);
            return;
        }
        if (t.kind == first)
            LoadingProgress::advance();
    }
}

void EditorBinding::fillDelay()
{
    try {
        if (m_alarmDelay) {
            int minutes = 0;
            const bool valid = Delay::check(editor.delayText(), &minutes) == Delay::Check::Ok;
            showDelay(valid ? minutes : 0);
        }
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

void EditorBinding::fillInputRecipients()
{
    try {
        editor.reread(ConfigEditor::Tables::Inputs);
        const QVector<bool> s = editor.inputRecipients();
        for (int i = 0; i < 128; ++i)
            setChecked(m_inputRecipients[i], s[i]);
        LoadingProgress::advance(16);
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

void EditorBinding::fillOutputRecipients()
{
    try {
        editor.reread(ConfigEditor::Tables::Outputs);
        const QVector<bool> s = editor.outputRecipients();
        for (int i = 0; i < 64; ++i)
            setChecked(m_outputRecipients[i], s[i]);
        const QVector<bool> d = editor.defaultStates();
        for (int i = 0; i < 8; ++i)
            setChecked(m_defaultStates[i], d[i]);
        LoadingProgress::advance(64);
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

void EditorBinding::fillAlarmInputRecipients()
{
    try {
        editor.reread(ConfigEditor::Tables::Alarm);
        const QVector<bool> s = editor.alarmUsers();
        for (int i = 0; i < 8; ++i)
            setChecked(m_alarmUsers[i], s[i]);
        LoadingProgress::advance();
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

void EditorBinding::fillAlarmInputEvents()
{
    try {
        bool sfNull = false, ffNull = false;
        editor.reread(ConfigEditor::Tables::Alarm);
        const QVector<bool> s = editor.alarmEvents(&sfNull, &ffNull);
        // A null mask leaves its eight boxes as they are.
        for (int e = 0; e < 16; ++e)
            if (!((e % 2 == 0) ? sfNull : ffNull))
                setChecked(m_alarmEvents[e], s[e]);
        LoadingProgress::advance(2);
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

void EditorBinding::fillPowerOnRecipients()
{
    try {
        editor.reread(ConfigEditor::Tables::PowerOn);
        const QVector<bool> s = editor.powerOnUsers();
        for (int i = 0; i < 8; ++i)
            setChecked(m_powerOnUsers[i], s[i]);
        LoadingProgress::advance();
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
}

// ---- check boxes ------------------------------------------------------------------------------------
// A write that fails leaves the box showing what the store holds.

void EditorBinding::inputRecipientToggled(int i)
{
    if (!guarded([&] { return editor.setInputRecipient(i, m_inputRecipients[i]->isChecked()); }))
        fillInputRecipients();
}

void EditorBinding::outputRecipientToggled(int i)
{
    if (!guarded([&] { return editor.setOutputRecipient(i, m_outputRecipients[i]->isChecked()); }))
        fillOutputRecipients();
}

void EditorBinding::defaultStateToggled(int i)
{
    if (!guarded([&] { return editor.setDefaultState(i, m_defaultStates[i]->isChecked()); }))
        fillOutputRecipients();
}

void EditorBinding::operatorToggled(int i)
{
    if (!guarded([&] { return editor.setOperator(i, m_operators[i]->isChecked()); }))
        labelRecipients();
}

void EditorBinding::alarmEventToggled(int i)
{
    if (!guarded([&] { return editor.setAlarmEvent(i, m_alarmEvents[i]->isChecked()); }))
        fillAlarmInputEvents();
}

void EditorBinding::alarmUserToggled(int i)
{
    if (!guarded([&] { return editor.setAlarmUser(i, m_alarmUsers[i]->isChecked()); }))
        fillAlarmInputRecipients();
}

void EditorBinding::powerOnUserToggled(int i)
{
    if (!guarded([&] { return editor.setPowerOnUser(i, m_powerOnUsers[i]->isChecked()); }))
        fillPowerOnRecipients();
}

void EditorBinding::checkColumn(int index, bool on)
{
    const QVector<int> boxes = ConfigEditor::columnBoxes(index);
    if (boxes.isEmpty())
        return;
    const QVector<QCheckBox*>& column = index < 8 ? m_inputRecipients : m_outputRecipients;
    // A user without number has a disabled column: it stays as it is.
    if (!column[boxes.first()] || !column[boxes.first()]->isEnabled())
        return;
    for (int b : boxes)
        if (column[b])
            column[b]->setChecked(on);
}

void EditorBinding::checkAllEvents(bool on)
{
    // Checking needs enabled boxes; clearing works on disabled ones too.
    if (on && (!m_alarmEvents[0] || !m_alarmEvents[0]->isEnabled()))
        return;
    for (QCheckBox* b : m_alarmEvents)
        if (b)
            b->setChecked(on);
}

// ---- text boxes and the delay field ------------------------------------------------------------------

void EditorBinding::setBackground(QWidget* box, bool focused)
{
    box->setProperty("BackColor", focused ? Yellow : WindowBackground);
    box->setStyleSheet(focused
                           ? QStringLiteral("QLineEdit, QSpinBox { background-color: rgb(255,255,0); color: black; }")
                           : QString());
}

void EditorBinding::showDelay(int minutes)
{
    // Once a delay of 1..99 is stored, the field cannot step back to "none".
    const bool was = m_filling;
    m_filling = true;
    m_alarmDelay->setMinimum(minutes >= 1 ? 1 : 0);
    // The empty look stands for "none" only: with a delay stored, 1 is shown as 1.
    m_alarmDelay->setSpecialValueText(minutes >= 1 ? QString() : QStringLiteral(" "));
    m_alarmDelay->setValue(minutes);
    m_filling = was;
}

bool EditorBinding::typedDelay() const
{
    const auto* line = m_alarmDelay ? m_alarmDelay->findChild<QLineEdit*>() : nullptr;
    return line && line->isModified();
}

const EditorBinding::TextBox* EditorBinding::textFor(QObject* o) const
{
    for (const TextBox& t : m_texts)
        if (t.box == o)
            return &t;
    return nullptr;
}

bool EditorBinding::commitText(const TextBox& t)
{
    const QString s = t.box->text();
    const int bad = SmsText::firstInvalid(s);
    if (bad >= 0) {
        m_validating = true;
        Dialogs::show(m_window, SmsText::invalidCharacterMessage(m_window->context()), m_window->context().programName,
                      Dialogs::Icon::Critical);
        t.box->setFocus();
        t.box->setCursorPosition(bad);
        setBackground(t.box, true);
        m_validating = false;
        return false;
    }
    return guarded([&] { return editor.setText(t.kind, t.index, s); });
}

bool EditorBinding::commitDelay(bool keepFocus)
{
    QSpinBox* box = m_alarmDelay;
    const QString typed = box->cleanText().trimmed();
    int minutes = 0;
    const Delay::Check c = Delay::check(typed, &minutes);
    if (c != Delay::Check::Ok) {
        // A delay outside 1..99 in the configuration stays as it is until one is typed or chosen.
        if (box->value() == 0 && typed.isEmpty() && !typedDelay())
            return true;
        m_validating = true;
        const ProgramContext& st = m_window->context();
        Dialogs::show(m_window, st.msg(QStringLiteral("gsMsgVerzögerungszeit")),
                      st.msg(QStringLiteral("gsFehlerEingabe")),
                      c == Delay::Check::Empty ? Dialogs::Icon::Information : Dialogs::Icon::Exclamation);
        box->setFocus();
        setBackground(box, true);
        box->selectAll();
        m_validating = false;
        return false;
    }
    const bool ok = guarded([&] { return editor.setDelay(typed); });
    if (ok) {
        if (auto* line = box->findChild<QLineEdit*>())
            line->setModified(false);
        showDelay(minutes);
    }
    if (ok && keepFocus)
        setBackground(box, false);
    return ok;
}

bool EditorBinding::commitFocused()
{
    QWidget* f = QApplication::focusWidget();
    if (!f || !f->isEnabled())
        return true;
    if (const TextBox* t = textFor(f))
        return commitText(*t);
    if (f == m_alarmDelay && f->hasFocus())
        return commitDelay(true);
    return true;
}

bool EditorBinding::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<QToolButton*>(watched)) {
        // Toolbar buttons take no focus: the text being edited is checked and written first.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && !commitFocused())
            return true;
        return false;
    }
    if (watched == m_window) {
        if (event->type() == QEvent::WindowActivate)
            QTimer::singleShot(0, this, [this] { storeStillCurrent(); });
        if (event->type() == QEvent::Close && !commitFocused()) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QLabel*>(watched)) {
        QTimer::singleShot(0, this, &EditorBinding::openPhoneBook);
        return true;
    }
    if (watched == m_alarmDelay)
        return delayEvent(event);
    auto* box = qobject_cast<QLineEdit*>(watched);
    const TextBox* t = textFor(watched);
    if (!box || !t)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        setBackground(box, true);
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus()) {
                box->setCursorPosition(0);
                box->selectAll();
            }
        });
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_validating)
            break;
        if (reason == Qt::ActiveWindowFocusReason)
            break; // another program took the focus: keep editing
        if (reason == Qt::PopupFocusReason) {
            // A menu opens: its command may save or send, so an acceptable text is written
            // now; the box stays in editing (the focus comes back when the menu closes).
            if (SmsText::firstInvalid(box->text()) < 0)
                guarded([&] { return editor.setText(t->kind, t->index, box->text()); });
            break;
        }
        setBackground(box, false);
        commitText(*t);
        break;
    }
    case QEvent::KeyPress:
        if (isEnter(event)) {
            // Enter checks and writes at once; the box keeps the focus.
            commitText(*t);
            return true;
        }
        break;
    default: break;
    }
    return false;
}

// The delay field as the text boxes: yellow while edited, checked and written on leaving and
// on Enter, written (if acceptable) when a menu opens.
bool EditorBinding::delayEvent(QEvent* event)
{
    QSpinBox* box = m_alarmDelay;
    switch (event->type()) {
    case QEvent::FocusIn:
        setBackground(box, true);
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_validating || reason == Qt::ActiveWindowFocusReason)
            break;
        if (reason == Qt::PopupFocusReason) {
            if (Delay::check(box->cleanText().trimmed()) == Delay::Check::Ok)
                guarded([&] { return editor.setDelay(box->cleanText().trimmed()); });
            break;
        }
        setBackground(box, false);
        commitDelay(false);
        break;
    }
    case QEvent::KeyPress:
        if (isEnter(event)) {
            commitDelay(true);
            return true;
        }
        break;
    default: break;
    }
    return false;
}

// ---- the window's procedures ----------------------------------------------------------------------------

void EditorBinding::fillInputTexts() { fillTexts(ConfigEditor::TextBox::EingangSF, ConfigEditor::TextBox::EingangFF); }

void EditorBinding::fillOutputTexts() { fillTexts(ConfigEditor::TextBox::AusgangSF, ConfigEditor::TextBox::AusgangFF); }

void EditorBinding::fillAlarmInputText()
{
    fillTexts(ConfigEditor::TextBox::AlarmDispositiv, ConfigEditor::TextBox::AlarmDispositiv);
    fillDelay();
}

void EditorBinding::fillPowerOnText()
{
    fillTexts(ConfigEditor::TextBox::SMSAufstarten, ConfigEditor::TextBox::SMSAufstarten);
}

void EditorBinding::refresh()
{
    labelRecipients();
    fillInputTexts();
    fillOutputTexts();
    fillAlarmInputText();
    fillPowerOnText();
    fillInputRecipients();
    fillOutputRecipients();
    fillAlarmInputRecipients();
    fillAlarmInputEvents();
    fillPowerOnRecipients();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void EditorBinding::openPhoneBook()
{
    if (!commitFocused())
        return;
    try {
        PhoneBookDialog dlg(m_window->context(), m_window);
        // An inactive user no longer receives the alarm input (the box writes it).
        connect(&dlg, &PhoneBookDialog::userDeactivated, this, [this](int index) {
            if (index >= 0 && index < m_alarmUsers.size() && m_alarmUsers[index])
                m_alarmUsers[index]->setChecked(false);
        });
        connect(&dlg, &PhoneBookDialog::configurationEdited, &m_window->model(),
                [this] { m_window->model().setModified(true); });
        dlg.exec();
    } catch (const StoreError& e) {
        Dialogs::showStoreError(m_window, m_window->context(), e);
    }
    LoadingProgress::reset();
    labelRecipients();
}

namespace {
void setBox(QCheckBox* box, bool checked)
{
    if (!box || box->isChecked() == checked)
        return;
    if (box->isEnabled())
        box->click(); // runs the box's own click handling, as a user's click would
    else
        box->setChecked(checked);
}
} // namespace

void EditorBinding::setDefaultStatesOn()
{
    m_window->outputsTab().ensureBuilt();
    for (int i = 0; i < 8; ++i)
        setBox(m_defaultStates[i], i % 2 == 0);
}

void EditorBinding::setDefaultStatesOff()
{
    m_window->outputsTab().ensureBuilt();
    for (QCheckBox* b : m_defaultStates)
        setBox(b, false);
}
