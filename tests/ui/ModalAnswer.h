#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace testing_support {

// Arranges for `answer` to be given the next modal dialog once it is shown, since showing it
// blocks the test until someone answers. A dialog may still be busy when first answered (a file
// dialog loading its folder ignores an accept), so the answer is given again until that dialog
// closes; answers must bear repeating. Keep the result alive while the dialog may come: it stops
// waiting when it goes, so that no answer outlives the test that set it up.
[[nodiscard]] inline std::unique_ptr<QTimer> AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* raw = timer.get();
    auto answered = std::make_shared<QPointer<QWidget>>();
    auto started = std::make_shared<bool>(false);
    QObject::connect(
        raw, &QTimer::timeout, raw, [raw, answered, started, answer = std::move(answer)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (*started &&
                (answered->isNull() || modal != answered->data() || !modal->isVisible())) {
                raw->stop();
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
