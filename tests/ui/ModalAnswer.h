#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testing_support {

// Arranges for `answer` to be given the next modal dialog once it is shown, since showing it
// blocks the test until someone answers.
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

}  // namespace testing_support
