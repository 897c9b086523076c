#pragma once
// The first tab of the main window: the SMS texts of the eight inputs (rising and falling
// edge) with their recipient matrix, the sequential alarm (alarm input) and the power-on
// message. Built with the window. Object names follow the design ("ChkEmpOP(37)").
#include "ui/TabParts.h"

#include <array>

class QSpinBox;

class InputsTab : public TabPage {
    Q_OBJECT
public:
    explicit InputsTab(QWidget* parent = nullptr);

    // Input 0..7; falling selects the text of the falling edge.
    QLineEdit* inputText(int input, bool falling);
    QLabel* inputTextCounter(int input, bool falling);
    // 16 * user + 2 * input + falling.
    QCheckBox* recipientBox(int index);
    QPushButton* checkColumnButton(int user);
    QPushButton* clearColumnButton(int user);
    // The alarm input's events: 2 * input + falling.
    QCheckBox* alarmEventBox(int index);
    QPushButton* checkAllEventsButton();
    QPushButton* clearAllEventsButton();
    QLineEdit* alarmText();
    QLabel* alarmTextCounter();
    QSpinBox* alarmDelay();
    QCheckBox* alarmUserBox(int user);
    QLineEdit* powerOnText();
    QLabel* powerOnTextCounter();
    QCheckBox* powerOnUserBox(int user);
    // Recipient headings: block 0 above the input matrix, block 1 above the alarm input and
    // power-on lines (object names lblEmpfänger(0..7) and (16..23)).
    QLabel* recipientHeading(int block, int user);
    QLabel* recipientName(int block, int user);
    QLabel* recipientNumber(int block, int user);

protected:
    void build(QWidget* content) override;

private:
    std::array<QLineEdit*, 8> m_risingTexts {}, m_fallingTexts {};
    std::array<QLabel*, 8> m_risingCounters {}, m_fallingCounters {};
    std::array<QCheckBox*, 128> m_recipients {};
    std::array<QPushButton*, 8> m_checkColumn {}, m_clearColumn {};
    std::array<QCheckBox*, 16> m_alarmEvents {};
    QPushButton* m_checkAllEvents = nullptr;
    QPushButton* m_clearAllEvents = nullptr;
    QLineEdit* m_alarmText = nullptr;
    QLabel* m_alarmCounter = nullptr;
    QSpinBox* m_alarmDelay = nullptr;
    std::array<QCheckBox*, 8> m_alarmUsers {};
    QLineEdit* m_powerOnText = nullptr;
    QLabel* m_powerOnCounter = nullptr;
    std::array<QCheckBox*, 8> m_powerOnUsers {};
    std::array<QLabel*, 16> m_headings {}, m_names {}, m_numbers {}; // 8 * block + user
};
