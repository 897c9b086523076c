#include "ui/CompareDialog.h"

#include "core/ProgramContext.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

CompareDialog::CompareDialog(const QList<ProfileDiff::Change>& changes, const ProgramContext& context, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVergleich"));
    setWindowTitle(context.msgOr(QStringLiteral("gsVglTitel"), QStringLiteral("Mit Gerät vergleichen")));
    auto* layout = new QVBoxLayout(this);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblVergleich"));
    m_summary->setWordWrap(true);
    m_summary->setText(
        changes.isEmpty()
            ? context.msgOr(QStringLiteral("gsVglGleich"),
                            QStringLiteral("Die Konfiguration im Gerät stimmt mit der im Programm überein."))
            : context
                  .msgOr(QStringLiteral("gsVglAnzahl"), QStringLiteral("%1 Unterschiede zwischen Programm und Gerät."))
                  .arg(changes.size()));
    layout->addWidget(m_summary);

    m_table = new QTableWidget(int(changes.size()), 3, this);
    m_table->setObjectName(QStringLiteral("grdVergleich"));
    m_table->setHorizontalHeaderLabels({context.msgOr(QStringLiteral("gsVglFeld"), QStringLiteral("Feld")),
                                        context.msgOr(QStringLiteral("gsVglProgramm"), QStringLiteral("Im Programm")),
                                        context.msgOr(QStringLiteral("gsVglGeraet"), QStringLiteral("Im Gerät"))});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    for (int row = 0; row < changes.size(); ++row) {
        const ProfileDiff::Change& c = changes[row];
        const QString cells[3] = {ProfileDiff::fieldLabel(c.field, context), ProfileDiff::valueLabel(c.before, context),
                                  ProfileDiff::valueLabel(c.after, context)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(column == 0 ? c.field : cells[column]);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setVisible(!changes.isEmpty());
    layout->addWidget(m_table, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Wide enough for the longest field name and two SMS texts, within the screen.
    int width = 40;
    for (int column = 0; column < 3; ++column)
        width += m_table->columnWidth(column);
    resize(qBound(420, width, 1100), changes.isEmpty() ? 140 : qBound(220, 120 + 26 * int(changes.size()), 640));
}

QString CompareDialog::summary() const { return m_summary->text(); }
