#pragma once

#include "WindowServices.h"

class QWidget;

namespace quelvar::qt {

// The message box, as a Qt message box over the main window once it has one.
class QtMsgBox : public MsgBox {
  public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    int Show(const std::string& prompt, int style, const std::string& title) override;

  private:
    QWidget* owner_ = nullptr;
};

}  // namespace quelvar::qt
