#pragma once
// The main window's widgets by their object names ("ChkEmpOP(37)"), as the language tables
// and the help contexts find them. All tabs are built first (MainWindow::ensureTabsBuilt);
// a name the window does not have stops the test program with that name.
#include "ui/MainWindow.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

namespace WindowWidgets {
template <typename T = QWidget> T* named(MainWindow& window, const QString& name)
{
    window.ensureTabsBuilt();
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("the main window has no %s named \"%s\"", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

template <typename T = QWidget> T* named(MainWindow& window, const char* name)
{
    return named<T>(window, QString::fromUtf8(name));
}

// Element index of a control array: named<QCheckBox>(w, "ChkEmpOP", 37).
template <typename T = QWidget> T* named(MainWindow& window, const char* name, int index)
{
    return named<T>(window, QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(index));
}

// A label's caption as the language table has it: without the access key's "&".
inline QString caption(MainWindow& window, const QString& name)
{
    return named<QLabel>(window, name)->text().remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
}
inline QString caption(MainWindow& window, const char* name, int index)
{
    return caption(window, QStringLiteral("%1(%2)").arg(QString::fromUtf8(name)).arg(index));
}
inline QString caption(MainWindow& window, const char* name) { return caption(window, QString::fromUtf8(name)); }

// Replaces the text of a line edit or spin box key by key, also for letters outside Latin-1.
inline void typeInto(QWidget* box, const QString& text)
{
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(box))
        spin->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Status bar panel 0..3 (object names StatusBarPanel1..4).
inline QLabel* statusPanel(MainWindow& window, int index)
{
    return named<QLabel>(window, QStringLiteral("StatusBarPanel%1").arg(index + 1));
}
} // namespace WindowWidgets
