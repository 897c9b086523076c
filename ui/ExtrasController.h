#pragma once
// The Extras menu's own commands: the program's language (switched while the program runs),
// the comparison of the program's configuration with the unit's, and the connection log.
#include <QObject>

class MainWindow;
class QAction;
class QActionGroup;
class QMenu;

class ExtrasController : public QObject {
    Q_OBJECT
public:
    explicit ExtrasController(MainWindow* window);

    // Language 1 German, 2 English, 3 Italian, 4 French: stored, and every text of the window
    // taken again in it. The configuration and its unsaved state stay as they are.
    void switchLanguage(int language);
    // At a language switch: asks whether the texts of language from go into the rows of
    // language to that have none, and writes them. True when they were taken over.
    bool takeOverTexts(int from, int to);
    // Reads the unit's configuration (the store is not touched) and shows what differs.
    void compareWithUnit();
    void startRecording();
    void stopRecording();
    void saveRecording();
    // With "always record" on ([Einstellungen] Protokoll): the program records from its start,
    // and closing keeps the trace as Protokolle/<yyyyMMdd-HHmmss>.txt in the program folder
    // (the newest KeptTraces). Returns the file written, or an empty text.
    static bool alwaysRecord();
    QString keepTraceOnClose();
    static constexpr int KeptTraces = 20;

    // The captions of the menus added here, in the program's language.
    void applyTexts();

private:
    void showRecordingState();

    MainWindow* m_window;
    QMenu* m_languageMenu = nullptr;
    QActionGroup* m_languages = nullptr;
    QAction* m_compare = nullptr;
    QMenu* m_logMenu = nullptr;
    QAction* m_logStart = nullptr;
    QAction* m_logStop = nullptr;
    QAction* m_logSave = nullptr;
    QAction* m_logAlways = nullptr;
    QAction* m_backup = nullptr; // keep the unit's configuration before each write
    QAction* m_changedOnly = nullptr; // send only the records that differ from the unit
};
