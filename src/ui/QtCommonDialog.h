#pragma once

#include <QStringList>

#include "WindowServices.h"

class QWidget;

namespace quelvar::qt {

// The file dialog control, as Qt's own file dialog (the same on every desktop, and one that
// tests can answer). While shown, the dialog is the main window's child under the control's
// name, by which tests find it.
class QtCommonDialog : public CommonDialog {
  public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    bool ShowOpen() override;
    bool ShowSave() override;

    // "description|pattern|description|pattern" as Qt name filters; a description that already
    // ends in its pattern in parentheses is shown as it is.
    static QStringList NameFilters(const std::string& filter);

  private:
    enum class Purpose { Open, Save };
    bool Show(Purpose purpose);

    QWidget* owner_ = nullptr;
};

}  // namespace quelvar::qt
