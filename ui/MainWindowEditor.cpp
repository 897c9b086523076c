// The main window's editing logic: recipients, SMS texts, alarm input, power-on, default states.
#include "editing/EditorTexts.h"
#include "ui/EditorBinding.h"
#include "ui/MainWindow.h"
#include "ui/PhoneBookDialog.h"

#include "ui/Dialogs.h"
#include "core/ProgramContext.h"
#include "core/Progress.h"

#include <QAction>
#include <QHash>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

// The window's objects by name, gathered in one walk. find<T>(name) gives what
// root->findChild<T*>(name) gives (the walk visits the objects in the order findChild tries
// them and keeps the first of each name), without walking the ~700 objects once per name.
class ChildIndex {
public:
    explicit ChildIndex(QObject* root) : m_root(root) { add(root); }
    template <typename T> T* find(const QString& name) const
    {
        QObject* o = m_byName.value(name);
        if (T* t = qobject_cast<T*>(o))
            return t;
        return o ? m_root->findChild<T*>(name) : nullptr; // the first of that name has another type
    }

private:
    void add(QObject* parent)
    {
        const QObjectList& kids = parent->children();
        for (QObject* c : kids) {
            const QString n = c->objectName();
            if (!n.isEmpty() && !m_byName.contains(n))
                m_byName.insert(n, c);
        }
        for (QObject* c : kids)
            add(c);
    }
    QObject* m_root;
    QHash<QString, QObject*> m_byName;
};

template <typename T> QVector<T*> array(const ChildIndex& children, const char* name, int count)
{
    QVector<T*> v(count, nullptr);
    for (int i = 0; i < count; ++i)
        v[i] = children.find<T>(QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(i));
    return v;
}
}

// ---- wiring ---------------------------------------------------------------------------------------

EditorBinding::EditorBinding(MainWindow* window) : editor(window->store), m_window(window)
{
    setObjectName(QStringLiteral("EditorWiring"));
    const ChildIndex children(window);
    ChkEmpOP = array<QCheckBox>(children, "ChkEmpOP", 128);
    ChkEmpOut = array<QCheckBox>(children, "ChkEmpOut", 64);
    ChkDefaultState = array<QCheckBox>(children, "ChkDefaultState", 8);
    ChkAlarmDispo = array<QCheckBox>(children, "ChkAlarmDispo", 16);
    ChkBenutzerAlarmDispo = array<QCheckBox>(children, "ChkBenutzerAlarmDispo", 8);
    ChkBenutzerPowerON = array<QCheckBox>(children, "ChkBenutzerPowerON", 8);
    ChkOP = array<QCheckBox>(children, "ChkOP", 8);
    cmdCheckAllEmp = array<QPushButton>(children, "cmdCheckAllEmp", 16);
    cmdClrAllEmp = array<QPushButton>(children, "cmdClrAllEmp", 16);
    cmdCheckAllEvents = children.find<QPushButton>(QStringLiteral("cmdCheckAllEvents"));
    cmdClrAllEvents = children.find<QPushButton>(QStringLiteral("cmdClrAllEvents"));
    lblEmpfaenger = array<QLabel>(children, "lblEmpfänger", 24);
    lblAdresseEmpf = array<QLabel>(children, "lblAdresseEmpf", 24);
    lblAdresseName = array<QLabel>(children, "lblAdresseName", 24);
    mnuTelefonbuch = children.find<QAction>(QStringLiteral("mnuTelefonbuch"));
    txtADVerzoegerungszeit = children.find<QLineEdit>(QStringLiteral("txtADVerzögerungszeit"));

    using K = ConfigEditor::TextBox;
    auto add = [&](const char* box, const char* counter, K kind, int count, bool indexed) {
        for (int i = 0; i < count; ++i) {
            TextBox t;
            const QString b = QString::fromUtf8(box), c = QString::fromUtf8(counter);
            t.box = children.find<QLineEdit>(indexed ? QStringLiteral("%1(%2)").arg(b).arg(i) : b);
            t.counter = children.find<QLabel>(indexed ? QStringLiteral("%1(%2)").arg(c).arg(i) : c);
            t.kind = kind;
            t.index = i;
            texts << t;
        }
    };
    add("txtEingangSF", "lblAnzZeichenSF", K::EingangSF, 8, true);
    add("txtEingangFF", "lblAnzZeichenFF", K::EingangFF, 8, true);
    add("txtAusgangSF", "lblAnzZeichenOutAK", K::AusgangSF, 4, true);
    add("txtAusgangFF", "lblAnzZeichenOutRK", K::AusgangFF, 4, true);
    add("txtAlarmDispositiv", "lblAnzZeichenAD", K::AlarmDispositiv, 1, false);
    add("txtSMSAufstarten", "lblAnzZeichenPON", K::SMSAufstarten, 1, false);
}

