#pragma once
// Profile files and the configuration image, as the main window uses them: the default
// profile at start, open, save, save under another name, the transfer file, and the image
// read from the unit into the store.
#include "image/Image.h"

#include <QObject>
#include <functional>

class MainWindow;

class ProfileController : public QObject {
    Q_OBJECT
public:
    explicit ProfileController(MainWindow* window);

    // The configuration image: rebuilt from the store before every save or transfer, filled
    // by a read from the unit.
    Image configImage;
    void clearImage();

    // The current profile file ("Profile"/"File"; the default profile when none is stored).
    QString currentProfileFile() const;
    void loadDefaultProfile();
    // Checks the file and reads it into the store in one transaction. A refused file leaves
    // the store as it was; the reason is shown. True when the profile was loaded.
    bool loadProfile(const QString& fileName);
    void openProfile();
    // Loads a profile of the recent list; one that is gone leaves the list.
    void openRecentProfile(const QString& fileName);
    // A profile given from outside (dropped on the window, or named on the command line):
    // edits not saved yet are asked about first (Yes saves, No drops them, Cancel keeps
    // everything as it is). True when the profile was loaded.
    bool openGivenProfile(const QString& fileName);
    // Edits not saved yet: asks whether to save them (Yes saves, No drops them). False when
    // the user cancelled or the save failed (said already): nothing else may happen then.
    bool settleUnsavedChanges();
    // The File menu's recent profiles, newest first.
    void showRecentFiles();
    // Save over the default profile asks first whether it becomes the start configuration of
    // every session (Yes) or is saved as a site profile (No: Save as, the default).
    bool saveProfile();
    bool saveProfileAs();
    // Before a save or a send: when every SMS text is empty in the program's language while
    // another language holds texts, warns and offers to cancel. False when the user cancelled.
    bool confirmTexts();
    bool isDefaultProfile(const QString& fileName) const;
    // Builds configImage from the store as the window shows it (a text still being typed
    // included). False after saying why (a store failure, or another program changed the
    // store and the user chose to see that first).
    bool buildConfigImage();
    // Builds the image from the store and writes it to fileName. True when the file has been
    // written there; a read-only target leads the user to save under another name (false).
    bool writeProfileFile(const QString& fileName);
    // The image read from the unit into the store, then the editor refilled. False after a
    // store failure (shown; the store stays as it was).
    bool storeUnitImage();

private:
    // A profile opened or saved by the user: top of the recent list, the title follows.
    void remember(const QString& fileName);
    // Loads the file into the store and makes it the current profile and the newest recent one.
    bool openFile(const QString& fileName);

    MainWindow* m_window;
    bool m_textsConfirmed = false; // asked already in this save
};
