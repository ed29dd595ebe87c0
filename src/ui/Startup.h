#pragma once

#include <QString>

namespace quelvar {

class frmEditor;

// Opens the file named on the command line exactly as Open does, once the window is up, so that
// a message about the file stands over the window.
void OpenOnStart(frmEditor& window, const QString& file);

}  // namespace quelvar
