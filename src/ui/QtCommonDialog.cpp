#include "QtCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace quelvar {

QtCommonDialog::QtCommonDialog(QWidget* parent) : QObject(parent), parent_(parent) {
    setObjectName("CD");
}

QStringList QtCommonDialog::NameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        const QString suffix = "(" + patterns + ")";
        filters << (description.endsWith(suffix) ? description : description + " " + suffix);
    }
    return filters;
}

bool QtCommonDialog::ShowOpen() {
    return Show(Purpose::Open);
}
bool QtCommonDialog::ShowSave() {
    return Show(Purpose::Save);
}

bool QtCommonDialog::Show(Purpose purpose) {
    const bool open = purpose == Purpose::Open;
    QFileDialog dialog(parent_, QString::fromStdString(DialogTitle));
    dialog.setObjectName(open ? "OpenDialog" : "SaveDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The name the user gives is used as it is: no extension is added.
    dialog.setDefaultSuffix(QString());
    dialog.setNameFilters(NameFilters(Filter));
    if (!FileName.empty()) {
        const QFileInfo initial(QString::fromStdString(FileName));
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    // The core takes file names in UTF-8 on every system, not in the local 8-bit code page.
    FileName = dialog.selectedFiles().constFirst().toStdString();
    return true;
}

}  // namespace quelvar
