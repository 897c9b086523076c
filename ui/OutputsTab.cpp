#include "ui/OutputsTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

using namespace TabParts;

OutputsTab::OutputsTab(QWidget* parent) : TabPage(parent) {}

void OutputsTab::build(QWidget* c)
{
    auto* grid = new QGridLayout(c);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const int colLabel = 0, colMark = 1, colText = 2, colCount = 3, colUser = 4, colDefault = 13, colRelay = 14;
    grid->setColumnMinimumWidth(12, 10);
    const QIcon boxesAll = boxesIcon(Boxes::All), boxesNone = boxesIcon(Boxes::None);
    for (int u = 0; u < 8; ++u) {
        const int k = 8 + u;
        m_headings[u]
            = TabParts::recipientHeading(c, indexedName("lblEmpfänger", k), QStringLiteral("Empfänger %1").arg(u + 1));
        m_names[u] = recipientNameLabel(c, indexedName("lblAdresseName", k));
        m_numbers[u] = recipientNumberLabel(c, indexedName("lblAdresseEmpf", k));
        // The operator boxes share one caption, in the row's label: the columns stay narrow.
        m_operators[u] = named(new QCheckBox(c), indexedName("ChkOP", u));
        grid->addWidget(m_headings[u], 0, colUser + u);
        grid->addWidget(m_names[u], 1, colUser + u);
        grid->addWidget(m_numbers[u], 2, colUser + u);
        grid->addWidget(m_operators[u], 3, colUser + u, Qt::AlignHCenter);
        m_checkColumn[u] = iconButton(c, indexedName("cmdCheckAllEmp", k), boxesAll);
        m_clearColumn[u] = iconButton(c, indexedName("cmdClrAllEmp", k), boxesNone);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(m_checkColumn[u]);
        pair->addWidget(m_clearColumn[u]);
        grid->addLayout(pair, 4, colUser + u, Qt::AlignHCenter);
    }
    m_operatorLabel = named(new QLabel(QStringLiteral("Operator"), c), QStringLiteral("lblOperator"));
    m_operatorLabel->setBuddy(m_operators[0]);
    grid->addWidget(m_operatorLabel, 3, colLabel, 1, colUser - colLabel, Qt::AlignRight | Qt::AlignVCenter);
    auto* defaultHeading = named(new QLabel(c), QStringLiteral("lblDefaultStateSpalte"));
    defaultHeading->setPixmap(powerSymbol(defaultHeading->fontMetrics().height() + 4, devicePixelRatioF()));
    grid->addWidget(defaultHeading, 3, colDefault, Qt::AlignCenter);
    m_allDefaultsOn = iconButton(c, QStringLiteral("cmdAllRelaisON"), boxesIcon(Boxes::Alternate));
    m_allDefaultsOff = iconButton(c, QStringLiteral("cmdAllRelaisOFF"), boxesNone);
    {
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(m_allDefaultsOn);
        pair->addWidget(m_allDefaultsOff);
        grid->addLayout(pair, 4, colDefault, 1, 2, Qt::AlignLeft);
    }
    for (int k = 1; k < 4; k += 2)
        addBand(grid, c, 5 + 2 * k, 2, colRelay + 1);
    for (int k = 0; k < 4; ++k) {
        const int rowOn = 5 + 2 * k, rowOff = rowOn + 1;
        auto* label = named(new QLabel(QStringLiteral("Relais %1").arg(k + 1), c), indexedName("lblAusgang", k));
        grid->addWidget(label, rowOn, colLabel, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(edgeMark(c, QStringLiteral("1")), rowOn, colMark);
        grid->addWidget(edgeMark(c, QStringLiteral("0")), rowOff, colMark);
        m_onTexts[k] = smsBox(c, indexedName("txtAusgangSF", k));
        m_offTexts[k] = smsBox(c, indexedName("txtAusgangFF", k));
        m_onCounters[k] = counterLabel(c, indexedName("lblAnzZeichenOutAK", k));
        m_offCounters[k] = counterLabel(c, indexedName("lblAnzZeichenOutRK", k));
        label->setBuddy(m_onTexts[k]);
        grid->addWidget(m_onTexts[k], rowOn, colText);
        grid->addWidget(m_offTexts[k], rowOff, colText);
        grid->addWidget(m_onCounters[k], rowOn, colCount);
        grid->addWidget(m_offCounters[k], rowOff, colCount);
        auto* right = named(new QLabel(QStringLiteral("Relais %1").arg(k + 1), c), indexedName("lblAusgang", 4 + k));
        grid->addWidget(right, rowOn, colRelay, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (int u = 0; u < 8; ++u)
        for (int r = 0; r < 8; ++r) {
            m_recipients[8 * u + r] = matrixBox(c, indexedName("ChkEmpOut", 8 * u + r));
            grid->addWidget(m_recipients[8 * u + r], 5 + r, colUser + u, Qt::AlignCenter);
        }
    for (int r = 0; r < 8; ++r) {
        m_defaultStates[r] = matrixBox(c, indexedName("ChkDefaultState", r));
        grid->addWidget(m_defaultStates[r], 5 + r, colDefault, Qt::AlignCenter);
    }
    // Room beyond the texts' width goes to the recipient columns, alike.
    for (int u = 0; u < 8; ++u)
        grid->setColumnStretch(colUser + u, 1);
    grid->setRowStretch(13, 1);

    QList<QWidget*> order;
    for (int k = 0; k < 4; ++k)
        order << m_onTexts[k] << m_offTexts[k];
    for (int u = 0; u < 8; ++u) {
        order << m_operators[u] << m_checkColumn[u] << m_clearColumn[u];
        for (int r = 0; r < 8; ++r)
            order << m_recipients[8 * u + r];
    }
    order << m_allDefaultsOn << m_allDefaultsOff;
    for (QCheckBox* b : m_defaultStates)
        order << b;
    setFocusOrder(order);

    QList<QLabel*> headings(m_headings.begin(), m_headings.end());
    keepHeadingsUniform(c, headings);
}

QLineEdit* OutputsTab::relayText(int relay, bool off)
{
    ensureBuilt();
    return off ? m_offTexts.at(size_t(relay)) : m_onTexts.at(size_t(relay));
}

QLabel* OutputsTab::relayTextCounter(int relay, bool off)
{
    ensureBuilt();
    return off ? m_offCounters.at(size_t(relay)) : m_onCounters.at(size_t(relay));
}

QCheckBox* OutputsTab::recipientBox(int index) { return ensureBuilt(), m_recipients.at(size_t(index)); }
QCheckBox* OutputsTab::operatorBox(int user) { return ensureBuilt(), m_operators.at(size_t(user)); }
QCheckBox* OutputsTab::defaultStateBox(int index) { return ensureBuilt(), m_defaultStates.at(size_t(index)); }
QPushButton* OutputsTab::checkColumnButton(int user) { return ensureBuilt(), m_checkColumn.at(size_t(user)); }
QPushButton* OutputsTab::clearColumnButton(int user) { return ensureBuilt(), m_clearColumn.at(size_t(user)); }
QPushButton* OutputsTab::allDefaultsOnButton() { return ensureBuilt(), m_allDefaultsOn; }
QPushButton* OutputsTab::allDefaultsOffButton() { return ensureBuilt(), m_allDefaultsOff; }
QLabel* OutputsTab::recipientHeading(int user) { return ensureBuilt(), m_headings.at(size_t(user)); }
QLabel* OutputsTab::recipientName(int user) { return ensureBuilt(), m_names.at(size_t(user)); }
QLabel* OutputsTab::recipientNumber(int user) { return ensureBuilt(), m_numbers.at(size_t(user)); }
