#pragma once
// The main window's texts from the language tables: the system messages (into the program
// context), the captions and the tool tips of every control. applyAll reads captions and
// tool tips in the program's language and puts them on the whole window; a tab built later
// takes them when it is built. The relay and input names also go to the store's I/O column,
// where the reports read them.
#include <QHash>
#include <QObject>
#include <QStringList>

class MainWindow;
class TabPage;

class WindowTexts : public QObject {
    Q_OBJECT
public:
    explicit WindowTexts(MainWindow* window);

    // Message keys of the two multi-row keys: "CboGültigkeit" .. "CboGültigkeit4" (the four
    // unit words of the validity list), "gsMsgFalschesZeichen" and "gsMsgFalschesZeichen2".
    void loadSystemMessages();
    // (Re)applies all captions and tool tips to the whole window.
    void applyAll();

    // Texts that could not be loaded (missing key, table too short), each naming table and
    // key; the first loader that meets one shows them in one message, once per window.
    const QStringList& problems() const { return m_problems; }
    void reportProblems();

    // The rows of the caption and tool-tip tables the loaders walk: runs of row Names in
    // table order (see WindowTexts.cpp). A row found where another Name is listed is
    // reported and its text not shown.
    static const QList<QStringList>& captionRows();
    static const QList<QStringList>& toolTipRows();
    // The keys of the system messages read one row each.
    static const QStringList& messageKeys();

private:
    void readCaptions();
    void readToolTips();
    void applyTo(QObject* root);
    void markAccessKeys(TabPage* tab);
    // A null text (its row was not the one expected) leaves the control's text as it is.
    void caption(const QString& name, const QString& text)
    {
        if (!text.isNull())
            m_captions.insert(name, text);
    }
    void caption(const char* name, const QString& text) { caption(QString::fromUtf8(name), text); }
    void tip(const QString& name, const QString& text)
    {
        if (!text.isNull())
            m_toolTips.insert(name, text);
    }
    void tip(const char* name, const QString& text) { tip(QString::fromUtf8(name), text); }

    MainWindow* m_window;
    // By object name; the version labels keep their value and take only the prefix.
    QHash<QString, QString> m_captions, m_toolTips, m_versionPrefixes, m_accessibleNames;
    QString m_tabTexts[3];
    QStringList m_problems;
    bool m_problemsShown = false;
};
