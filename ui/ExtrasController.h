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
    // Reads the unit's configuration (the store is not touched) and shows what differs.
    void compareWithUnit();
    void startRecording();
    void stopRecording();
    void saveRecording();

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
    QAction* m_backup = nullptr; // keep the unit's configuration before each write
};
