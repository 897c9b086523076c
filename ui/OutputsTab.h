#pragma once
// The second tab of the main window: the SMS texts of the four relays (switched on, switched
// off), who may switch them, the operators, and the relays' default states at power-on.
// Built when first shown or used (TabPage).
#include "ui/TabParts.h"

#include <array>

class OutputsTab : public TabPage {
    Q_OBJECT
public:
    explicit OutputsTab(QWidget* parent = nullptr);

    // Relay 0..3; off selects the text of switching off.
    QLineEdit* relayText(int relay, bool off);
    QLabel* relayTextCounter(int relay, bool off);
    // 8 * user + 2 * relay + off.
    QCheckBox* recipientBox(int index);
    QCheckBox* operatorBox(int user);
    // 2 * relay + off.
    QCheckBox* defaultStateBox(int index);
    QPushButton* checkColumnButton(int user);
    QPushButton* clearColumnButton(int user);
    QPushButton* allDefaultsOnButton();
    QPushButton* allDefaultsOffButton();
    // Recipient headings (object names lblEmpfänger(8..15) and so on).
    QLabel* recipientHeading(int user);
    QLabel* recipientName(int user);
    QLabel* recipientNumber(int user);

protected:
    void build(QWidget* content) override;

private:
    std::array<QLineEdit*, 4> m_onTexts {}, m_offTexts {};
    std::array<QLabel*, 4> m_onCounters {}, m_offCounters {};
    std::array<QCheckBox*, 64> m_recipients {};
    std::array<QCheckBox*, 8> m_operators {}, m_defaultStates {};
    std::array<QPushButton*, 8> m_checkColumn {}, m_clearColumn {};
    QPushButton* m_allDefaultsOn = nullptr;
    QPushButton* m_allDefaultsOff = nullptr;
    std::array<QLabel*, 8> m_headings {}, m_names {}, m_numbers {};
    QLabel* m_operatorLabel = nullptr;
};
