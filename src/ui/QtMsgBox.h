#pragma once

#include "WindowServices.h"

class QWidget;

namespace quelvar {

// The message box, as a Qt message box over the main window.
class QtMsgBox : public MsgBox {
  public:
    explicit QtMsgBox(QWidget* parent) : parent_(parent) {}
    int Show(const std::string& prompt, int style, const std::string& title) override;

  private:
    QWidget* parent_;
};

}  // namespace quelvar
