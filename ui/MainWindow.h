#pragma once
// The main window: frame, menus, toolbar, status bar, the three tabs and the close sequence.
// What the window does lives in its controllers: WindowTexts (captions, tool tips, system
// messages), EditorBinding (the editor on the two matrix tabs), ProfileController (profile
// files), DeviceController (port, unit, transfers) and ShellController (commands, access
// levels, help, reports, demonstration display).
#include "store/ConfigStore.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class ConfigModel;
class DeviceController;
class EditorBinding;
class ExtrasController;
class InputsTab;
class OutputsTab;
class ProfileController;
class ProgramContext;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class ShellController;
class SystemTab;
class WindowTexts;
struct UnitImage;
namespace Reports {
struct Report;
}

// What a caller can put in place of parts of the window at construction: the program's
// start defers the first probe, tests replace dialogs, waits and the image side of transfers.
struct MainWindowOptions {
    // The first probe of the unit waits until the window is shown and runPendingProbe() is called.
    bool deferStartProbe = false;
    // Called instead of the modal port-settings dialog after a failed port open.
    std::function<void()> portFailureDialog;
    // In place of the image built from the store for a configuration send (the lines sent,
    // end record included), and of the decoding into the store after a complete read.
    std::function<QStringList()> transferLines;
    std::function<bool(const UnitImage& image)> storeReadImage;
    // In place of the 100 ms wait of the demonstration's modem flash.
    std::function<void()> modemFlashWait;
    // In place of the report preview window, and of the system's default printer ("": none).
    std::function<void(const Reports::Report& report)> reportPreview;
    std::function<QString()> printerName;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Opens the six configuration recordsets (throws StoreError) and builds the window; the
    // port is opened and the unit probed inside. initializeControls loads texts and profile.
    explicit MainWindow(ProgramContext& context, MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    void initializeControls();
    const MainWindowOptions& options() const { return m_options; }
    // The program context the window and its controllers work with.
    ProgramContext& context() const { return m_context; }

    ConfigStore& store() { return *m_store; }
    // The configuration as the views see it: it announces loads, the unsaved state and a
    // language switch; the title, the editor and the controllers listen.
    ConfigModel& model() { return *m_model; }
    WindowTexts& texts() { return *m_texts; }
    EditorBinding& editorBinding() { return *m_editor; }
    ProfileController& profiles() { return *m_profiles; }
    DeviceController& device() { return *m_device; }
    ShellController& shell() { return *m_shell; }
    ExtrasController& extras() { return *m_extras; }

    // The tab pages (0 inputs, 1 outputs, 2 System). The outputs and System tabs build their
    // widgets when first shown or used, at the latest right after the window's first paint;
    // ensureTabsBuilt builds them now (tests that look for their widgets by name call it).
    QTabWidget* tabs() const { return m_tabs; }
    InputsTab& inputsTab() { return *m_inputsTab; }
    OutputsTab& outputsTab() { return *m_outputsTab; }
    SystemTab& systemTab() { return *m_systemTab; }
    void ensureTabsBuilt();

    enum class Menu { File, Settings, Reports, ShowLists, PrintLists, Help };
    enum class Command {
        Open,
        Save,
        SaveAs,
        Exit,
        PhoneBook,
        Port,
        ShowInputs,
        ShowOutputs,
        ShowAlarm,
        ShowUsers,
        PrintInputs,
        PrintOutputs,
        PrintAlarm,
        PrintUsers,
        Administrator,
        HelpContents,
        About,
    };
    QMenu* menu(Menu which) const;
    // File menu: the profiles opened or saved last.
    QMenu* recentMenu() const { return m_recentMenu; }
    QAction* action(Command which) const;

    // The toolbar: 22 slots left to right, separators included (property "Key" holds the key
    // of a command button, e.g. "Open"; separators have none).
    static constexpr int ToolbarSlots = 22;
    QToolBar* toolbar() const { return m_toolbar; }
    QAction* toolbarSlot(int index) const { return m_toolbarSlots[index]; }
    QAction* toolbarButton(const QString& key) const; // nullptr for an unknown key

    // Lamp colours of the status lamp, as BGR values.
    enum Lamp { Red = 255, Yellow = 65535, Green = 65280, Cyan = 16776960 };
    void setLamp(int bgr);
    int lamp() const { return m_lamp; }
    void setPanelText(int panel, const QString& text); // panel 1..4
    void setPanelToolTip(int panel, const QString& text);
    // The bold line at the right of the status bar while the simulated unit is in use.
    void showSimulatedNote(bool simulated, const QString& text);

    // The title: the current profile's file name, marked while there are unsaved changes
    // (following the model's modifiedChanged).
    void showProfileTitle();

    // Called by the close sequence when the user answers Yes to saving.
    bool saveProfile();
    // With MainWindowOptions::deferStartProbe: the first probe of the unit, once the window is shown.
    void runPendingProbe();

protected:
    void closeEvent(QCloseEvent* e) override;
    // A profile file dropped on the window is opened (ProfileController::openGivenProfile).
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void showClock();

    ProgramContext& m_context;
    MainWindowOptions m_options;
    std::unique_ptr<ConfigStore> m_store;
    std::unique_ptr<ConfigModel> m_model;
    QTabWidget* m_tabs = nullptr;
    InputsTab* m_inputsTab = nullptr;
    OutputsTab* m_outputsTab = nullptr;
    SystemTab* m_systemTab = nullptr;
    QToolBar* m_toolbar = nullptr;
    QAction* m_toolbarSlots[ToolbarSlots] = {};
    QMenu* m_menus[6] = {};
    QMenu* m_recentMenu = nullptr;
    QAction* m_actions[17] = {};
    QPushButton* m_lampButton = nullptr;
    QLabel* m_panels[4] = {};
    QLabel* m_simulatedNote = nullptr;
    QTimer* m_clock = nullptr;
    int m_lamp = Red;
    bool m_closed = false;
    bool m_tabsScheduled = false;

    // Controllers; destroyed before the store (declared after it).
    std::unique_ptr<WindowTexts> m_texts;
    std::unique_ptr<EditorBinding> m_editor;
    std::unique_ptr<ProfileController> m_profiles;
    std::unique_ptr<DeviceController> m_device;
    std::unique_ptr<ShellController> m_shell;
    std::unique_ptr<ExtrasController> m_extras;
};
