#include <QApplication>

#include "frmEditor.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quelvar Edit Tool");
    quelvar::frmEditor window;
    window.show();
    return QApplication::exec();
}
