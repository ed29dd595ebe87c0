// Starts a window and ends at its first painted frame; built with the editor's window, with a
// bare QMainWindow, with a bare one showing a line of text in the same font as the editor's
// labels, and with a bare one holding as many plain widgets as the editor, the same way, so that
// bench/run can compare them.
#include <QApplication>
#include <QEvent>
#include <QTimer>

#if defined(QUELVAR_BARE_WINDOW)
#include <QMainWindow>
using Window = QMainWindow;
#elif defined(QUELVAR_BARE_WINDOW_WITH_TEXT)
// The bare window with one line of text: what any window that shows text pays for fonts.
#include <QLabel>
#include <QMainWindow>
class Window : public QMainWindow {
  public:
    Window() { setCentralWidget(new QLabel("Tag&Name：")); }
};
#elif defined(QUELVAR_BARE_WINDOW_WITH_CONTROLS)
// As many plain widgets as the editor shows, placed once, and a menu bar with one menu: what
// Qt itself asks for a first frame of that many controls.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
class Window : public QMainWindow {
  public:
    Window() {
        QMenu* menu = menuBar()->addMenu("File(&F)");
        for (const char* item : {"&New", "&Open", "&Save", "&Quit"}) {
            menu->addAction(item);
        }
        auto* client = new QWidget(this);
        setCentralWidget(client);
        (new QGroupBox("MainData", client))->setGeometry(5, 60, 380, 200);
        for (int row = 0; row < 11; ++row) {
            (new QLabel("Element1：", client))->setGeometry(10, 35 + row * 22, 100, 20);
            (new QLineEdit(client))->setGeometry(120, 35 + row * 22, 250, 20);
        }
        setFixedSize(400, 300);
    }
};
#else
#include "QtCommonDialog.h"
#include "QtMsgBox.h"
#include "frmEditor.h"
// The editor's window over its message box and file dialog, made as the program makes them.
struct Services {
    quelvar::qt::QtMsgBox msgBox;
    quelvar::qt::QtCommonDialog fileDialog;
};
class Window : private Services, public quelvar::qt::frmEditor {
  public:
    Window() : frmEditor(msgBox, fileDialog) {
        msgBox.SetOwner(this);
        fileDialog.SetOwner(this);
    }
};
#endif

namespace {

class FirstFrame : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Window window;
    FirstFrame firstFrame;
    window.installEventFilter(&firstFrame);
    window.show();
    QTimer::singleShot(10000, &app, [] { QApplication::exit(1); });
    return QApplication::exec();
}
