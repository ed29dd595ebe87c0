#include "QtCommonDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include "FormLayout.h"
#include "QtText.h"

namespace quelvar::qt {

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

namespace {

// A name whose bytes are not UTF-8 (given on the command line) shows with U+FFFD, and a folder
// of such a name is not found, so the dialog starts in another. Accepted without changing the
// name, in the folder it started in, it still means the file it was, not a new one.
bool KeepsGivenName(const std::string& given, const QFileInfo& initial, const QString& started,
                    const QFileInfo& chosen) {
    return !IsUtf8(given) && chosen.fileName() == initial.fileName() &&
           (chosen.absolutePath() == initial.absolutePath() || chosen.absolutePath() == started);
}

}  // namespace

bool QtCommonDialog::ShowOpen() {
    return Show(Purpose::Open);
}
bool QtCommonDialog::ShowSave() {
    return Show(Purpose::Save);
}

bool QtCommonDialog::Show(Purpose purpose) {
    const bool open = purpose == Purpose::Open;
    QFileDialog dialog(owner_, QString::fromStdString(DialogTitle));
    dialog.setObjectName(Text(layout::kFileDialogName));
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
    const QString started = dialog.directory().absolutePath();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (!KeepsGivenName(FileName, initial, started, chosen)) {
        // The core takes file names in UTF-8 on every system, not in the local 8-bit code page.
        FileName = chosen.filePath().toStdString();
    }
    return true;
}

}  // namespace quelvar::qt
