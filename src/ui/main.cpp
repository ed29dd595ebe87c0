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
    if (quelvar::qt::AsksForHelpOrVersion(argc, argv)) {
        QCoreApplication console(argc, argv);
        return quelvar::qt::ReadCommandLine(QCoreApplication::arguments()).exitCode.value_or(0);
    }

    // The window's application takes its own options (-platform, -style ...) out first.
    QApplication app(argc, argv);
    // argv itself, not arguments(), which decodes with the locale and loses names that are not.
    const quelvar::qt::CommandLine commandLine =
        quelvar::qt::ReadCommandLine(quelvar::qt::ArgumentTexts(argc, argv));
    if (commandLine.exitCode) {
        return *commandLine.exitCode;
    }
    // Lets the desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QUELVAR_APP_ID);
    quelvar::qt::InstallQtTranslations(QLocale::system());

    quelvar::qt::QtMsgBox msgBox;
    quelvar::qt::QtCommonDialog fileDialog;
    quelvar::qt::frmEditor window(msgBox, fileDialog);
    msgBox.SetOwner(&window);
    fileDialog.SetOwner(&window);
    window.show();
    if (!commandLine.file.isEmpty()) {
        quelvar::qt::OpenOnStart(window, quelvar::qt::ArgumentBytes(argc, argv, commandLine.file));
    }
    return QApplication::exec();
}
