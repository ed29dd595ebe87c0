#pragma once

#include <string>

namespace quelvar::qt {

class frmEditor;

// Opens the file named on the command line exactly as Open does, once the window is up, so that
// a message about the file stands over the window. The name is bytes, as the system gave them.
void OpenOnStart(frmEditor& window, const std::string& file);

}  // namespace quelvar::qt
