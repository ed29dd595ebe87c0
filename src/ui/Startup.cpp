#include "Startup.h"

#include <QFile>
#include <QTimer>

#include "frmEditor.h"

namespace quelvar {

void OpenOnStart(frmEditor& window, const QString& file) {
    QTimer::singleShot(0, &window, [&window, file] {
        window.Document().OpenFile(QFile::encodeName(file).toStdString());
    });
}

}  // namespace quelvar