void EditorBinding::connectAll()
{
    auto connectBoxes = [this](const QVector<QCheckBox*>& boxes, void (EditorBinding::*handler)(int)) {
        for (int i = 0; i < boxes.size(); ++i)
            if (boxes[i])
                connect(boxes[i], &QCheckBox::toggled, this, [this, handler, i] {
                    if (!filling)
                        (this->*handler)(i);
                });
    };
    connectBoxes(ChkEmpOP, &EditorBinding::ChkEmpOP_Click);
    connectBoxes(ChkEmpOut, &EditorBinding::ChkEmpOut_Click);
    connectBoxes(ChkDefaultState, &EditorBinding::ChkDefaultState_Click);
    connectBoxes(ChkOP, &EditorBinding::ChkOP_Click);
    connectBoxes(ChkAlarmDispo, &EditorBinding::ChkAlarmDispo_Click);
    connectBoxes(ChkBenutzerAlarmDispo, &EditorBinding::ChkBenutzerAlarmDispo_Click);
    connectBoxes(ChkBenutzerPowerON, &EditorBinding::ChkBenutzerPowerON_Click);
    for (int i = 0; i < 16; ++i) {
        if (cmdCheckAllEmp[i])
            connect(cmdCheckAllEmp[i], &QPushButton::clicked, this, [this, i] { cmdCheckAllEmp_Click(i, true); });
        if (cmdClrAllEmp[i])
            connect(cmdClrAllEmp[i], &QPushButton::clicked, this, [this, i] { cmdCheckAllEmp_Click(i, false); });
    }
    if (cmdCheckAllEvents)
        connect(cmdCheckAllEvents, &QPushButton::clicked, this, [this] { cmdCheckAllEvents_Click(true); });
    if (cmdClrAllEvents)
        connect(cmdClrAllEvents, &QPushButton::clicked, this, [this] { cmdCheckAllEvents_Click(false); });
    for (QVector<QLabel*>* labels : {&lblAdresseEmpf, &lblAdresseName})
        for (QLabel* l : *labels)
            if (l)
                l->installEventFilter(this);
    for (const TextBox& t : texts) {
        if (!t.box)
            continue;
        t.box->setMaxLength(SmsText::MaxLength);
        t.box->installEventFilter(this);
        QLabel* counter = t.counter;
        connect(t.box, &QLineEdit::textChanged, this, [counter](const QString& s) {
            if (counter)
                counter->setText(QString::number(SmsText::remaining(s)));
        });
        if (counter)
            counter->setText(QString::number(SmsText::remaining(t.box->text())));
    }
    if (txtADVerzoegerungszeit) {
        txtADVerzoegerungszeit->setMaxLength(2);
        txtADVerzoegerungszeit->installEventFilter(this);
    }
    if (mnuTelefonbuch)
        connect(mnuTelefonbuch, &QAction::triggered, m_window, &MainWindow::openPhoneBook);
    // A text still being edited is checked and written before the window closes, and
    // before a toolbar command runs.
    m_window->installEventFilter(this);
    if (m_window->Toolbar1)
        for (QToolButton* b : m_window->Toolbar1->findChildren<QToolButton*>())
            b->installEventFilter(this);
}

void EditorBinding::setEnabled(QWidget* w, bool on)
{
    if (w)
        w->setEnabled(on);
}

void EditorBinding::setChecked(QCheckBox* box, bool on)
{
    if (!box)
        return;
    const bool was = filling;
    filling = true;
    box->setChecked(on);
    filling = was;
}

