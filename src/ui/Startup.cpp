#include "Startup.h"

#include <QTimer>

#include "frmEditor.h"

namespace quelvar {

void OpenOnStart(frmEditor& window, const QString& file) {
    QTimer::singleShot(0, &window, [&window, file] {
        // UTF-8, as the core takes names on every system.
        window.Document().OpenFile(file.toStdString());
    });
}

}  // namespace quelvar
