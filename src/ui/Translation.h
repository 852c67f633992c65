#pragma once

class QCoreApplication;

namespace sorvane {

// Loads Qt's own Japanese texts (qtbase_ja from Qt's translations folder)
// into the application, so that the standard dialogs and the context menus
// of the text boxes speak Japanese. Returns whether they were loaded.
bool InstallJapaneseTranslation(QCoreApplication& app);

}  // namespace sorvane
