#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace testing_support {

// How long a dialog may take to come and to go before the test fails instead of waiting.
inline constexpr int kModalGiveUpMs = 5000;

// Arranges for `answer` to be given the next modal dialog once it is shown, since showing it
// blocks the test until someone answers. A dialog may still be busy when first answered (a file
// dialog loading its folder ignores an accept), so the answer is given again until that dialog
// closes; answers must bear repeating. Keep the result alive while the dialog may come: it stops
// waiting when it goes, so that no answer outlives the test that set it up. A dialog that does
// not come, or does not close, within kModalGiveUpMs fails the test, and one still open is
// closed so that the test goes on to its end.
[[nodiscard]] inline std::unique_ptr<QTimer> AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* raw = timer.get();
    auto answered = std::make_shared<QPointer<QWidget>>();
    auto started = std::make_shared<bool>(false);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(
        raw, &QTimer::timeout, raw, [raw, answered, started, clock, answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (*started &&
                (answered->isNull() || modal != answered->data() || !modal->isVisible())) {
                raw->stop();
                return;
            }
            if (clock->elapsed() > kModalGiveUpMs) {
                raw->stop();
                if (!*started) {
                    ADD_FAILURE() << "no modal dialog came within " << kModalGiveUpMs << " ms";
                    return;
                }
                ADD_FAILURE() << "the modal dialog \"" << modal->windowTitle().toStdString()
                              << "\" did not close within " << kModalGiveUpMs << " ms";
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                } else {
                    modal->close();
                }
                return;
            }
            if (modal && modal->isVisible()) {
                *started = true;
                *answered = modal;
                answer(modal);
            }
        });
    timer->start();
    return timer;
}

}  // namespace testing_support
