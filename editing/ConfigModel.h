#pragma once
// The configuration the desktop program works on, as its views see it: it announces when the
// configuration in the store changed as a whole, when its unsaved state changes and when the
// program's language changed. The title, the editor and the other views listen; nobody asks
// them to refresh. The unsaved state is the program context's flag (unsavedChanges), which
// the core also clears when a profile file is written; the model says so the moment it
// changes through setModified.
#include <QObject>

class ProgramContext;

class ConfigModel : public QObject {
    Q_OBJECT
public:
    explicit ConfigModel(ProgramContext& context, QObject* parent = nullptr);

    ProgramContext& context() const { return m_context; }

    // Whether the configuration holds changes not yet saved in a profile.
    bool isModified() const;
    // Sets the unsaved state; modifiedChanged when it differs from the one last announced.
    void setModified(bool modified);
    // The store now holds another configuration than the views show (a profile loaded, the
    // unit's configuration read, the store read again after another program wrote it):
    // emits changed. The unsaved state is set separately.
    void replaced();
    // The program context is in language (1..4) now, its messages loaded: emits
    // languageChanged, once, after which every view shows its texts in it.
    void languageSwitched(int language);

signals:
    void changed();
    void modifiedChanged(bool modified);
    void languageChanged(int language);

private:
    ProgramContext& m_context;
    bool m_announced = false;
};
