// Starts a window and ends at its first painted frame; built with the editor's window, with a
// bare QMainWindow and with a bare one showing a line of text, the same way, so that bench/run
// can compare them.
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
#else
#include "frmEditor.h"
using Window = quelvar::frmEditor;
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
