#pragma once
// Connects the editor widgets of the main window (found by their object names) to the
// editing rules of ConfigEditor: every change of a box is written at once, text boxes are
// checked and written when they are left, and the refresh routines fill the widgets.
#include "editing/ConfigEditor.h"

#include <QObject>
#include <QVector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class MainWindow;

class EditorBinding : public QObject {
    Q_OBJECT
public:
    explicit EditorBinding(MainWindow* window);

    ConfigEditor editor;

    // Widgets; a control the window does not have stays null and is skipped.
    QVector<QCheckBox*> ChkEmpOP, ChkEmpOut, ChkDefaultState, ChkAlarmDispo, ChkBenutzerAlarmDispo, ChkBenutzerPowerON,
        ChkOP;
    QVector<QPushButton*> cmdCheckAllEmp, cmdClrAllEmp;
    QPushButton* cmdCheckAllEvents = nullptr;
    QPushButton* cmdClrAllEvents = nullptr;
    QVector<QLabel*> lblEmpfaenger, lblAdresseEmpf, lblAdresseName;
    QAction* mnuTelefonbuch = nullptr;
    QLineEdit* txtADVerzoegerungszeit = nullptr;

    struct TextBox {
        QLineEdit* box = nullptr;
        QLabel* counter = nullptr;
        ConfigEditor::TextBox kind;
        int index = 0;
    };
    QVector<TextBox> texts;

    // While true the boxes are being filled from the store: their changes write nothing.
    bool filling = false;

    void connectAll();
    // Fill routines (called by the window's refresh procedures).
    void fillLabels();
    void fillTexts(ConfigEditor::TextBox first, ConfigEditor::TextBox second);
    void fillDelay();
    void fillInputMatrix();
    void fillOutputMatrix();
    void fillAlarmUsers();
    void fillAlarmEvents();
    void fillPowerOn();

    // Handlers.
    void ChkEmpOP_Click(int index);
    void ChkEmpOut_Click(int index);
    void ChkDefaultState_Click(int index);
    void ChkOP_Click(int index);
    void ChkAlarmDispo_Click(int index);
    void ChkBenutzerAlarmDispo_Click(int index);
    void ChkBenutzerPowerON_Click(int index);
    void cmdCheckAllEmp_Click(int index, bool on);
    void cmdCheckAllEvents_Click(bool on);

    // Checks and writes a text box; false when it refused (message shown, focus kept).
    bool commitText(const TextBox& t);
    bool commitDelay(bool keepFocus);
    bool commitFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setEnabled(QWidget* w, bool on);
    void setChecked(QCheckBox* box, bool on); // without writing back
    // Runs a store write; shows store errors and returns whether the write succeeded.
    bool guarded(const std::function<bool()>& write);
    void setBackground(QLineEdit* box, bool focused);
    const TextBox* textFor(QObject* o) const;

    MainWindow* m_window;
    bool m_validating = false;
};