bool EditorBinding::guarded(const std::function<bool()>& write)
{
    try {
        // A database in use by another program: the user may try the same edit again.
        bool changed = false;
        if (!Dialogs::retryWhileInUse(m_window, [&] { changed = write(); }))
            return false;
        if (changed)
            gState().unsavedChanges = true;
        return true;
    } catch (const RowMissing& e) {
        const QString general = EditorTexts::message(QStringLiteral("gsMsgZeileFehlt"), QString());
        Dialogs::show(m_window, general.isEmpty() ? e.message() : general + QStringLiteral("\n\n") + e.message(),
                      gState().programName, Dialogs::Icon::Critical);
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
    return false;
}

// ---- fills ------------------------------------------------------------------------------------------

void EditorBinding::fillLabels()
{
    QVector<RecipientUser> users;
    try {
        users = editor.users();
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
        return;
    }
    const QString undefined = gState().msg(QStringLiteral("gsDefined_Undefined"));
    bool anyNumber = false;
    for (int i = 0; i < users.size() && i < 8; ++i) {
        const RecipientUser& u = users[i];
        anyNumber = anyNumber || u.hasNumber;
        for (int k = 0; k < 16; ++k)
            setEnabled(ChkEmpOP[16 * i + k], u.hasNumber);
        for (int k = 0; k < 8; ++k)
            setEnabled(ChkEmpOut[8 * i + k], u.hasNumber);
        setEnabled(ChkOP[i], u.hasNumber);
        setEnabled(ChkBenutzerPowerON[i], u.hasNumber);
        setEnabled(ChkBenutzerAlarmDispo[i], u.hasNumber);
        setChecked(ChkOP[i], u.isOperator);
        const int colour = (u.hasNumber && u.active) ? Blue : Grey;
        for (int g = 0; g < 3; ++g) {
            const int j = 8 * g + i;
            if (lblAdresseName[j])
                lblAdresseName[j]->setText(u.hasNumber && !u.nameIsNull ? u.name : undefined);
            if (lblAdresseEmpf[j])
                lblAdresseEmpf[j]->setText(u.hasNumber ? u.number : QString());
            setForeColour(lblAdresseName[j], colour);
            setForeColour(lblAdresseEmpf[j], colour);
        }
        LoadingProgress::advance();
    }
    for (QCheckBox* b : ChkAlarmDispo)
        setEnabled(b, anyNumber);
    setEnabled(txtADVerzoegerungszeit, anyNumber);
}

void EditorBinding::fillTexts(ConfigEditor::TextBox first, ConfigEditor::TextBox second)
{
    try {
        editor.reread(ConfigEditor::Tables::Texts);
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
        return;
    }
    for (const TextBox& t : texts) {
        if (t.kind != first && t.kind != second)
            continue;
        try {
            const QString s = editor.text(t.kind, t.index);
            if (t.box)
                t.box->setText(s);
        } catch (const StoreError& e) {
            Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
            return;
        }
        if (t.kind == first)
            LoadingProgress::advance();
    }
}

void EditorBinding::fillDelay()
{
    try {
        if (txtADVerzoegerungszeit)
            txtADVerzoegerungszeit->setText(editor.delayText());
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

void EditorBinding::fillInputMatrix()
{
    try {
        editor.reread(ConfigEditor::Tables::Inputs);
        const QVector<bool> s = editor.inputRecipients();
        for (int i = 0; i < 128; ++i)
            setChecked(ChkEmpOP[i], s[i]);
        LoadingProgress::advance(16);
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

void EditorBinding::fillOutputMatrix()
{
    try {
        editor.reread(ConfigEditor::Tables::Outputs);
        const QVector<bool> s = editor.outputRecipients();
        for (int i = 0; i < 64; ++i)
            setChecked(ChkEmpOut[i], s[i]);
        const QVector<bool> d = editor.defaultStates();
        for (int i = 0; i < 8; ++i)
            setChecked(ChkDefaultState[i], d[i]);
        LoadingProgress::advance(64);
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

void EditorBinding::fillAlarmUsers()
{
    try {
        editor.reread(ConfigEditor::Tables::Alarm);
        const QVector<bool> s = editor.alarmUsers();
        for (int i = 0; i < 8; ++i)
            setChecked(ChkBenutzerAlarmDispo[i], s[i]);
        LoadingProgress::advance();
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

void EditorBinding::fillAlarmEvents()
{
    try {
        bool sfNull = false, ffNull = false;
        editor.reread(ConfigEditor::Tables::Alarm);
        const QVector<bool> s = editor.alarmEvents(&sfNull, &ffNull);
        // A null mask leaves its eight boxes as they are.
        for (int e = 0; e < 16; ++e)
            if (!((e % 2 == 0) ? sfNull : ffNull))
                setChecked(ChkAlarmDispo[e], s[e]);
        LoadingProgress::advance(2);
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

void EditorBinding::fillPowerOn()
{
    try {
        editor.reread(ConfigEditor::Tables::PowerOn);
        const QVector<bool> s = editor.powerOnUsers();
        for (int i = 0; i < 8; ++i)
            setChecked(ChkBenutzerPowerON[i], s[i]);
        LoadingProgress::advance();
    } catch (const StoreError& e) {
        Dialogs::show(m_window, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
}

// ---- check boxes ------------------------------------------------------------------------------------
// A write that fails leaves the box showing what the store holds.

void EditorBinding::ChkEmpOP_Click(int i)
{
    if (!guarded([&] { return editor.setInputRecipient(i, ChkEmpOP[i]->isChecked()); }))
        fillInputMatrix();
}

void EditorBinding::ChkEmpOut_Click(int i)
{
    if (!guarded([&] { return editor.setOutputRecipient(i, ChkEmpOut[i]->isChecked()); }))
        fillOutputMatrix();
}

void EditorBinding::ChkDefaultState_Click(int i)
{
    if (!guarded([&] { return editor.setDefaultState(i, ChkDefaultState[i]->isChecked()); }))
        fillOutputMatrix();
}

void EditorBinding::ChkOP_Click(int i)
{
    if (!guarded([&] { return editor.setOperator(i, ChkOP[i]->isChecked()); }))
        fillLabels();
}

void EditorBinding::ChkAlarmDispo_Click(int i)
{
    if (!guarded([&] { return editor.setAlarmEvent(i, ChkAlarmDispo[i]->isChecked()); }))
        fillAlarmEvents();
}

void EditorBinding::ChkBenutzerAlarmDispo_Click(int i)
{
    if (!guarded([&] { return editor.setAlarmUser(i, ChkBenutzerAlarmDispo[i]->isChecked()); }))
        fillAlarmUsers();
}

void EditorBinding::ChkBenutzerPowerON_Click(int i)
{
    if (!guarded([&] { return editor.setPowerOnUser(i, ChkBenutzerPowerON[i]->isChecked()); }))
        fillPowerOn();
}

void EditorBinding::cmdCheckAllEmp_Click(int index, bool on)
{
    const QVector<int> boxes = ConfigEditor::columnBoxes(index);
    if (boxes.isEmpty())
        return;
    const QVector<QCheckBox*>& column = index < 8 ? ChkEmpOP : ChkEmpOut;
    // A user without number has a disabled column: it stays as it is.
    if (!column[boxes.first()] || !column[boxes.first()]->isEnabled())
        return;
    for (int b : boxes)
        if (column[b])
            column[b]->setChecked(on);
}

void EditorBinding::cmdCheckAllEvents_Click(bool on)
{
    // Checking needs enabled boxes; clearing works on disabled ones too.
    if (on && (!ChkAlarmDispo[0] || !ChkAlarmDispo[0]->isEnabled()))
        return;
    for (QCheckBox* b : ChkAlarmDispo)
        if (b)
            b->setChecked(on);
}

// ---- text boxes and the delay field ------------------------------------------------------------------

void EditorBinding::setBackground(QLineEdit* box, bool focused)
{
    box->setProperty("BackColor", focused ? Yellow : WindowBackground);
    box->setStyleSheet(focused ? QStringLiteral("QLineEdit { background-color: rgb(255,255,0); color: black; }")
                               : QString());
}

const EditorBinding::TextBox* EditorBinding::textFor(QObject* o) const
{
    for (const TextBox& t : texts)
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
        Dialogs::show(m_window, SmsText::invalidCharacterMessage(), gState().programName, Dialogs::Icon::Critical);
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
    QLineEdit* box = txtADVerzoegerungszeit;
    const Delay::Check c = Delay::check(box->text());
    if (c != Delay::Check::Ok) {
        m_validating = true;
        const ProgramContext& st = gState();
        Dialogs::show(m_window, st.msg(QStringLiteral("gsMsgVerzögerungszeit")),
                      st.msg(QStringLiteral("gsFehlerEingabe")),
                      c == Delay::Check::Empty ? Dialogs::Icon::Information : Dialogs::Icon::Exclamation);
        box->setFocus();
        setBackground(box, true);
        box->selectAll();
        m_validating = false;
        return false;
    }
    const bool ok = guarded([&] { return editor.setDelay(box->text()); });
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
    if (f == txtADVerzoegerungszeit)
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
        if (event->type() == QEvent::Close && !commitFocused()) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick && qobject_cast<QLabel*>(watched)) {
        QTimer::singleShot(0, m_window, &MainWindow::openPhoneBook);
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    const TextBox* t = textFor(watched);
    if (!box || (!t && box != txtADVerzoegerungszeit))
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
            if (t && SmsText::firstInvalid(box->text()) < 0)
                guarded([&] { return editor.setText(t->kind, t->index, box->text()); });
            else if (!t && Delay::check(box->text()) == Delay::Check::Ok)
                guarded([&] { return editor.setDelay(box->text()); });
            break;
        }
        setBackground(box, false);
        if (t)
            commitText(*t);
        else
            commitDelay(false);
        break;
    }
    case QEvent::KeyPress:
        if (isEnter(event)) {
            // Enter checks and writes at once; the box keeps the focus.
            if (t)
                commitText(*t);
            else
                commitDelay(true);
            return true;
        }
        break;
    default: break;
    }
    return false;
}

// ---- the window's procedures ----------------------------------------------------------------------------

void MainWindow::EditorWiringDeleter::operator()(EditorBinding* p) const { delete p; }

ConfigEditor& MainWindow::editor() { return editorBinding->editor; }

void MainWindow::wireEditor()
{
    editorBinding.reset(new EditorBinding(this));
    editorBinding->connectAll();
}

bool MainWindow::commitFocusedEditorBox() { return editorBinding->commitFocused(); }

void MainWindow::labelRecipients() { editorBinding->fillLabels(); }

void MainWindow::fillInputTexts()
{
    editorBinding->fillTexts(ConfigEditor::TextBox::EingangSF, ConfigEditor::TextBox::EingangFF);
}

void MainWindow::fillOutputTexts()
{
    editorBinding->fillTexts(ConfigEditor::TextBox::AusgangSF, ConfigEditor::TextBox::AusgangFF);
}

void MainWindow::fillAlarmInputText()
{
    editorBinding->fillTexts(ConfigEditor::TextBox::AlarmDispositiv, ConfigEditor::TextBox::AlarmDispositiv);
    editorBinding->fillDelay();
}

void MainWindow::fillPowerOnText()
{
    editorBinding->fillTexts(ConfigEditor::TextBox::SMSAufstarten, ConfigEditor::TextBox::SMSAufstarten);
}

void MainWindow::fillInputRecipients() { editorBinding->fillInputMatrix(); }
void MainWindow::fillOutputRecipients() { editorBinding->fillOutputMatrix(); }
void MainWindow::fillAlarmInputRecipients() { editorBinding->fillAlarmUsers(); }
void MainWindow::fillAlarmInputEvents() { editorBinding->fillAlarmEvents(); }
void MainWindow::fillPowerOnRecipients() { editorBinding->fillPowerOn(); }

void MainWindow::refreshEditor()
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

void MainWindow::openPhoneBook()
{
    if (!commitFocusedEditorBox())
        return;
    try {
        PhoneBookDialog dlg(this);
        dlg.exec();
    } catch (const StoreError& e) {
        Dialogs::show(this, e.message(), gState().programName, Dialogs::Icon::Critical);
    }
    LoadingProgress::reset();
    labelRecipients();
}
