#include "QtMsgBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace quelvar::qt {

namespace {

QMessageBox::Icon IconFor(int style) {
    switch (style & 0xF0) {
        case mb::kIconError:
            return QMessageBox::Critical;
        case mb::kIconQuestion:
            return QMessageBox::Question;
        case mb::kIconWarning:
            return QMessageBox::Warning;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtMsgBox::Show(const std::string& prompt, int style, const std::string& title) {
    QMessageBox box(IconFor(style), QString::fromStdString(title),
                    QString::fromStdString(prompt).replace("\r\n", "\n"), QMessageBox::NoButton,
                    owner_);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName("MsgBox");
    if ((style & 0x0F) == mb::kYesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton((style & mb::kDefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? mb::kIdYes : mb::kIdNo;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return mb::kIdOk;
}

}  // namespace quelvar::qt
