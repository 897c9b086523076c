#pragma once
// The differences between the program's configuration and the unit's, one row per field,
// in the program's language (Extras -> "Mit Gerät vergleichen").
#include "image/ProfileDiff.h"

#include <QDialog>

class ProgramContext;
class QLabel;
class QTableWidget;

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    // changes: program (before) against unit (after).
    CompareDialog(const QList<ProfileDiff::Change>& changes, const ProgramContext& context, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QString summary() const;

private:
    QLabel* m_summary = nullptr;
    QTableWidget* m_table = nullptr;
};
