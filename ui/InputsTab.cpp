#include "ui/InputsTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

namespace {
// The alarm delay box takes any number typed, in range or not: leaving the box refuses one
// outside 1..99 with its message, where a plain spin box would cut "120" to "12" or drop the
// minus of "-3" without a word.
class DelayBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override
    {
        static const QRegularExpression number(QStringLiteral("^\\s*[-+]?\\d{0,6}\\s*$"));
        const QValidator::State state = QSpinBox::validate(input, pos);
        if (state == QValidator::Invalid && number.match(input).hasMatch())
            return QValidator::Intermediate;
        return state;
    }
};
} // namespace

using namespace TabParts;

InputsTab::InputsTab(QWidget* parent) : TabPage(parent) {}

void InputsTab::build(QWidget* c)
{
    auto* grid = new QGridLayout(c);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    const int colLabel = 0, colMark = 1, colText = 2, colCount = 3, colUser = 4, colAlarm = 13;
    grid->setColumnMinimumWidth(12, 10);
    // The check-all and clear-all pictures, painted once for the buttons that show them.
    const QIcon boxesAll = boxesIcon(Boxes::All), boxesNone = boxesIcon(Boxes::None);

    // Recipient headings of the input matrix (names 0..7).
    for (int u = 0; u < 8; ++u) {
        m_headings[u]
            = TabParts::recipientHeading(c, indexedName("lblEmpfänger", u), QStringLiteral("Empfänger %1").arg(u + 1));
        m_names[u] = recipientNameLabel(c, indexedName("lblAdresseName", u));
        m_numbers[u] = recipientNumberLabel(c, indexedName("lblAdresseEmpf", u));
        grid->addWidget(m_headings[u], 0, colUser + u);
        grid->addWidget(m_names[u], 1, colUser + u);
        grid->addWidget(m_numbers[u], 2, colUser + u);
    }
    auto* alarmHeading
        = headingLabel(c, QStringLiteral("lblAlarmDispoSpalte"), QStringLiteral("Sequentielle Alarmierung"));
    alarmHeading->setMaximumWidth(alarmHeading->fontMetrics().averageCharWidth() * 16);
    grid->addWidget(alarmHeading, 0, colAlarm, 3, 1, Qt::AlignHCenter | Qt::AlignBottom);

    // The SMS texts and the matrix: one line per input edge, one column per user.
    for (int e = 1; e < 8; e += 2)
        addBand(grid, c, 4 + 2 * e, 2, colAlarm + 1);
    for (int e = 0; e < 8; ++e) {
        const int rowRising = 4 + 2 * e, rowFalling = rowRising + 1;
        auto* label = named(new QLabel(QStringLiteral("Eingang %1").arg(e + 1), c), indexedName("lblEingang", e));
        grid->addWidget(label, rowRising, colLabel, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(edgeMark(c, QStringLiteral("\u2191")), rowRising, colMark);
        grid->addWidget(edgeMark(c, QStringLiteral("\u2193")), rowFalling, colMark);
        m_risingTexts[e] = smsBox(c, indexedName("txtEingangSF", e));
        m_fallingTexts[e] = smsBox(c, indexedName("txtEingangFF", e));
        m_risingCounters[e] = counterLabel(c, indexedName("lblAnzZeichenSF", e));
        m_fallingCounters[e] = counterLabel(c, indexedName("lblAnzZeichenFF", e));
        label->setBuddy(m_risingTexts[e]);
        grid->addWidget(m_risingTexts[e], rowRising, colText);
        grid->addWidget(m_fallingTexts[e], rowFalling, colText);
        grid->addWidget(m_risingCounters[e], rowRising, colCount);
        grid->addWidget(m_fallingCounters[e], rowFalling, colCount);
    }
    for (int u = 0; u < 8; ++u) {
        m_checkColumn[u] = iconButton(c, indexedName("cmdCheckAllEmp", u), boxesAll);
        m_clearColumn[u] = iconButton(c, indexedName("cmdClrAllEmp", u), boxesNone);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(m_checkColumn[u]);
        pair->addWidget(m_clearColumn[u]);
        grid->addLayout(pair, 3, colUser + u, Qt::AlignHCenter);
        for (int r = 0; r < 16; ++r) {
            m_recipients[16 * u + r] = matrixBox(c, indexedName("ChkEmpOP", 16 * u + r));
            grid->addWidget(m_recipients[16 * u + r], 4 + r, colUser + u, Qt::AlignCenter);
        }
    }
    m_checkAllEvents = iconButton(c, QStringLiteral("cmdCheckAllEvents"), boxesAll);
    m_clearAllEvents = iconButton(c, QStringLiteral("cmdClrAllEvents"), boxesNone);
    {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(m_checkAllEvents);
        pair->addWidget(m_clearAllEvents);
        grid->addLayout(pair, 3, colAlarm, Qt::AlignHCenter);
    }
    for (int r = 0; r < 16; ++r) {
        m_alarmEvents[r] = matrixBox(c, indexedName("ChkAlarmDispo", r));
        grid->addWidget(m_alarmEvents[r], 4 + r, colAlarm, Qt::AlignCenter);
    }

    grid->addWidget(horizontalLine(c), 20, 0, 1, colAlarm + 1);

    // Alarm input and power-on message, with the second block of recipient headings (16..23).
    for (int u = 0; u < 8; ++u) {
        const int k = 16 + u;
        m_headings[8 + u]
            = TabParts::recipientHeading(c, indexedName("lblEmpfänger", k), QStringLiteral("Empfänger %1").arg(u + 1));
        m_names[8 + u] = recipientNameLabel(c, indexedName("lblAdresseName", k));
        m_numbers[8 + u] = recipientNumberLabel(c, indexedName("lblAdresseEmpf", k));
        grid->addWidget(m_headings[8 + u], 21, colUser + u);
        grid->addWidget(m_names[8 + u], 22, colUser + u);
        grid->addWidget(m_numbers[8 + u], 23, colUser + u);
    }
    auto* alarmLabel = groupLabel(c, QStringLiteral("lblAlarmDispo"), QStringLiteral("Sequentielle Alarmierung"));
    m_alarmText = smsBox(c, QStringLiteral("txtAlarmDispositiv"));
    m_alarmCounter = counterLabel(c, QStringLiteral("lblAnzZeichenAD"));
    alarmLabel->setBuddy(m_alarmText);
    grid->addWidget(alarmLabel, 24, colLabel, 1, 2);
    grid->addWidget(m_alarmText, 24, colText);
    grid->addWidget(m_alarmCounter, 24, colCount);
    auto* powerOnLabel = groupLabel(c, QStringLiteral("lblAufstarten"), QStringLiteral("Aufstarten"));
    m_powerOnText = smsBox(c, QStringLiteral("txtSMSAufstarten"));
    m_powerOnCounter = counterLabel(c, QStringLiteral("lblAnzZeichenPON"));
    powerOnLabel->setBuddy(m_powerOnText);
    grid->addWidget(powerOnLabel, 25, colLabel, 1, 2);
    grid->addWidget(m_powerOnText, 25, colText);
    grid->addWidget(m_powerOnCounter, 25, colCount);
    for (int u = 0; u < 8; ++u) {
        m_alarmUsers[u] = matrixBox(c, indexedName("ChkBenutzerAlarmDispo", u));
        m_powerOnUsers[u] = matrixBox(c, indexedName("ChkBenutzerPowerON", u));
        grid->addWidget(m_alarmUsers[u], 24, colUser + u, Qt::AlignCenter);
        grid->addWidget(m_powerOnUsers[u], 25, colUser + u, Qt::AlignCenter);
    }
    {
        // 1..99 minutes; 0 stands for a delay outside that range in the configuration (an erased
        // unit's 255, say) and is shown empty until one is chosen.
        m_alarmDelay = named(new DelayBox(c), QStringLiteral("txtADVerzögerungszeit"));
        m_alarmDelay->setRange(0, 99);
        m_alarmDelay->setSpecialValueText(QStringLiteral(" "));
        m_alarmDelay->setAlignment(Qt::AlignRight);
        m_alarmDelay->setKeyboardTracking(false);
        auto* delay = new QHBoxLayout;
        delay->setSpacing(3);
        delay->addWidget(m_alarmDelay);
        auto* unit = new QLabel(QStringLiteral("min"), c);
        unit->setBuddy(m_alarmDelay);
        delay->addWidget(unit);
        grid->addLayout(delay, 24, colAlarm, Qt::AlignHCenter);
    }
    // Room beyond the texts' width goes to the recipient columns, alike.
    for (int u = 0; u < 8; ++u)
        grid->setColumnStretch(colUser + u, 1);
    grid->setRowStretch(26, 1);

    QList<QWidget*> order;
    for (int e = 0; e < 8; ++e)
        order << m_risingTexts[e] << m_fallingTexts[e];
    for (int u = 0; u < 8; ++u) {
        order << m_checkColumn[u] << m_clearColumn[u];
        for (int r = 0; r < 16; ++r)
            order << m_recipients[16 * u + r];
    }
    order << m_checkAllEvents << m_clearAllEvents;
    for (QCheckBox* b : m_alarmEvents)
        order << b;
    order << m_alarmText;
    for (QCheckBox* b : m_alarmUsers)
        order << b;
    order << m_alarmDelay << m_powerOnText;
    for (QCheckBox* b : m_powerOnUsers)
        order << b;
    setFocusOrder(order);

    QList<QLabel*> headings;
    for (int u = 0; u < 8; ++u)
        headings << m_headings[u] << m_headings[8 + u];
    keepHeadingsUniform(c, headings);
}

QLineEdit* InputsTab::inputText(int input, bool falling)
{
    ensureBuilt();
    return falling ? m_fallingTexts.at(size_t(input)) : m_risingTexts.at(size_t(input));
}

QLabel* InputsTab::inputTextCounter(int input, bool falling)
{
    ensureBuilt();
    return falling ? m_fallingCounters.at(size_t(input)) : m_risingCounters.at(size_t(input));
}

QCheckBox* InputsTab::recipientBox(int index) { return ensureBuilt(), m_recipients.at(size_t(index)); }
QPushButton* InputsTab::checkColumnButton(int user) { return ensureBuilt(), m_checkColumn.at(size_t(user)); }
QPushButton* InputsTab::clearColumnButton(int user) { return ensureBuilt(), m_clearColumn.at(size_t(user)); }
QCheckBox* InputsTab::alarmEventBox(int index) { return ensureBuilt(), m_alarmEvents.at(size_t(index)); }
QPushButton* InputsTab::checkAllEventsButton() { return ensureBuilt(), m_checkAllEvents; }
QPushButton* InputsTab::clearAllEventsButton() { return ensureBuilt(), m_clearAllEvents; }
QLineEdit* InputsTab::alarmText() { return ensureBuilt(), m_alarmText; }
QLabel* InputsTab::alarmTextCounter() { return ensureBuilt(), m_alarmCounter; }
QSpinBox* InputsTab::alarmDelay() { return ensureBuilt(), m_alarmDelay; }
QCheckBox* InputsTab::alarmUserBox(int user) { return ensureBuilt(), m_alarmUsers.at(size_t(user)); }
QLineEdit* InputsTab::powerOnText() { return ensureBuilt(), m_powerOnText; }
QLabel* InputsTab::powerOnTextCounter() { return ensureBuilt(), m_powerOnCounter; }
QCheckBox* InputsTab::powerOnUserBox(int user) { return ensureBuilt(), m_powerOnUsers.at(size_t(user)); }
QLabel* InputsTab::recipientHeading(int block, int user)
{
    return ensureBuilt(), m_headings.at(size_t(8 * block + user));
}
QLabel* InputsTab::recipientName(int block, int user) { return ensureBuilt(), m_names.at(size_t(8 * block + user)); }
QLabel* InputsTab::recipientNumber(int block, int user)
{
    return ensureBuilt(), m_numbers.at(size_t(8 * block + user));
}
