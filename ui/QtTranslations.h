#pragma once
// Qt's own texts (standard buttons of message boxes, file dialogs, the print preview) in the
// program's language, from the Qt translations the system has installed.

namespace QtTranslations {
// Installs Qt's translation for language 1 German, 2 English, 3 Italian, 4 French in the running
// application, replacing the one installed before. False when the system has none for it
// (English needs none: Qt's own texts are English).
bool install(int language);
}
