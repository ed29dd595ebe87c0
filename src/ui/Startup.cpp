#include "Startup.h"

#include <QTimer>

#include "frmEditor.h"

namespace quelvar::qt {

void OpenOnStart(frmEditor& window, const std::string& file) {
    QTimer::singleShot(0, &window, [&window, file] { window.Document().OpenFile(file); });
}

}  // namespace quelvar::qt
