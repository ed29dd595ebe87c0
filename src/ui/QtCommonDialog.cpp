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
    const QFileInfo initial(QString::fromStdString(FileName));
    if (!FileName.empty()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    // A name that is not UTF-8 (given on the command line) shows with U+FFFD; left unchanged in
    // the dialog, it still names the file it was, not a new one.
    const bool notText = initial.filePath().toStdString() != FileName;
    if (!notText || chosen != initial.absoluteFilePath()) {
        // The core takes file names in UTF-8 on every system, not in the local 8-bit code page.
        FileName = chosen.toStdString();
    }
    return true;
}

}  // namespace quelvar
