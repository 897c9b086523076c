#pragma once
// The editor of the main window: connects the widgets of the inputs and outputs tabs (given
// by the tabs' accessors) to the editing rules of ConfigEditor. Every change of a box is
// written at once, text boxes are checked and written when they are left, and the fill
// routines fill the widgets from the store. The outputs tab is bound when it is built.
#include "editing/ConfigEditor.h"

#include <QObject>
#include <QVector>

class InputsTab;
class MainWindow;
class OutputsTab;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QPushButton;

class EditorBinding : public QObject {
    Q_OBJECT
public:
    explicit EditorBinding(MainWindow* window);

    ConfigEditor editor;

    // Fill routines: the widgets from the store.
    void labelRecipients();
    void fillInputTexts();
    void fillOutputTexts();
    void fillAlarmInputText();
    void fillPowerOnText();
    void fillInputRecipients();
    void fillOutputRecipients();
    void fillAlarmInputRecipients();
    void fillAlarmInputEvents();
    void fillPowerOnRecipients();
    // All of them, after the store changed as a whole (profile loaded, configuration read).
    void refresh();
    // Whether the window still shows what the store holds. When another program changed the
    // store meanwhile (e.g. smsctl profile load), asks whether to read it again: Yes reads
    // the store again, shows it and returns false (the pending edit or command is dropped);
    // No keeps working with the window as it is. Run before every edit is written, before a
    // profile is saved or sent, and when the window becomes active.
    bool storeStillCurrent();

    // Opens the phone book modally, then relabels the recipient columns.
    void openPhoneBook();
    // Checks and writes the text box that has the focus (before a save, a send or closing);
    // false when its text was refused and the focus stays there.
    bool commitFocused();

    // Handlers of the boxes (index as in the tabs' accessors).
    void inputRecipientToggled(int index);
    void outputRecipientToggled(int index);
    void defaultStateToggled(int index);
    void operatorToggled(int user);
    void alarmEventToggled(int index);
    void alarmUserToggled(int user);
    void powerOnUserToggled(int user);
    // Column 0..7 of the inputs matrix, 8..15 of the outputs matrix.
    void checkColumn(int column, bool on);
    void checkAllEvents(bool on);
    // The default-state buttons: all relays on at power-on (the "on" rows), or all off.
    void setDefaultStatesOn();
    void setDefaultStatesOff();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextBox {
        QLineEdit* box = nullptr;
        QLabel* counter = nullptr;
        ConfigEditor::TextBox kind;
        int index = 0;
    };

    void bindInputs(InputsTab& tab);
    void bindOutputs(OutputsTab& tab);
    void connectBoxes(const QVector<QCheckBox*>& boxes, int first, int count, void (EditorBinding::*handler)(int));
    void connectText(const TextBox& text);
    void fillTexts(ConfigEditor::TextBox first, ConfigEditor::TextBox second);
    void fillDelay();
    // Checks and writes a text box; false when it refused (message shown, focus kept).
    bool commitText(const TextBox& t);
    bool commitDelay(bool keepFocus);
    void setChecked(QCheckBox* box, bool on); // without writing back
    // Runs a store write; shows store errors and returns whether the write succeeded.
    bool guarded(const std::function<bool()>& write);
    bool m_askingAboutStore = false;
    void setBackground(QWidget* box, bool focused);
    bool delayEvent(QEvent* event);
    // Whether the delay field holds digits typed since it was last written.
    bool typedDelay() const;
    // Shows a stored delay (0: none in 1..99) without writing it again.
    void showDelay(int minutes);
    const TextBox* textFor(QObject* o) const;

    MainWindow* m_window;
    // Widgets; those of a tab not yet built stay null and are skipped.
    QVector<QCheckBox*> m_inputRecipients, m_outputRecipients, m_defaultStates, m_alarmEvents, m_alarmUsers,
        m_powerOnUsers, m_operators;
    QVector<QPushButton*> m_checkColumn, m_clearColumn; // 0..7 inputs, 8..15 outputs
    QPushButton* m_checkAllEvents = nullptr;
    QPushButton* m_clearAllEvents = nullptr;
    // Recipient headings, 8 * group + user (group 0 inputs, 1 outputs, 2 alarm input/power-on).
    QVector<QLabel*> m_headings, m_numbers, m_names;
    QSpinBox* m_alarmDelay = nullptr;
    QVector<TextBox> m_texts;
    // While true the boxes are being filled from the store: their changes write nothing.
    bool m_filling = false;
    bool m_validating = false;
};
