#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace testing_support {

// Arranges for `answer` to be given the next modal dialog once it is shown, since showing it
// blocks the test until someone answers. Keep the result alive while the dialog may come: it
// stops waiting when it goes, so that no answer outlives the test that set it up.
[[nodiscard]] inline std::unique_ptr<QTimer> AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* raw = timer.get();
    QObject::connect(raw, &QTimer::timeout, raw, [raw, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            raw->stop();
            answer(modal);
        }
    });
    timer->start();
    return timer;
}

}  // namespace testing_support
