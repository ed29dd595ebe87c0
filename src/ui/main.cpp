#include <QApplication>
#include <QLocale>

#include "ArgumentBytes.h"
#include "CommandLine.h"
#include "QtCommonDialog.h"
#include "QtMsgBox.h"
#include "Startup.h"
#include "Translations.h"
#include "frmEditor.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName("quelvar-edit");
    QCoreApplication::setApplicationVersion(QUELVAR_VERSION);
    if (quelvar::AsksForHelpOrVersion(argc, argv)) {
        QCoreApplication console(argc, argv);
        return quelvar::ReadCommandLine(QCoreApplication::arguments()).exitCode.value_or(0);
    }

    // The window's application takes its own options (-platform, -style ...) out first.
    QApplication app(argc, argv);
    // argv itself, not arguments(), which decodes with the locale and loses names that are not.
    const quelvar::CommandLine commandLine =
        quelvar::ReadCommandLine(quelvar::ArgumentTexts(argc, argv));
    if (commandLine.exitCode) {
        return *commandLine.exitCode;
    }
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QUELVAR_APP_ID);
    quelvar::InstallQtTranslations(QLocale::system());

    quelvar::QtMsgBox msgBox;
    quelvar::QtCommonDialog fileDialog;
    quelvar::frmEditor window(msgBox, fileDialog);
    msgBox.SetOwner(&window);
    fileDialog.SetOwner(&window);
    window.show();
    if (!commandLine.file.isEmpty()) {
        quelvar::OpenOnStart(window, quelvar::ArgumentBytes(argc, argv, commandLine.file));
    }
    return QApplication::exec();
}
